// The caption's texts in the window image.
#include <algorithm>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/forms/CaptionButtons.h"
#include "skin_layered/forms/CaptionItems.h"
#include "skin_layered/forms/CaptionText.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/ProviderUnit.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/forms/TitleElements.h"
#include "skin_layered/forms/WindowImageParts.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaText.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {
namespace {

// DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS.
constexpr UINT kCaptionFlags = 0x8824;

}  // namespace

vcl::TFont* TqvCaptionText::CaptionFont() {
  if (!caption_font_) {
    caption_font_ = std::make_unique<vcl::TFont>();
    if (vcl::UniqueFont font = GetCaptionFont()) caption_font_->SetHandle(font.release());
  }
  return caption_font_.get();
}

void TqvCaptionText::PaintCaptionText() {
  TsSkinManager* manager = host_.SkinManager();
  TsSkinProviderBase* provider = host_.FrameProvider();
  vcl::TCustomForm* form = provider->Form;
  TsCommonData* skinData = provider->SkinData;
  vcl::TBitmap* image = skinData ? skinData->CacheBmp() : nullptr;
  if (!manager || !image || host_.Measures().CaptionHeight(true) == 0 || !provider->DrawNonClientArea ||
      !form->HandleAllocated())
    return;
  const TsLoadedSkin& skin = manager->Skin();
  const bool active = host_.CaptionActive();
  const TsSkinData& data = skin.SkinData;
  const HWND wnd = form->Handle();
  const vcl::TRect shadow = host_.WindowImage().ShadowSize();
  const bool zoomed = IsZoomed(wnd);
  const bool rtl = form->UseRightToLeftReading();
  const int frame = SysBorderWidth(wnd, host_.ExtBorderForm(), true);
  const int captionIndex = host_.CaptionSectionIndex();
  const int title = host_.Measures().GetTitleSkinIndex();
  // The caption section dresses the text on the title's band, in colours made for it: without
  // the title section the text stands on the form's face and keeps the form's colours.
  const int captionSection = skin.IsValidSkinIndex(title) && captionIndex >= 0 && skin.IsValidSkinIndex(captionIndex)
                                 ? captionIndex
                                 : kNoIndex;

  vcl::TRect r;
  const TqvFormMeasures& measures = host_.Measures();
  r.Left = frame + (measures.IconVisible() ? measures.TitleIconWidth() : 0) + 4 + data.BILeft + shadow.Left +
           (captionSection >= 0 ? 2 : 0);
  r.Right = host_.WindowImage().ImageWidth() - host_.CaptionButtons().ButtonsBlockWidth() - 12 - shadow.Right;
  TsTitleBar* bar = host_.CaptionItems().ShownTitleBar();
  if (bar) {
    // The caption between the bar's items.
    const vcl::TRect free = bar->FreeArea();
    r.Left = free.Left + 8;
    r.Right = free.Right - 8;
  }
  r.Top = shadow.Top + 2;
  if (host_.ExtBorderForm() && zoomed && data.MaxHeight != 0 && data.MaxHeight != data.TitleHeight)
    r.Top += (data.TitleHeight - data.MaxHeight) / 2;

  vcl::TCanvas* canvas = image->Canvas();
  TqvAddedTitle* addedTitle = host_.AddedTitle();
  const bool showMain = bar ? bar->ShowCaption() : addedTitle->ShowMainCaption();
  const vcl::String text = showMain ? form->Caption() : vcl::String();
  canvas->Font()->Assign(CaptionFont());
  UINT flags = kCaptionFlags | (rtl ? DT_RTLREADING : 0);
  const vcl::TSize main = text.empty() ? vcl::TSize{0, 0} : canvas->TextExtent(text);
  vcl::TSize added{0, 0};
  if (!addedTitle->Text().empty()) {
    canvas->Font()->Assign(addedTitle->Font());
    added = canvas->TextExtent(addedTitle->Text());
    canvas->Font()->Assign(CaptionFont());
  }
  const int textHeight = std::max(main.cy, added.cy);
  r.Top = (bar ? host_.CaptionItems().TitleBarCentre : host_.CaptionButtons().TitleCentre) - textHeight / 2;
  r.Bottom = r.Top + textHeight;

  vcl::TAlignment alignment = host_.CaptionAlignment();
  if (rtl && alignment != vcl::taCenter)
    alignment = alignment == vcl::taLeftJustify ? vcl::taRightJustify : vcl::taLeftJustify;
  const int wanted = main.cx + (added.cx > 0 ? added.cx + 4 : 0);
  if (alignment == vcl::taRightJustify) {
    if (r.Right - (wanted + 4) > r.Left) r.Left = r.Right - (wanted + 4);
  } else if (alignment == vcl::taCenter) {
    r.Left = std::max(r.Left, (host_.WindowImage().ImageWidth() - wanted) / 2);
  }
  if (r.Right <= r.Left) return;

  int section = skin.IsValidSkinIndex(title) ? title : kNoIndex;
  // Without a title section the caption stands on the form's own face: its colours, or the
  // system's text colour where the skin has no section for the form either.
  if (section < 0 && skin.IsValidSkinIndex(skinData->SkinIndex)) section = skinData->SkinIndex;
  if (section < 0) canvas->Font()->SetColor(vcl::clBtnText);
  if (captionSection >= 0) {
    vcl::TRect back = r;
    back.Inflate(4, 2);
    back.Right = std::min(back.Left + wanted + 8, back.Right);
    PaintItemBg(captionSection, ImageBehind(image), CaptionStateOf(skin, captionSection, active), back, back.TopLeft(), image,
                &skin);
    section = captionSection;
  }
  const int sectionState = CaptionStateOf(skin, section, active);
  vcl::TRect textRect = r;
  if (!text.empty()) {
    textRect.Right = std::min(r.Right, r.Left + main.cx);
    // The text's glow first: the section's normal glow for an inactive caption, its hot glow
    // for an active one.
    if (skin.IsValidSkinIndex(section) && (data.Version > 7.5 || !ProviderUnit().CaptionGlowNewSkinsOnly)) {
      const TsGenState& glow = skin.Sections[static_cast<std::size_t>(section)].Props[active ? 1 : 0];
      if (glow.GSize > 0)
        WriteTextGlow(image, text, textRect, flags, kGlowAllSides, glow.GSize, glow.GCol,
                      active ? glow_active_ : glow_inactive_);
    }
    canvas->Brush()->SetStyle(vcl::bsClear);
    if (host_.ExtBorderForm())
      AlphaWriteSkinText(image, text, true, textRect, flags, section, sectionState == 1, &skin);
    else
      WriteSkinText(canvas, text, true, manager, sectionState, section, flags, textRect);
  }
  // The added title after the form's caption.
  if (addedTitle->Text().empty()) return;
  vcl::TRect more = r;
  more.Left = text.empty() ? r.Left : textRect.Right + 4;
  if (more.Width() <= 8) return;
  canvas->Font()->Assign(addedTitle->Font());
  vcl::TColor color = addedTitle->Font()->Color();
  const TsGeneralData* sec =
      skin.IsValidSkinIndex(section) ? &skin.Sections[static_cast<std::size_t>(section)] : nullptr;
  if (color == vcl::clNone || color == vcl::clWindowText) {
    color = sec ? sec->Props[static_cast<std::size_t>(std::min(sectionState, 1))].FontColor : vcl::clWindowText;
  } else if (!active && sec) {
    color = static_cast<vcl::TColor>(MixColors(static_cast<TColorValue>(vcl::ColorToRGB(color)),
                                               static_cast<TColorValue>(sec->Props[0].Color), 0.5));
  }
  canvas->Font()->SetColor(color);
  canvas->Brush()->SetStyle(vcl::bsClear);
  if (host_.ExtBorderForm()) {
    AlphaDrawText(image, addedTitle->Text(), more, flags, color);
  } else {
    vcl::TRect place = more;
    RECT native = place;
    SetBkMode(canvas->Handle(), TRANSPARENT);
    SetTextColor(canvas->Handle(), static_cast<COLORREF>(vcl::ColorToRGB(color)));
    DrawTextW(canvas->Handle(), addedTitle->Text().c_str(), static_cast<int>(addedTitle->Text().size()), &native,
              flags);
  }
}

}  // namespace skin_layered
