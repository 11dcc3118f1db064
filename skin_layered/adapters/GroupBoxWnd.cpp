#include "skin_layered/adapters/GroupBoxWnd.h"

#include <algorithm>

#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvGroupBoxWnd) {}

namespace {

constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME;  // 0x405
// The caption's gap: this far from the left edge, this much wider than the caption.
constexpr int kCaptionIndent = 6;
constexpr int kCaptionGap = 8;

}  // namespace

void TqvGroupBoxWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"GROUPBOX");
  TqvMainWnd::SetSkinParams();
}

void TqvGroupBoxWnd::Redraw() {
  SkinData->BGChanged = true;
  RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawFlags);
}

void TqvGroupBoxWnd::WndProc(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active() || Destroyed()) return TqvMainWnd::WndProc(Message);
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return OnFocus(Message);
    case WM_SETTEXT: return OnSetText(Message);
    case WM_PAINT: return OnPaint(Message);
    case WM_ERASEBKGND: return DialogChild ? TqvMainWnd::WndProc(Message) : OnEraseBkgnd(Message);
    case WM_NCPAINT: return DialogChild ? OnDialogNcPaint(Message) : TqvMainWnd::WndProc(Message);
    case WM_PARENTNOTIFY: return OnParentNotify(Message);
    case WM_PRINT: return OnPrint(Message);
    case kSkinCmdMessage: return OnSkinCommand(Message);
    default: return TqvMainWnd::WndProc(Message);
  }
}

void TqvGroupBoxWnd::OnFocus(vcl::TMessage& Message) {
  SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
  TqvMainWnd::WndProc(Message);
  SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
  Redraw();
}

void TqvGroupBoxWnd::OnSetText(vcl::TMessage& Message) {
  TqvMainWnd::WndProc(Message);
  Redraw();
}

void TqvGroupBoxWnd::OnPaint(vcl::TMessage& Message) {
  if (!DialogChild) {
    PaintGroupBox(Message);
    Message.Result = 0;
    return;
  }
  // The dialog paints the box (the system's frame with it); the skin's frame goes over.
  TqvMainWnd::WndProc(Message);
  if (IsWindowVisible(CtrlHandle)) PaintGroupBox(vcl::TMessage{WM_NCPAINT, 1, 0, 0});
}

void TqvGroupBoxWnd::OnDialogNcPaint(vcl::TMessage& Message) {
  PaintGroupBox(Message);
  Message.Result = 1;
}

void TqvGroupBoxWnd::OnParentNotify(vcl::TMessage& Message) {
  const UINT event = LOWORD(Message.WParam);
  TqvMainWnd::WndProc(Message);
  // The form gives the new child its adapter.
  if (event == WM_CREATE) NotifyFormOfControl(OwnerControl());
}

void TqvGroupBoxWnd::OnPrint(vcl::TMessage& Message) {
  SkinData->BGChanged = true;
  SkinData->Updating = false;
  Message.LParam = 1;
  PaintGroupBox(Message);
}

void TqvGroupBoxWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmRemoveSkin: DropOpaqueStyle(); break;
    case scmGetCtrlValue: Message.Result = CaptionHeight(); return;
    case scmPrepareCache: return OnPrepareCache(Message);
    case scmGetBgInfo: return OnGetBgInfo(Message);
    default: break;
  }
  TqvMainWnd::WndProc(Message);
}

void TqvGroupBoxWnd::OnPrepareCache(vcl::TMessage& Message) {
  // The box's own image, caption gap and all, is what lies behind its children.
  if (SkinData->BGChanged) PrepareCache();
  CallPrevWndProc(Message);
}

void TqvGroupBoxWnd::OnGetBgInfo(vcl::TMessage& Message) {
  // A child asking before the box painted gets the image made now, not a wait for a paint
  // that waits for it.
  if (SkinData->BGChanged || !SkinData->CacheBmp() || SkinData->CacheBmp()->Empty()) PrepareCache();
  TqvMainWnd::WndProc(Message);
}

void TqvGroupBoxWnd::OnEraseBkgnd(vcl::TMessage& Message) {
  if (Message.WParam != static_cast<WPARAM>(Message.LParam)) {
    if (vcl::TControl* control = OwnerControl(); control && control->ComponentState().Contains(vcl::csDesigning))
      TqvMainWnd::WndProc(Message);
    Message.Result = 1;
    return;
  }
  // A paint request of the library, the DC in both parameters.
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (SkinData->BGChanged) PrepareCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (dc && SkinData->IsCached() && cache && !cache->Empty()) {
    BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  } else if (dc) {
    RECT r{};
    GetClientRect(CtrlHandle, &r);
    FillDC(dc, vcl::TRect{r.left, r.top, r.right, r.bottom}, GetWndColor(GetParent(CtrlHandle)));
  }
  Message.Result = 1;
}

vcl::TRect TqvGroupBoxWnd::CaptionRect() {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  SkinData->InitCacheBmp();
  SelectCacheFont();
  RECT text{0, 0, 0, 0};
  if (!Caption.empty())
    DrawTextW(SkinData->CacheBmp()->Canvas()->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), &text,
              DT_CALCRECT | DT_CENTER);
  const int tw = text.right - text.left, th = text.bottom - text.top;
  const int width = WndSize.cx;
  const bool rtl = (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
  const int left = rtl ? width - tw - kCaptionIndent - kCaptionGap : kCaptionIndent;
  return vcl::TRect{left, 0, std::min(left + tw + kCaptionGap, width - 1), std::max(4, th) + 2};
}

void TqvGroupBoxWnd::ShowBackground(const vcl::TRect& R, const TqvCacheInfo& Background) {
  PaintBehind(SkinData->CacheBmp(), R, vcl::TPoint{WndPos.X + R.Left, WndPos.Y + R.Top}, Background);
}

void TqvGroupBoxWnd::PrepareCache() {
  const vcl::TRect caption = CaptionRect();  // the geometry refreshed too
  TqvBGInfo info;
  if (ParentWnd) {
    GetBgInfoWnd(info, ParentWnd, false);
    if (info.BgType == btNotReady) {
      // Made when the parent is ready.
      SkinData->Updating = true;
      return;
    }
  }
  TqvCacheInfo bg;
  CopyBgInfo(info, bg);
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  if (width == 0 || height == 0) return;
  const int top = caption.Bottom / 2;
  ShowBackground(vcl::TRect{0, 0, width, std::min(top, height)}, bg);
  PaintItem(SkinData->ControlSkin(), bg, 0, vcl::TRect{0, top, width, height}, vcl::TPoint{WndPos.X, WndPos.Y + top},
            cache, true);
  // A skin without the box's section: the system's frame over what lies behind.
  if (!SkinData->Section()) DrawSystemGroupFrame(cache, vcl::TRect{0, top, width, height});
  if (!Caption.empty()) {
    ShowBackground(caption, bg);
    UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) flags |= DT_RTLREADING;
    SelectCacheFont();
    WriteTextEx(cache->Canvas(), Caption, true, false, SkinData, flags, caption);
  }
  SkinData->BGChanged = false;
}

void TqvGroupBoxWnd::PaintGroupBox(const vcl::TMessage& Message) {
  TqvPaintDC paint(CtrlHandle, Message);
  if (SkinData->CheckBgChanged(false)) return;
  PrepareCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Empty()) return;
  const HDC dc = paint.DC();
  const int width = cache->Width(), height = cache->Height();
  const TSavedDC saved(dc);
  if (DialogChild) {
    // The interior is the dialog's.
    TsSkinManager* manager = Manager();
    const TsLoadedSkin* skin = manager ? &manager->Skin() : nullptr;
    const int border = SkinData->BorderIndex;
    const int left = skin ? skin->MaskWidthLeft(border) : 0;
    const int right = skin ? skin->MaskWidthRight(border) : 0;
    const int bottom = skin ? skin->MaskWidthBottom(border) : 0;
    ExcludeClipRect(dc, left, CaptionHeight(), width - right, height - bottom);
  }
  PaintChildrenInto(CtrlHandle, SkinData, vcl::TPoint{0, 0}, 0, 0, false, dc, vcl::TRect{0, 0, width, height});
  if (auto* control = dynamic_cast<vcl::TWinControl*>(OwnerControl()))
    PaintControlsOnDC(dc, control, vcl::TPoint{0, 0}, true);
  RepaintChildWnds(CtrlHandle);
}

}  // namespace skin_layered
