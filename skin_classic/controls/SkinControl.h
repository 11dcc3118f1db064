// TSkinControl: the base of every control skinner of the classic engine. A skinner sits in
// front of one control: a control of the class library through a chained hook on its
// WindowProc, a bare window (a system dialog's button) through comctl32 subclassing. It sees
// every message first and decides whether the control's own handling runs:
//
//   SKM_SKINCONTROL          skinning on (wParam > 0, redraws) or off; never reaches the control
//   skinning off             the control's own procedure only
//   BeforeProc answers true  the control's own procedure, then AfterProc
//   BeforeProc answers false the skinner handled the message (and set its Result) alone
//
//   skin has no picture      as skinning off (HasPicture): the system draws the control
//
// An exception inside the pipeline is dropped: the control keeps its own behaviour for that
// message. The base paints nothing: each subclass paints its kind of control in DrawControl,
// either over the control's own painting (the base AfterProc paints after WM_PAINT) or
// instead of it (its BeforeProc answers WM_PAINT with PaintHandler).
//
// TSkinControlHost is the skinned form as its skinners see it: the window messages for the
// program go to, and the list of skinners the form keeps (and frees when it lets go).
#pragma once

#include <memory>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/controls/WindowSubclass.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/rtl/Lifetime.h"
#include "skin_classic/core/SkinData.h"

namespace winskin {

using vcl::TRect;

class TSkinControl;

class TSkinControlHost {
 public:
  TSkinControlHost() = default;
  // Skinners still listed forget the host (the form normally releases them first).
  virtual ~TSkinControlHost();
  TSkinControlHost(const TSkinControlHost&) = delete;
  TSkinControlHost& operator=(const TSkinControlHost&) = delete;

  // The skinned form's window.
  virtual HWND HostWindow() const = 0;

  // Appends a skinner; true when it was listed already (then nothing changes).
  bool AddSkinner(TSkinControl* Skinner);
  void RemoveSkinner(TSkinControl* Skinner);
  const std::vector<TSkinControl*>& Skinners() const { return skinners_; }
  // The first skinner of the window, or nil.
  TSkinControl* FindSkinner(HWND Window) const;
  // Every skinner re-reads the skin (after a skin change).
  void UpdateSkinners();
  // Lets go of every skinner: those whose window still exists give their control back its
  // own look first; then each is freed (which gives the control back its procedure).
  void ReleaseSkinners();

 private:
  std::vector<TSkinControl*> skinners_;
};

// Colour-table entries of the skin the skinners draw lines with.
inline constexpr int kColourButtonShadow = static_cast<int>(skin_classic::kColourButtonShadow);
inline constexpr int kColourButtonDkShadow = 8;

// Bits of FMouseState.
inline constexpr uint8_t kMouseHot = 1;
inline constexpr uint8_t kMousePressed = 2;

// FStatus values.
inline constexpr int kSkinnerCreated = 0;
inline constexpr int kSkinnerAttached = 1;
inline constexpr int kSkinnerRestored = 2;  // a box gave its colour back
inline constexpr int kSkinnerWindowGone = 6;

// The class library's component message that has check boxes and radio buttons redrawn.
inline constexpr UINT CM_SKINREDRAWCHECK = 0xB0D0;

// The window's own visible style. The panels laid beside a window share its parent and
// follow the window itself, not its parent: a form holding its repaints passes for hidden.
inline bool ShownInParent(HWND Window) { return Window && (GetWindowLongPtrW(Window, GWL_STYLE) & WS_VISIBLE); }

class TSkinControl : public vcl::TComponent {
  VCL_CLASS(TSkinControl, TComponent)

 public:
  // The owner is the skinned control (nil for a bare window).
  explicit TSkinControl(vcl::TComponent* AOwner);
  // Gives the control or window its procedure back and leaves the form's list.
  ~TSkinControl() override;

  // Attaches to the owner (a windowed control of the class library) through its WindowProc;
  // with SetColor its Color becomes the skin's face colour while skinned. A second attach
  // changes nothing.
  virtual void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas);
  // Attaches to a bare window through its window procedure.
  virtual void AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas);
  // Gives the control back its own colour.
  virtual void RestoreControl();
  // Before the control's own procedure: true lets it run (and AfterProc after it).
  virtual bool BeforeProc(vcl::TMessage& Message);
  virtual void AfterProc(vcl::TMessage& Message);
  // Paints the skin over the whole window (DC 0: the window's own DC).
  virtual void PaintWindow(HDC DC);
  // Paints the skin into DC over Rect (the window's rectangle at 0, 0).
  virtual void DrawControl(HDC DC, const TRect& Rect);
  // The skin changed: the face colour again, and a redraw.
  virtual void UpdateSkin();
  // The skin has what this skinner paints its control from. Without it the control is left
  // to the system, as if skinning were off for it: every message goes to the control's own
  // procedure (the base pre-handler still sees the window go). Asked anew for each message,
  // so a skin switch either way takes effect at the next paint.
  virtual bool HasPicture() const { return true; }

  // The pipeline in front of the control's own procedure.
  void WndProc(vcl::TMessage& Message);

  // Repaints: the graphic control, or the window now.
  void Redraw();
  // The control's own procedure (what lay below this skinner).
  void CallDefault(vcl::TMessage& Message);
  // Tells the control the mouse left it (CM_MOUSELEAVE).
  void SendMouseLeave();
  // WM_PAINT answered by the skin alone: into the DC in WParam, else between
  // BeginPaint and EndPaint.
  void PaintHandler(vcl::TMessage& Message);
  // WM_ERASEBKGND: the parent's background (a bare window: the control colour); Result 1.
  void EraseBackground(vcl::TMessage& Message);

  // Colours of the skin: face ("ButtonFace"), text, line ("ButtonShadow") and dark line.
  vcl::TColor FaceColor() const;
  vcl::TColor TextColor() const;
  vcl::TColor LineColor() const;
  vcl::TColor DarkLineColor() const;
  HBRUSH FaceBrush() const;
  void FillSkinColor(HDC DC, const TRect& Rect) const;
  void FillControlColor(HDC DC, const TRect& Rect) const;
  // The control's published Color when it has one, else Default (the face colour when
  // not given).
  vcl::TColor ControlColor(vcl::TColor Default) const;
  vcl::TColor ControlColor() const { return ControlColor(FaceColor()); }
  // A focus rectangle around FCaption as DrawText places it in Rect with Flags.
  void DrawFocusAroundText(HDC DC, UINT Flags, const TRect& Rect) const;
  LONG_PTR GetWindowLongAW(HWND Window, int Index) const;
  // The control's MouseDown with the left button at the message's point.
  void SendMouseDown(const vcl::TMessage& Message);

  // ---- State ----
  int Status() const { return FStatus; }
  bool SkinOn() const { return FSkinOn; }
  bool Attached() const { return FAttached; }
  // The control's Color becomes the skin's face colour while skinned (containers).
  bool SetsColor() const { return FSetColor; }
  int Style() const { return FStyle; }
  void SetStyle(int Value) { FStyle = Value; }
  uint8_t MouseState() const { return FMouseState; }
  HWND Handle() const { return FHandle; }
  vcl::TWinControl* Control() const { return FControl; }
  vcl::TControl* PaintControl() const { return FPaintControl; }
  TSkinControlHost* Form() const { return FForm; }
  TSkinData* SkinData() const { return FSkinData; }
  const vcl::String& Caption() const { return FCaption; }
  const TRect& WindowRect() const { return FWindowRect; }

 protected:
  friend class TSkinControlHost;

  // The control whose published properties say how it looks: the windowed control, else the
  // graphic one.
  vcl::TControl* PropertySource() const { return FControl ? static_cast<vcl::TControl*>(FControl) : FPaintControl; }
  bool HasSkin() const { return FSkinData && !FSkinData->Empty(); }
  bool Hot() const { return FMouseState & kMouseHot; }
  bool Pressed() const { return FMouseState & kMousePressed; }
  void SetMouseBit(uint8_t Bit, bool On) { FMouseState = On ? (FMouseState | Bit) : (FMouseState & ~Bit); }
  // Joins the form's list and takes the form's canvas (or makes one of its own).
  void JoinForm(TSkinControlHost* Form, vcl::TCanvas* Canvas);
  // Hooks a control of the class library (windowed or graphic).
  void HookControl(vcl::TControl* Control);
  void UnhookControl();
  // The canvas painters lend their DC to.
  vcl::TCanvas* Canvas() const { return FCanvas; }
  // Ends when the skinner is freed, which may happen inside its own procedure.
  const vcl::TLifetime& Lifetime() const { return lifetime_; }

  uint8_t FMouseState = 0;
  vcl::TCanvas* FCanvas = nullptr;
  bool FEnabled = false;
  bool FFocused = false;
  vcl::String FCaption;
  bool FSkinOn = true;
  bool FUnicode = false;
  TSkinData* FSkinData = nullptr;
  HWND FHandle = nullptr;
  vcl::TWinControl* FControl = nullptr;
  TRect FWindowRect;
  vcl::TControl* FPaintControl = nullptr;
  bool FSetColor = false;
  vcl::TColor FSavedColor = vcl::clNone;
  bool FAttached = false;
  int FStatus = kSkinnerCreated;
  TSkinControlHost* FForm = nullptr;
  int FStyle = 0;
  bool saved_parent_color_ = false;  // the control followed its parent's colour

 private:
  vcl::TWindowProcHook hook_;      // control attach
  vcl::TWindowSubclass subclass_;  // window attach
  bool via_hook_ = false;          // which of the two leads to the control's own procedure
  std::unique_ptr<vcl::TCanvas> own_canvas_;
  vcl::TLifetime lifetime_;
};

// ---- Helpers the skinners share ----

using TSavedDC = vcl::SavedDC;

// Objects of the class library a skinner makes for itself (covering panels, arrow buttons)
// go through Free like every object of the library.
struct TObjectFree {
  void operator()(vcl::TObject* Object) const { vcl::TObject::Free(Object); }
};
template <class T>
using TOwnedObject = std::unique_ptr<T, TObjectFree>;

void FillRectColor(HDC DC, const TRect& Rect, vcl::TColor Color);
// The window's text (wide).
vcl::String GetWindowTextWide(HWND Window);
// A popup window: WS_POPUP, or its parent is the desktop.
bool IsPopupWindow(HWND Window);
// Dest becomes a copy of Source (size, pixel format, pixels).
void CopyBitmap(vcl::TBitmap* Source, vcl::TBitmap* Dest);
// The height of Text in the DC's font.
int TextHeight(HDC DC, vcl::StringView Text);
// The font a bare window draws with (WM_GETFONT), else the system's GUI font.
HFONT WindowFont(HWND Window);
// Lower-cased class name of a window.
vcl::String WindowClassLower(HWND Window);

}  // namespace winskin
