#include "skin_classic/controls/SkinDisplay.h"

#include <algorithm>
#include <cstdint>
#include <commctrl.h>

#include "classlib/comctrls/StatusBar.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/rtl/Collection.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/controls/SkinTab.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

constexpr int kThumbFrames = 5;
constexpr int kThumbFrame = 2;
constexpr int kGripFrame = 5;
constexpr int kStatusRaised = 1, kStatusLowered = 2, kStatusNone = 3;

TDataSkinObject* ElementWithPicture(TSkinData* Skin, SkinElement Which) {
  if (!Skin || Skin->Empty()) return nullptr;
  TDataSkinObject* e = Skin->Skin()->Element(Which);
  return e && e->HasBitmap() ? e : nullptr;
}

// An image in three parts along one axis: fixed caps of First and Last pixels at the ends,
// the middle stretched between them (caps that do not fit are left out); with Transparent
// the key colour lets what lies beneath show.
void DrawThreeParts(HDC DC, const TRect& R, TBitmap* Image, int First, int Last, bool Vertical, bool Transparent) {
  if (R.IsEmpty() || !Image || Image->Empty()) return;
  const int length = Vertical ? R.Height() : R.Width();
  const int source = Vertical ? Image->Height() : Image->Width();
  // A cap below 0 is none; caps that leave no room between them (whatever their size: two
  // caps near the largest integer would wrap round in a plain sum) are both dropped.
  First = std::max(First, 0);
  Last = std::max(Last, 0);
  if (int64_t{First} + Last >= std::min(length, source)) First = Last = 0;
  std::unique_ptr<TBitmap> made = NewSkinBitmap(R.Width(), R.Height());
  if (!made) return;
  HDC dc = made->Canvas()->Handle();
  HDC src = Image->Canvas()->Handle();
  const int across = Vertical ? Image->Width() : Image->Height();
  auto part = [&](int at, int size, int from, int fromSize) {
    if (size <= 0 || fromSize <= 0) return;
    if (Vertical)
      StretchBlt(dc, 0, at, R.Width(), size, src, 0, from, across, fromSize, SRCCOPY);
    else
      StretchBlt(dc, at, 0, size, R.Height(), src, from, 0, fromSize, across, SRCCOPY);
  };
  SetStretchBltMode(dc, COLORONCOLOR);
  part(0, First, 0, First);
  part(First, length - First - Last, First, source - First - Last);
  part(length - Last, Last, source - Last, Last);
  if (Transparent)
    DrawTransparentBitmap(DC, R.Left, R.Top, made.get());
  else
    BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), dc, 0, 0, SRCCOPY);
}

void Frame3D(HDC DC, const TRect& R, vcl::TColor TopLeft, vcl::TColor BottomRight) {
  if (R.IsEmpty()) return;
  FillRectColor(DC, TRect(R.Left, R.Top, R.Right, R.Top + 1), TopLeft);
  FillRectColor(DC, TRect(R.Left, R.Top, R.Left + 1, R.Bottom), TopLeft);
  FillRectColor(DC, TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), BottomRight);
  FillRectColor(DC, TRect(R.Right - 1, R.Top, R.Right, R.Bottom), BottomRight);
}

}  // namespace

int ProgressFill(int Width, int Position, int Low, int High) {
  if (High <= Low || Position <= Low) return 0;
  return std::min(MulDiv(Width, std::min(Position, High) - Low, High - Low), Width);
}

// ---------------------------------------------------------------------------------------
// TSkinTrackBar

VCL_CLASS_INFO(TSkinTrackBar) {}
VCL_CLASS_INFO(TSkinProgress) {}
VCL_CLASS_INFO(TSkinStatusBar) {}

bool TSkinTrackBar::BeforeProc(vcl::TMessage& Message) {
  if (Message.Msg == WM_NOTIFY || Message.Msg == vcl::CN_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (header && header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
      Message.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(Message.LParam));
      return false;
    }
  }
  return TSkinControl::BeforeProc(Message);
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& Draw) {
  switch (Draw.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      switch (Draw.dwItemSpec) {
        case TBCD_TICS: return CDRF_DODEFAULT;
        case TBCD_THUMB: DrawThumb(Draw.hdc); return CDRF_SKIPDEFAULT;
        // Without a picture of its channel the system's stays: a track bar is never left
        // without one.
        case TBCD_CHANNEL: return DrawChannel(Draw.hdc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
        default: return CDRF_DODEFAULT;
      }
    default: return CDRF_DODEFAULT;
  }
}

bool TSkinTrackBar::DrawChannel(HDC DC) {
  const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
  TDataSkinObject* track = ElementWithPicture(FSkinData, vertical ? SkinElement::TrackVert : SkinElement::Track);
  if (!track) return false;
  RECT c{};
  SendMessageW(FHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
  TBitmap* image = track->Bitmap.get();
  // The system gives a vertical bar's channel with x and y exchanged.
  TRect channel(c.left, c.top, c.right, c.bottom);
  if (vertical && channel.Width() > channel.Height()) channel = TRect(c.top, c.left, c.bottom, c.right);
  if (vertical) {
    const int w = image->Width();
    const int left = w < channel.Width() ? channel.Left + (channel.Width() - w) / 2 : channel.Left;
    DrawThreeParts(DC, TRect(left, channel.Top, left + w, channel.Bottom), image, track->TopHeight,
                   track->BottomHeight, true, track->Transparent());
  } else {
    const int h = image->Height();
    const int top = h < channel.Height() ? channel.Top + (channel.Height() - h) / 2 : channel.Top;
    DrawThreeParts(DC, TRect(channel.Left, top, channel.Right, top + h), image, track->LeftWidth, track->RightWidth,
                   false, track->Transparent());
  }
  return true;
}

void TSkinTrackBar::DrawThumb(HDC DC) {
  RECT t{};
  SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
  const TRect thumb(t.left, t.top, t.right, t.bottom);
  const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
  if (TDataSkinObject* image =
          ElementWithPicture(FSkinData, vertical ? SkinElement::ThumbVert : SkinElement::ThumbHorz)) {
    DrawSkinImagePart(DC, thumb, image->Bitmap.get(), kThumbFrames, kThumbFrame, false, true);
    return;
  }
  const vcl::UniqueBrush line(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(LineColor()))));
  FrameRect(DC, &t, line.get());
}

void TSkinTrackBar::UpdateSkin() { Redraw(); }

// ---------------------------------------------------------------------------------------
// TSkinProgress

TDataSkinObject* TSkinProgress::ProgressElement() const { return ElementWithPicture(FSkinData, SkinElement::Progress); }

bool TSkinProgress::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (!ProgressElement()) return true;
      PaintHandler(Message);
      Message.Result = 0;
      return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinProgress::DrawControl(HDC DC, const TRect& Rect) {
  TDataSkinObject* progress = ProgressElement();
  if (!DC || !progress || Rect.IsEmpty()) return;
  const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & PBS_VERTICAL) != 0;
  // Built lying down, then turned for a vertical bar.
  const int w = vertical ? Rect.Height() : Rect.Width(), h = vertical ? Rect.Width() : Rect.Height();
  std::unique_ptr<TBitmap> bar = NewSkinBitmap(w, h);
  if (!bar) return;
  HDC dc = bar->Canvas()->Handle();
  FillRectColor(dc, TRect(0, 0, w, h), FaceColor());
  const int pos = static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
  const int high = static_cast<int>(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
  const int low = static_cast<int>(SendMessageW(FHandle, PBM_GETRANGE, TRUE, 0));
  filled_ = ProgressFill(w, pos, low, high);
  const TRect whole(0, 0, w, h);
  if (progress->Style == 0) {
    DrawSkinBitmapRect(dc, whole, progress->Bitmap.get(), progress->Margins(), progress->Tile != 0, 2, 1, true);
    if (filled_ > progress->LeftWidth)
      DrawSkinBitmapRect(dc, TRect(0, 0, filled_, h), progress->Bitmap.get(), progress->Margins(), progress->Tile != 0,
                         2, 2, true);
  } else {
    DrawSkinBitmapRect(dc, whole, progress->Bitmap.get(), progress->Margins(), progress->Tile != 0, 1, 1, true);
    TDataSkinObject* chunk = ElementWithPicture(FSkinData, SkinElement::ProgressChunk);
    if (chunk && filled_ > 0) {
      const TSavedDC keep(dc);
      IntersectClipRect(dc, 0, 0, filled_, h);
      TBitmap* c = chunk->Bitmap.get();
      // A chunk whose key colour is transparent shows the background there, not the key colour.
      const bool keyed = chunk->Transparent();
      if (chunk->Tile != 0) {
        // Whole blocks of the chunk's width, the last one cut at the end of the bar.
        for (int x = 0; x < filled_; x += c->Width())
          DrawSkinImagePart(dc, TRect(x, 0, x + c->Width(), h), c, 0, 1, false, keyed);
      } else {
        DrawSkinImagePart(dc, TRect(0, 0, filled_, h), c, 0, 1, false, keyed);
      }
    }
  }
  if (vertical) RotateLeft(bar.get());
  BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), bar->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// TSkinStatusBar

bool TSkinStatusBar::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintHandler(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinStatusBar::DrawPanel(HDC DC, const TRect& Face, int Bevel, int Align, bool Text, vcl::StringView Caption) {
  if (TDataSkinObject* edges = ElementWithPicture(FSkinData, SkinElement::StatusBarEdges)) {
    DrawSkinBitmapRect(DC, Face, edges->Bitmap.get(), edges->Margins(), edges->Tile != 0, edges->Frame, Bevel,
                       edges->Transparent());
  } else if (Bevel == kStatusRaised) {
    Frame3D(DC, Face, vcl::clBtnHighlight, vcl::clBtnShadow);
  } else if (Bevel == kStatusLowered) {
    Frame3D(DC, Face, vcl::clBtnShadow, vcl::clBtnHighlight);
  }
  if (Text) DrawTabText(FCanvas, TRect(Face.Left + 2, Face.Top, Face.Right - 2, Face.Bottom), Align, true, Caption);
}

void TSkinStatusBar::DrawControl(HDC DC, const TRect& Rect) {
  vcl::TBitmap* scratch = SharedPaintBitmap();
  if (!DC || !scratch || Rect.IsEmpty()) return;
  scratch->SetPixelFormat(vcl::pf24bit);
  scratch->SetSize(Rect.Width(), Rect.Height());
  HDC sdc = scratch->Canvas()->Handle();
  FillRectColor(sdc, TRect(0, 0, Rect.Width(), Rect.Height()), FaceColor());
  // Panel rectangles are the client's.
  POINT origin{0, 0};
  ClientToScreen(FHandle, &origin);
  RECT window{};
  GetWindowRect(FHandle, &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  auto panelRect = [&](int i, TRect& out) {
    RECT r{};
    if (!SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) return false;
    out = TRect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
    return true;
  };
  TDataSkinObject* edges = ElementWithPicture(FSkinData, SkinElement::StatusBarEdges);
  auto* panels = GetObjectPropAs<vcl::TCollection>(FControl, L"Panels");
  const bool simple = SendMessageW(FHandle, SB_ISSIMPLE, 0, 0) != 0;
  {
    const TSavedDC keep(sdc);
    const vcl::TCanvasDCLoan loan(*FCanvas, sdc);
    AssignFont(FCanvas->Font(), FControl, FHandle);
    FCanvas->Font()->SetColor(edges && edges->NormalColour != kNoSkinColor ? edges->NormalColour : TextColor());
    SetBkMode(sdc, TRANSPARENT);
    if (simple) {
      TRect face;
      if (!panelRect(0, face)) face = TRect(0, 0, Rect.Width(), Rect.Height());
      const vcl::String text = FControl ? GetPropText(FControl, L"SimpleText") : GetWindowTextWide(FHandle);
      DrawPanel(sdc, face, kStatusLowered, 0, true, text);
    } else if (panels && panels->Count() > 0) {
      for (int i = 0; i < panels->Count(); ++i) {
        vcl::TCollectionItem* panel = panels->Items(i);
        TRect face;
        if (!panelRect(i, face)) continue;
        const vcl::String bevel = vcl::LowerCase(GetEnumPropName(panel, L"Bevel"));
        const int state = bevel == L"pbraised" ? kStatusRaised : bevel == L"pbnone" ? kStatusNone : kStatusLowered;
        const vcl::String alignment = vcl::LowerCase(GetEnumPropName(panel, L"Alignment"));
        int align = alignment == L"tacenter" ? 1 : alignment == L"tarightjustify" ? 2 : 0;
        if (vcl::LowerCase(GetEnumPropName(panel, L"BiDiMode")) == L"bdrighttoleft" && align != 1) align = 2 - align;
        const bool text = vcl::LowerCase(GetEnumPropName(panel, L"Style")) != L"psownerdraw";
        DrawPanel(sdc, face, state, align, text, GetPropText(panel, L"Text"));
      }
    } else if (!FControl) {
      // A bare status window: its parts and their texts.
      const int parts = static_cast<int>(SendMessageW(FHandle, SB_GETPARTS, 0, 0));
      for (int i = 0; i < parts; ++i) {
        TRect face;
        if (!panelRect(i, face)) continue;
        const LRESULT info = SendMessageW(FHandle, SB_GETTEXTLENGTHW, static_cast<WPARAM>(i), 0);
        vcl::String text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
        SendMessageW(FHandle, SB_GETTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(LOWORD(info));
        const int flags = HIWORD(info);
        const int state = (flags & SBT_POPOUT) ? kStatusRaised : (flags & SBT_NOBORDERS) ? kStatusNone : kStatusLowered;
        DrawPanel(sdc, face, state, 0, true, text);
      }
    }
  }
  if (GetWindowLongPtrW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) {
    TDataSkinObject* extra = ElementWithPicture(FSkinData, SkinElement::ExtraImages);
    const TRect grip = extra && extra->HasGlyphBitmap() ? ImageFrameRect(extra->Bitmap.get(), extra->Frame, kGripFrame)
                                                        : TRect();
    if (!grip.IsEmpty()) {
      const int fw = grip.Width(), fh = grip.Height();
      // Its bottom-right corner at (width - 1, height - 1): one pixel in from the bar's edges.
      DrawImageFrameAt(sdc, Rect.Width() - 1 - fw, Rect.Height() - 1 - fh, extra->Frame, kGripFrame,
                       extra->Bitmap.get(), true);
    } else {
      // No picture of the grip, or one too small to show it: the system's.
      const int side = std::min({GetSystemMetrics(SM_CXVSCROLL), Rect.Width(), Rect.Height()});
      RECT corner{Rect.Width() - side, Rect.Height() - side, Rect.Width(), Rect.Height()};
      DrawFrameControl(sdc, &corner, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
  }
  BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), sdc, 0, 0, SRCCOPY);
  if (FControl) FControl->PaintControls(DC, nullptr);
  // Owner-drawn panels are the program's to paint, over the skinned face.
  auto* bar = dynamic_cast<vcl::TStatusBar*>(FControl);
  if (!bar || !bar->OnDrawPanel || !panels || simple) return;
  const TSavedDC keep(DC);
  const vcl::TCanvasDCLoan loan(*bar->Canvas(), DC);
  for (int i = 0; i < bar->Panels()->Count(); ++i) {
    vcl::TStatusPanel* panel = bar->Panels()->Items(i);
    TRect face;
    if (panel->Style() != vcl::psOwnerDraw || !panelRect(i, face)) continue;
    face.Left += 2;
    face.Top += 2;
    face.Right -= 2;
    face.Bottom -= 2;
    bar->OnDrawPanel(bar, panel, face);
  }
}

}  // namespace winskin
