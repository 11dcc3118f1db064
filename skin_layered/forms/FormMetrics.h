// Window geometry of skinned forms and dialogs: the frame width and caption height of a
// window (from the skin or the system), the offsets between a form and the border window
// that draws its extended borders, and small size functions. The system caption heights are
// read once and kept for the run, since painting and hit testing ask for them on every
// message.
#pragma once

#include <windows.h>

#include <cstdint>

#include "classlib/rtl/Component.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

class TqvBorderForm;
class TsSkinProvider;

// With CheckSkin the skin's frame width (SkinBorderWidth) when it is not 0; otherwise the
// system's for the window's style: the sizing frame (WS_THICKFRAME), the dialog frame
// (WS_DLGFRAME, part of every caption) or 0.
int SysBorderWidth(HWND Wnd, const TqvBorderForm* BorderForm, bool CheckSkin);
// 0 with a border form (it draws the frame), else the system's frame width.
int DefBorderWidth(HWND Wnd, const TqvBorderForm* BorderForm, bool CheckSkin);
// The system caption height: the small one of a tool window that is not minimised.
int SysCaptionHeight(const vcl::TCustomForm* Form);
// The skin's frame width; 0 without a border form or a manager of its skin data.
int SkinBorderWidth(const TqvBorderForm* BorderForm);
// The skin's title height (its maximised one for a maximised form); 0 without a border form
// or a manager of its skin data.
int SkinTitleHeight(const TqvBorderForm* BorderForm);
// How far the skinned frame reaches beyond the real one, left and above; 0 without a border
// form.
int BorderFormOffsetX(const TqvBorderForm* BorderForm);
int BorderFormOffsetY(const TqvBorderForm* BorderForm);

bool HasThickFrame(HWND Wnd);
// True for a negative index, else whether the image holds one picture.
bool IsSingleImageMask(int Index, const class TsSkinManager* Manager);
// The skin's right margin for the title buttons (BIRIGHT) that is kept, where Room is what the
// title leaves beside its icon and the buttons, Frame the frame's side: a margin wider than the
// room (BIRIGHT=100000), or reaching past the window's right edge, would put the buttons out of
// sight, and is no margin.
int TitleButtonsRightMargin(int Margin, int Room, int Frame);
// The skin's gap after each big title button (BISPACE) that is kept, for buttons Buttons wide
// together with Spaces gaps between them, the narrowest Narrowest wide, where Room is what the
// title leaves between its icon and the frame: a gap taking back a whole button would lay the
// next over or past it, out of the window's right edge, and one leaving the buttons wider than
// the room would put them out of its left; either is no gap.
int TitleButtonsGap(int Gap, std::int64_t Buttons, int Spaces, int Narrowest, std::int64_t Room);
// The caption icon's default size for a caption height.
int DefTitleIconSize(int CaptionHeight);
int WndWidth(HWND Wnd);
int WndHeight(HWND Wnd);
int ClientWidthOf(HWND Wnd);
int ClientHeightOf(HWND Wnd);
// The provider of the first form up the component's owner chain; nil when there is none.
TsSkinProvider* GetSkinProvider(vcl::TComponent* Component);

}  // namespace skin_layered
