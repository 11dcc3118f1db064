// Forms, the application object and the screen.
//
// A form is a top-level windowed control. A form class made with the one-argument
// constructor reads the form description resource named after its class when it is created
// through its class information (Application->CreateForm<T>(), Construct<T>(owner)); the
// two-argument constructor (CreateNew) reads nothing.
#pragma once

#include <functional>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/controls/LayerHooks.h"
#include "classlib/forms/ScrollBox.h"

namespace vcl {

class TMonitor;
class TMenuItem;

VCL_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
using enum TFormStyle;

VCL_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)

VCL_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using enum TBorderIcon;
using TBorderIcons = Set<TBorderIcon>;

VCL_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
using enum TWindowState;

VCL_ENUM(TPosition,
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter)
using enum TPosition;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using enum TCloseAction;

enum class TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using enum TFormStateItem;
using TFormState = Set<TFormStateItem>;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = IDOK;
inline constexpr TModalResult mrCancel = IDCANCEL;
inline constexpr TModalResult mrAbort = IDABORT;
inline constexpr TModalResult mrRetry = IDRETRY;
inline constexpr TModalResult mrIgnore = IDIGNORE;
inline constexpr TModalResult mrYes = IDYES;
inline constexpr TModalResult mrNo = IDNO;
inline constexpr TModalResult mrAll = mrNo + 1;
inline constexpr TModalResult mrNoToAll = mrAll + 1;
inline constexpr TModalResult mrYesToAll = mrNoToAll + 1;

using TCloseEvent = Event<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = Event<void(TObject* Sender, bool& CanClose)>;

// The form a control sits on: its topmost parent when that is a form, or nil.
TCustomForm* GetParentForm(const TControl* Control);

// ---------------------------------------------------------------------------------------

class TCustomForm : public TScrollingWinControl {
  VCL_CLASS(TCustomForm, TScrollingWinControl)

 public:
  // Reads the description named after the class when created through its class information
  // (plain TForm and TCustomForm read none).
  explicit TCustomForm(TComponent* AOwner);
  // CreateNew: a form without a description.
  TCustomForm(TComponent* AOwner, int Dummy);
  ~TCustomForm() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  void SetVisible(bool Value) override;
  void Show();
  void Hide();
  // The close protocol: OnCloseQuery, then OnClose with the close action (caHide; caNone
  // for an MDI child without minimise box, caMinimize with one). Closing the main form ends
  // the application.
  void Close();
  bool CloseQuery();
  // Frees the form once the messages already queued for it are handled.
  void Release();
  int ShowModal();
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult Value) { modal_result_ = Value; }
  TFormState FormState() const { return form_state_; }

  bool Active() const { return active_; }
  TWinControl* ActiveControl() const { return active_control_; }
  void SetActiveControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  bool SetFocusedControl(TWinControl* Control);
  void SetFocus() override;
  bool CanFocus() const override;
  void SendCancelMode(TControl* Sender);
  virtual bool WantChildKey(TControl* Child, TMessage& Message);

  TFormBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return border_icons_; }
  void SetBorderIcons(TBorderIcons Value);
  TFormStyle FormStyle() const { return form_style_; }
  void SetFormStyle(TFormStyle Value);
  TWindowState WindowState() const { return window_state_; }
  void SetWindowState(TWindowState Value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition Value) { position_ = Value; }
  bool KeyPreview() const { return key_preview_; }
  void SetKeyPreview(bool Value) { key_preview_ = Value; }
  bool AlphaBlend() const { return alpha_blend_; }
  void SetAlphaBlend(bool Value);
  int AlphaBlendValue() const { return alpha_blend_value_; }
  void SetAlphaBlendValue(int Value);
  bool TransparentColor() const { return transparent_color_; }
  void SetTransparentColor(bool Value);
  TColor TransparentColorValue() const { return transparent_color_value_; }
  void SetTransparentColorValue(TColor Value);

  // The main menu (a TMainMenu of the menus unit); its window menu is attached through the
  // menu hooks when the window exists, and again on CM_MENUCHANGED.
  TComponent* Menu() const { return menu_; }
  void SetMenu(TComponent* Value);

  TCanvas* Canvas() const { return canvas_.get(); }
  // The form's own icon (empty: the application's).
  TIcon* Icon() const { return icon_.get(); }
  void SetIcon(TIcon* Value) { icon_->Assign(Value); }

  // MDI: the frame's client window and its children.
  HWND ClientHandle() const { return client_handle_; }
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int Index) const;
  // The item of an MDI frame's main menu under which the client lists the children.
  TMenuItem* WindowMenu() const { return window_menu_; }
  void SetWindowMenu(TMenuItem* Value);

  void SetClientSize(int AWidth, int AHeight) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  void PaintWindow(HDC DC) override;
  int MenuBarHeight() const override;
  void Loaded() override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TApplication;

  void Init();
  void ShowingChanged();
  void PlaceOnShow();
  void SetActive(bool Value);
  void SetWindowFocus();
  void CloseModal();
  void AttachMenu(bool Redraw = true);
  // Sets the client size asked for before the window or its menu was settled.
  void ApplyWantedClientSize();
  // The menu of an active MDI child, or of an active form whose main menu has AutoMerge, in
  // (or out of) the main form's menu bar.
  void MergeMenu(bool MergeState);
  void RefreshMDIWindowMenu();
  void ApplyLayeredAttributes();
  void HandleDialogKey(TMessage& Message);
  // The message handlers Dispatch routes to.
  void WMActivate(WORD State);
  void WMMDIActivate(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMPaint(TMessage& Message);
  void WMCommand(TMessage& Message);
  void WMMeasureItem(TMessage& Message, MEASUREITEMSTRUCT* Item);
  void WMDrawItem(TMessage& Message, const DRAWITEMSTRUCT* Item);
  void WMInitMenuPopup(TMessage& Message);
  void WMGetMinMaxInfo(TMessage& Message, MINMAXINFO* Info);
  void CMActivate();
  void IconChanged(TObject* Sender);
  void ApplyIcon();
  void ApplicationBiDiModeChanged();
  void CMParentBiDiModeChanged(TMessage& Message);

  bool read_description_ = false;
  TFormState form_state_;
  TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
  TBorderIcons border_icons_{biSystemMenu, biMinimize, biMaximize};
  TFormStyle form_style_ = fsNormal;
  TWindowState window_state_ = wsNormal;
  TPosition position_ = poDesigned;
  bool key_preview_ = false;
  bool active_ = false;
  bool alpha_blend_ = false;
  int alpha_blend_value_ = 255;
  bool transparent_color_ = false;
  TColor transparent_color_value_ = 0;
  TModalResult modal_result_ = mrNone;
  TWinControl* active_control_ = nullptr;
  TWinControl* focused_control_ = nullptr;
  TComponent* menu_ = nullptr;
  TMenuItem* window_menu_ = nullptr;
  std::unique_ptr<TControlCanvas> canvas_;
  std::unique_ptr<TIcon> icon_;
  HWND client_handle_ = nullptr;
  // A client size asked for before the window existed or while the description was read (the
  // menu bar's real height is known only with the window and the menu).
  int wanted_client_width_ = -1;
  int wanted_client_height_ = -1;
  int focus_count_ = 0;
  // Restored from minimised: the focus the system gives the form's own window goes on to the
  // active control.
  bool refocus_control_ = false;
};

class TForm : public TCustomForm {
  VCL_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  TForm(TComponent* AOwner, int Dummy) : TCustomForm(AOwner, Dummy) {}
};

// ---------------------------------------------------------------------------------------
// The hint window: a borderless top-most popup showing a control's hint text.

// What CM_HINTSHOW carries in LParam: the control may change the text, position and timing
// or answer non-zero to show no hint.
struct THintInfo {
  TControl* HintControl = nullptr;
  const TClassInfo* HintWindowClass = nullptr;
  TPoint HintPos;          // screen position of the hint window
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;        // client rectangle of the control in which the hint stays
  TPoint CursorPos;        // client position of the mouse
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};

class THintWindow : public TCustomControl {
  VCL_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* AOwner);

  // Shows the hint with its text in the screen rectangle.
  virtual void ActivateHint(TRect Rect, const String& AHint);
  // The screen size the text needs, at most MaxWidth wide.
  virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 public:
  void Dispatch(TMessage& Message) override;
};

// The class of the application's hint windows (engines put their own here).
extern const TClassInfo* HintWindowClass;

// ---------------------------------------------------------------------------------------

class TMonitor : public TObject {
  VCL_CLASS(TMonitor, TObject)
 public:
  TMonitor(HMONITOR Handle, int Number) : handle_(Handle), number_(Number) {}

  HMONITOR Handle() const { return handle_; }
  int MonitorNum() const { return number_; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return BoundsRect().Width(); }
  int Height() const { return BoundsRect().Height(); }
  bool Primary() const;

 private:
  HMONITOR handle_;
  int number_;
};

class TScreen : public TComponent {
  VCL_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  // Every form, in creation order (CustomForms); Forms holds those that are TForm.
  int FormCount() const;
  TForm* Forms(int Index) const;
  int CustomFormCount() const { return static_cast<int>(custom_forms_.size()); }
  TCustomForm* CustomForms(int Index) const;
  TForm* ActiveForm() const { return dynamic_cast<TForm*>(active_custom_form_); }
  TCustomForm* ActiveCustomForm() const { return active_custom_form_; }
  TWinControl* ActiveControl() const { return active_control_; }
  TCustomForm* FocusedForm() const { return focused_form_; }

  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
  int DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }
  int DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
  int DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
  // The four desktop values at once (each of the above asks the system for its monitors).
  TRect DesktopRect() const;
  TRect WorkAreaRect() const;
  int PixelsPerInch() const { return ScreenLogPixels(); }
  int MonitorCount() const;
  TMonitor* Monitors(int Index) const;
  TMonitor* MonitorFromWindow(HWND Handle) const;
  TMonitor* MonitorFromPoint(TPoint P) const;
  TMonitor* MonitorFromRect(TRect R) const;

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);
  // The cursor table: the handle for a cursor number, and custom cursors registered under a
  // number of the program's choosing (see RegisterCursor: the screen owns what it is given).
  HCURSOR Cursors(TCursor Index) const { return CursorHandle(Index); }
  void SetCursors(TCursor Index, HCURSOR Handle);
  TFont* HintFont() const { return hint_font_.get(); }
  TFont* MenuFont() const { return menu_font_.get(); }
  TFont* IconFont() const { return icon_font_.get(); }

  TNotifyEvent OnActiveFormChange;
  TNotifyEvent OnActiveControlChange;

  // A control is going: it is no longer the active control.
  void ControlDestroyed(TControl* Control);

 private:
  friend class TCustomForm;
  friend class TApplication;

  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetActive(TCustomForm* Form, TWinControl* Control);
  void ReadMonitors() const;
  void ReadSystemFonts();

  std::vector<TCustomForm*> custom_forms_;  // the active one first
  TCustomForm* active_custom_form_ = nullptr;
  TCustomForm* focused_form_ = nullptr;
  TWinControl* active_control_ = nullptr;
  TCursor cursor_ = crDefault;
  std::unique_ptr<TFont> hint_font_;
  std::unique_ptr<TFont> menu_font_;
  std::unique_ptr<TFont> icon_font_;
  mutable std::vector<std::unique_ptr<TMonitor>> monitors_;
};

// ---------------------------------------------------------------------------------------

// Every message box of the library goes through one replaceable function (tests put their own
// in so that nothing waits for a user). It answers the button pressed (IDOK, ...).
using TMessageBoxFunction = std::function<int(HWND Owner, const String& Text, const String& Caption, UINT Flags)>;
TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction Function);
int ShowMessageBox(HWND Owner, const String& Text, const String& Caption, UINT Flags);
// A box with more than those four (a help context and its callback): MessageBoxIndirectW,
// or the replaced function with the owner, text, caption and style of Params.
int ShowMessageBoxIndirect(const MSGBOXPARAMSW& Params);

// One wait of a modal loop (by default: handle one message, or wait for one). Tests replace
// it to end a modal form without a user.
using TModalLoopStep = std::function<void(TCustomForm& Form)>;
TModalLoopStep SetModalLoopStep(TModalLoopStep Step);

using TWindowHook = Event<bool(TMessage& Message)>;
using TExceptionEvent = Event<void(TObject* Sender, const Exception& E)>;
using TMessageEvent = Event<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = Event<void(TObject* Sender, bool& Done)>;
using THelpEvent = Event<bool(WORD Command, intptr_t Data, bool& CallHelp)>;

class TApplication : public TComponent {
  VCL_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // The hidden application window (class "TApplication").
  HWND Handle() const { return handle_; }
  void Initialize();
  bool MainFormOnTaskBar() const { return main_form_on_task_bar_; }
  void SetMainFormOnTaskBar(bool Value);
  bool ShowMainForm() const { return show_main_form_; }
  void SetShowMainForm(bool Value) { show_main_form_ = Value; }

  // Creates a form owned by the application (the first becomes the main form).
  TCustomForm* CreateForm(const TClassInfo& InstanceClass);
  template <class T>
  T* CreateForm() {
    return static_cast<T*>(CreateForm(T::StaticClass()));
  }
  TCustomForm* MainForm() const { return main_form_; }

  // The message loop: shows the main form and runs until the application terminates.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void HandleMessage();
  void ProcessMessages();

  // Hooks of the application window's messages, newest first; a hook answering true ends
  // the message there.
  void HookMainWindow(TWindowHook Hook);
  void UnhookMainWindow(TWindowHook Hook);

  // An exception that escaped an event handler: OnException, or a message box with its
  // message (EAbort: nothing). Call from inside a catch block.
  void HandleException(TObject* Sender);
  void ShowException(const Exception& E);
  int MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);

  const String& Title() const;
  void SetTitle(const String& Value);
  String ExeName() const;
  // The application's icon (the program's "MAINICON" resource when it has one); the
  // application window shows it, and forms without an icon of their own.
  TIcon* Icon() const { return icon_.get(); }
  HICON IconHandle() const { return icon_ && !icon_->Empty() ? icon_->Handle() : nullptr; }
  bool Active() const { return active_; }
  void Minimize();
  void Restore();
  void BringToFront();
  void ModalStarted();
  void ModalFinished();
  int ModalLevel() const { return modal_level_; }
  bool HelpContext(int Context);

  // Hints.
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool Value);
  int HintPause() const { return hint_pause_; }
  void SetHintPause(int Value) { hint_pause_ = Value; }
  int HintShortPause() const { return hint_short_pause_; }
  void SetHintShortPause(int Value) { hint_short_pause_ = Value; }
  int HintHidePause() const { return hint_hide_pause_; }
  void SetHintHidePause(int Value) { hint_hide_pause_ = Value; }
  TColor HintColor() const { return hint_color_; }
  void SetHintColor(TColor Value) { hint_color_ = Value; }
  const String& Hint() const { return hint_; }
  void SetHint(const String& Value);

  // The reading order of the forms that follow it (forms without a parent whose
  // ParentBiDiMode is set) and of the application's own texts.
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode Value);
  bool IsRightToLeft() const;
  bool UseRightToLeftReading() const;
  bool UseRightToLeftAlignment() const;
  bool UseRightToLeftScrollBar() const;
  void CancelHint();
  void HintMouseMessage(TControl* Control, const TMessage& Message);
  THintWindow* HintWindow() const { return hint_window_; }

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TExceptionEvent OnException;
  TMessageEvent OnMessage;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnModalBegin;
  TNotifyEvent OnModalEnd;
  THelpEvent OnHelp;

  void WndProc(TMessage& Message);
  // A control is going: the application forgets it (main form, hint and mouse control).
  void ControlDestroyed(TControl* Control);
  // Without the main form on the task bar the (empty) application window holds the task-bar
  // button while any form is shown.
  void UpdateVisible();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TCustomForm;
  friend LRESULT CALLBACK ApplicationWndProc(HWND, UINT, WPARAM, LPARAM);

  bool ProcessMessage(MSG& Msg);
  void Idle(const MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  bool IsDlgMsg(MSG& Msg);
  bool IsMDIMsg(MSG& Msg);
  bool IsHintMsg(MSG& Msg);
  void CreateHandle();
  void HintTimerExpired();
  void ShowHintFor(TControl* Control);
  void StartHintTimer(int Interval);
  void StopHintTimer();
  static void HintTimerProc(HWND, UINT, UINT_PTR, DWORD);

  void IconChanged(TObject* Sender);

  HWND handle_ = nullptr;
  std::unique_ptr<TIcon> icon_;
  TCustomForm* main_form_ = nullptr;
  bool main_form_on_task_bar_ = false;
  bool show_main_form_ = true;
  bool terminated_ = false;
  bool active_ = false;
  bool handle_created_ = false;
  mutable String title_;
  std::vector<TWindowHook> hooks_;
  int modal_level_ = 0;

  bool show_hint_ = true;
  TBiDiMode bidi_mode_ = bdLeftToRight;
  int hint_pause_ = 500;
  int hint_short_pause_ = 50;
  int hint_hide_pause_ = 2500;
  TColor hint_color_ = clInfoBk;
  String hint_;
  TControl* hint_control_ = nullptr;   // the control the mouse rests on
  TControl* mouse_control_ = nullptr;
  THintWindow* hint_window_ = nullptr;
  bool hint_active_ = false;
  UINT_PTR hint_timer_ = 0;
};

// The application object and the screen, made by the library's start-up (InitializeUnits).
extern TApplication* Application;
extern TScreen* Screen;

}  // namespace vcl
