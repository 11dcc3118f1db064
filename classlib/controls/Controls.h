// Controls: the visual component base classes and the way a window message travels.
//
//   window -> ControlWndProc (one static procedure; the control is found through the window
//   property under the "ControlOfs..." atom) -> control->WindowProc (replaceable, defaults to
//   the virtual WndProc) -> WndProc (mouse routing to graphic children, enter/leave, focus)
//   -> Dispatch (the class's message handlers) -> DefaultHandler (the saved system class
//   procedure, or DefWindowProc).
//
// Graphic controls have no window: their parent routes mouse messages to them by position and
// paints them in its WM_PAINT with its DC; Perform on a graphic control runs its WindowProc.
#pragma once

// First: windows.h without its RegisterClass macro, before Object.h declares vcl::RegisterClass.
#include "classlib/controls/Messages.h"

#include <vector>

#include "classlib/rtl/Component.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/rtl/Types.h"

namespace vcl {

class TControl;
class TWinControl;
class TCustomForm;

// ---------------------------------------------------------------------------------------
// Enumerations and sets

VCL_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom)
using enum TAlign;
using TAlignSet = Set<TAlign>;

VCL_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom)
using enum TAnchorKind;
using TAnchors = Set<TAnchorKind>;

enum class TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents,
  csNeedsBorderPaint, csParentBackground
};
using enum TControlStyleItem;
using TControlStyle = Set<TControlStyleItem>;

enum class TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csRecreating, csAligning,
  csPrintClient
};
using enum TControlStateItem;
using TControlState = Set<TControlStateItem>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using enum TShiftStateItem;
using TShiftState = Set<TShiftStateItem>;

// The state of an owner-drawn item (menus, list and combo boxes, tabs): bit i is the system's
// ODS_* flag 1 << i, so TOwnerDrawState::FromInt(LOWORD(itemState)) converts.
enum class TOwnerDrawStateItem {
  odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive,
  odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using enum TOwnerDrawStateItem;
using TOwnerDrawState = Set<TOwnerDrawStateItem>;

// Reading order of a control or menu.
VCL_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly)
using enum TBiDiMode;

// A border of a control (panels, edits, list views); forms have their own TFormBorderStyle.
VCL_ENUM(TBorderStyle, bsNone, bsSingle)

// Horizontal text alignment (labels, panels, edits, list view columns, ...).
VCL_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
using enum TAlignment;

// The cut of a bevel (panels' inner and outer bevels, bevelled windows).
VCL_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
using enum TBevelCut;

// How a windowed control's bevel is drawn in its frame (bkNone: no bevel); which of its edges
// have one.
VCL_ENUM(TBevelKind, bkNone, bkTile, bkSoft, bkFlat)
using enum TBevelKind;
VCL_ENUM(TBevelEdge, beLeft, beTop, beRight, beBottom)
using enum TBevelEdge;
using TBevelEdges = Set<TBevelEdge>;

// Mouse cursors: 0 is the default; negative numbers are the library's standard cursors.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
// The system cursor of a library cursor: a registered one, else the standard one; crDefault
// and unknown numbers give the default cursor (the arrow unless one is registered as
// crDefault), crNone none.
HCURSOR CursorHandle(TCursor Cursor);
// Registers a custom cursor under a number (any number; one of a standard cursor replaces it
// for the whole program); a nil handle takes a registered one out again. The table owns what
// is registered: a cursor replaced or taken out is destroyed, the rest at shut-down
// (ReleaseRegisteredCursors). Screen->SetCursors is the usual way in.
void RegisterCursor(TCursor Cursor, HCURSOR Handle);
void ReleaseRegisteredCursors();
const TIntegerTypeInfo& CursorTypeInfo();

// ---------------------------------------------------------------------------------------
// Events

using TMouseEvent = Event<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = Event<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent =
    Event<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TKeyEvent = Event<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = Event<void(TObject* Sender, wchar_t& Key)>;
using TContextPopupEvent = Event<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

TShiftState KeysToShiftState(WPARAM Keys);        // MK_* flags of a mouse message
TShiftState KeyDataToShiftState(LPARAM KeyData);  // the current Alt/Ctrl/Shift state

// ---------------------------------------------------------------------------------------
// Window creation parameters: what CreateParams fills and CreateWnd registers and creates.

struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  HMENU Menu = nullptr;  // a top-level window's menu bar, given to it as it is made
  void* Param = nullptr;
  WNDCLASSEXW WindowClass{};  // lpszClassName is set from WinClassName when registering
  String WinClassName;
};

// ---------------------------------------------------------------------------------------
// The canvas of a control: its device context is the control's (its parent's, offset and
// clipped, for a graphic control) whenever it is used outside a paint message.

class TControlCanvas : public TCanvas {
  VCL_CLASS(TControlCanvas, TCanvas)
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;

  TControl* Control() const { return control_; }
  void SetControl(TControl* AControl);
  // Releases a device context the canvas fetched itself (not one handed to it).
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_ = nullptr;
  HDC own_dc_ = nullptr;
  HWND dc_window_ = nullptr;
};

// Lends a DC to a canvas for one stretch of painting: the canvas is locked, lets go of a DC
// it fetched itself and draws on the lent one; on the way out (also when the painting
// raises) the canvas gets back the DC it was drawing on before. Loans nest: an engine lends
// its memory DC, the control's own painting lends again, and afterwards the canvas is still
// bound to the engine's DC.
class TCanvasDCLoan {
 public:
  TCanvasDCLoan(TCanvas& Canvas, HDC DC);
  ~TCanvasDCLoan();
  TCanvasDCLoan(const TCanvasDCLoan&) = delete;
  TCanvasDCLoan& operator=(const TCanvasDCLoan&) = delete;

 private:
  TCanvas& canvas_;
  HDC previous_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// The smallest and largest size a control takes (0: no limit).

class TSizeConstraints : public TPersistent {
  VCL_CLASS(TSizeConstraints, TPersistent)
 public:
  TSizeConstraints() = default;
  explicit TSizeConstraints(TControl* AControl) : control_(AControl) {}

  void Assign(TPersistent* Source) override;
  int MaxHeight() const { return max_height_; }
  int MaxWidth() const { return max_width_; }
  int MinHeight() const { return min_height_; }
  int MinWidth() const { return min_width_; }
  void SetMaxHeight(int Value);
  void SetMaxWidth(int Value);
  void SetMinHeight(int Value);
  void SetMinWidth(int Value);
  // Limits a width and a height to the constraints.
  void Apply(int& Width, int& Height) const;

  TNotifyEvent OnChange;

 protected:
  TPersistent* GetOwner() override;

 private:
  void Changed();

  TControl* control_ = nullptr;
  int max_height_ = 0, max_width_ = 0, min_height_ = 0, min_width_ = 0;
};

// ---------------------------------------------------------------------------------------
// TControl

class TControl : public TComponent {
  VCL_CLASS(TControl, TComponent)

 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // The replaceable window method; defaults to WndProc. Whoever puts a method in front of it
  // does so through a TWindowProcHook (WindowProcHook.h), so that hooks of several parties
  // can be removed in any order.
  TWndMethod WindowProc;

  // Sends a message straight to this control's WindowProc (no window involved).
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  // Parent and streaming parent.
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  // Position and size (in the parent's client coordinates).
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
  void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
  void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
  void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
  virtual void SetClientSize(int AWidth, int AHeight);
  // The client area's top-left corner in screen coordinates.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;

  TSizeConstraints* Constraints() const { return constraints_.get(); }
  void SetConstraints(TSizeConstraints* Value) { constraints_->Assign(Value); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors Value);

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool Value);
  void Show();
  void Hide();
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool Value);

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool Value);
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* Value);
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool Value);

  // Caption and Text are the same text (a windowed control keeps it in its window).
  String Text() const;
  void SetText(const String& Value);
  String Caption() const { return Text(); }
  void SetCaption(const String& Value) { SetText(Value); }

  const String& Hint() const { return hint_; }
  void SetHint(const String& Value) { hint_ = Value; }
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return parent_show_hint_; }
  void SetParentShowHint(bool Value);

  // The popup menu shown on a right click (WM_CONTEXTMENU). The menus unit shows it through
  // its PopupControlMenu hook (LayerHooks.h).
  TComponent* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(TComponent* Value);
  virtual TComponent* GetPopupMenu() const { return popup_menu_; }

  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor Value);

  // Reading order. A control follows its parent's (a form without one, the application's)
  // while ParentBiDiMode is set; setting BiDiMode clears it. Right-to-left modes take effect
  // only on a system set up for right-to-left scripts (SysLocale().MiddleEast).
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return parent_bidi_mode_; }
  void SetParentBiDiMode(bool Value);
  bool IsRightToLeft() const;
  bool UseRightToLeftReading() const;
  bool UseRightToLeftAlignment() const;
  bool UseRightToLeftScrollBar() const;
  // DrawText flags for this control's reading order: left and right alignment exchanged when
  // the control aligns right to left, DT_RTLREADING added when it reads right to left.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;
  UINT DrawTextBiDiModeFlagsReadingOnly() const;

  TControlStyle ControlStyle() const { return control_style_; }
  void SetControlStyle(TControlStyle Value) { control_style_ = Value; }
  TControlState ControlState() const { return control_state_; }
  void SetControlState(TControlState Value) { control_state_ = Value; }
  bool MouseCapture() const;
  void SetMouseCapture(bool Value);

  // Painting.
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  // Paints the control (and, for a windowed one, its children) into DC at X, Y.
  virtual void PaintTo(HDC DC, int X, int Y);
  void BringToFront();
  void SendToBack();
  virtual void SetZOrder(bool TopMost);

  // True when this control and all its parents are visible (ignores windows).
  bool IsVisible() const;

  // The library's message handlers; WndProc ends in Dispatch, unhandled messages in
  // DefaultHandler.
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;

 protected:
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void Resize();
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Asks the parent to lay out again after this control's alignment or size changed.
  virtual void RequestAlign();
  // Invalidates the control's area in its parent (graphic controls).
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  virtual void VisibleChanging() {}
  virtual void FontChanged();
  // The anchor distances are taken again from the current bounds.
  void UpdateAnchorRules();
  // Tells the control (and whoever hooks it) that its value changed: CM_CHANGED with the
  // control in LParam.
  void Changed();
  // The text of a control without a window (a windowed one keeps it here while it has none).
  String text_;

 private:
  friend class TWinControl;
  friend class TCustomForm;

  void DoMouseDown(const TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(const TMessage& Message, TMouseButton Button);
  void HandleMouseMessage(TMessage& Message);
  void HandleContextMenu(TMessage& Message);
  void HandleMouseWheel(TMessage& Message);
  LRESULT CMMouseWheel(WPARAM WParam, LPARAM LParam);
  void CMParentShowHintChanged();
  void FontChangedHandler(TObject* Sender);
  void ConstraintsChanged(TObject* Sender);
  void ParentFontChanged();
  void ParentColorChanged();
  void ParentBiDiModeChanged();
  void CMBiDiModeChanged(const TMessage& Message);

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  TPoint anchor_rules_;
  TPoint original_parent_size_;
  bool anchor_move_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clWindow;
  bool parent_color_ = true;
  std::unique_ptr<TFont> font_;
  bool parent_font_ = true;
  std::unique_ptr<TSizeConstraints> constraints_;
  String hint_;
  bool show_hint_ = false;
  bool parent_show_hint_ = true;
  TComponent* popup_menu_ = nullptr;
  TCursor cursor_ = crDefault;
  TBiDiMode bidi_mode_ = bdLeftToRight;
  bool parent_bidi_mode_ = true;
  TControlStyle control_style_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState control_state_;
};

// ---------------------------------------------------------------------------------------
// TWinControl

class TWinControl : public TControl {
  VCL_CLASS(TWinControl, TControl)

 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // The window, created (with its parents') on first use.
  HWND Handle();
  // Whether the window exists; never creates it.
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // A window outside the library to live in when the control has no Parent.
  HWND ParentWindow() const { return parent_window_; }
  void SetParentWindow(HWND Value);

  // Child controls: graphic ones first, then windowed ones, each in insertion (z) order.
  int ControlCount() const { return static_cast<int>(controls_.size() + win_controls_.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* Control) const;
  // The child under P (client coordinates); graphic children only unless AllowWinControls.
  TControl* ControlAtPos(TPoint P, bool AllowDisabled, bool AllowWinControls = false) const;
  // Sends the message to every child control (stops when one answers non-zero).
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  // Makes a child visible to the user (a page control turns to the child's page).
  virtual void ShowControl(TControl* AControl);
  void SetZOrder(bool TopMost) override;

  // Shown on screen: Visible, and every parent too, with windows.
  bool Showing() const { return showing_; }
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // Layout of aligned and anchored children.
  void DisableAlign() { ++align_level_; }
  void EnableAlign();
  bool AlignDisabled() const { return align_level_ != 0; }
  void Realign();
  void AlignControl(TControl* AControl);
  // Moves the children (and what the window shows of them) by DeltaX, DeltaY.
  void ScrollBy(int DeltaX, int DeltaY);

  // Focus and keyboard.
  int TabOrder() const;
  void SetTabOrder(int Value);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool Value);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // The next windowed control in tab order after CurControl (nil: from the start).
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  void GetTabOrderList(std::vector<TWinControl*>& List) const;

  TBrush* Brush() const { return brush_.get(); }

  // Space between the window's edge and its client area, part of its frame: BorderWidth
  // pixels all round (in the brush's colour), then, unless BevelKind is bkNone, a bevel on
  // BevelEdges of BevelWidth pixels for each of BevelOuter and BevelInner that is not bvNone.
  TBevelEdges BevelEdges() const { return bevel_edges_; }
  void SetBevelEdges(TBevelEdges Value);
  TBevelCut BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TBevelCut Value);
  TBevelKind BevelKind() const { return bevel_kind_; }
  void SetBevelKind(TBevelKind Value);
  int BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(int Value);
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int Value);

  // Painting: the control through its window procedure, then its graphic children.
  void PaintControls(HDC DC, TControl* First);
  void PaintHandler(TMessage& Message);
  void PaintTo(HDC DC, int X, int Y) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;

  // Destroys the window and makes a new one (CM_RECREATEWND).
  void RecreateWnd();
  void DestroyHandle();

  bool HasParent() const override { return true; }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

 protected:
  // A message sent to the control's window (made first if need be).
  LRESULT Send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) const;
  // The control has a window that does not go with the control now.
  bool HasWindow() const { return HandleAllocated() && !ComponentState().Contains(csDestroying); }
  // What kind of window: style, class and its registration. Descendants add to it.
  virtual void CreateParams(TCreateParams& Params);
  // Bases the window class on a system class (L"BUTTON", L"EDIT", ...): its procedure
  // becomes the one DefaultHandler calls.
  static void CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName);
  virtual void CreateHandle();
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  // Paints the control itself into DC (by default: WM_PAINT with the DC to the window
  // procedure chain's end).
  virtual void PaintWindow(HDC DC);
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void AdjustClientRect(TRect& Rect) const { (void)Rect; }
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(wchar_t& Key);
  virtual void DoEnter();
  virtual void DoExit();
  void Loaded() override;
  void UpdateControlState();
  // The system class procedure DefaultHandler calls.
  WNDPROC DefWndProc() const { return def_wnd_proc_; }
  void SetDefWndProc(WNDPROC Proc) { def_wnd_proc_ = Proc; }
  // Reads the window's position and size into the fields (after the system moved it).
  void UpdateBounds();
  // The window that precedes this child in z-order (for SetWindowPos).
  HWND PrecedingWindow(TWinControl* Control) const;
  // The height of the menu bar the window will have (forms with a menu), for the client area
  // of a control without a window.
  virtual int MenuBarHeight() const { return 0; }

 private:
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
  friend TWinControl* FindControl(HWND Handle);
  friend class TControl;
  friend class TCustomForm;

  void AttachHandle(HWND Wnd);
  void DetachHandle();
  // Tells the subscribers (WindowEvents.h) once per window that it is about to go.
  void AnnounceDestroying();
  void UpdateShowing();
  // Moves the window to its place among its siblings when that was left for its showing.
  void PlaceAmongSiblings();
  void RemoveFocus(bool Removing);
  bool IsControlMouseMsg(TMessage& Message);
  void TrackMouse(TMessage& Message);
  void MouseLeft();
  void SetHotControl(TControl* Control);
  bool ReflectNotification(TMessage& Message);
  void PrintWindow(TMessage& Message);
  // The message handlers Dispatch routes to.
  void WMPaint(TMessage& Message);
  void WMPrintClient(TMessage& Message);
  LRESULT WMEraseBkgnd(HDC DC);
  void WMReflected(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMMove(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void WMContextMenu(TMessage& Message);
  void WMWindowPosChanging(TMessage& Message, WINDOWPOS* Pos);
  void WMWindowPosChanged(TMessage& Message);
  void WMSetCursor(TMessage& Message, HWND Window, UINT HitTest);
  void WMKey(TMessage& Message, bool Up);
  void WMChar(TMessage& Message);
  void CMChildKey(TMessage& Message);
  void CMShowingChanged();
  void CMVisibleChanged();
  void CMEnabledChanged();
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMInvalidate(bool OnlyParents);
  void CMRecreateWnd();
  HBRUSH CNCtlColor(HDC DC);
  // The frame the control adds inside the system's: border width and bevels, per edge.
  TRect OwnFrameInsets() const;
  // Paints that frame into a DC whose origin is the window's top-left corner.
  void PaintOwnFrame(HDC DC);
  void WMNCCalcSize(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void CMBorderChanged();
  void CMBiDiModeChanged(TMessage& Message);
  void HandleKeyDown(TMessage& Message, bool Up);
  bool IsMenuKey(const TMessage& Message);
  void HandleChar(TMessage& Message);
  void HandleSysChar(TMessage& Message);
  // WM_KEYDOWN/UP and WM_CHAR: true when the form (KeyPreview) or an event used the key.
  bool DoKeyDown(TMessage& Message, bool Up);
  bool DoKeyPress(TMessage& Message);
  void DoAlign(TControl* AControl, TAlign AAlign, TRect& Rect);
  void AnchorControl(TControl* Control, const TRect& Rect);
  void ChildrenChanged(TControl* AControl, bool Inserting);

  HWND handle_ = nullptr;
  bool destroying_announced_ = false;
  bool zorder_pending_ = false;  // made to be shown: placed among its siblings as it is shown
  HWND parent_window_ = nullptr;
  WNDPROC def_wnd_proc_ = nullptr;
  std::vector<TControl*> controls_;          // graphic children
  std::vector<TWinControl*> win_controls_;   // windowed children
  std::vector<TWinControl*> tab_list_;
  std::unique_ptr<TBrush> brush_;
  TControl* hot_control_ = nullptr;           // graphic child under the mouse
  bool mouse_in_client_ = false;
  bool showing_ = false;
  bool tab_stop_ = false;
  int stored_tab_order_ = -1;  // read from a description, applied when loaded
  int align_level_ = 0;
  TBevelEdges bevel_edges_{beLeft, beTop, beRight, beBottom};
  TBevelCut bevel_inner_ = bvRaised;
  TBevelCut bevel_outer_ = bvLowered;
  TBevelKind bevel_kind_ = bkNone;
  int bevel_width_ = 1;
  int border_width_ = 0;
};

// ---------------------------------------------------------------------------------------
// Controls that paint themselves through a canvas.

class TGraphicControl : public TControl {
  VCL_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;

  TCanvas* Canvas() const { return canvas_.get(); }

  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint();

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

class TCustomControl : public TWinControl {
  VCL_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;

  TCanvas* Canvas() const { return canvas_.get(); }

  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint();
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

// ---------------------------------------------------------------------------------------
// Lookup and process-wide helpers

// The name of the control-lookup atom and message: "ControlOfs" + the module instance and the
// thread id, each as at least eight upper-case hexadecimal digits.
String ControlAtomName();
// The global atom under whose name every library window keeps its control object.
ATOM ControlAtom();
// The registered message a library window answers with its control object.
UINT ControlLookupMessage();
// The control object of a window the library created in this process, or nil. It answers
// from the moment the window exists: inside a WH_CBT hook's HCBT_CREATEWND (before the
// window's first message) the answer is the control creating it.
TWinControl* FindControl(HWND Handle);
// Whether the window has the keyboard focus (GetFocus() == Wnd). A library window of the
// calling thread is answered from the focus messages its window procedure saw, without a
// round trip to the window system (a server request under Wine); any other window is asked.
bool IsFocusWindow(HWND Wnd);
// The innermost library control whose window lies under a screen point.
TWinControl* FindVCLWindow(TPoint Pos);
// The deepest control (graphic ones too) under a screen point.
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// Releases the device contexts canvases took outside painting (done when the application is
// idle).
void FreeDeviceContexts();
// The one static procedure of every window the library creates.
LRESULT CALLBACK ControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// An exception that escaped a message handler: hands the exception being handled (call from
// inside a catch block) to the application's display (see LayerHooks.h); without an
// application it is dropped.
void HandleControlException(TObject* Sender);

// Published property declarations shared by the control classes that publish them.
namespace publish {
void Align(TPropertyList& p);
void Anchors(TPropertyList& p);
void Constraints(TPropertyList& p);
void Bounds(TPropertyList& p);      // Left, Top, Width, Height
void Caption(TPropertyList& p);
void Text(TPropertyList& p);
void Color(TPropertyList& p, std::optional<int64_t> Default);
void Font(TPropertyList& p);        // Font, ParentFont
void ParentColor(TPropertyList& p, bool Default);
void Visible(TPropertyList& p);
void Enabled(TPropertyList& p);
void Hints(TPropertyList& p);       // Hint, ShowHint, ParentShowHint
void PopupMenu(TPropertyList& p);
void Cursor(TPropertyList& p);
void BiDiMode(TPropertyList& p);     // BiDiMode, ParentBiDiMode
void Bevels(TPropertyList& p);       // BevelEdges, BevelInner, BevelKind, BevelOuter
void BevelWidth(TPropertyList& p);
void BorderWidth(TPropertyList& p);
void TabStop(TPropertyList& p, bool Default);
void TabOrder(TPropertyList& p);
void MouseEvents(TPropertyList& p); // OnClick, OnDblClick, OnMouseDown/Move/Up/Enter/Leave
void KeyEvents(TPropertyList& p);   // OnEnter, OnExit, OnKeyDown/Up/Press
void OnResize(TPropertyList& p);
void OnContextPopup(TPropertyList& p);
}  // namespace publish

}  // namespace vcl
