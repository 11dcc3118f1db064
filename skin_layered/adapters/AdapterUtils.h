// The small shared routines of the window adapters: the system's non-client fonts, the font
// of an adapter's cache, the skin command passed on to children, whether a section has a hot
// look, published properties by name, a window's geometry, and the control's cache image
// rebuilt from its section.
#pragma once

#include <windows.h>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/graphics/GraphicsHandles.h"

namespace skin_layered {

class TsCommonData;

// The non-client fonts by kind.
inline constexpr int kCaptionFont = 1;
inline constexpr int kSmallCaptionFont = 2;
inline constexpr int kMenuFont = 3;
inline constexpr int kStatusFont = 4;
inline constexpr int kMessageFont = 5;  // and any other kind

// A new font from the system's non-client metrics (the caller owns it); empty when the system
// does not tell them.
vcl::UniqueFont GetNonClientFont(int Kind);
// The canvas takes that font (nothing when there is none) and selects it.
void SetNonClientFont(vcl::TCanvas* Canvas, int Kind);

// Answers the message with Result: true, for a handler that tells whether it answered.
inline bool Answer(vcl::TMessage& Message, LRESULT Result) {
  Message.Result = Result;
  return true;
}

// The message sent to each direct child window.
void SendToChildren(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// The skin command passed on: to the control's children depth first, or, without a control,
// to the window's child windows.
void PassToChildren(vcl::TControl* Control, HWND Handle, vcl::TMessage& Message);

// The skin data's section looks different when hot: its border image has several frames or
// the section several states. False without a skin, and with ForHover while the manager's
// NoMouseHover option is on.
bool HasHotState(const TsCommonData* SkinData, bool ForHover);

// Published properties by name: nothing, or 0, for a nil object or a missing property.
void SetPropIfPresent(vcl::TObject* Obj, vcl::StringView Name, int64_t Value);
vcl::TColor GetColorPropIfPresent(const vcl::TObject* Obj, vcl::StringView Name);
int64_t GetPropIfPresent(const vcl::TObject* Obj, vcl::StringView Name);

// A window's screen rectangle, its parent, the parent's screen rectangle, the window's size
// (negative extents kept) and its top-left corner in the parent's client coordinates.
void GetWndPos(HWND Handle, HWND& Parent, vcl::TRect& WndRect, vcl::TPoint& PosInParent, vcl::TSize& Size,
               vcl::TRect& ParentRect);
// scmCtrlNotify to the top-level window above Handle.
void NotifyTopLevelForm(HWND Handle);

// Rebuilds the control's cache image when its background changed: the window's size, its
// section painted over what the parent shows behind it (state 1 when focused, the hot state
// when the mouse is over it), a disabled edit's text, and the disabled look. A parent that is
// not ready leaves the skin data updating. PlainFill (system dialogs' children) would fill
// with the skin's global fill colour, which this engine's skins do not define: the section is
// painted in every case.
void PrepareAdapterCache(TsCommonData* SkinData, HWND Handle, bool PlainFill);

}  // namespace skin_layered
