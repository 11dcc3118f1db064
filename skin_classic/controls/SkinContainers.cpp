#include "skin_classic/controls/SkinContainers.h"

#include <array>

#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

constexpr std::array kCheckCells = {1, 2, 5, 1, 2, 5, 3, 4, 5};
constexpr std::array kRadioCells = {1, 2, 1, 2, 3, 4};
constexpr std::array kNestedCells = {1, 2, 5, 1, 2, 5};
constexpr int kOptionalFrame = 5;

// A picture property gets a copy of Picture (nil empties it).
void AssignGraphic(vcl::TObject* Instance, vcl::StringView Name, vcl::TBitmap* Picture) {
  if (auto* current = dynamic_cast<vcl::TPersistent*>(GetObjectPropByName(Instance, Name))) current->Assign(Picture);
}

}  // namespace

std::unique_ptr<vcl::TBitmap> GlyphStrip(vcl::TBitmap* Image, int Frames, std::span<const int> Order) {
  if (!Image || Image->Empty() || Frames < 1) return nullptr;
  const int fw = FrameExtent(Image->Width(), Frames), fh = Image->Height();
  std::unique_ptr<vcl::TBitmap> strip = NewSkinBitmap(fw * static_cast<int>(Order.size()), fh);
  if (!strip || fw <= 0) return nullptr;
  FillRectColor(strip->Canvas()->Handle(), TRect(0, 0, strip->Width(), fh), kSkinKeyColor);
  for (size_t i = 0; i < Order.size(); ++i) {
    const int frame = Order[i];
    if (frame == kOptionalFrame && Frames != kOptionalFrame) continue;
    if (frame > Frames) continue;
    CopyBitmapRect(strip.get(), static_cast<int>(i) * fw, 0, Image, TRect((frame - 1) * fw, 0, frame * fw, fh));
  }
  return strip;
}

VCL_CLASS_INFO(TSkinSizer) {}
VCL_CLASS_INFO(TSkinBoxH) {}
VCL_CLASS_INFO(TSkinObjImage) {}

void TSkinSizer::DrawControl(HDC DC, const TRect& Rect) { FillSkinColor(DC, Rect); }

bool TSkinBoxH::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: WMEraseBkgnd(Message); return false;
    case WM_CTLCOLORSCROLLBAR: WMCtlColorScrollBar(Message); return false;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinBoxH::WMEraseBkgnd(vcl::TMessage& Message) {
  RECT r{};
  GetWindowRect(FHandle, &r);
  FillSkinColor(reinterpret_cast<HDC>(Message.WParam), TRect(0, 0, r.right - r.left, r.bottom - r.top));
  Message.Result = 0;
}

void TSkinBoxH::WMCtlColorScrollBar(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallDefault(Message);
  if (alive) Message.Result = reinterpret_cast<LRESULT>(FaceBrush());
}

void TSkinObjImage::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  auto* control = dynamic_cast<vcl::TWinControl*>(Owner());
  if (!control) return;
  FSkinData = SkinData;
  FControl = control;
  FHandle = control->HandleAllocated() ? control->Handle() : nullptr;
  JoinForm(Form, Canvas);
  FAttached = true;
  FStatus = kSkinnerAttached;
  ApplyGlyphs();
}

void TSkinObjImage::ApplyGlyphs() {
  if (!FControl || !HasSkin()) return;
  TDataSkinButton* b = FSkinData->Skin()->Buttons();
  if (!b) return;
  switch (FGlyphKind) {
    case kGlyphsCheck:
    case kGlyphsRadio: {
      const bool check = FGlyphKind == kGlyphsCheck;
      std::unique_ptr<vcl::TBitmap> strip =
          check ? GlyphStrip(b->CheckBitmap.get(), b->CheckButtonFrame, kCheckCells)
                : GlyphStrip(b->RadioBitmap.get(), b->RadioButtonFrame, kRadioCells);
      // A skin without the marks: the control's own, not a former skin's.
      if (!strip) return TSkinObjImage::RestoreControl();
      AssignGraphic(FControl, L"CustomGlyphs", strip.get());
      SetPropText(FControl, L"transparentcolor", std::to_wstring(kSkinKeyColor));
      // Switched off and on, the control takes the glyphs in again.
      SetPropText(FControl, L"UseCustomGlyphs", L"false");
      SetPropText(FControl, L"UseCustomGlyphs", L"true");
      break;
    }
    case kGlyphsNested: {
      std::unique_ptr<vcl::TBitmap> strip = GlyphStrip(b->CheckBitmap.get(), b->CheckButtonFrame, kNestedCells);
      vcl::TObject* properties = GetObjectPropByName(FControl, L"Properties");
      if (!properties) return;
      if (!strip) return TSkinObjImage::RestoreControl();
      strip->SetTransparentColor(kSkinKeyColor);
      strip->SetTransparent(false);
      AssignGraphic(properties, L"Glyph", strip.get());
      break;
    }
    default: break;
  }
}

void TSkinObjImage::UpdateSkin() { ApplyGlyphs(); }

void TSkinObjImage::RestoreControl() {
  if (!FControl) return;
  if (FGlyphKind == kGlyphsCheck || FGlyphKind == kGlyphsRadio) SetPropText(FControl, L"UseCustomGlyphs", L"false");
  if (FGlyphKind == kGlyphsNested)
    if (vcl::TObject* properties = GetObjectPropByName(FControl, L"Properties"))
      AssignGraphic(properties, L"Glyph", nullptr);
}

}  // namespace winskin
