#include "skin_classic/controls/SkinHeader.h"

#include <commctrl.h>

#include "skin_classic/controls/SkinTab.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

constexpr int kItemInset = 3;
constexpr int kTextLength = 201;

int AlignOfFormat(int Format) {
  switch (Format & HDF_JUSTIFYMASK) {
    case HDF_RIGHT: return 2;
    case HDF_CENTER: return 1;
    default: return 0;
  }
}

}  // namespace

VCL_CLASS_INFO(TSkinHeader) {}
VCL_CLASS_INFO(TSkinListView) {}

TSkinHeader::TSkinHeader(vcl::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinHeader::~TSkinHeader() = default;

void TSkinHeader::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  FHotItem = -1;
}

void TSkinHeader::AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  TSkinControl::AttachWindow(Handle, SkinData, Form, Canvas);
  FHotItem = -1;
}

TDataSkinObject* TSkinHeader::HeaderElement() const {
  if (!HasSkin()) return nullptr;
  TDataSkinObject* e = FSkinData->Skin()->Element(SkinElement::Headerbar);
  return e && e->HasBitmap() ? e : nullptr;
}

bool TSkinHeader::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintHandler(Message); return false;
    case WM_ERASEBKGND:
      if (!HeaderElement()) return true;
      Message.Result = 1;
      return false;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinHeader::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_MOUSELEAVE: FHotItem = -1; Redraw(); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

// The item under the mouse is hot; between items the hot one stays.
void TSkinHeader::WMMouseMove(const vcl::TMessage& Message) {
  const vcl::TPoint at(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  for (size_t i = 0; i < FItemRects.size(); ++i) {
    if (!FItemRects[i].Contains(at)) continue;
    if (static_cast<int>(i) != FHotItem) {
      FHotItem = static_cast<int>(i);
      Redraw();
    }
    break;
  }
  TrackMouseLeave(FHandle);
}

void TSkinHeader::DrawControl(HDC DC, const TRect& Rect) {
  TDataSkinObject* header = HeaderElement();
  if (!DC || !header || Rect.IsEmpty()) return;
  std::unique_ptr<TBitmap> buffer = NewSkinBitmap(Rect.Width(), Rect.Height());
  if (!buffer) return;
  HDC bdc = buffer->Canvas()->Handle();
  FillRectColor(bdc, TRect(0, 0, Rect.Width(), Rect.Height()), FaceColor());
  // Item rectangles are the client's; the window's frame, if any, lies round them.
  POINT origin{0, 0};
  ClientToScreen(FHandle, &origin);
  RECT window{};
  GetWindowRect(FHandle, &window);
  const int dx = origin.x - window.left, dy = origin.y - window.top;
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
  const int count = std::max(static_cast<int>(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0)), 0);
  FItemRects.assign(static_cast<size_t>(count), TRect());
  FEnabled = IsWindowEnabled(FHandle);
  int right = 0;
  {
    const TSavedDC keep(bdc);
    const vcl::TCanvasDCLoan loan(*FCanvas, bdc);
    AssignFont(FCanvas->Font(), FControl, FHandle);
    SetBkMode(bdc, TRANSPARENT);
    for (int i = 0; i < count; ++i) {
      RECT item{};
      if (!SendMessageW(FHandle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
      const TRect face(item.left + dx, item.top + dy, item.right + dx, item.bottom + dy);
      right = std::max(right, static_cast<int>(face.Right));
      wchar_t text[kTextLength] = {};
      HDITEMW hd{};
      hd.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
      hd.pszText = text;
      hd.cchTextMax = kTextLength;
      SendMessageW(FHandle, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
      const int image = (hd.fmt & HDF_IMAGE) ? hd.iImage : -1;
      DrawSkinBitmapRect(bdc, face, header->Bitmap.get(), header->Margins(), header->Tile != 0, header->Frame,
                         i == FHotItem ? 2 : 1, header->Transparent());
      FCanvas->Font()->SetColor(TextColor());
      DrawTabItem(FCanvas, face, AlignOfFormat(hd.fmt), text, image, images, FEnabled, false, true);
      FItemRects[static_cast<size_t>(i)] = TRect(item.left + kItemInset, item.top, item.right - kItemInset, item.bottom);
    }
  }
  // The rest of the bar beyond the last section.
  if (right < Rect.Width())
    DrawSkinBitmapRect(bdc, TRect(right, 0, Rect.Width(), Rect.Height()), header->Bitmap.get(), header->Margins(),
                       header->Tile != 0, header->Frame, 1, header->Transparent());
  BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), bdc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// TSkinListView

void TSkinListView::AttachScrollControl(vcl::TWinControl* Control, TSkinData* SkinData, TSkinControlHost* Form,
                                        vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinScrollbar::AttachScrollControl(Control, SkinData, Form, Canvas);
  if (!FAttached) return;
  FHeader = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
  if (!FHeader) return;
  auto* header = new TSkinHeader(Control);
  header->AttachWindow(FHeader, SkinData, Form, FCanvas);
}

TSkinHeader* TSkinListView::Header() const {
  return FForm && FHeader ? dynamic_cast<TSkinHeader*>(FForm->FindSkinner(FHeader)) : nullptr;
}

}  // namespace winskin
