// The measures of a skinned form's window image (client offsets, menu lines, image width,
// title section), the re-reading of the skin's indexes after a change, the border form
// decision, and the geometry messages.
#include <algorithm>

#include "classlib/forms/Menus.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

bool Zoomed(vcl::TCustomForm* Form) { return Form->HandleAllocated() && IsZoomed(Form->Handle()); }
bool Iconic(vcl::TCustomForm* Form) { return Form->HandleAllocated() && IsIconic(Form->Handle()); }

// Set while the wheel is forwarded to the control under the cursor.
bool g_forwarding_wheel = false;

}  // namespace

// ---------------------------------------------------------------------------------------
// Measures

vcl::TRect TsSkinProvider::ShadowSize() {
  const TsSkinManager* manager = SkinManager();
  return ExtBorderForm() && manager ? manager->ShadowMargins() : vcl::TRect();
}

int TsSkinProvider::ImageWidth() {
  const vcl::TRect shadow = ShadowSize();
  if (Iconic(Form) && (!vcl::Application || Form != vcl::Application->MainForm()))
    return 160 + shadow.Left + shadow.Right;
  return Form->Width() + (ExtBorderForm() ? 2 * BorderFormOffsetX(ExtBorderForm()) : 0) + shadow.Left + shadow.Right;
}

int TsSkinProvider::ImageHeight() const { return Form->Height(); }

int TsSkinProvider::TitleHeightByState(bool Zoomed) const {
  const TsSkinManager* manager = SkinManager();
  if (!manager) return 0;
  const TsSkinData& data = manager->Skin().SkinData;
  const int title = data.TitleHeight != 0 ? data.TitleHeight : 30;
  if (Zoomed || (data.MaxHeight != 0 && skin_layered::Zoomed(Form))) return data.MaxHeight != 0 ? data.MaxHeight : title;
  return title;
}

int TsSkinProvider::MenuHeight() const { return HasMenuLine() ? GetSystemMetrics(SM_CYMENU) - 1 : 0; }

int TsSkinProvider::MenuLinesCount() {
  if (MenuLineCount >= 0) return MenuLineCount;
  MenuLineCount = 0;
  if (!HasMenuLine() || !Form->HandleAllocated() || Iconic(Form)) return MenuLineCount;
  RECT item{};
  if (!GetMenuItemRect(Form->Handle(), GetMenu(Form->Handle()), 0, &item)) return MenuLineCount;
  RECT window{};
  GetWindowRect(Form->Handle(), &window);
  const int clientTop = window.bottom - ClientHeightOf(Form->Handle()) - BorderWidthDef() - 2 * Form->BorderWidth();
  const int line = std::max(1, GetSystemMetrics(SM_CYMENU) - 2);
  MenuLineCount = item.bottom < clientTop ? 1 + (clientTop - item.bottom) / line : 1;
  return MenuLineCount;
}

int TsSkinProvider::OffsetX() {
  if (!Form->HandleAllocated()) return 0;
  if (ExtBorderForm()) return BorderWidthSys() + ShadowSize().Left;
  return (WndWidth(Form->Handle()) - ClientWidthOf(Form->Handle())) / 2;
}

int TsSkinProvider::OffsetY() {
  if (!Form->HandleAllocated()) return 0;
  if (ExtBorderForm()) {
    const int menu = MenuHeight();
    return CaptionHeight(true) + MenuLinesCount() * menu + Form->BorderWidth() + ShadowSize().Top +
           (menu > 0 ? 1 : 0);
  }
  const HWND wnd = Form->Handle();
  const bool caption = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
  return WndHeight(wnd) - ClientHeightOf(wnd) - (caption ? BorderWidthSys() : 0);
}

bool TsSkinProvider::IconVisible() const {
  const vcl::TFormBorderStyle style = Form->BorderStyle();
  return title_icon_ && title_icon_->Visible() && show_app_icon_ &&
         (style == vcl::TFormBorderStyle::bsSingle || style == vcl::TFormBorderStyle::bsSizeable) && Form->BorderIcons().Contains(vcl::biSystemMenu);
}

vcl::String TsSkinProvider::TitleSkinSection() const { return title_skin_.empty() ? L"FORMTITLE" : title_skin_; }

int TsSkinProvider::GetTitleSkinIndex() {
  if (TitleSkinIndex < 0)
    if (const TsSkinManager* manager = SkinManager()) TitleSkinIndex = manager->GetSkinIndex(TitleSkinSection());
  return TitleSkinIndex;
}

int TsSkinProvider::BorderIconsTop() {
  const TsSkinManager* manager = SkinManager();
  const bool zoomed = Zoomed(Form);
  if (!ExtBorderForm() || !manager) return zoomed ? 6 : 0;
  const TsSkinData& data = manager->Skin().SkinData;
  if (!zoomed) return ShadowSize().Top + data.BITop;
  const int extra = data.MaxHeight != 0 && data.MaxHeight != data.TitleHeight ? data.TitleHeight - data.MaxHeight : 0;
  return ShadowSize().Top + 4 + std::max(0, extra);
}

// ---------------------------------------------------------------------------------------
// The skin's indexes and the border form

void TsSkinProvider::InitMenuItems() {
  TsSkinManager* manager = SkinManager();
  if (!Form || !Form->HandleAllocated() || !manager || !manager->Skin().SkinData.Active || !SkinData) return;
  TitleSkinIndex = -1;
  SkinData->UpdateIndexes(true);
  SystemMenuStyle(true);
  SkinData->BGChanged = true;
  GetTitleSkinIndex();
  CaptionIndex = manager->GetSkinIndex(L"CAPTION");
  if (Form->FormStyle() == vcl::fsMDIChild)
    if (TsSkinProvider* frame = MDIProvider(); frame && frame != this) {
      frame->SkinData->BGChanged = true;
      frame->MenuLineCount = -1;
    }
  const vcl::TComponentState state = Form->ComponentState();
  if (!state.Contains(vcl::csReading) && !state.Contains(vcl::csLoading) &&
      !Form->ControlState().Contains(vcl::csCreating) && UseGlobalColor() && !SkinData->CustomColor())
    ApplyGlobalColor();
  if (!state.Contains(vcl::csLoading) && Form->Visible()) InitExBorders(manager->ExtendedBorders());
}

void TsSkinProvider::KillAnimations() {
  // The title buttons' glow fades come with the buttons' painting; nothing runs before.
}

void TsSkinProvider::InitExBorders(bool AllowExtended) {
  const TsSkinManager* manager = SkinManager();
  const bool wanted = AllowExtended && HasBorder() && DrawNonClientArea && !Form->Parent() &&
                      Form->FormStyle() != vcl::fsMDIChild && allow_ext_borders_ &&
                      !(Zoomed(Form) && manager && manager->Options()->NativeBordersMaximized());
  if (wanted) {
    // The border window comes with the extended borders; until a border form is attached the
    // form keeps its own frame.
    if (BorderForm) {
      SkinData->BGChanged = true;
      BorderForm->UpdateExBordersPos(true, 255);
    }
    return;
  }
  if (BorderForm) {
    delete BorderForm;
    BorderForm = nullptr;
  }
}

void TsSkinProvider::FullRedraw() {
  if (SkinData) SkinData->BGChanged = true;
  FirstPaintDone = false;
  MenuLineCount = -1;
  SendToProvider(WM_NCPAINT, 1, 0);
}

void TsSkinProvider::DropSysMenu(vcl::TPoint Point) {
  // The skinned system menu comes with the menu painting; until then the window's own.
  if (!Form->HandleAllocated() || GetForegroundWindow() != Form->Handle()) return;
  const HWND wnd = Form->Handle();
  const int command =
      TrackPopupMenu(GetSystemMenu(wnd, FALSE), TPM_RETURNCMD | TPM_RIGHTBUTTON, Point.X, Point.Y, 0, wnd, nullptr);
  if (command != 0) PostMessageW(wnd, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
}

// ---------------------------------------------------------------------------------------
// Messages

void TsSkinProvider::WMGetMinMaxInfo(vcl::TMessage& Message) {
  if (DrawNonClientArea && HasBorder() && Form->FormStyle() != vcl::fsMDIChild && !Form->Parent() &&
      Form->HandleAllocated()) {
    const HWND wnd = Form->Handle();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    int shift = 0;
    if (ExtBorderForm() && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
      MaxBorderLarge = (ExtFlags & kExtSysCommand) && TitleHeightByState(true) > SysCaptionHeightOfForm() + 4;
    const int frame = SysBorderWidth(wnd, nullptr, false);
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    if (info) {
      info->ptMaxPosition.x = -frame;
      info->ptMaxPosition.y = shift - frame;
      info->ptMaxSize.x = (work.right - work.left) + 2 * frame;
      info->ptMaxSize.y = (work.bottom - work.top) + 2 * frame - shift;
    }
    Message.Result = 0;
  }
  CallOldWndProc(Message);
}

void TsSkinProvider::WMNCMouseMove(vcl::TMessage& Message) {
  if (!Form->Enabled()) return;
  if (TsSkinManager* manager = SkinManager(); manager && Form->HandleAllocated()) manager->SetHotWnd(Form->Handle());
  CallOldWndProc(Message);
}

void TsSkinProvider::WMInitMenuPopup(vcl::TMessage& Message) { CallOldWndProc(Message); }

void TsSkinProvider::CMMouseWheel(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (g_forwarding_wheel || Message.Result != 0) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  vcl::TWinControl* target = vcl::FindVCLWindow(vcl::TPoint(cursor));
  if (!target || target == Form) return;
  g_forwarding_wheel = true;
  struct TReset {
    ~TReset() { g_forwarding_wheel = false; }
  } reset;
  vcl::TMessage forwarded = Message;
  forwarded.Result = 0;
  target->Dispatch(forwarded);
  Message.Result = forwarded.Result & 0x7F;
}

}  // namespace skin_layered
