// The skinned form's painting: borders, title band with caption buttons and text, the menu
// band, and the window region cut from the key colour.
#include <algorithm>
#include <cstdint>

#include "classlib/comctrls/ToolBar.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/forms/WinSkinForm.h"
#include "skin_classic/forms/WinSkinMenu.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

constexpr int kTitleTextActive = 1;
constexpr int kTitleTextInactive = 2;
constexpr UINT kMeasureTitle = DT_CALCRECT | DT_NOPREFIX | DT_EXTERNALLEADING;  // 3328
constexpr UINT kDrawTitle = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE;     // 34848
constexpr UINT kDrawTitleRtl = DT_RTLREADING | DT_END_ELLIPSIS | DT_NOPREFIX | DT_TABSTOP | DT_SINGLELINE | DT_RIGHT;
constexpr int kDialogTextShift = 16;  // a dialog has no icon to leave room for
constexpr int kRtlShift = 10;
// Room between the system's caption buttons the skin has no section for and what stands beside.
constexpr int kStandardGap = 2;

// The place (from the band's right, in button widths) of an MDI child button.
int MdiButtonSlot(int Action) {
  switch (Action) {
    case 7:
    case 60: return 3;
    case 8:
    case 61: return 2;
    default: return 1;
  }
}

// The title's prefix and suffix round the window text.
constexpr wchar_t kTitlePrefix[] = L"  ";
constexpr wchar_t kTitleSuffix[] = L" ";

// Copies the part R of a bitmap (in window coordinates, the bitmap's origin being the
// window's) onto the window DC.
void Show(HDC DC, TBitmap* From, const TRect& R) {
  if (R.IsEmpty()) return;
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), From->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The frame

void TWinSkinForm::PaintFrame(HDC DC) {
  if (!SharedPaintBitmap() || !SkinData || SkinData->Empty()) return;
  if (State != TSkinFormState::Ready && State != TSkinFormState::Reapplying) return;
  if (BorderKind == TBorderKind::None || MaximizedMDIChild()) return;
  RECT window{};
  GetWindowRect(Window, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  if (w <= 0 || h <= 0) return;
  // Kept while it holds the window: a window resized step by step makes a new one only now
  // and then, not at every step.
  if (!frame_bitmap_ || frame_bitmap_->Width() < w || frame_bitmap_->Height() < h) {
    frame_bitmap_.reset();
    frame_bitmap_ = NewSkinBitmap(w + kFrameSlack, h + kFrameSlack);
    if (!frame_bitmap_) frame_bitmap_ = NewSkinBitmap(w, h);
  }
  if (!frame_bitmap_) return;
  HDC mem = frame_bitmap_->Canvas()->Handle();
  frame_size_ = TPoint(w, h);
  TSkinObjects* skin = SkinData->Skin();
  const TFrameThickness t{LeftWidth, TopHeight, RightWidth, BottomHeight};
  const bool minimized = ShowState == TShowState::Minimized;
  // The frame's parts start from the skin's form colour: where a border picture has no pixels
  // for a part (margins that take the whole picture) that shows, not black.
  for (const RECT& r : {RECT{0, 0, w, std::min(TopHeight, h)}, RECT{0, 0, LeftWidth, h}, RECT{w - RightWidth, 0, w, h},
                        RECT{0, h - BottomHeight, w, h}})
    FillRect(mem, &r, skin->Brush());
  if (!minimized) {
    for (TBorderPart part : {TBorderPart::Left, TBorderPart::Right, TBorderPart::Bottom}) {
      const SkinBorder which = part == TBorderPart::Left    ? SkinBorder::Left
                               : part == TBorderPart::Right ? SkinBorder::Right
                                                            : SkinBorder::Bottom;
      DrawBorderPart(mem, BorderPartRect(part, w, h, t), skin->Border(which), part, Active);
    }
  }
  PaintTitle(mem);
  const TRect band(LeftWidth, TopHeight, w - RightWidth, TopHeight + MenuHeight);
  if (!minimized && MenuHeight > 0) {
    PaintMenuBand(mem, band);
    // A window lower than its frame: the bottom border stays over the band.
    if (band.Bottom > h - BottomHeight)
      DrawBorderPart(mem, BorderPartRect(TBorderPart::Bottom, w, h, t), skin->Border(SkinBorder::Bottom),
                     TBorderPart::Bottom, Active);
  }

  HDC target = DC ? DC : GetWindowDC(Window);
  if (target) {
    const int top = TopHeight + (minimized ? 0 : MenuHeight);
    Show(target, frame_bitmap_.get(), TRect(0, 0, w, std::min(top, h)));
    if (!minimized) {
      Show(target, frame_bitmap_.get(), TRect(0, top, LeftWidth, h));
      Show(target, frame_bitmap_.get(), TRect(w - RightWidth, top, w, h));
      Show(target, frame_bitmap_.get(), TRect(LeftWidth, h - BottomHeight, w - RightWidth, h));
    }
    if (!DC) ReleaseDC(Window, target);
  }
  // A full paint shows every object in its normal frame.
  if (HotObject) HotObject->State = TNCState::Normal;
  HotObject = nullptr;
}

void TWinSkinForm::PaintMenuBand(HDC DC, const TRect& Band) {
  if (menu_bar_) {
    menu_bar_->Paint(DC, Band, TPoint(0, 0));
    return;
  }
  RECT r = Band;
  FillRect(DC, &r, SkinData->Skin()->Brush());
}

// The title band: the top border's picture between the sides' ends (which the side parts
// carry), then the caption buttons, then the text.
void TWinSkinForm::PaintTitle(HDC DC) {
  const int w = frame_size_.X;
  TSkinObjects* skin = SkinData->Skin();
  const TFrameThickness t{LeftWidth, TopHeight, RightWidth, BottomHeight};
  if (ShowState == TShowState::Minimized) {
    // Only the title: the sides' ends are drawn over the title's height alone.
    const int h = TopHeight;
    DrawBorderPart(DC, TRect(0, 0, LeftWidth, h), skin->Border(SkinBorder::Left), TBorderPart::Left, Active);
    DrawBorderPart(DC, TRect(w - RightWidth, 0, w, h), skin->Border(SkinBorder::Right), TBorderPart::Right, Active);
  }
  DrawBorderPart(DC, BorderPartRect(TBorderPart::Top, w, frame_size_.Y, t), skin->Border(SkinBorder::Top),
                 TBorderPart::Top, Active);
  // What lies under the buttons, for repainting one of them alone; kept while it holds the
  // band, as the frame's picture is.
  if (!title_back_ || title_back_->Width() < w || title_back_->Height() < std::max(TopHeight, 1)) {
    title_back_.reset();
    title_back_ = NewSkinBitmap(w + kFrameSlack, std::max(TopHeight, 1));
    if (!title_back_) title_back_ = NewSkinBitmap(w, std::max(TopHeight, 1));
  }
  if (title_back_) BitBlt(title_back_->Canvas()->Handle(), 0, 0, w, TopHeight, DC, 0, 0, SRCCOPY);

  LayoutButtons(w);
  for (const auto& b : buttons_)
    if (b->Visible && !b->OnMenuBand()) b->PaintTo(DC, b->PaintFrame(true), TPoint(0, 0));
  DrawTitleText(DC, TPoint(0, 0), w);
}

void TWinSkinForm::LayoutButtons(int Width) {
  MaxButtonRight = 0;
  for (const auto& b : buttons_) b->UpdateVisibility();
  auto shown = [](const TWinSysButton& b) { return b.Visible && b.FrameWidth() > 0 && b.FrameHeight() > 0; };
  // The system's close the skin has no section for stands at the title's right end; the skin's
  // right-aligned buttons this window shows move left as far as they would stand over it.
  int closeEdge = 0;  // the system's close button's left edge, from the window's right
  for (const auto& b : buttons_)
    if (StandardButton(*b) && b->Action() == kActionClose && shown(*b)) closeEdge = RightWidth + kStandardGap + b->Data->Xcoord;
  int skinShift = 0;
  if (closeEdge > 0)
    for (const auto& b : buttons_)
      if (b->Data->Align == 1 && !StandardButton(*b) && shown(*b))
        skinShift = std::max(skinShift, closeEdge + kStandardGap - (b->Data->Xcoord - b->FrameWidth()));
  // The other system buttons stand left of the right-aligned buttons this window shows (a
  // message box shows the skin's close alone, without the boxes).
  int standardBase = std::max(RightWidth, closeEdge);
  for (const auto& b : buttons_)
    if (b->Data->Align == 1 && !StandardButton(*b) && shown(*b))
      standardBase = std::max(standardBase, b->Data->Xcoord + skinShift);
  standardBase += kStandardGap;
  for (const auto& b : buttons_) {
    const int fw = b->FrameWidth(), fh = b->FrameHeight();
    if (!b->Visible || fw <= 0 || fh <= 0) {
      b->BoundsRect = TRect();
      continue;
    }
    const TDataSkinSysButton& d = *b->Data;
    int x = d.Xcoord, y = d.Ycoord;
    if (d.Align == 1 && StandardButton(*b))
      x += d.Action == kActionClose ? RightWidth + kStandardGap : standardBase;
    else if (d.Align == 1)
      x += skinShift;
    // The MDI child buttons take their places from the skin's picture; drawn by the system
    // they stand side by side at the band's right: minimise, restore, close.
    if (b->SystemDrawn() && d.Align == 100 && d.Xcoord == 0) x = (fw + 2) * MdiButtonSlot(d.Action);
    switch (d.Align) {
      case 1:
        x = Width - x;
        MaxButtonRight = std::max(MaxButtonRight, x);
        break;
      case 2:
      case 8: x = TitleRect.Left - fw - x; break;
      case 3:
      case 9: x = x + TitleRect.Right; break;
      case 100:
        x = Width - x - RightWidth - (menu_bar_ ? menu_bar_->RightMargin() : 0);
        y = TopHeight + (MenuHeight - fh) / 2;
        break;
      default: break;
    }
    b->BoundsRect = TRect(x, y, x + fw, y + fh);
  }
}

void TWinSkinForm::DrawTitleText(HDC DC, TPoint Origin, int Width) {
  TSkinObjects* skin = SkinData->Skin();
  TDataSkinTitle* title = skin->Title();
  const String text = kTitlePrefix + WindowText() + kTitleSuffix;
  HGDIOBJ oldFont = SelectObject(DC, caption_font_->Handle());
  TRect measured(0, 0, 0, 0);
  DrawTextAW(DC, text, measured, kMeasureTitle);
  // The text stops before the right-aligned buttons.
  int limit = Width - RightWidth;
  for (const auto& b : buttons_)
    if (b->Visible && b->Data->Align == 1 && !b->BoundsRect.IsEmpty()) limit = std::min(limit, b->BoundsRect.Left - 2);
  // An offset of the text no title can hold (below 0, or leaving the text no room before the
  // buttons) is none: the caption would start out of the window or past its end.
  auto offset = [&](int Value) { return Value < 0 || Value >= limit ? 0 : Value; };
  int left = offset(title->LeftWidth);
  switch (title->TextAlignment) {
    case 1: left = (Width - measured.Width()) / 2; break;
    case 2: left = Width - offset(title->RightWidth) - measured.Width(); break;
    default:
      if (BorderKind == TBorderKind::Dialog) left -= kDialogTextShift;
      // The text follows the system's icon, which the skin left no room for.
      for (const auto& b : buttons_)
        if (b->IsIcon() && b->Visible && !b->BoundsRect.IsEmpty() && StandardButton(*b))
          left = std::max(left, b->BoundsRect.Right + 2);
      break;
  }
  // Never out of the window at its left: the caption's first letters would be lost.
  left = std::max(left, 0);
  int right = std::min(left + measured.Width(), limit);
  if (RightToLeft) {
    const int mirroredLeft = MaxButtonRight - right - kRtlShift;
    right = MaxButtonRight - left - kRtlShift;
    left = mirroredLeft;
  }
  // A vertical shift that moves the text out of the title is none.
  const int centred = (TopHeight - measured.Height()) / 2;
  const int64_t shifted = int64_t{centred} + title->TopHeight;
  const int top = shifted < 0 || shifted + measured.Height() > TopHeight ? centred : static_cast<int>(shifted);
  TRect r(left, top, right, top + measured.Height());
  if (title->HasBitmap() && !r.IsEmpty()) {
    // The text background's reach beside the text: one no window can hold is none.
    auto reach = [&](int Value) { return Value < 0 || Value > Width ? 0 : Value; };
    TRect back(r.Left - reach(title->TXTBackleft), 0, r.Right + reach(title->TXTBackRight), TopHeight);
    back.Offset(-Origin.X, -Origin.Y);
    DrawSkinBitmapRect(DC, back, title->Bitmap.get(), vcl::Rect(reach(title->TXTBackleft), 0, reach(title->TXTBackRight), 0), false,
                       title->Frame, Active ? 1 : std::min(2, title->Frame), title->Transparent());
  }
  vcl::TColor colour = Active ? title->ActiveText : title->InActiveText;
  if (colour == vcl::clNone) colour = skin->Color(Active ? kTitleTextActive : kTitleTextInactive);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, static_cast<COLORREF>(vcl::ColorToRGB(colour)));
  TitleRect = r;
  TRect drawn = r;
  drawn.Offset(-Origin.X, -Origin.Y);
  if (!drawn.IsEmpty()) DrawTextAW(DC, text, drawn, RightToLeft ? kDrawTitleRtl : kDrawTitle);
  SelectObject(DC, oldFont);
}

void TWinSkinForm::PaintButton(TWinSysButton* Button) {
  if (Button->BoundsRect.IsEmpty() || State != TSkinFormState::Ready) return;
  HDC dc = GetWindowDC(Window);
  if (!dc) return;
  const TRect r = Button->BoundsRect;
  std::unique_ptr<TBitmap> buffer = NewSkinBitmap(r.Width(), r.Height());
  if (buffer) {
    HDC mem = buffer->Canvas()->Handle();
    if (Button->OnMenuBand() && frame_bitmap_) {
      BitBlt(mem, 0, 0, r.Width(), r.Height(), frame_bitmap_->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
    } else if (title_back_) {
      BitBlt(mem, 0, 0, r.Width(), r.Height(), title_back_->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
    }
    Button->PaintTo(mem, Button->PaintFrame(false), TPoint(r.Left, r.Top));
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), mem, 0, 0, SRCCOPY);
  }
  ReleaseDC(Window, dc);
}

// ---------------------------------------------------------------------------------------
// The window region

void TWinSkinForm::UpdateRegion(bool Force, bool Redraw) {
  if (State == TSkinFormState::Destroyed || !SkinFrame || !SkinData || SkinData->Empty()) return;
  RECT window{};
  GetWindowRect(Window, &window);
  const int w = window.right - window.left, h = window.bottom - window.top;
  if (w <= 0 || h <= 0) return;
  const bool minimized = ShowState == TShowState::Minimized;
  if (IsMDIChild() && ShowState == TShowState::Maximized) return;
  if (!Force && !IsMDIChild() && !reapplying_region_ && region_size_ == TPoint(w, h) && HasRegion &&
      region_minimized_ == minimized)
    return;
  TSkinObjects* skin = SkinData->Skin();
  const std::array<TDataSkinObject*, 4> borders{skin->Border(SkinBorder::Left), skin->Border(SkinBorder::Right),
                                                skin->Border(SkinBorder::Top), skin->Border(SkinBorder::Bottom)};
  // A minimised window shows its title alone, the sides' ends over the title's height: its
  // region is cut from that, so the title's rounded corners show what lies behind.
  const TFrameThickness t{LeftWidth, TopHeight, RightWidth, minimized ? 0 : BottomHeight};
  vcl::UniqueRegion region =
      FrameRegion(w, minimized ? TopHeight : h, t, borders, Active, BorderKind == TBorderKind::None);
  if (!region) return;
  // The window owns the region once it is set.
  if (SetWindowRgn(Window, region.get(), Redraw ? TRUE : FALSE)) region.release();
  HasRegion = true;
  region_size_ = TPoint(w, h);
  region_minimized_ = minimized;
}

void TWinSkinForm::ClearRegion() {
  SetWindowRgn(Window, nullptr, IsMDIChild());
  HasRegion = false;
  region_size_ = TPoint(-1, -1);
}

// ---------------------------------------------------------------------------------------
// Tool bars

// The skin's tool bar picture behind the bar, unless the options keep the bar's own background
// (xoToolbarBK, one of the default options).
void TWinSkinForm::DrawToolbarBackground(vcl::TToolBar* Sender, const TRect& ARect, bool&) {
  if (!Sender || !SkinData || SkinData->Empty() || SkinData->Options().Contains(xoToolbarBK)) return;
  winskin::DrawToolbarBackground(Sender->Canvas(), ARect, SkinData->Skin()->Element(SkinElement::Toolbar));
}

// The skin's button face behind a button, unless the options keep the bar's own (xoToolbarButton);
// only while the form is skinned and ready.
void TWinSkinForm::DrawToolbarButton(vcl::TToolBar* Sender, vcl::TToolButton* Button, vcl::TCustomDrawState State,
                                     bool&) {
  if (!Sender || !Button || !SkinData || SkinData->Empty() || this->State != TSkinFormState::Ready ||
      SkinData->Options().Contains(xoToolbarButton))
    return;
  winskin::DrawToolbarButton(Sender->Canvas(), Button->BoundsRect(), static_cast<unsigned>(State.ToInt()),
                             SkinData->Skin()->Buttons());
}

}  // namespace winskin
