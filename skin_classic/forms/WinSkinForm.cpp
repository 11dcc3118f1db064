#include "skin_classic/forms/WinSkinForm.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Frame.h"
#include "classlib/rtl/TypInfo.h"
#include "skin_classic/core/ForeignClasses.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/core/SkinStartup.h"
#include "classlib/forms/Menus.h"
#include "skin_classic/forms/ControlMapping.h"
#include "skin_classic/forms/MenuTracking.h"
#include "skin_classic/forms/SkinMenuPaint.h"
#include "skin_classic/forms/WinSkinMenu.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

constexpr wchar_t kMdiClientClass[] = L"MDIClient";
constexpr int kDialogStyleBit = 0x80;  // DS_MODALFRAME
// The most a title grows for its buttons, in the system's caption heights.
constexpr int kMaxTitleRooms = 4;

String ClassNameOf(HWND Window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(Window, name, 256);
  return String(name, static_cast<size_t>(std::max(n, 0)));
}

// Holds a shown window's repaints, and its children's, for its scope; then repaints it and
// them once. The system takes a held window for hidden, so a window not shown is left alone.
class TRedrawHold {
 public:
  explicit TRedrawHold(HWND Window)
      : window_(GetWindowLongPtrW(Window, GWL_STYLE) & WS_VISIBLE ? Window : nullptr) {
    if (window_) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~TRedrawHold() {
    if (!window_ || !IsWindow(window_)) return;
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  TRedrawHold(const TRedrawHold&) = delete;
  TRedrawHold& operator=(const TRedrawHold&) = delete;

 private:
  HWND window_;
};

HWND FindMDIClient(HWND Window) {
  for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (vcl::SameText(ClassNameOf(child), kMdiClientClass)) return child;
  return nullptr;
}

// Whether the window is the active one: the thread's active window, or the MDI client's active
// child in a frame that is active itself (a frame passes its deactivation on to that child).
bool ActiveNow(HWND Window, HWND MDIClient, bool MDIChild) {
  const HWND active = GetActiveWindow();
  if (!MDIChild) return active == Window;
  return MDIClient && reinterpret_cast<HWND>(SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, 0)) == Window &&
         active == GetAncestor(Window, GA_ROOT);
}

bool CaptionLogFont(LOGFONTW& Font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
  Font = metrics.lfCaptionFont;
  return true;
}

// How much larger than its client area the system's frame (and menu bar) makes the window in
// the normal state.
SIZE SystemFrameSize(HWND Window) {
  RECT r{};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_STYLE) & ~(WS_MINIMIZE | WS_MAXIMIZE));
  AdjustWindowRectEx(&r, style, GetMenu(Window) != nullptr, static_cast<DWORD>(GetWindowLongPtrW(Window, GWL_EXSTYLE)));
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// The size a maximised or minimised window is restored to.
SIZE RestoredSize(HWND Window) {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  if (!GetWindowPlacement(Window, &p)) return SIZE{};
  return SIZE{p.rcNormalPosition.right - p.rcNormalPosition.left, p.rcNormalPosition.bottom - p.rcNormalPosition.top};
}

// Gives a maximised or minimised window the size it is restored to, its state and place left.
void SetRestoredSize(HWND Window, SIZE Size) {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  if (!GetWindowPlacement(Window, &p)) return;
  if (p.rcNormalPosition.right - p.rcNormalPosition.left == Size.cx &&
      p.rcNormalPosition.bottom - p.rcNormalPosition.top == Size.cy)
    return;
  p.rcNormalPosition.right = p.rcNormalPosition.left + Size.cx;
  p.rcNormalPosition.bottom = p.rcNormalPosition.top + Size.cy;
  p.flags &= WPF_RESTORETOMAXIMIZED;  // the minimised place as it is
  p.showCmd = IsWindowVisible(Window) ? SW_SHOWNA : SW_HIDE;  // the state as it is, not activated
  SetWindowPlacement(Window, &p);
}

}  // namespace

VCL_CLASS_INFO(TWinSkinForm) {}

TWinSkinForm::TWinSkinForm(vcl::TComponent* AOwner)
    : TWinSkinFormBase(AOwner), caption_font_(std::make_unique<vcl::TFont>()), double_click_time_(GetDoubleClickTime()) {
  LOGFONTW font{};
  if (CaptionLogFont(font)) caption_font_->SetHandle(CreateFontIndirectW(&font));
  hover_timer_ = new vcl::TTimer(this);
  hover_timer_->SetEnabled(false);
  hover_timer_->SetInterval(kHoverInterval);
  hover_timer_->OnTimer = vcl::TNotifyEvent::Bind<&TWinSkinForm::HoverTick>(this);
}

TWinSkinForm::~TWinSkinForm() {
  // Freed while still attached (its form object goes first): the window gets its own
  // procedure back before anything of this object is gone.
  if (attached_ && State != TSkinFormState::Destroyed) Detach();
  ReleaseSkinners();
  mapping_.reset();
  ReleaseSkinObjects();
}

// ---------------------------------------------------------------------------------------
// Attaching

void TWinSkinForm::AttachForm(TSkinData* ASkinData, vcl::TWinControl* AFormObject) {
  FormObject = AFormObject;
  if (ASkinData->OnBeforeSkinForm) ASkinData->OnBeforeSkinForm(FormObject, Window, WindowClass);
  if (ASkinData->SkinControls().Contains(xcMenuItem) && vcl::IsPublishedProp(FormObject, L"AutoScroll"))
    vcl::SetEnumProp(FormObject, L"AutoScroll", L"False");
  Init(ASkinData);
  if (SkinFrame) form_hook_.Install(FormObject, vcl::TWndMethod::Bind<&TWinSkinForm::FormHook>(this));
  former_color_ = FormObject->Color();
  FormObject->SetColor(SkinData->Skin()->Color(skin_classic::kColourButtonFace));
}

void TWinSkinForm::AttachWindow(TSkinData* ASkinData) {
  if (ASkinData->OnBeforeSkinForm) ASkinData->OnBeforeSkinForm(nullptr, Window, WindowClass);
  Init(ASkinData);
}

void TWinSkinForm::Init(TSkinData* ASkinData) {
  if (attached_) return;  // once
  TSkinManage* manager = SkinManager();
  if (manager) manager->SetStarted(1);
  SkinData = ASkinData;
  menu_painter_ = std::make_unique<TSkinMenuPainter>(SkinData, this);
  mapping_.reset(new TControlMapping(this));

  SkinFrame = SkinData->SkinControls().Contains(xcMainMenu) && !SkinData->Empty() && SkinData->Skin()->HasFrame();
  style_ = StyleOf();
  const LONG_PTR exStyle = GetWindowLongPtrW(Window, GWL_EXSTYLE);
  RightToLeft = exStyle & WS_EX_LEFTSCROLLBAR;
  IsChild = style_ & WS_CHILD;
  if (WindowClass.empty()) WindowClass = ClassNameOf(Window);
  owner_window_ = GetWindow(Window, GW_OWNER);
  StyleBits = 0;
  if ((style_ & WS_SYSMENU) || GetSystemMenu(Window, FALSE)) StyleBits |= kHasSystemMenu;
  if (style_ & WS_MINIMIZEBOX) StyleBits |= kHasMinimizeBox;
  if (style_ & WS_MAXIMIZEBOX) StyleBits |= kHasMaximizeBox;
  if (exStyle & WS_EX_CONTEXTHELP) StyleBits |= kHasContextHelp;
  ReadShowState();
  Sizeable = style_ & WS_THICKFRAME;

  if ((MDIClient = FindMDIClient(Window))) {
    FormKind = TFormKind::MDIParent;
    if (manager) manager->SetMDIClient(MDIClient);
  } else if (exStyle & WS_EX_MDICHILD) {
    FormKind = TFormKind::MDIChild;
    MDIClient = GetParent(Window);
    if (SkinData->Options().Contains(xoMDIChildBorder)) SkinFrame = false;
  }

  // A window skinned while it shows (the skin back after none) is drawn active only when it is;
  // one not shown yet starts active and learns better from WM_NCACTIVATE.
  if (IsWindowVisible(Window)) Active = ActiveNow(Window, MDIClient, FormKind == TFormKind::MDIChild);

  IsDialog = WindowClass == foreign_classes::kSystemDialog || vcl::SameText(WindowClass, L"TMessageForm");
  if ((style_ & WS_CAPTION) != WS_CAPTION)
    BorderKind = TBorderKind::None;
  else if ((style_ & kDialogStyleBit) || (exStyle & WS_EX_DLGMODALFRAME) || IsDialog)
    BorderKind = TBorderKind::Dialog;
  else if (style_ & WS_THICKFRAME)
    BorderKind = TBorderKind::Sizeable;
  else
    BorderKind = TBorderKind::Single;
  // Only the first NT 5 release needs the system menu left in place.
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  if (version.dwMajorVersion >= 5 && version.dwMinorVersion == 0 &&
      ((exStyle & WS_EX_APPWINDOW) || (!owner_window_ && FormKind != TFormKind::MDIChild)))
    StyleBits |= kKeepSystemMenu;
  Unicode = IsWindowUnicode(Window);

  if (FormKind == TFormKind::MDIParent) {
    show_menu_update_ = SkinData->MenuUpdate();
    mdi_client_subclass_.Attach(MDIClient, vcl::TWndMethod::Bind<&TWinSkinForm::MDIClientProc>(this));
  }
  subclass_.Attach(Window, vcl::TWndMethod::Bind<&TWinSkinForm::FormWndProc>(this));
  attached_ = true;

  if (SkinFrame) {
    // Restored later, the window keeps the client area it has in the normal state: its
    // restored size changes with its frame (FormSkinned).
    if (KeepsRestoredSize() && ShowState != TShowState::Normal) {
      const SIZE outer = RestoredSize(Window), frame = SystemFrameSize(Window);
      restored_client_ = SIZE{outer.cx - frame.cx, outer.cy - frame.cy};
    }
    HMENU menu = GetMenu(Window);
    if (menu && FormKind != TFormKind::MDIChild) {
      menu_bar_ = std::make_unique<TWinSkinMenu>(this);
      MenuHeight = GetSystemMetrics(SM_CYMENU);
      native_menu_removed_ = menu_bar_->LoadItems();
    }
    const bool minimized = ShowState == TShowState::Minimized;
    if (FormKind == TFormKind::MDIChild) {
      if (!(manager && manager->MDIMaximized()) && !minimized) SetSystemStyles(false);
    } else if (!minimized) {
      SetSystemStyles(false);
    }
    LoadSkinObjects();
  } else {
    State = TSkinFormState::Ready;
  }

  if (FormKind == TFormKind::MDIChild) {
    const int system = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
    if (system > TopHeight) MenuHeight = system - TopHeight;
    if (ShowState == TShowState::Maximized && manager && !manager->MDIMaximized()) manager->SetMDIMaximized(true);
  }
}

void TWinSkinForm::ReadShowState() {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(Window, &placement);
  switch (placement.showCmd) {
    case SW_SHOWMAXIMIZED: ShowState = TShowState::Maximized; break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: ShowState = TShowState::Minimized; break;
    default: ShowState = TShowState::Normal; break;
  }
}

// ---------------------------------------------------------------------------------------
// Skin objects

void TWinSkinForm::LoadSkinObjects() {
  if (!SkinData || SkinData->Empty()) return;
  TSkinObjects* skin = SkinData->Skin();
  if (BorderKind == TBorderKind::None) {
    LeftWidth = TopHeight = RightWidth = BottomHeight = MenuHeight = 0;
  } else {
    auto across = [](TDataSkinObject* b) { return b->HasBitmap() ? FrameExtent(b->Bitmap->Width(), b->Frame) : 0; };
    auto down = [](TDataSkinObject* b) { return b->HasBitmap() ? FrameExtent(b->Bitmap->Height(), b->Frame) : 0; };
    TopHeight = down(skin->Border(SkinBorder::Top));
    LeftWidth = across(skin->Border(SkinBorder::Left));
    RightWidth = across(skin->Border(SkinBorder::Right));
    BottomHeight = down(skin->Border(SkinBorder::Bottom));
  }
  buttons_.clear();
  HotObject = nullptr;
  tip_button_ = nullptr;
  info_window_.Hide();
  for (const auto& data : skin->SysButtons()) {
    auto button = std::make_unique<TWinSysButton>(this, data.get());
    button->Index = static_cast<int>(buttons_.size());
    buttons_.push_back(std::move(button));
  }
  // The skin's title height holds, but a title picture lower than the caption needs would cut
  // off its buttons and text.
  if (BorderKind != TBorderKind::None && TopHeight > 0) TopHeight = std::max(TopHeight, TitleRoom());
  AddStandardButtons();
  MakeIcon();
}

int TWinSkinForm::TitleRoom() const {
  // The system's buttons and icon, drawn where the skin has none, centred in the title.
  int room = std::max(GetSystemMetrics(SM_CYSIZE) - 4, GetSystemMetrics(SM_CYSMICON));
  // A line of the caption's text.
  if (HDC dc = vcl::MeasureDC()) {
    const vcl::SelectGuard font(dc, caption_font_->Handle());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) room = std::max(room, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
  }
  // The skin's own buttons where it places them (those of an MDI frame's menu band stand there).
  for (const auto& b : buttons_) {
    if (b->OnMenuBand() || b->Data->Align == 100) continue;
    const int height = b->IsIcon() ? GetSystemMetrics(SM_CYSMICON) : b->FrameHeight();
    if (height > 0) room = std::max(room, std::max(b->Data->Ycoord, 0) + height);
  }
  // A button placed far below any title is the skin's fault: the title stays of a caption's
  // size.
  return std::min(room, kMaxTitleRooms * GetSystemMetrics(SM_CYCAPTION));
}

void TWinSkinForm::AddStandardButtons() {
  standard_buttons_.clear();
  bool close = false, maximize = false, minimize = false, help = false, icon = false;
  for (const auto& b : buttons_) {
    const int action = b->Data->Action;
    close = close || action == kActionClose;
    maximize = maximize || action == kActionMaximize || action == kActionMaximize2;
    minimize = minimize || action == kActionMinimize || action == kActionMinimize2;
    help = help || action == kActionHelp;
    icon = icon || b->IsSystemMenu();
  }
  // Measured as TWinSysButton measures a button the system draws.
  const int w = std::max(GetSystemMetrics(SM_CXSIZE) - 2, 1), h = std::max(GetSystemMetrics(SM_CYSIZE) - 4, 1);
  // Right-aligned ones: the close button from the title's right end; the others distances from
  // the left edge of the buttons shown on the window (LayoutButtons), so that no gap is left
  // where the skin's hidden ones would stand.
  int next = w;
  auto add = [&](int action, int align, int x, int y, int visibility) {
    auto data = std::make_unique<TDataSkinSysButton>("Button.Standard");
    data->Action = action;
    data->Align = align;
    data->Xcoord = x;
    data->Ycoord = std::max(y, 0);
    data->Visibility = data->Visibility1 = visibility;
    auto button = std::make_unique<TWinSysButton>(this, data.get());
    button->Index = static_cast<int>(buttons_.size());
    buttons_.push_back(std::move(button));
    standard_buttons_.push_back(std::move(data));
  };
  const int y = (TopHeight - h) / 2;
  if (!close) add(kActionClose, 1, w, y, kShowAlways);
  // Help shows only without the boxes: where the maximise button would stand.
  const int helpSlot = next;
  if (!maximize) {
    add(kActionMaximize, 1, next, y, kShowWithBoxes);
    next += w;
  }
  if (!minimize) add(kActionMinimize, 1, next, y, kShowWithBoxes2);
  if (!help) add(kActionHelp, 1, helpSlot, y, kShowContextHelp);
  // The icon stands for the system menu: none without one.
  if (!icon && (StyleBits & kHasSystemMenu))
    add(kActionIcon, 0, LeftWidth + 2, (TopHeight - GetSystemMetrics(SM_CYSMICON)) / 2, kShowAlways);
}

void TWinSkinForm::ReleaseSkinObjects() {
  if (HotObject && dynamic_cast<TWinSysButton*>(HotObject)) HotObject = nullptr;
  tip_button_ = nullptr;
  info_window_.Hide();
  buttons_.clear();
}

// The window's small icon on the key colour, at the small-icon size.
void TWinSkinForm::MakeIcon() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  icon_bitmap_ = NewSkinBitmap(w, h);
  icon_.reset();
  if (!icon_bitmap_) return;
  icon_bitmap_->Canvas()->Brush()->SetColor(kSkinKeyColor);
  icon_bitmap_->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  auto source = reinterpret_cast<HICON>(SendMessageW(Window, WM_GETICON, ICON_SMALL, 0));
  if (!source) source = reinterpret_cast<HICON>(SendMessageW(Window, WM_GETICON, ICON_BIG, 0));
  // The icon the system shows for a window without one of its own: its class's, else the
  // system's application icon.
  if (!source) source = reinterpret_cast<HICON>(GetClassLongPtrW(Window, GCLP_HICONSM));
  if (!source) source = reinterpret_cast<HICON>(GetClassLongPtrW(Window, GCLP_HICON));
  if (!source) source = LoadIconW(nullptr, IDI_APPLICATION);
  if (!source) return;
  icon_.reset(static_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
  if (!icon_) icon_.reset(static_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, 0)));
  if (icon_) DrawIconEx(icon_bitmap_->Canvas()->Handle(), 0, 0, icon_.get(), w, h, 0, nullptr, DI_NORMAL);
  icon_bitmap_->SetTransparentColor(kSkinKeyColor);
  icon_bitmap_->SetTransparent(true);
}

// ---------------------------------------------------------------------------------------
// Set-up after the manager's notice (SKM_FORMSKINNED), in the window's own message loop

void TWinSkinForm::FormSkinned() {
  SystemMenu = GetSystemMenu(Window, FALSE);
  MakeIcon();
  // A window skinned while minimised (the skin back after none) has its title cut at its
  // corners and painted once it is ready, as one minimised while skinned has.
  bool cutMinimised = false;
  if (State == TSkinFormState::Created) {
    TSkinManage* manager = SkinManager();
    if (IsMDIChild()) {
      // The system tells a document of its activation only while its frame is active: one
      // made under an inactive frame, or whose frame's deactivation came before the frame was
      // set up, would keep the active title it starts with.
      Active = ActiveNow(Window, MDIClient, true);
      if (ShowState == TShowState::Maximized) {
        if (MDIClient) PostMessageW(MDIClient, SKM_MDIREDRAW, reinterpret_cast<WPARAM>(Window), 0);
      } else if (ShowState == TShowState::Normal) {
        State = TSkinFormState::Sizing;
        AdjustWindowSize(false);
        State = TSkinFormState::Ready;
        UpdateRegion();
      } else {
        SetSystemStyles(true);
        cutMinimised = true;
      }
      (void)manager;
    } else if (!IsChild && BorderKind != TBorderKind::None && ShowState == TShowState::Minimized) {
      cutMinimised = true;
    } else if (!IsChild && BorderKind != TBorderKind::None) {
      State = TSkinFormState::Sizing;
      AdjustWindowSize(false);
      State = TSkinFormState::Ready;
      if (ShowState == TShowState::Normal)
        UpdateRegion();
      else
        FrameChanged();
    }
    if (restored_client_ && ShowState != TShowState::Normal)
      SetRestoredSize(Window, SIZE{restored_client_->cx + LeftWidth + RightWidth,
                                   restored_client_->cy + TopHeight + BottomHeight + MenuHeight});
    restored_client_.reset();
  }
  // The children are mapped once the window has its skinned size: a combo box skinned
  // before its form's frame changed size was left unpainted.
  MapChildren();
  FinishSkin();
  State = TSkinFormState::Ready;
  if (cutMinimised && SkinFrame && IsIconic(Window)) {
    UpdateRegion(false, false);
    FrameChanged();
  }
  hover_timer_->SetEnabled(true);
}

void TWinSkinForm::MapChildren() {
  if (!mapping_ || !IsWindow(Window)) return;
  if (FormObject) {
    mapping_->MapFormControls(FormObject);
    mapping_->FollowNewWindows();
  } else {
    mapping_->MapWindowChildren(Window);
  }
}

void TWinSkinForm::FinishSkin() {
  SendMessageW(Window, kEngineSkinned, 0, kEngineMark);
  if (SkinData && SkinData->OnAfterSkinForm) SkinData->OnAfterSkinForm(FormObject, Window, WindowClass);
}

void TWinSkinForm::Reapply() {
  if (!SkinData || !IsWindow(Window)) return;
  // Each step below repaints the form and its children as it goes: held to the end, every
  // window paints once.
  const TRedrawHold hold(Window);
  const vcl::TColor face = SkinData->Skin()->Color(skin_classic::kColourButtonFace);
  if (FormObject) {
    FormObject->SetColor(face);
    // Forms and frames embedded in it take the form's colour too.
    for (int i = 0; i < FormObject->ControlCount(); ++i) {
      vcl::TControl* child = FormObject->Controls(i);
      if (dynamic_cast<vcl::TCustomForm*>(child) || dynamic_cast<vcl::TCustomFrame*>(child)) child->SetColor(face);
    }
  }
  UpdateSkinners();
  State = TSkinFormState::Reapplying;
  MapChildren();
  if (SkinFrame && FormObject) {
    AdjustWindowSize(true);
    // A relayout: the height one pixel more and back.
    FormObject->SetHeight(FormObject->Height() + 1);
    FormObject->SetHeight(FormObject->Height() - 1);
  }
  if (SkinFrame) {
    reapplying_region_ = true;
    UpdateRegion(true);
    reapplying_region_ = false;
    FrameChanged();
  }
  FinishSkin();
  State = TSkinFormState::Ready;
}

// ---------------------------------------------------------------------------------------
// Styles, size and frame

void TWinSkinForm::SetSystemStyles(bool Restore) {
  TSkinManage* manager = SkinManager();
  if (IsMDIChild() && manager && manager->MDIMaximized() && !Restore) return;
  LONG_PTR style = StyleOf();
  auto apply = [&](int bit, LONG_PTR flag) {
    if (Restore) {
      if (StyleBits & bit) style |= flag;
    } else {
      style &= ~flag;
    }
  };
  apply(kHasSystemMenu, WS_SYSMENU);
  apply(kHasMinimizeBox, WS_MINIMIZEBOX);
  apply(kHasMaximizeBox, WS_MAXIMIZEBOX);
  if (style != StyleOf()) SetWindowLongPtrW(Window, GWL_STYLE, style);
  style_ = style;
}

void TWinSkinForm::SetSysMenuStyle(bool Remove) {
  if (StyleBits & kKeepSystemMenu) return;
  LONG_PTR style = StyleOf();
  if (Remove)
    style &= ~static_cast<LONG_PTR>(WS_SYSMENU);
  else if (StyleBits & kHasSystemMenu)
    style |= WS_SYSMENU;
  if (style != StyleOf()) SetWindowLongPtrW(Window, GWL_STYLE, style);
  style_ = style;
}

void TWinSkinForm::FrameChanged() {
  SetWindowPos(Window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::AdjustWindowSize(bool FromClientRect) {
  if (ShowState == TShowState::Maximized) {
    FrameChanged();
    return;
  }
  RECT client{};
  GetClientRect(Window, &client);
  int width = client.right, height = client.bottom;
  // A library form keeps the client size it had with the native menu bar: the bar left the
  // window (its client area grew by it) and the skinned band takes its place.
  if (!FromClientRect && !IsDialog && State != TSkinFormState::Reapplying && FormObject) {
    width = FormObject->ClientWidth();
    height = FormObject->ClientHeight();
    if (!IsMDIChild() && native_menu_removed_) height -= MenuHeight;
  }
  int outerWidth = width + LeftWidth + RightWidth;
  const int outerHeight = height + TopHeight + BottomHeight + MenuHeight;
  if (IsDialog && !FromClientRect) {
    // A title wider than the dialog widens it; the controls move to stay centred.
    TDataSkinTitle* title = SkinData->Skin()->Title();
    const String text = WindowText();
    HDC dc = GetDC(Window);
    HGDIOBJ old = SelectObject(dc, caption_font_->Handle());
    TRect r(0, 0, 0, 0);
    DrawTextAW(dc, text, r, DT_CALCRECT | DT_NOPREFIX | DT_EXTERNALLEADING | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(Window, dc);
    const int needed = title->LeftWidth + r.Width() + title->RightWidth;
    if (needed > outerWidth) {
      const int shift = (needed - outerWidth) / 2;
      for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT cr{};
        GetWindowRect(child, &cr);
        MapWindowPoints(nullptr, Window, reinterpret_cast<POINT*>(&cr), 2);
        SetWindowPos(child, nullptr, cr.left + shift, cr.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
      }
      outerWidth = needed;
    }
  }
  SetWindowPos(Window, nullptr, 0, 0, outerWidth, outerHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::MDIMaximizedChanged(bool Maximized) {
  if (Maximized) {
    if (HasRegion) ClearRegion();
    SetSystemStyles(true);
    return;
  }
  ReadShowState();
  if (ShowState != TShowState::Minimized) {
    ShowState = TShowState::Normal;
    UpdateRegion(true);
    SetSystemStyles(false);
    if (!HasRegion) FrameChanged();
  } else {
    SetSystemStyles(false);
  }
}

String TWinSkinForm::WindowText() const {
  if (!Unicode) {
    const int n = GetWindowTextLengthA(Window);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextA(Window, text.data(), n + 1), 0)));
    return AnsiToWide(text);
  }
  const int n = GetWindowTextLengthW(Window);
  String text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(GetWindowTextW(Window, text.data(), n + 1), 0)));
  return text;
}

TPoint TWinSkinForm::ToWindowPoint(int X, int Y) const {
  // A minimised window's client area says nothing of where its title lies: the title is the
  // window.
  if (IsIconic(Window)) {
    RECT window{};
    GetWindowRect(Window, &window);
    return TPoint(X - window.left, Y - window.top);
  }
  POINT p{X, Y};
  ScreenToClient(Window, &p);
  if (!MaximizedMDIChild()) {
    p.x += LeftWidth;
    p.y += TopHeight + MenuHeight;
  }
  return TPoint(p.x, p.y);
}

// ---------------------------------------------------------------------------------------
// Detaching

void TWinSkinForm::Detach() {
  if (!attached_) return;
  hover_timer_->SetEnabled(false);
  HotObject = nullptr;
  tip_button_ = nullptr;
  info_window_.Hide();
  form_hook_.Remove();
  subclass_.Detach();
  mdi_client_subclass_.Detach();
  // A menu of the window still open (its system menu, a drop-down of its bar) draws its items
  // through this object's painter and the skin data it holds: the menu is closed, and neither
  // keeps the skin data (one that goes unskins its windows from its destructor while the loop
  // runs on).
  if (sys_popup_open_ || MenuTracking().Form == this) EndMenu();
  menu_painter_->SkinData = nullptr;
  if (sys_popup_) sys_popup_->SetImages(nullptr);
  DropMenuBar();
  if (sys_popup_ && !sys_popup_open_) {
    vcl::TObject::Free(sys_popup_);
    sys_popup_ = nullptr;
  }
  ReleaseSkinners();
  if (mapping_) mapping_->Restore();
  attached_ = false;
  const bool alive = State != TSkinFormState::Destroying && IsWindow(Window);
  if (FormObject && alive) FormObject->SetColor(former_color_);
  if (!SkinFrame && alive)
    for (HWND child = GetWindow(Window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      InvalidateRect(child, nullptr, TRUE);
}

void TWinSkinForm::DropMenuBar() {
  // A menu loop of the bar or of the system menu may still run below this call: what it uses
  // stays until this object goes.
  if (MenuTracking().Form == this)
    retired_menu_bar_ = std::move(menu_bar_);
  else
    menu_bar_.reset();
}

bool TWinSkinForm::FrameWanted() const {
  if (!SkinData || SkinData->Empty() || !SkinData->SkinControls().Contains(xcMainMenu)) return false;
  if (IsMDIChild() && SkinData->Options().Contains(xoMDIChildBorder)) return false;
  return SkinData->Skin()->HasFrame();
}

void TWinSkinForm::Unskin() {
  const HMENU taken = menu_bar_ ? menu_bar_->TakenMenu() : nullptr;
  // The client area a maximised or minimised window has when restored, in the skin's frame.
  std::optional<SIZE> restoredClient;
  if (SkinFrame && KeepsRestoredSize() && (IsZoomed(Window) || IsIconic(Window))) {
    const SIZE outer = RestoredSize(Window);
    restoredClient = SIZE{outer.cx - LeftWidth - RightWidth, outer.cy - TopHeight - BottomHeight - MenuHeight};
  }
  Detach();
  if (!IsWindow(Window) || State == TSkinFormState::Destroyed) return;
  if (SkinFrame) {
    RECT client{};
    GetClientRect(Window, &client);
    SetSystemStyles(true);
    SetSysMenuStyle(false);
    // The skin answered the activation messages itself, so the system's own active flag is
    // stale: it learns the real state before it draws its frame again (-1: no drawing yet).
    if (!IsMDIChild()) SendMessageW(Window, WM_NCACTIVATE, GetActiveWindow() == Window, -1);
    ClearRegion();
    if (native_menu_removed_) GiveMenuBack(taken);
    FrameChanged();
    KeepClientSize(client.right, client.bottom);
    if (restoredClient && (IsZoomed(Window) || IsIconic(Window))) {
      const SIZE frame = SystemFrameSize(Window);
      SetRestoredSize(Window, SIZE{restoredClient->cx + frame.cx, restoredClient->cy + frame.cy});
    }
    // The client area moved with the frame: what the children showed there (an MDI client's
    // top rows) is the skin's until they paint again.
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// The menu the bar took goes back on the window's own bar (a library form puts its menu there
// itself). An MDI frame's client adds a maximised document's icon and buttons only to a frame
// menu it is given while it holds another: it holds an empty one for a moment, which it leaves
// without them again.
void TWinSkinForm::GiveMenuBack(HMENU Taken) {
  if (FormObject)
    FormObject->Perform(vcl::CM_MENUCHANGED, 0, 0);
  else if (Taken && IsMenu(Taken) && !GetMenu(Window))
    SetMenu(Window, Taken);
  const HMENU menu = GetMenu(Window);
  if (!menu || FormKind != TFormKind::MDIParent || !IsWindow(MDIClient)) return;
  BOOL maximised = FALSE;
  SendMessageW(MDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximised));
  if (!maximised) return;
  const HMENU passing = CreateMenu();
  if (!passing) return;
  SendMessageW(MDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(passing), 0);
  SendMessageW(MDIClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0);
  if (GetMenu(Window) == passing) SetMenu(Window, menu);  // a client that kept the empty one
  // Whatever the client left on it is not this menu's to destroy (a document's system menu).
  while (GetMenuItemCount(passing) > 0) RemoveMenu(passing, 0, MF_BYPOSITION);
  DestroyMenu(passing);
}

// The system's frame (and menu bar) around the client area the window had with the skin's, as
// the skin kept the client area it found: skinning and unskinning leave a form its size.
void TWinSkinForm::KeepClientSize(int Width, int Height) {
  if (IsIconic(Window) || IsZoomed(Window) || BorderKind == TBorderKind::None) return;
  RECT now{}, outer{};
  GetClientRect(Window, &now);
  GetWindowRect(Window, &outer);
  if (now.right == Width && now.bottom == Height) return;
  SetWindowPos(Window, nullptr, 0, 0, outer.right - outer.left + Width - now.right,
               outer.bottom - outer.top + Height - now.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinSkinForm::MapSizeGrip(HWND Grip) {
  if (mapping_) mapping_->MapWindow(Grip);
}

}  // namespace winskin
