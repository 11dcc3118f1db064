#include "skin_layered/adapters/GridWnd.h"

#include <array>

#include "classlib/comctrls/Grids.h"
#include "classlib/controls/Themes.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ScrollState.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvGridWnd) {}
VCL_CLASS_INFO(TqvGridEhWnd) {}

namespace {

using C = TqvGridColors;
constexpr vcl::TColor kBlack = 0x000000;
constexpr vcl::TColor kWhite = 0xFFFFFF;

// Each property has its own saved value: the ones that stand for the same thing in different
// vendors' grids (a title or fixed font, gradient ends, line colours) are kept apart, and the
// line shadow colour is kept too.
constexpr std::array<TqvGridProperty, 20> kGridProperties{{
    {L"FixedColor", false, [](const C& c) -> int64_t { return c.Global; }},
    {L"TitleFont.Color", false, [](const C& c) -> int64_t { return c.GlobalFont; }},
    {L"FixedFont.Color", true, [](const C& c) -> int64_t { return c.GlobalFont; }},
    {L"GridFixedLineColor", true, [](const C& c) -> int64_t { return c.Border; }},
    {L"GridLineColor", true, [](const C& c) -> int64_t { return MixColor(c.Edit, c.EditFont, 0.7); }},
    {L"ControlLook.FixedGradientFrom", false, [](const C& c) -> int64_t { return MixColor(c.Global, c.Edit, 0.5); }},
    {L"ControlLook.FixedGradientTo", false, [](const C& c) -> int64_t { return c.Global; }},
    {L"ControlLook.FixedGradientMirrorFrom", false,
     [](const C& c) -> int64_t { return MixColor(c.Global, kBlack, 0.95); }},
    {L"ControlLook.FixedGradientMirrorTo", false, [](const C& c) -> int64_t { return MixColor(c.Global, kWhite, 0.9); }},
    {L"SelectionColor", true, [](const C& c) -> int64_t { return c.Highlight; }},
    {L"SelectionTextColor", true, [](const C& c) -> int64_t { return c.HighlightFont; }},
    {L"GridStyle.Title.StartColor", false, [](const C& c) -> int64_t { return MixColor(c.Global, c.Edit, 0.5); }},
    {L"GridStyle.Title.EndColor", false, [](const C& c) -> int64_t { return c.Global; }},
    {L"LineColors.FixedColor", false, [](const C& c) -> int64_t { return c.Border; }},
    {L"LineColors.DataColor", false, [](const C& c) -> int64_t { return MixColor(c.Edit, c.EditFont, 0.8); }},
    {L"LineColors.ShadowColor", false, [](const C& c) -> int64_t { return MixColor(c.Edit, c.EditFont, 0.8); }},
    {L"FooterColor", false, [](const C& c) -> int64_t { return c.InfoSection; }},
    {L"FooterCellColor", false, [](const C& c) -> int64_t { return c.InfoSection; }},
    {L"TitleColor", false, [](const C& c) -> int64_t { return c.InfoSection; }},
    {L"IndicatorIconColor", false, [](const C& c) -> int64_t { return c.SectionFont; }},
}};

// The vendor grid's own parameters (after the grid's).
constexpr std::array<TqvGridProperty, 14> kGridEhProperties{{
    {L"GridLineParams.BrightColor", false, [](const C& c) -> int64_t { return MixColor(kWhite, c.Edit, 0.2); }},
    {L"GridLineParams.DataHorzColor", false, [](const C& c) -> int64_t { return MixColor(c.EditFont, c.Edit, 0.2); }},
    {L"GridLineParams.DataVertColor", false, [](const C& c) -> int64_t { return MixColor(c.EditFont, c.Edit, 0.2); }},
    {L"GridLineParams.DarkColor", false, [](const C& c) -> int64_t { return MixColor(kBlack, c.Global, 0.3); }},
    {L"IndicatorParams.Color", false, [](const C& c) -> int64_t { return c.Global; }},
    {L"IndicatorParams.HorzLines", false, [](const C&) -> int64_t { return 0; }},
    {L"IndicatorParams.VertLines", false, [](const C&) -> int64_t { return 0; }},
    {L"IndicatorParams.FillStyle", false, [](const C&) -> int64_t { return 2; }},
    {L"TitleParams.Color", false, [](const C& c) -> int64_t { return c.Global; }},
    {L"TitleParams.SecondColor", false, [](const C& c) -> int64_t { return MixColor(kWhite, c.Global, 0.1); }},
    {L"TitleParams.HorzLines", false, [](const C&) -> int64_t { return 0; }},
    {L"TitleParams.FillStyle", false, [](const C&) -> int64_t { return 3; }},
    {L"TitleParams.VertLineColor", false, [](const C& c) -> int64_t { return c.Border; }},
    {L"RowDetailPanel.Color", false, [](const C& c) -> int64_t { return c.Global; }},
}};

constexpr wchar_t kOptionsEh[] = L"OptionsEh";
constexpr wchar_t kFixed3D[] = L"dghFixed3D";
constexpr wchar_t kEvenRow[] = L"EvenRowColor";
constexpr wchar_t kOddRow[] = L"OddRowColor";

bool IsLibraryGrid(const vcl::TControl* Control) { return dynamic_cast<const vcl::TDrawGrid*>(Control) != nullptr; }

}  // namespace

vcl::TColor MixColor(vcl::TColor A, vcl::TColor B, double K) {
  const auto a = static_cast<TColorValue>(vcl::ColorToRGB(A));
  const auto b = static_cast<TColorValue>(vcl::ColorToRGB(B));
  return static_cast<vcl::TColor>(MixColors(a, b, K) & 0xFFFFFF);
}

// ---------------------------------------------------------------------------------------
// TqvGridWnd

vcl::TControl* TqvGridWnd::LiveControl() const {
  vcl::TControl* control = OwnerControl();
  return control && !control->ComponentState().Contains(vcl::csDestroying) ? control : nullptr;
}

bool TqvGridWnd::SkinColors(TqvGridColors& Colors) const {
  TsSkinManager* manager = Manager();
  if (!manager || !SkinData || !manager->IsValidSkinIndex(SkinData->SkinIndex)) return false;
  const TsLoadedSkin& skin = manager->Skin();
  TsSkinManager* edits = DefaultSkinManager() ? DefaultSkinManager() : manager;
  Colors.Global = skin.GetGlobalColor();
  Colors.GlobalFont = skin.GetGlobalFontColor();
  Colors.Edit = edits->Skin().GetActiveEditColor();
  Colors.EditFont = edits->Skin().GetActiveEditFontColor();
  Colors.Border = skin.Colors.BorderColor;
  Colors.Highlight = skin.GetHighLightColor(true);
  Colors.HighlightFont = skin.GetHighLightFontColor(true);
  const int info = skin.ConstData.IndexGLOBALINFO;
  Colors.InfoSection =
      skin.IsValidSkinIndex(info) ? skin.Sections[static_cast<std::size_t>(info)].Props[0].Color : Colors.Global;
  const TsGeneralData* section = SkinData->Section();
  Colors.SectionFont = section ? section->Props[0].FontColor : Colors.GlobalFont;
  Colors.EvenRow = skin.Colors.EvenRowBgColor;
  Colors.OddRow = skin.Colors.OddRowBgColor;
  return true;
}

void TqvGridWnd::SaveProperties(std::span<const TqvGridProperty> Rows) {
  vcl::TControl* control = OwnerControl();
  if (!control) return;
  const bool look = HasProperty(control, L"ControlLook");
  for (const TqvGridProperty& row : Rows)
    if (!row.WithControlLook || look) saved_.Save(control, row.Path);
}

void TqvGridWnd::ApplyProperties(std::span<const TqvGridProperty> Rows, const TqvGridColors& Colors) {
  vcl::TControl* control = LiveControl();
  if (!control) return;
  const bool look = HasProperty(control, L"ControlLook");
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  for (const TqvGridProperty& row : Rows) {
    if (!alive) return;
    if (!row.WithControlLook || look) WritePropertyPath(control, row.Path, row.Value(Colors));
  }
}

void TqvGridWnd::SaveStdParams() {
  TqvEditWnd::SaveStdParams();
  SaveProperties(kGridProperties);
}

void TqvGridWnd::RestoreStdParams() {
  TqvEditWnd::RestoreStdParams();
  // Every property back to exactly its own value, clNone included.
  if (vcl::TControl* control = LiveControl()) saved_.Restore(control);
}

void TqvGridWnd::ApplySkinParams() {
  TqvEditWnd::ApplySkinParams();
  TqvGridColors colors;
  if (Destroyed() || !SkinColors(colors)) return;
  ApplyProperties(kGridProperties, colors);
}

void TqvGridWnd::WndProc(vcl::TMessage& Message) {
  const bool skinned = !Destroyed() && SkinData && SkinData->Skinned(false);
  if (skinned) {
    switch (Message.Msg) {
      case WM_ERASEBKGND:
        // The grid paints every cell: nothing to erase.
        SkinData->Updating = SkinData->BgIsChanged();
        Message.Result = 1;
        return;
      case WM_VSCROLL:
        OnDataScroll(Message);
        break;
      case WM_LBUTTONUP:
        if (VertBar && VertBar->Visible) {
          vcl::TRect bar;
          GetVScrollRect(this, CtrlHandle, bar);
          const POINT cursor = AdapterCursorPos();
          if (bar.Contains(vcl::TPoint{cursor.x, cursor.y})) {
            vcl::TMessage up = Message;
            up.WParam = static_cast<WPARAM>(-1);
            if (TqvScrollTracker::ButtonUp(*this, up)) {
              Message.Result = up.Result;
              return;
            }
          }
        }
        break;
      default:
        break;
    }
  }
  const bool removing = Message.Msg == kSkinCmdMessage && SkinCommandOf(Message.WParam) == scmRemoveSkin &&
                        !Destroyed() && FromOwnManager(Message);
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (!alive) return;
  if (removing) {
    RecreateLibraryGrid(Message);
    return;
  }
  if (!skinned) return;
  switch (Message.Msg) {
    case WM_PAINT:
      UpdateScrolls(this, true);
      break;
    case WM_WINDOWPOSCHANGED:
      if (IsWindowVisible(CtrlHandle)) SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      break;
    default:
      break;
  }
}

// A data-aware grid scrolls its records by the thumb's position itself.
void TqvGridWnd::OnDataScroll(vcl::TMessage& Message) {
  vcl::TControl* control = OwnerControl();
  if (!HasProperty(control, L"DataSource")) return;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(CtrlHandle, SB_VERT, &info);
  // The skinned thumb keeps its track position itself.
  const int track = Dragging && VertBar ? VertBar->Info.nTrackPos : info.nTrackPos;
  switch (Message.WParamLo()) {
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      info.fMask = SIF_POS;
      info.nPos = track;
      SetScrollInfo(CtrlHandle, SB_VERT, &info, FALSE);
      break;
    case SB_ENDSCROLL:
      if (control->ClassName() != L"TwwDBGrid") SendScrollMsg(CtrlHandle, WM_VSCROLL, SB_THUMBPOSITION, track);
      break;
    default:
      break;
  }
}

void TqvGridWnd::RecreateLibraryGrid(const vcl::TMessage&) {
  auto* grid = dynamic_cast<vcl::TWinControl*>(LiveControl());
  if (grid && IsLibraryGrid(grid) && grid->HandleAllocated()) grid->RecreateWnd();
}

// ---------------------------------------------------------------------------------------
// TqvGridEhWnd

void TqvGridEhWnd::SaveStdParams() {
  TqvGridWnd::SaveStdParams();
  vcl::TControl* control = OwnerControl();
  if (!control) return;
  saved_.Save(control, kOptionsEh);
  saved_.Save(control, kEvenRow);
  saved_.Save(control, kOddRow);
  SaveProperties(kGridEhProperties);
}

void TqvGridEhWnd::ApplySkinParams() {
  TqvGridWnd::ApplySkinParams();
  TqvGridColors colors;
  vcl::TControl* control = LiveControl();
  if (Destroyed() || !control || !SkinColors(colors)) return;
  // The skin draws the titles flat while visual styles are on.
  if (vcl::ThemeServices()->ThemesEnabled() && PropSetHasItem(control, kOptionsEh, kFixed3D))
    ChangeSetProp(control, kOptionsEh, kFixed3D, false);
  // Alternate rows stay alternate: only a grid with two row colours gets the skin's two.
  const std::optional<int64_t> even = saved_.Saved(kEvenRow), odd = saved_.Saved(kOddRow);
  if (even && odd && *even != *odd) {
    WritePropertyPath(control, kEvenRow, colors.EvenRow);
    WritePropertyPath(control, kOddRow, colors.OddRow);
  }
  ApplyProperties(kGridEhProperties, colors);
}

void TqvGridEhWnd::WndProc(vcl::TMessage& Message) {
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvGridWnd::WndProc(Message);
  if (!alive || Message.Msg != WM_PARENTNOTIFY || Message.WParamLo() != WM_CREATE) return;
  // The grid's in-place editors and panels get their adapters at once.
  if (TsSkinManager* manager = Manager(); manager && manager->SkinningRules().Contains(srThirdParty))
    NotifyFormOfControl(OwnerControl());
}

}  // namespace skin_layered
