// What the parts of a skinned form ask of it. The caption buttons and bar items (TNCObject)
// read its style facts and move its hot object; the menu bar and its tracking read its window,
// its bar and its menu loop's state; the menu painting reads the bar's TMainMenu; the mapping
// of its children reads its skin and form object and lists their skinners with it. TWinSkinForm
// is the one implementation: each part includes this header, not the form's, so it can be read
// and tested on its own.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/comctrls/CustomDraw.h"
#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/core/FormSkinning.h"

namespace vcl {
class TMainMenu;
class TToolBar;
class TToolButton;
}  // namespace vcl

namespace winskin {

class TNCObject;
class TSkinMenuPainter;
class TWinSysButton;

// What kind of window (FormKind).
enum class TFormKind { Normal = 0, MDIParent = 1, MDIChild = 2 };
// How its border looks (BorderKind).
enum class TBorderKind { Sizeable = 0, Single = 1, None = 2, Dialog = 3 };
// ShowState.
enum class TShowState { Normal = 0, Maximized = 1, Minimized = 2 };

// Saved style facts (StyleBits).
inline constexpr int kHasMaximizeBox = 1;
inline constexpr int kHasMinimizeBox = 2;
inline constexpr int kHasContextHelp = 4;
inline constexpr int kHasSystemMenu = 8;
inline constexpr int kKeepSystemMenu = 16;

// The skinned menu bar as the form's other parts see it.
class TFormMenuBar {
 public:
  virtual ~TFormMenuBar() = default;

  // The form's TMainMenu (a library form's), asked each time: the form may change or free it.
  virtual vcl::TMainMenu* Menu() const = 0;
  virtual int Count() const = 0;
  // The item can be clicked: visible, with a caption.
  virtual bool Clickable(int Index) const = 0;
  // The item with a caption under a window point, or -1.
  virtual int IndexAt(vcl::TPoint P) const = 0;
  // The item's drop-down menu (nil for an item without sub-items or out of range).
  virtual HMENU SubMenuOf(int Index) const = 0;
};

// The facts the form keeps about its window; the form keeps them current, its parts read them
// (and tests).
struct TFormFacts {
  vcl::TWinControl* FormObject = nullptr;
  TFormKind FormKind = TFormKind::Normal;
  TBorderKind BorderKind = TBorderKind::Sizeable;
  int StyleBits = 0;
  TShowState ShowState = TShowState::Normal;
  bool SkinFrame = false;
  bool Active = true;
  bool RightToLeft = false;
  bool Sizeable = false;
  bool IsChild = false;
  bool Unicode = true;
  bool IsDialog = false;
  bool Tracking = false;        // a menu of the bar is open
  HMENU CurrentMenu = nullptr;  // the menu dropped from the bar
  int LeftWidth = 0, TopHeight = 0, RightWidth = 0, BottomHeight = 0, MenuHeight = 0;
  vcl::TRect TitleRect;
  int MaxButtonRight = 0;
  TNCObject* HotObject = nullptr;
  HWND MDIClient = nullptr;
  HMENU SystemMenu = nullptr;
  bool HasRegion = false;
};

class TFormFrame : public TSkinControlHost, public TFormFacts {
 public:
  // The skin the form wears (nil before it is attached).
  virtual TSkinData* FrameSkin() const = 0;
  virtual TSkinFormState FrameState() const = 0;
  // The skinned menu bar (nil without one).
  virtual TFormMenuBar* MenuBar() const = 0;
  // The painting of the form's owner-drawn menu items.
  virtual TSkinMenuPainter* MenuPainter() const = 0;
  virtual const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const = 0;
  // The window's icon as the icon buttons draw it.
  virtual TBitmap* IconBitmap() const = 0;
  virtual HICON Icon() const = 0;
  // A screen point in window coordinates (relative to the window's top-left corner).
  virtual vcl::TPoint ToWindowPoint(int X, int Y) const = 0;
  // Repaints one caption button in its state over the title as last painted.
  virtual void PaintButton(TWinSysButton* Button) = 0;

  // Tool bar custom-draw events the mapping gives a tool bar without its own: the skin's
  // tool bar picture behind the bar, its button faces behind the buttons. The tool bar still
  // draws its content over them.
  virtual void DrawToolbarBackground(vcl::TToolBar* Sender, const vcl::TRect& ARect, bool& DefaultDraw) = 0;
  virtual void DrawToolbarButton(vcl::TToolBar* Sender, vcl::TToolButton* Button, vcl::TCustomDrawState State,
                                 bool& DefaultDraw) = 0;
};

}  // namespace winskin
