#include "skin_layered/forms/MenuSupport.h"

#include <algorithm>
#include <vector>

#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/rtl/SysInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/BackgroundRegions.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvMenuSupport) {
  p.String<&TqvMenuSupport::IcoLineSkin, &TqvMenuSupport::SetIcoLineSkin>(L"IcoLineSkin");
  p.Bool<&TqvMenuSupport::UseExtraLine, &TqvMenuSupport::SetUseExtraLine>(L"UseExtraLine", false);
  p.Integer<&TqvMenuSupport::ExtraLineWidth, &TqvMenuSupport::SetExtraLineWidth>(L"ExtraLineWidth", 32);
  p.Object<&TqvMenuSupport::ExtraLineFont, &TqvMenuSupport::SetExtraLineFont>(L"ExtraLineFont",
                                                                             vcl::TFont::StaticClass());
  p.Integer<&TqvMenuSupport::AlphaBlend, &TqvMenuSupport::SetAlphaBlend>(L"AlphaBlend", 255);
}

TqvMenuSupport::TqvMenuSupport() : extra_line_font_(std::make_unique<vcl::TFont>()) {}
TqvMenuSupport::~TqvMenuSupport() = default;

void TqvMenuSupport::Assign(vcl::TPersistent* Source) {
  auto* source = dynamic_cast<TqvMenuSupport*>(Source);
  if (!source) return TqvMenuSupportBase::Assign(Source);
  ico_line_skin_ = source->ico_line_skin_;
  use_extra_line_ = source->use_extra_line_;
  extra_line_width_ = source->extra_line_width_;
  extra_line_font_->Assign(source->extra_line_font_.get());
  alpha_blend_ = source->alpha_blend_;
}

vcl::TSize MenuGlyphSize(vcl::TMenuItem* Item) {
  if (vcl::TBitmap* bmp = Item->Bitmap(); bmp && !bmp->Empty()) return {bmp->Width(), bmp->Height()};
  if (const vcl::TMenuItem* parent = Item->Parent(); parent && parent->SubMenuImages())
    return {parent->SubMenuImages()->Width(), 0};
  if (const vcl::TMenu* menu = Item->GetParentMenu(); menu && menu->Images())
    return {menu->Images()->Width(), menu->Images()->Height()};
  return {16, 16};
}

bool MenuRightToLeft(const vcl::TMenuItem* Item) {
  const vcl::TMenu* menu = Item ? Item->GetParentMenu() : nullptr;
  return vcl::SysLocale().MiddleEast && menu && menu->BiDiMode() != vcl::bdLeftToRight;
}

TqvMenuSupport* MenuSupportOf(const TsSkinManager* Manager) {
  return Manager ? dynamic_cast<TqvMenuSupport*>(Manager->MenuSupport()) : nullptr;
}

namespace {

// Popups are never larger than this (a broken size gives no background).
constexpr int kMaxPopupSide = 16384;
// The extra line's glyph and caption stand this far from the strip's ends; the caption this far
// above the glyph.
constexpr int kExtraLineMargin = 12;
constexpr int kExtraLineGlyphGap = 8;

// The extra line's data of the last question.
struct TExtraLineData {
  vcl::String Section;
  vcl::String Caption;
  std::unique_ptr<vcl::TBitmap> Glyph;
  bool Querying = false;
};
TExtraLineData& ExtraLine() {
  static TExtraLineData data;
  return data;
}


// Hears of the freeing of the menu items the cache records are found by.
class TqvMenuCacheKeeper : public vcl::TComponent {
  VCL_CLASS(TqvMenuCacheKeeper, vcl::TComponent)
 public:
  TqvMenuCacheKeeper() : TComponent(nullptr) {}
  std::vector<TqvMenuInfo> Records;

  void Drop(std::size_t Index) {
    vcl::TMenuItem* item = Records[Index].FirstItem;
    Records.erase(Records.begin() + static_cast<std::ptrdiff_t>(Index));
    if (item && std::none_of(Records.begin(), Records.end(), [&](const TqvMenuInfo& r) { return r.FirstItem == item; }))
      item->RemoveFreeNotification(this);
  }
  void Clear() {
    while (!Records.empty()) Drop(Records.size() - 1);
  }

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    std::erase_if(Records, [&](const TqvMenuInfo& r) { return r.FirstItem == AComponent; });
  }
};

TqvMenuCacheKeeper*& KeeperSlot() {
  static TqvMenuCacheKeeper* keeper = nullptr;
  return keeper;
}

TqvMenuCacheKeeper& Keeper() {
  TqvMenuCacheKeeper*& keeper = KeeperSlot();
  if (!keeper) keeper = new TqvMenuCacheKeeper();
  return *keeper;
}

vcl::TSize WindowSize(HWND Wnd) {
  RECT r{};
  if (!Wnd || !GetWindowRect(Wnd, &r)) return {};
  return {r.right - r.left, r.bottom - r.top};
}

// A picture drawn into a 32-bit bitmap: by its alpha when it is 32-bit, else as it is.
void DrawGlyph(vcl::TBitmap* Target, vcl::TBitmap* Glyph, int X, int Y) {
  if (!Glyph || Glyph->Empty()) return;
  if (Glyph->PixelFormat() == vcl::pf32bit) {
    const vcl::TRect src{0, 0, Glyph->Width(), Glyph->Height()};
    CopyTransBitmaps(vcl::TRect{X, Y, X + Glyph->Width(), Y + Glyph->Height()}, src, Target, false, 0, vcl::clNone,
                     false, kEmptyCacheInfo, Glyph);
  } else {
    Target->Canvas()->Draw(X, Y, Glyph);
  }
}

// The extra line's font: Font's face, height, charset and style, turned upright (read bottom to
// top) or not.
vcl::UniqueFont ExtraLineFontHandle(vcl::TFont* Font, bool Upright) {
  LOGFONTW lf{};
  lf.lfHeight = Font->Height();
  lf.lfWeight = Font->Style().Contains(vcl::fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = Font->Style().Contains(vcl::fsItalic);
  lf.lfUnderline = Font->Style().Contains(vcl::fsUnderline);
  lf.lfStrikeOut = Font->Style().Contains(vcl::fsStrikeOut);
  lf.lfCharSet = static_cast<BYTE>(Font->Charset());
  if (Upright) lf.lfEscapement = lf.lfOrientation = 900;
  const vcl::String face = Font->Name();
  face.copy(lf.lfFaceName, std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  return vcl::UniqueFont(CreateFontIndirectW(&lf));
}

// The caption upright (read bottom to top) in the extra line, in the section's font colour.
void WriteExtraLineCaption(vcl::TBitmap* Strip, const vcl::String& Caption, vcl::TFont* Font, vcl::TColor Color,
                           int Bottom) {
  const vcl::UniqueFont font = ExtraLineFontHandle(Font, true);
  if (!font) return;
  HDC dc = Strip->Canvas()->Handle();
  const vcl::SavedDC saved(dc);
  SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(vcl::ColorToRGB(Color)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, Caption.c_str(), static_cast<int>(Caption.size()), &extent);
  TextOutW(dc, (Strip->Width() - extent.cy) / 2, Bottom, Caption.c_str(), static_cast<int>(Caption.size()));
}

// The background of a popup of W x H for the menu whose first item is FirstItem.
TqvMenuInfo BuildBackground(TqvPopupMetrics& Menus, vcl::TMenuItem* FirstItem, HWND Wnd, int W, int H) {
  TsSkinManager* manager = Menus.SkinManager();
  TqvMenuInfo info;
  info.FirstItem = FirstItem;
  info.Wnd = Wnd;
  const TqvExtraLine line = AskExtraLine(manager, FirstItem);
  info.ExtraLine = line.Shown;
  info.ExtraLineLength = line.Length;
  info.Bmp = CreateBmp32(W, H);
  vcl::TBitmap* bmp = info.Bmp.get();
  bmp->Canvas()->Lock();
  const vcl::TScopeExit unlock([bmp] { bmp->Canvas()->Unlock(); });
  const int firstGlyphWidth = MenuGlyphSize(FirstItem).cx;
  const int icoLineWidth = Menus.Margin() + firstGlyphWidth + Menus.Spacing();
  Menus.SetGlyphColumn(firstGlyphWidth, icoLineWidth);

  const TsLoadedSkin* skin = manager ? &manager->Skin() : nullptr;
  const int section = skin ? skin->GetSkinIndex(kMainMenuSection) : kNoIndex;
  if (skin && skin->IsValidSkinIndex(section)) {
    const TqvMenuSupport* support = MenuSupportOf(manager);
    const int border = Menus.SkinBorderWidth();
    const int extra = info.ExtraLine ? ExtraLineWidthOf(manager) : 0;
    const vcl::TRect all{0, 0, W, H};
    PaintSection(section, kEmptyCacheInfo, 0, all, {0, 0}, bmp, skin, kNoIndex, kNoIndex);
    // The icon line behind the glyph column.
    const bool rightAligned = Wnd && (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_RIGHT);
    const int icoLine = support ? skin->GetSkinIndex(support->IcoLineSkin()) : kNoIndex;
    if (!rightAligned && skin->IsValidSkinIndex(icoLine) && H > 2 * border && icoLineWidth > 0) {
      auto line = CreateBmp32(icoLineWidth, H - 2 * border);
      TqvCacheInfo behind;
      MakeCacheInfo(bmp, extra + border, border, behind);
      PaintItemBg(icoLine, behind, 0, {0, 0, line->Width(), line->Height()}, {0, 0}, line.get(), skin);
      BitBlt(bmp->Canvas()->Handle(), extra + border, border, line->Width(), line->Height(), line->Canvas()->Handle(), 0,
             0, SRCCOPY);
    }
    const int frame = skin->FindImageByNames(kMainMenuSection, kBordersMask);
    if (skin->IsValidImgIndex(frame))
      DrawSkinRect(bmp, all, kEmptyCacheInfo, skin->Images[static_cast<std::size_t>(frame)], 0, false);
    // The extra line.
    TExtraLineData& data = ExtraLine();
    const int lineSection = skin->GetSkinIndex(data.Section);
    if (extra > 0 && skin->IsValidSkinIndex(lineSection) && H > 2 * border) {
      auto strip = CreateBmp32(extra, H - 2 * border);
      TqvCacheInfo behind;
      MakeCacheInfo(bmp, border, border, behind);
      PaintItemBg(lineSection, behind, 0, {0, 0, strip->Width(), strip->Height()}, {0, 0}, strip.get(), skin);
      int bottom = strip->Height() - kExtraLineMargin;
      if (data.Glyph && !data.Glyph->Empty()) {
        DrawGlyph(strip.get(), data.Glyph.get(), (strip->Width() - data.Glyph->Width()) / 2,
                  bottom - data.Glyph->Height());
        bottom -= data.Glyph->Height() + kExtraLineGlyphGap;
      }
      if (!data.Caption.empty() && support)
        WriteExtraLineCaption(strip.get(), data.Caption, support->ExtraLineFont(),
                              skin->Sections[static_cast<std::size_t>(lineSection)].Props[0].FontColor, bottom);
      BitBlt(bmp->Canvas()->Handle(), border, border, strip->Width(), strip->Height(), strip->Canvas()->Handle(), 0, 0,
             SRCCOPY);
    }
    data.Glyph.reset();
    if (MenuRightToLeft(FirstItem)) {
      auto copy = CreateBmp32(W, H);
      BitBlt(copy->Canvas()->Handle(), 0, 0, W, H, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
      StretchBlt(bmp->Canvas()->Handle(), W - 1, 0, -W, H, copy->Canvas()->Handle(), 0, 0, W, H, SRCCOPY);
    }
    // The frame's transparent corners.
    TRects& rects = Menus.RegionRects();
    rects.clear();
    if (skin->IsValidImgIndex(frame)) {
      const TsMaskData& image = skin->Images[static_cast<std::size_t>(frame)];
      AddMaskCornerRects(rects, W, image, false, 0);
      AddMaskCornerRects(rects, W, image, true, H - skin->MaskWidthBottom(frame));
    }
    info.RgnRects = rects;
    if (Wnd) SetMenuWndRgn(Menus, Wnd, bmp, info.RgnRects);
  } else if (skin) {
    // The skin has no popup section: the system's menu face, so the items stand on something.
    DrawSystemMenuBackground(bmp, {0, 0, W, H});
  }
  return info;
}

bool UsableSize(vcl::TSize Size) {
  return Size.cx > 0 && Size.cy > 0 && Size.cx <= kMaxPopupSide && Size.cy <= kMaxPopupSide;
}

// The size a popup of FirstItem's menu has without a window (measured on a canvas of its own,
// the painting canvas keeps its font).
vcl::TSize MeasuredPopupSize(TqvPopupMetrics& Menus, vcl::TMenuItem* FirstItem, TqvExtraLine ExtraLine) {
  vcl::TBitmap measure;
  measure.SetSize(1, 1);
  const vcl::TSize menu = Menus.MenuSize(FirstItem, measure.Canvas(), ExtraLine);
  return {menu.cx + 2 * Menus.BorderWidth(), menu.cy + 2 * Menus.BorderWidth()};
}

}  // namespace

VCL_CLASS_INFO(TqvMenuCacheKeeper) {}

// ---------------------------------------------------------------------------------------

int ExtraLineWidthOf(const TsSkinManager* Manager) {
  const TqvMenuSupport* support = MenuSupportOf(Manager);
  return support && support->UseExtraLine() ? std::max(support->ExtraLineWidth(), 0) : 0;
}

bool QueryExtraLine(TsSkinManager* Manager, vcl::TMenuItem* FirstItem) {
  TExtraLineData& data = ExtraLine();
  if (!Manager || Manager->Designing() || data.Querying) return false;
  if (FirstItem && FirstItem->Name() == kSkinSelectItemName) return false;
  data.Section = kExtraLineSection;
  data.Glyph.reset();
  data.Caption = kExtraLineCaption;
  bool visible = true;
  if (Manager->OnGetMenuExtraLineData) {
    struct Running {
      bool& flag;
      explicit Running(bool& f) : flag(f) { flag = true; }
      ~Running() { flag = false; }
    } running(data.Querying);
    Manager->OnGetMenuExtraLineData(FirstItem, data.Section, data.Caption, data.Glyph, visible);
  }
  std::erase(data.Caption, L'&');
  if (!visible) data.Glyph.reset();
  return visible;
}

TqvExtraLine AskExtraLine(TsSkinManager* Manager, vcl::TMenuItem* FirstItem) {
  TqvExtraLine line;
  line.Shown = QueryExtraLine(Manager, FirstItem);
  const TqvMenuSupport* support = MenuSupportOf(Manager);
  const TExtraLineData& data = ExtraLine();
  // Only a strip the skin paints shows its glyph and caption.
  if (!line.Shown || !support || ExtraLineWidthOf(Manager) <= 0 ||
      !Manager->Skin().IsValidSkinIndex(Manager->Skin().GetSkinIndex(data.Section)))
    return line;
  int length = 0;
  if (data.Glyph && !data.Glyph->Empty()) length += data.Glyph->Height() + kExtraLineGlyphGap;
  // The caption's length upright is its width as it reads.
  if (const vcl::UniqueFont font = ExtraLineFontHandle(support->ExtraLineFont(), false); font && !data.Caption.empty()) {
    const vcl::SelectGuard selected(vcl::MeasureDC(), font.get());
    SIZE extent{};
    GetTextExtentPoint32W(vcl::MeasureDC(), data.Caption.c_str(), static_cast<int>(data.Caption.size()), &extent);
    length += extent.cx;
  }
  if (length > 0) line.Length = kExtraLineMargin + length + kExtraLineMargin;
  return line;
}

TqvMenuInfo GetMenuInfo(TqvPopupMetrics& Menus, vcl::TMenuItem* Item, HWND Wnd, vcl::TCanvas* Canvas) {
  std::vector<TqvMenuInfo>& records = Keeper().Records;
  if (!Item) {
    if (!Wnd) return {};
    for (const TqvMenuInfo& r : records)
      if (r.Wnd == Wnd) return r;
    return {};
  }
  vcl::TMenuItem* parent = Item->Parent();
  if (!parent || parent->Count() == 0) return {};
  vcl::TMenuItem* first = parent->Items(0);
  const vcl::TSize windowSize = WindowSize(Wnd);
  for (std::size_t i = 0; i < records.size(); ++i) {
    TqvMenuInfo& r = records[i];
    if (r.FirstItem != first) continue;
    // A record is for one size: the window's when it is known, else the measured menu's.
    vcl::TSize expected{};
    if (Wnd)
      expected = windowSize;
    else if (!r.Wnd && Canvas)
      expected = MeasuredPopupSize(Menus, first, {r.ExtraLine, r.ExtraLineLength});
    const bool stale = UsableSize(expected) && r.Bmp && (r.Bmp->Width() != expected.cx || r.Bmp->Height() != expected.cy);
    if (!stale) {
      if (Wnd) r.Wnd = Wnd;
      return r;
    }
    Keeper().Drop(i);
    break;
  }
  if (!Canvas) return {};
  vcl::TSize size = windowSize;
  if (!Wnd) size = MeasuredPopupSize(Menus, first, AskExtraLine(Menus.SkinManager(), first));
  if (!UsableSize(size)) return {};
  TqvMenuInfo info = BuildBackground(Menus, first, Wnd, size.cx, size.cy);
  first->FreeNotification(&Keeper());
  records.push_back(info);
  return info;
}

void ClearMenuCache() {
  if (TqvMenuCacheKeeper* keeper = KeeperSlot()) keeper->Clear();
}

int MenuCacheCount() {
  TqvMenuCacheKeeper* keeper = KeeperSlot();
  return keeper ? static_cast<int>(keeper->Records.size()) : 0;
}

void SetMenuWndRgn(TqvPopupMetrics& Menus, HWND Wnd, vcl::TBitmap* Bmp, const TRects& Rects) {
  if (Menus.RegionBusy() || !Bmp || Bmp->Empty() || !Wnd || !IsWindow(Wnd)) return;
  if (SendMessageW(Wnd, kSkinCmdMessage, SkinCommandWParam(scmSetUpdating), 0) != 0) return;
  SendMessageW(Wnd, kSkinCmdMessage, SkinCommandWParam(scmSetMenuRgnDone), 0);
  Menus.SetRegionBusy(true);
  const vcl::TScopeExit idle([&Menus] { Menus.SetRegionBusy(false); });
  HRGN region = CreateRectRgn(0, 0, Bmp->Width(), Bmp->Height());
  auto cut = [&](const vcl::TRect& R) {
    HRGN part = CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom);
    CombineRgn(region, region, part, RGN_DIFF);
    DeleteObject(part);
  };
  for (const vcl::TRect& r : Rects) cut(r);
  if (Rects.empty()) cut(vcl::TRect{0, 0, 1, 1});
  if (!SetWindowRgn(Wnd, region, TRUE)) DeleteObject(region);
  if (HDC dc = GetWindowDC(Wnd)) {
    BitBltBorder(dc, 0, 0, 3, 0, 0, Bmp->Canvas()->Handle(), Bmp->Height(), Bmp->Width());
    ReleaseDC(Wnd, dc);
  }
}

void SetMenuWndRgn(TqvPopupMetrics& Menus, HWND Wnd) {
  if (!Wnd || !IsWindow(Wnd)) return;
  TqvMenuInfo info = GetMenuInfo(Menus, nullptr, Wnd, nullptr);
  if (!info) {
    // The popup of a menu whose items were drawn before its window was known.
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(Wnd, MN_GETHMENU, 0, 0));
    if (!menu) return;
    vcl::TMenuItem* first = nullptr;
    for (const TqvMenuInfo& r : Keeper().Records)
      if (vcl::TMenuItem* parent = r.FirstItem ? r.FirstItem->Parent() : nullptr;
          parent && parent->HandleAllocated() && parent->Handle() == menu)
        first = r.FirstItem;
    if (!first) return;
    vcl::TBitmap build;
    build.SetSize(1, 1);
    const std::size_t before = Keeper().Records.size();
    info = GetMenuInfo(Menus, first, Wnd, build.Canvas());
    // A background built now for the window has set its region already.
    if (Keeper().Records.size() != before || !info) return;
  }
  SetMenuWndRgn(Menus, Wnd, info.Bmp.get(), info.RgnRects);
}

vcl::TRect ExtraLineRect(TqvPopupMetrics& Menus, HWND Wnd) {
  const TqvMenuInfo info = GetMenuInfo(Menus, nullptr, Wnd, nullptr);
  const int width = ExtraLineWidthOf(Menus.SkinManager());
  if (!info || !info.ExtraLine || width <= 0 || !info.Bmp) return {};
  const int border = Menus.SkinBorderWidth();
  return {border, border, border + width, info.Bmp->Height() - border};
}

bool MaximizedMDIChildMenu() {
  TsSkinProvider* provider = MDIProvider();
  if (!provider || !provider->Form || provider->Form->FormStyle() != vcl::fsMDIForm) return false;
  vcl::TCustomForm* child = provider->Form->ActiveMDIChild();
  return child && child->WindowState() == vcl::wsMaximized && child->BorderIcons().Contains(vcl::biSystemMenu) &&
         child->Icon() != nullptr;
}

void FinalizeMenuSupport() {
  if (TqvMenuCacheKeeper* keeper = std::exchange(KeeperSlot(), nullptr)) {
    keeper->Clear();
    vcl::TObject::Free(keeper);
  }
  TExtraLineData& data = ExtraLine();
  data.Glyph.reset();
  data.Section.clear();
  data.Caption.clear();
}

}  // namespace skin_layered
