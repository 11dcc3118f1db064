#include "skin_layered/adapters/VirtualTreeWnd.h"

#include <algorithm>
#include <array>

#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/GridWnd.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvVirtualTreeViewWnd) {}

namespace {

using C = TqvGridColors;

// The tree's colours (the header's owner-drawn events and options aside).
constexpr std::array<TqvGridProperty, 13> kTreeProperties{{
    {L"VETColors.CompressedTextColor", false, [](const C& c) -> int64_t { return c.SectionFont; }},
    {L"VETColors.FileTextColor", false, [](const C& c) -> int64_t { return c.SectionFont; }},
    {L"VETColors.FolderTextColor", false, [](const C& c) -> int64_t { return c.SectionFont; }},
    {L"Colors.FocusedSelectionBorderColor", false, [](const C& c) -> int64_t { return c.Highlight; }},
    {L"Colors.FocusedSelectionColor", false, [](const C& c) -> int64_t { return c.Highlight; }},
    {L"Colors.HotColor", false, [](const C& c) -> int64_t { return c.EditFont; }},
    {L"Colors.UnfocusedSelectionBorderColor", false,
     [](const C& c) -> int64_t { return MixColor(c.Highlight, c.Edit, 0.5); }},
    {L"Colors.UnfocusedSelectionColor", false, [](const C& c) -> int64_t { return MixColor(c.Highlight, c.Edit, 0.5); }},
    {L"Colors.SelectionTextColor", false, [](const C& c) -> int64_t { return c.HighlightFont; }},
    {L"PaintInfoColumn.Color", false, [](const C& c) -> int64_t { return c.Global; }},
    {L"PaintInfoColumn.Style", false, [](const C&) -> int64_t { return 1; }},
    {L"Header.Color", false, [](const C& c) -> int64_t { return c.Edit; }},
    {L"Header.Font.Color", false, [](const C& c) -> int64_t { return c.GlobalFont; }},
}};

constexpr wchar_t kHeaderDraw[] = L"OnAdvancedHeaderDraw";
constexpr wchar_t kQueryElements[] = L"OnHeaderDrawQueryElements";
constexpr wchar_t kHeaderOptions[] = L"Header.Options";
constexpr wchar_t kOwnerDraw[] = L"hoOwnerDraw";
constexpr UINT kRedrawAll = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME;                    // 0x505
constexpr UINT kRedrawChildren = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;  // 0x585
constexpr int kSortArrowSize = 12;

// An event property that takes handlers of the signature Sig.
template <class Sig>
const vcl::TPropInfo* EventOf(vcl::TObject* Object, std::wstring_view Name) {
  const vcl::TPropInfo* info = Object ? vcl::GetPropInfo(Object, Name) : nullptr;
  if (!info || info->Kind != vcl::TTypeKind::tkMethod || !info->EventType || !info->GetMethod || !info->SetMethod)
    return nullptr;
  return *info->EventType == typeid(Sig) ? info : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Properties and events

void TqvVirtualTreeViewWnd::SaveStdParams() {
  TqvEditWnd::SaveStdParams();
  vcl::TControl* control = OwnerControl();
  if (!control) return;
  for (const TqvGridProperty& row : kTreeProperties) saved_.Save(control, row.Path);
  saved_.Save(control, kHeaderOptions);
}

void TqvVirtualTreeViewWnd::RestoreStdParams() {
  TqvEditWnd::RestoreStdParams();
  vcl::TControl* control = OwnerControl();
  if (!control || control->ComponentState().Contains(vcl::csDestroying)) return;
  UnhookHeaderEvents(control);
  // Every property back to exactly its own value, the header's options with it.
  saved_.Restore(control);
}

void TqvVirtualTreeViewWnd::HookHeaderEvents(vcl::TControl* Control) {
  const vcl::TPropInfo* draw = EventOf<TqvAdvancedHeaderDraw>(Control, kHeaderDraw);
  const vcl::TPropInfo* query = EventOf<TqvHeaderQueryElements>(Control, kQueryElements);
  // A tree that paints its header itself keeps doing so.
  if (!draw || vcl::GetMethodProp(Control, *draw)) return;
  vcl::SetMethodProp(Control, *draw,
                     TqvAdvancedHeaderDrawEvent::Bind<&TqvVirtualTreeViewWnd::AdvancedHeaderDraw>(this).Raw());
  if (query && !vcl::GetMethodProp(Control, *query))
    vcl::SetMethodProp(Control, *query,
                       TqvHeaderQueryElementsEvent::Bind<&TqvVirtualTreeViewWnd::HeaderDrawQueryElements>(this).Raw());
  if (vcl::TObject* header = GetObjProp(Control, L"Header"); header && !PropSetHasItem(header, L"Options", kOwnerDraw))
    ChangeSetProp(header, L"Options", kOwnerDraw, true);
}

// Only the adapter's own handlers are taken away.
void TqvVirtualTreeViewWnd::UnhookHeaderEvents(vcl::TControl* Control) {
  if (const vcl::TPropInfo* draw = EventOf<TqvAdvancedHeaderDraw>(Control, kHeaderDraw);
      draw && vcl::GetMethodProp(Control, *draw) ==
                  TqvAdvancedHeaderDrawEvent::Bind<&TqvVirtualTreeViewWnd::AdvancedHeaderDraw>(this).Raw())
    vcl::SetMethodProp(Control, *draw, vcl::TMethod{});
  if (const vcl::TPropInfo* query = EventOf<TqvHeaderQueryElements>(Control, kQueryElements);
      query && vcl::GetMethodProp(Control, *query) ==
                   TqvHeaderQueryElementsEvent::Bind<&TqvVirtualTreeViewWnd::HeaderDrawQueryElements>(this).Raw())
    vcl::SetMethodProp(Control, *query, vcl::TMethod{});
}

void TqvVirtualTreeViewWnd::ApplySkinParams() {
  if (applying_) return;
  applying_ = true;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::ApplySkinParams();
  vcl::TControl* control = OwnerControl();
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
  if (!alive || !control || !manager || !section || !manager->IsValidSkinIndex(SkinData->SkinIndex)) {
    applying_ = false;
    return;
  }
  const TsLoadedSkin& skin = manager->Skin();
  TqvGridColors colors;
  colors.Global = skin.GetGlobalColor();
  colors.GlobalFont = skin.GetGlobalFontColor();
  colors.Edit = skin.GetActiveEditColor();
  colors.EditFont = skin.GetActiveEditFontColor();
  colors.Highlight = skin.GetHighLightColor(true);
  colors.HighlightFont = skin.GetHighLightFontColor(true);
  colors.SectionFont = section->Props[0].FontColor;
  for (const TqvGridProperty& row : kTreeProperties) {
    if (!alive) break;
    WritePropertyPath(control, row.Path, row.Value(colors));
  }
  if (alive) HookHeaderEvents(control);
  if (alive && IsWindow(CtrlHandle)) RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawAll);
  applying_ = false;
}

// ---------------------------------------------------------------------------------------
// The header painter

void TqvVirtualTreeViewWnd::HeaderDrawQueryElements(vcl::TObject*, TqvHeaderPaintInfo&, int& Elements) {
  Elements = kSkinnedHeaderElements;
}

void TqvVirtualTreeViewWnd::AdvancedHeaderDraw(vcl::TObject*, TqvHeaderPaintInfo& PaintInfo, int Elements) {
  if (Destroyed() || !Attached() || !SkinData || !SkinData->Skinned(false) || !PaintInfo.TargetCanvas) return;
  TsSkinManager* manager = Manager();
  const TsLoadedSkin* skin = manager ? &manager->Skin() : nullptr;
  const vcl::TRect r = PaintInfo.PaintRectangle;
  if (!skin || r.IsEmpty()) return;
  const HDC target = PaintInfo.TargetCanvas->Handle();
  if (!PaintInfo.Column) {
    // Right of the last column: the tree's own colour.
    const TsGeneralData* section = SkinData->Section();
    FillDC(target, r, section ? section->Props[0].Color : vcl::clWindow);
    return;
  }
  const int state = PaintInfo.IsDownIndex ? 2 : PaintInfo.IsHoverIndex ? 1 : 0;
  std::unique_ptr<vcl::TBitmap> bmp = CreateBmp32(r.Width(), r.Height());
  vcl::TCanvas* canvas = bmp->Canvas();
  // The section over what the tree's image shows there.
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const bool behind = cache && !cache->Empty();
  const int section = PaintItemByName(bmp.get(), L"COLHEADER", L"BUTTON", behind ? cache->Canvas()->Handle() : nullptr,
                                      static_cast<TColorValue>(vcl::ColorToRGB(vcl::clBtnFace)),
                                      vcl::TPoint{BorderLeft + r.Left, BorderTop + r.Top}, skin, state);
  if (!(Elements & kHeaderBackground)) BitBlt(bmp->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), target, r.Left, r.Top, SRCCOPY);
  const vcl::String text = vcl::GetPropInfo(PaintInfo.Column, L"Text") ? vcl::GetStrProp(PaintInfo.Column, L"Text")
                                                                        : vcl::String();
  canvas->Font()->Assign(PaintInfo.TargetCanvas->Font());
  canvas->Brush()->SetStyle(vcl::bsClear);
  const bool shift = manager->ButtonsOptions()->ShiftContentOnClick();
  vcl::TRect textRect{4, 0, r.Width() - 4, r.Height()};
  if (state == 2 && shift) textRect = vcl::TRect{5, 1, r.Width() - 3, r.Height() + 1};
  if ((Elements & kHeaderText) && !(Elements & kHeaderDropMark))
    WriteSkinText(canvas, text, true, manager, state ? 1 : 0, section, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS,
                  textRect);
  if ((Elements & kHeaderSortGlyph) && PaintInfo.ShowSortGlyph) {
    vcl::TObject* header = GetObjProp(OwnerControl(), L"Header");
    const int direction = GetIntProp(header, L"SortDirection") == 0 ? 1 : 3;
    const TsGeneralData* data =
        skin->IsValidSkinIndex(section) ? &skin->Sections[static_cast<std::size_t>(section)] : nullptr;
    const vcl::TColor color = data ? data->Props[static_cast<std::size_t>(std::min(state, 1))].FontColor : 0;
    vcl::TRect arrow{r.Width() - kSortArrowSize - 4, 0, r.Width() - 4, r.Height()};
    if (state == 2 && shift) arrow = vcl::TRect{arrow.Left + 1, 1, arrow.Right + 1, r.Height() + 1};
    DrawArrow(canvas, color, arrow, direction);
  }
  if (Elements & kHeaderDropMark) {
    const bool wrap = PropSetHasItem(PaintInfo.Column, L"Options", L"coWrapCaption");
    WriteSkinText(canvas, text, true, manager, state ? 1 : 0, section,
                  DT_CENTER | DT_EDITCONTROL | (wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER), textRect);
  }
  BitBlt(target, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// The window procedure

int TqvVirtualTreeViewWnd::HeaderHeight() const {
  vcl::TObject* header = GetObjProp(OwnerControl(), L"Header");
  if (!header || !PropSetHasItem(header, L"Options", L"hoVisible")) return 0;
  return static_cast<int>(std::max<int64_t>(GetIntProp(header, L"Height"), 0));
}

void TqvVirtualTreeViewWnd::WndProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false)) {
    TqvEditWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL: {
      if (Message.WParamLo() == SB_THUMBTRACK) {
        // The tree reads the position it scrolls to from the bar.
        const int bar = Message.Msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(CtrlHandle, bar, &info);
        const TqvScrollBar* skinned = Bar(bar);
        info.nPos = Dragging && skinned ? skinned->Info.nTrackPos : info.nTrackPos;
        info.fMask = SIF_POS;
        SetScrollInfo(CtrlHandle, bar, &info, FALSE);
      }
      if (Message.Msg == WM_HSCROLL) break;
      // The tree paints once, whole, after scrolling.
      SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvEditWnd::WndProc(Message);
      if (!alive) return;
      SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
      RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawChildren);
      return;
    }
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      if (!IsWindowVisible(CtrlHandle)) break;
      OnNcPaint(Message);
      return;
    case WM_PRINT:
      OnPrint(Message);
      return;
    default:
      break;
  }
  TqvEditWnd::WndProc(Message);
}

void TqvVirtualTreeViewWnd::OnNcPaint(vcl::TMessage& Message) {
  Message.Result = 0;
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (SkinData->CheckBgChanged(false)) return;
  if (SkinData->BGChanged) {
    const vcl::TLifetime::TWatch alive = Lifetime().Watch();
    if (!SkinParamsApplied) ApplySkinParams();
    if (!alive) return;
    PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
  }
  PaintAdapterBorder(SkinData, this);
  const HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  CopyFrameFromCache(dc);
  // The tree paints its header in its non-client area itself.
  CallPrevWndProc(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
  Message.Result = PaintScrollBars(this, CtrlHandle, kPartNone, dc);
  ReleaseDC(CtrlHandle, dc);
}

void TqvVirtualTreeViewWnd::OnPrint(vcl::TMessage& Message) {
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  SkinData->Updating = false;
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (SkinData->BGChanged) PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
  {
    const TSavedDC saved(dc);
    POINT origin{};
    GetWindowOrgEx(dc, &origin);
    SetWindowOrgEx(dc, origin.x - BorderLeft, origin.y - BorderTop - HeaderHeight(), nullptr);
    CallPrevWndProc(WM_PRINTCLIENT, Message.WParam, 0);
  }
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (!alive) return;
  PaintAdapterBorder(SkinData, this);
  CopyFrameFromCache(dc);
  Message.Result = PaintScrollBars(this, CtrlHandle, kPartNone, dc);
}

}  // namespace skin_layered
