// TWinSkinPopMenu: one popup-menu window ("#32768") of the thread, framed with the skin's
// menu background picture. The manager's window-creation hook makes one for each popup window
// of an allowed kind; it puts its procedure in front of the window's (the library's bare-window
// subclassing) and paints a 3-pixel frame cut from the picture stretched to the window's size.
// That stretched picture stays as the window's buffer: the skinned items take their background
// from it, so that items and frame are one picture.
#pragma once

#include <memory>

#include "classlib/controls/WindowSubclass.h"
#include "skin_classic/core/FormSkinning.h"
#include "skin_classic/core/SkinData.h"

namespace winskin {

// The frame's width on each side.
inline constexpr int kPopupFrame = 3;

class TWinSkinPopMenu : public TWinSkinPopMenuBase {
  VCL_CLASS(TWinSkinPopMenu, TWinSkinPopMenuBase)

 public:
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu() override;

  void Attach(HWND AWindow, TSkinData* ASkinData, bool AFirst) override;
  void Detach() override;

  bool First = false;  // no other popup window was skinned when this one came

  // The frame picture at the window's size as last painted (nil before the first paint or
  // without a frame picture).
  TBitmap* Buffer() const { return buffer_.get(); }
  // Where the window's client area starts, in window coordinates.
  vcl::TPoint ClientOffset() const;
  // The menu the window shows.
  HMENU Menu() const;
  // Makes the buffer for the window's size and copies its border strips to DC (the window's
  // whole DC); false when the skin has no frame picture.
  bool PaintFrame(HDC DC);

  void WndProc(vcl::TMessage& Message);

 private:
  void NCPaint(vcl::TMessage& Message);
  void WMEraseBkgnd(vcl::TMessage& Message);
  void WMPaint(vcl::TMessage& Message);
  void Print(vcl::TMessage& Message);
  bool MakeBuffer();
  TDataSkinObject* FrameElement() const;

  vcl::TWindowSubclass subclass_;
  std::unique_ptr<TBitmap> buffer_;
};

// The skinned popup window that shows Menu, else the one whose DC is DC, else the first popup
// window of the open chain that was not opened from a menu bar; nil when none.
TWinSkinPopMenu* FindSkinPopMenu(HMENU Menu, HDC DC);

}  // namespace winskin
