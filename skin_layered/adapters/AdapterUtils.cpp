#include "skin_layered/adapters/AdapterUtils.h"

#include <algorithm>

#include "classlib/controls/Controls.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

vcl::UniqueFont GetNonClientFont(int Kind) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return vcl::UniqueFont();
  const LOGFONTW* font;
  switch (Kind) {
    case kCaptionFont: font = &metrics.lfCaptionFont; break;
    case kSmallCaptionFont: font = &metrics.lfSmCaptionFont; break;
    case kMenuFont: font = &metrics.lfMenuFont; break;
    case kStatusFont: font = &metrics.lfStatusFont; break;
    default: font = &metrics.lfMessageFont; break;
  }
  return vcl::UniqueFont(CreateFontIndirectW(font));
}

void SetNonClientFont(vcl::TCanvas* Canvas, int Kind) {
  vcl::UniqueFont handle = GetNonClientFont(Kind);
  if (!Canvas || !handle) return;
  vcl::TFont font;
  font.SetHandle(handle.release());
  Canvas->Font()->Assign(&font);
  SelectObject(Canvas->Handle(), Canvas->Font()->Handle());
}

void PassToChildren(vcl::TControl* Control, HWND Handle, vcl::TMessage& Message) {
  if (auto* windowed = dynamic_cast<vcl::TWinControl*>(Control))
    BroadcastCommand(windowed, Message);
  else if (!Control)
    BroadcastToChildWnds(Handle, Message);
}

bool HasHotState(const TsCommonData* SkinData, bool ForHover) {
  if (!SkinData) return false;
  const TsSkinManager* manager = SkinData->GetSkinManager();
  if (!manager || SkinData->SkinIndex < 0) return false;
  if (ForHover && manager->Options()->NoMouseHover()) return false;
  const TsLoadedSkin& skin = manager->Skin();
  // A section without a border mask still shows its second state (colours, background).
  if (skin.IsValidImgIndex(SkinData->BorderIndex) &&
      skin.Images[static_cast<std::size_t>(SkinData->BorderIndex)].ImageCount > 1)
    return true;
  return skin.IsValidSkinIndex(SkinData->SkinIndex) &&
         skin.Sections[static_cast<std::size_t>(SkinData->SkinIndex)].States > 1;
}

void SetPropIfPresent(vcl::TObject* Obj, vcl::StringView Name, int64_t Value) {
  if (HasProperty(Obj, Name)) SetIntProp(Obj, Name, Value);
}

vcl::TColor GetColorPropIfPresent(const vcl::TObject* Obj, vcl::StringView Name) {
  return HasProperty(Obj, Name) ? vcl::ColorToRGB(static_cast<vcl::TColor>(GetIntProp(Obj, Name))) : 0;
}

int64_t GetPropIfPresent(const vcl::TObject* Obj, vcl::StringView Name) {
  return HasProperty(Obj, Name) ? GetIntProp(Obj, Name) : 0;
}

void GetWndPos(HWND Handle, HWND& Parent, vcl::TRect& WndRect, vcl::TPoint& PosInParent, vcl::TSize& Size,
               vcl::TRect& ParentRect) {
  RECT r{};
  GetWindowRect(Handle, &r);
  WndRect = vcl::TRect{r.left, r.top, r.right, r.bottom};
  Parent = GetParent(Handle);
  RECT pr{};
  if (Parent) GetWindowRect(Parent, &pr);
  ParentRect = vcl::TRect{pr.left, pr.top, pr.right, pr.bottom};
  Size = vcl::TSize{r.right - r.left, r.bottom - r.top};
  POINT p{r.left, r.top};
  if (Parent) ScreenToClient(Parent, &p);
  PosInParent = vcl::TPoint{p.x, p.y};
}

void NotifyTopLevelForm(HWND Handle) {
  HWND top = Handle;
  for (HWND p = Handle ? GetParent(Handle) : nullptr; p; p = GetParent(p)) top = p;
  if (top) SendCommandToWnd(top, scmCtrlNotify, 0);
}

namespace {

// The width of a single edit's border: 2 for a single border, plus one bevel width for each
// bevel drawn.
int EditFrameWidth(vcl::TCustomEdit* Edit) {
  int width = Edit->BorderStyle() == vcl::TBorderStyle::bsSingle ? 2 : 0;
  if (Edit->BevelKind() != vcl::bkNone) {
    if (Edit->BevelInner() != vcl::bvNone) width += Edit->BevelWidth();
    if (Edit->BevelOuter() != vcl::bvNone) width += Edit->BevelWidth();
  }
  return width;
}

void DrawDisabledEditText(vcl::TCustomEdit* Edit, vcl::TBitmap* Cache) {
  vcl::String text = Edit->Text();
  if (Edit->PasswordChar() != 0) text.assign(text.size(), Edit->PasswordChar());
  const int frame = EditFrameWidth(Edit);
  RECT r{frame, frame, Cache->Width() - frame, Cache->Height() - frame};
  UINT flags = DT_SINGLELINE | DT_NOPREFIX;
  if (Edit->UseRightToLeftReading()) {
    flags |= DT_RTLREADING | DT_RIGHT;
    OffsetRect(&r, -1, 0);
  }
  vcl::TCanvas* canvas = Cache->Canvas();
  canvas->Font()->Assign(Edit->Font());
  const HDC dc = canvas->Handle();
  SelectObject(dc, canvas->Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(vcl::ColorToRGB(canvas->Font()->Color())));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

// The disabled look by the control's "DisabledKind" property ("dkBlended" blends, "dkGrayed"
// greys), blending when it has none.
int DisabledKind(vcl::TControl* Control) {
  if (!HasProperty(Control, L"DisabledKind")) return kDisabledBlend;
  int kind = PropSetHasItem(Control, L"DisabledKind", L"dkBlended") ? kDisabledBlend : 0;
  if (PropSetHasItem(Control, L"DisabledKind", L"dkGrayed")) kind |= kDisabledGrey;
  return kind;
}

}  // namespace

void PrepareAdapterCache(TsCommonData* SkinData, HWND Handle, bool PlainFill) {
  (void)PlainFill;  // the skins have no global fill colour: the section is painted
  if (!SkinData || !SkinData->BGChanged || !Handle) return;
  RECT wr{};
  GetWindowRect(Handle, &wr);
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const HWND parent = GetParent(Handle);
  TqvBGInfo info;
  if (parent) {
    GetBgInfoWnd(info, parent, false);
    if (info.BgType == btNotReady) {
      SkinData->Updating = true;
      return;
    }
  }
  const int width = std::max(0, static_cast<int>(wr.right - wr.left));
  const int height = std::max(0, static_cast<int>(wr.bottom - wr.top));
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  POINT corner{wr.left, wr.top};
  if (!parent || !ScreenToClient(parent, &corner)) return;
  TqvCacheInfo ci;
  CopyBgInfo(info, ci);
  // A section the skin lacks shows what lies behind the control.
  if (SkinData->GetSkinManager()) {
    int state = 0;
    if (SkinData->Focused() || vcl::IsFocusWindow(Handle))
      state = 1;
    else if (SkinData->FMouseAbove)
      state = HasHotState(SkinData, true) ? 1 : 0;
    PaintItem(SkinData->ControlSkin(), ci, state, vcl::TRect{0, 0, width, height}, vcl::TPoint{corner.x, corner.y},
              cache, true);
  }
  vcl::TControl* control = SkinData->OwnerControl();
  if (control && !control->Enabled()) {
    if (auto* edit = dynamic_cast<vcl::TCustomEdit*>(control)) DrawDisabledEditText(edit, cache);
    PaintDisabled(cache, DisabledKind(control), control, ci, vcl::TPoint{corner.x, corner.y});
  }
  SkinData->BGChanged = false;
}

void SendToChildren(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, Msg, WParam, LParam);
}

}  // namespace skin_layered
