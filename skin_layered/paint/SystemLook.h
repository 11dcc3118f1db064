// What shows where a skin has nothing for an element: the one place that decides it, shared
// by the section painters, the window adapters and the form's frame. Skins in the wild are
// uneven; none of them may leave a hole.
//
// A background the skin has no section for shows what lies behind it, as a fully see-through
// section would: the background the cache info holds, or, where it holds nothing, the
// system's face colour. An element that carries meaning (a check mark, a scroll bar's parts,
// a caption button, a group frame, a button's edge) is drawn as the system draws it, so it
// stays visible and its state (checked, pressed, disabled) stays readable. Into a 32-bit
// bitmap the system's pixels are written opaque.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {

// The skin (the given one, else the default manager's) has the section or the picture.
bool SkinHasSection(const TsLoadedSkin* Skin, int Index);
bool SkinHasImage(const TsLoadedSkin* Skin, int Index);

// R of Bmp shows what CI holds behind it: the pixel behind R's top-left is CI's bitmap at
// (CI.X + pP.X, CI.Y + pP.Y) when that bitmap is ready, else CI's fill colour (with the
// border strips its fill rectangle leaves to the bitmap copied from there); the system's face
// colour where CI holds neither. Nothing when CI's bitmap is Bmp itself (the background is in
// place already) or R does not fit in Bmp.
void PaintBehind(vcl::TBitmap* Bmp, const vcl::TRect& R, vcl::TPoint pP, const TqvCacheInfo& CI);

// A check box's or radio button's mark, centred in R, kSystemCheckSize square. Check: 0 clear,
// 1 checked, 2 grayed; State: 0 normal, 1 hot, 2 pressed.
inline constexpr int kSystemCheckSize = 13;
void DrawSystemCheck(vcl::TBitmap* Bmp, const vcl::TRect& R, bool Radio, int Check, int State, bool Enabled);

// A scroll bar's parts. Direction as DrawArrow's: 0 left, 1 up, 2 right, 3 down; State as
// above.
void DrawSystemScrollArrow(vcl::TBitmap* Bmp, const vcl::TRect& R, int Direction, int State, bool Enabled);
void DrawSystemScrollTrack(vcl::TBitmap* Bmp, const vcl::TRect& R, bool Pressed);
void DrawSystemScrollThumb(vcl::TBitmap* Bmp, const vcl::TRect& R);

// The system's caption button a title hit code names (minimise, maximise, close, help, a
// maximised MDI child's three: CaptionHitCodes.h), filling R; Restore shows the restore
// button in place of a minimise or maximise one. False, drawing nothing, for other codes.
bool DrawSystemTitleButton(vcl::TBitmap* Bmp, const vcl::TRect& R, int HitCode, bool Restore, int State,
                           bool Enabled);

// A button's edge over what R shows: a flat button shows none in state 0, a raised one when
// hot and a sunken one when pressed (or down); a button that is not flat is raised until
// pressed.
void DrawSystemButtonEdge(vcl::TBitmap* Bmp, const vcl::TRect& R, int State, bool Flat);

// A track bar's channel (sunken, the window colour inside) and its thumb (raised, sunken while
// pressed), filling R.
void DrawSystemTrackChannel(vcl::TBitmap* Bmp, const vcl::TRect& R);
void DrawSystemTrackThumb(vcl::TBitmap* Bmp, const vcl::TRect& R, bool Pressed);

// A size grip in the bottom-right corner of R, the system's scroll-bar width square.
void DrawSystemSizeGrip(vcl::TBitmap* Bmp, const vcl::TRect& R);

// A group box's etched frame around R.
void DrawSystemGroupFrame(vcl::TBitmap* Bmp, const vcl::TRect& R);

// A popup menu's face and raised frame over R.
void DrawSystemMenuBackground(vcl::TBitmap* Bmp, const vcl::TRect& R);

// A menu item's selection bar over R and the colour of its text on it.
void DrawSystemSelection(vcl::TBitmap* Bmp, const vcl::TRect& R);
vcl::TColor SystemSelectionTextColor();

}  // namespace skin_layered
