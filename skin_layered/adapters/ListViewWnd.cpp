#include "skin_layered/adapters/ListViewWnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>

#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/forms/Forms.h"
#include "classlib/graphics/ImgList.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ScrollState.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvListViewWnd) {}

namespace {

constexpr wchar_t kHeaderClass[] = L"SysHeader32";
constexpr wchar_t kHeaderSection[] = L"COLHEADER";
constexpr wchar_t kHeaderFallback[] = L"BUTTON";
// A column's text: ellipsis at the end, tabs expanded, one line centred vertically.
constexpr UINT kHeaderTextFlags = DT_END_ELLIPSIS | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
constexpr int kTextBuffer = 1024;
// While a column is lit, the header looks this often whether the pointer is still on it.
constexpr UINT_PTR kHeaderHoverTimer = 0xFFF2;
constexpr UINT kHeaderHoverInterval = 50;
// The sort arrow without a glyph of the skin's: 6 x 3, 6 pixels after the text.
constexpr int kArrowWidth = 6;
constexpr int kArrowHeight = 3;
constexpr int kArrowGap = 6;
constexpr int kArrowUp = 1;
constexpr int kArrowDown = 3;

bool Empty(const RECT& R) { return R.right <= R.left || R.bottom <= R.top; }

// A child window's coming place (its WM_WINDOWPOSCHANGING) differs from where it is, or a
// hidden one is shown or a shown one hidden.
bool ChangesPlace(HWND Child, const WINDOWPOS& Pos) {
  const bool visible = (GetWindowLongPtrW(Child, GWL_STYLE) & WS_VISIBLE) != 0;
  if ((Pos.flags & SWP_SHOWWINDOW) && !visible) return true;
  if ((Pos.flags & SWP_HIDEWINDOW) && visible) return true;
  RECT now{};
  if (!GetWindowRect(Child, &now)) return true;
  MapWindowPoints(nullptr, GetParent(Child), reinterpret_cast<POINT*>(&now), 2);
  const bool moves = !(Pos.flags & SWP_NOMOVE) && (Pos.x != now.left || Pos.y != now.top);
  const bool sizes = !(Pos.flags & SWP_NOSIZE) && (Pos.cx != now.right - now.left || Pos.cy != now.bottom - now.top);
  return moves || sizes;
}

vcl::TCustomListView* ListViewOf(vcl::TControl* Control) { return dynamic_cast<vcl::TCustomListView*>(Control); }

}  // namespace

TqvListViewWnd::~TqvListViewWnd() { DetachHeader(); }

// ---------------------------------------------------------------------------------------
// The virtual operations

void TqvListViewWnd::SetSkinParams() {
  if (SkinData) SkinData->COC = kListViewCode;
  TqvEditWnd::SetSkinParams();
  PressedColumn = HotColumn = -1;
  FindHeader();
}

void TqvListViewWnd::FindHeader() {
  if (!HeaderHandle)
    if (HWND header = FindWindowExW(CtrlHandle, nullptr, kHeaderClass, nullptr)) AttachHeader(header);
}

void TqvListViewWnd::SaveStdParams() {
  TqvEditWnd::SaveStdParams();
  saved_bk_ = static_cast<COLORREF>(SendMessageW(CtrlHandle, LVM_GETBKCOLOR, 0, 0));
  saved_text_bk_ = static_cast<COLORREF>(SendMessageW(CtrlHandle, LVM_GETTEXTBKCOLOR, 0, 0));
  saved_text_ = static_cast<COLORREF>(SendMessageW(CtrlHandle, LVM_GETTEXTCOLOR, 0, 0));
  colors_saved_ = true;
}

void TqvListViewWnd::RestoreStdParams() {
  DetachHeader();
  TqvEditWnd::RestoreStdParams();
  RestoreWindowColors();
}

// A library list view takes its colours from its Color and Font again; a dialog's list view
// gets exactly the colours it had before the skin.
void TqvListViewWnd::RestoreWindowColors() {
  if (!IsWindow(CtrlHandle)) return;
  if (vcl::TControl* control = OwnerControl()) {
    if (control->ComponentState().Contains(vcl::csDestroying)) return;
    const auto back = static_cast<LPARAM>(vcl::ColorToRGB(control->Color()));
    SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, back);
    SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, back);
    SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(vcl::ColorToRGB(control->Font()->Color())));
  } else if (colors_saved_) {
    SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(saved_bk_));
    SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(saved_text_bk_));
    SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(saved_text_));
  }
  if (IsWindowVisible(CtrlHandle)) InvalidateRect(CtrlHandle, nullptr, TRUE);
}

void TqvListViewWnd::ApplySkinParams() {
  TqvEditWnd::ApplySkinParams();
  if (Destroyed() || !SkinData) return;
  // The header was let go with the skin.
  FindHeader();
  if (DialogChild) {
    const auto window = static_cast<LPARAM>(vcl::ColorToRGB(vcl::clWindow));
    SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, window);
    SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, window);
    SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(vcl::ColorToRGB(vcl::clWindowText)));
    return;
  }
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData->Section();
  if (!manager || !section || !manager->IsValidSkinIndex(SkinData->SkinIndex)) return;
  const auto state = static_cast<std::size_t>(SkinData->ControlIsActive() && section->States > 1 ? 1 : 0);
  if (!SkinData->CustomColor()) {
    const auto back = static_cast<LPARAM>(vcl::ColorToRGB(section->Props[state].Color));
    SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, back);
    SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, back);
  }
  if (!SkinData->CustomFont())
    SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(vcl::ColorToRGB(section->Props[state].FontColor)));
}

int TqvListViewWnd::ViewStyle() const {
  if (auto* list = ListViewOf(OwnerControl())) return static_cast<int>(list->ViewStyle());
  switch (SendMessageW(CtrlHandle, LVM_GETVIEW, 0, 0)) {
    case LV_VIEW_ICON: return 0;
    case LV_VIEW_DETAILS: return 3;
    case LV_VIEW_SMALLICON: return 1;
    default: return 2;
  }
}

// ---------------------------------------------------------------------------------------
// The list view's window procedure

void TqvListViewWnd::WndProc(vcl::TMessage& Message) {
  const bool skinned = !Destroyed() && SkinData && SkinData->Skinned(false);
  if (skinned && BeforeBase(Message)) return;
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvEditWnd::WndProc(Message);
  if (skinned && alive) AfterBase(Message);
}

bool TqvListViewWnd::BeforeBase(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL:
      return OnScroll(Message, true);
    case WM_HSCROLL:
      return OnScroll(Message, false);
    case WM_PAINT:
      ApplySkinParams();
      return false;
    case WM_NCHITTEST:
      // The mouse left the header.
      if (PressedColumn != -1 || HotColumn != -1) {
        PressedColumn = HotColumn = -1;
        RepaintHeader();
      }
      return false;
    case WM_PRINT:
      GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
      if (!SkinParamsApplied) ApplySkinParams();
      if (Message.WParam)
        FillDC(reinterpret_cast<HDC>(Message.WParam), vcl::TRect{0, 0, WndSize.cx, WndSize.cy}, FillColor);
      return false;
    case kSkinCmdMessage:
      switch (SkinCommandOf(Message.WParam)) {
        case scmRefresh: {
          if (!FromOwnManager(Message)) return false;
          const vcl::TLifetime::TWatch alive = Lifetime().Watch();
          TqvEditWnd::WndProc(Message);
          if (alive) RepaintHeader();
          return true;
        }
        case scmBeforeScroll:
          // The thumb's position travels in LParam: the list scrolls itself by it.
          Message.Result = 1;
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

// The list view scrolls by pixels, not by the positions its bars show: a dragged thumb
// scrolls by the rows (or list columns) it moved over.
bool TqvListViewWnd::OnScroll(vcl::TMessage& Message, bool Vertical) {
  if (Message.WParamLo() != SB_THUMBTRACK) {
    Message.LParam = 0;
    CallPrevWndProc(Message);
    return true;
  }
  const int last = ScrollState().LastSentPos;
  if (last < 0) return false;  // not a skinned thumb's drag: the list view handles it
  const int position = Message.LParam != 0 ? static_cast<int>(Message.LParam) : Message.WParamHi();
  if (position == last) return true;
  int delta = position - last;
  RECT item{LVIR_BOUNDS, 0, 0, 0};
  const int view = ViewStyle();
  if (Vertical && view == 3 && SendMessageW(CtrlHandle, LVM_ISGROUPVIEWENABLED, 0, 0) == 0 &&
      SendMessageW(CtrlHandle, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)))
    delta *= item.bottom - item.top;
  else if (!Vertical && view == 2 && SendMessageW(CtrlHandle, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)))
    delta *= item.right - item.left;
  SendMessageW(CtrlHandle, LVM_SCROLL, Vertical ? 0 : delta, Vertical ? delta : 0);
  Message.Result = 0;
  return true;
}

void TqvListViewWnd::AfterBase(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PARENTNOTIFY:
      OnParentNotify(Message);
      break;
    case WM_SIZE:
      SkinData->BGChanged = true;
      PrepareAdapterCache(SkinData, CtrlHandle, DialogChild);
      InvalidateRect(CtrlHandle, nullptr, TRUE);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ApplySkinParams();
      break;
    case WM_LBUTTONUP:
      ReleaseCapture();
      break;
    case WM_STYLECHANGED:
    case LVM_ARRANGE:
      if (!SkinData->BgIsChanged()) UpdateScrolls(this, true);
      break;
    // Rows often come one at a time in a long run: the bars are painted once after it.
    case LVM_INSERTITEMA:
    case LVM_INSERTITEMW:
      if (!SkinData->BgIsChanged()) RepaintScrollsLater();
      break;
    // The list's painting lays its header and bars out again, and the system draws its own
    // bar there: ours goes over it again.
    case WM_PAINT:
      RepaintScrollsNow();
      break;
    case WM_PRINT:
      if (Message.WParam && ReportView()) OnPrintHeader(reinterpret_cast<HDC>(Message.WParam));
      break;
    default:
      break;
  }
}

void TqvListViewWnd::OnParentNotify(const vcl::TMessage& Message) {
  if (Message.WParamLo() != WM_CREATE) return;
  const auto child = reinterpret_cast<HWND>(Message.LParam);
  std::array<wchar_t, 96> name{};
  if (!child || !GetClassNameW(child, name.data(), static_cast<int>(name.size()))) return;
  if (vcl::String(name.data()) != kHeaderClass) return;
  // A new header replaces the one the list view had.
  DetachHeader();
  AttachHeader(child);
}

// The header printed over the client part printed before, where it lies in the list view.
void TqvListViewWnd::OnPrintHeader(HDC DC) {
  if (!HeaderHandle || !IsWindowVisible(HeaderHandle)) return;
  const TSavedDC saved(DC);
  POINT origin{};
  GetWindowOrgEx(DC, &origin);
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  POINT clientInWindow{0, 0};
  ClientToScreen(CtrlHandle, &clientInWindow);
  RECT window{};
  GetWindowRect(CtrlHandle, &window);
  SetWindowOrgEx(DC, origin.x - (clientInWindow.x - window.left), origin.y - (clientInWindow.y - window.top), nullptr);
  IntersectClipRect(DC, 0, 0, client.right, client.bottom);
  RECT header{};
  GetWindowRect(HeaderHandle, &header);
  MapWindowPoints(nullptr, CtrlHandle, reinterpret_cast<POINT*>(&header), 2);
  GetWindowOrgEx(DC, &origin);
  SetWindowOrgEx(DC, origin.x - header.left, origin.y - header.top, nullptr);
  PaintHeader(DC);
}

// ---------------------------------------------------------------------------------------
// The header

void TqvListViewWnd::AttachHeader(HWND Header) {
  if (!Header || !header_.Attach(Header, vcl::TWndMethod::Bind<&TqvListViewWnd::HeaderProc>(this))) return;
  HeaderHandle = Header;
}

void TqvListViewWnd::DetachHeader() {
  if (HeaderHandle && IsWindow(HeaderHandle)) KillTimer(HeaderHandle, kHeaderHoverTimer);
  header_.Detach();
  HeaderHandle = nullptr;
}

void TqvListViewWnd::RepaintHeader() {
  if (HeaderHandle && IsWindowVisible(HeaderHandle) && ReportView()) PaintHeader(nullptr);
}

void TqvListViewWnd::HeaderProc(vcl::TMessage& Message) {
  if (Destroyed() || !SkinData || !SkinData->Skinned(false) || !ReportView()) {
    // No column is lit now: the lit column's timer has nothing to look after.
    if (Message.Msg == WM_TIMER && Message.WParam == kHeaderHoverTimer) {
      KillTimer(HeaderHandle, kHeaderHoverTimer);
      return;
    }
    header_.CallDefault(Message);
    if (Message.Msg == WM_NCDESTROY) DetachHeader();
    return;
  }
  try {
    HeaderMessage(Message);
  } catch (...) {
    // What the header's painting raised goes to the application, not through the system.
    if (vcl::Application) vcl::Application->HandleException(this);
  }
}

void TqvListViewWnd::HeaderMessage(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: return OnHeaderPaint(Message);
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_WINDOWPOSCHANGING: return OnHeaderPosChanging(Message);
    case WM_NCDESTROY: return OnHeaderDestroy(Message);
    case WM_NCHITTEST: return OnHeaderHitTest(Message);
    case WM_LBUTTONUP: return OnHeaderButtonUp(Message);
    case WM_LBUTTONDOWN: return OnHeaderButtonDown(Message);
    case WM_TIMER: return OnHeaderTimer(Message);
    default: return header_.CallDefault(Message);
  }
}

void TqvListViewWnd::OnHeaderPaint(vcl::TMessage& Message) {
  const HWND header = HeaderHandle;
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(header, &ps);
  if (dc) PaintHeader(dc);
  EndPaint(header, &ps);
  Message.Result = 0;
}

// The header moving: the list's frame is painted again. The list places its header again
// whenever it lays itself out (at each row added, several times), mostly where it already
// is: that moves nothing and costs nothing.
void TqvListViewWnd::OnHeaderPosChanging(vcl::TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (IsWindowVisible(CtrlHandle) && (!pos || ChangesPlace(HeaderHandle, *pos)))
    SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
  header_.CallDefault(Message);
}

void TqvListViewWnd::OnHeaderDestroy(vcl::TMessage& Message) {
  header_.CallDefault(Message);
  DetachHeader();
}

// The column under the mouse is the hot one.
void TqvListViewWnd::OnHeaderHitTest(vcl::TMessage& Message) {
  header_.CallDefault(Message);
  const int column = ColumnAt(POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  if (column == HotColumn) return;
  HotColumn = column;
  if (column != -1 && HeaderHandle) SetTimer(HeaderHandle, kHeaderHoverTimer, kHeaderHoverInterval, nullptr);
  RepaintHeader();
}

// The pointer may leave the header straight for another window, past the list view, which
// then hears nothing of it: while a column is lit, a timer looks where the pointer is.
void TqvListViewWnd::OnHeaderTimer(vcl::TMessage& Message) {
  if (Message.WParam != kHeaderHoverTimer) return header_.CallDefault(Message);
  Message.Result = 0;
  POINT cursor{};
  if (HotColumn != -1 && GetCursorPos(&cursor) && WindowFromPoint(cursor) == HeaderHandle) return;
  KillTimer(HeaderHandle, kHeaderHoverTimer);
  if (HotColumn == -1) return;
  HotColumn = -1;
  RepaintHeader();
}

void TqvListViewWnd::OnHeaderButtonUp(vcl::TMessage& Message) {
  PressedColumn = -1;
  header_.CallDefault(Message);
  if (HeaderHandle) RedrawWindow(HeaderHandle, nullptr, nullptr, RDW_INVALIDATE);
}

void TqvListViewWnd::OnHeaderButtonDown(vcl::TMessage& Message) {
  header_.CallDefault(Message);
  if (!HeaderHandle) return;
  HDHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  SendMessageW(HeaderHandle, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  // A press on a divider starts sizing, not a click.
  PressedColumn = (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? -1 : hit.iItem;
  RedrawWindow(HeaderHandle, nullptr, nullptr, RDW_INVALIDATE);
}

int TqvListViewWnd::ColumnAt(POINT Screen) const {
  if (!HeaderHandle) return kNoColumn;
  POINT p = Screen;
  ScreenToClient(HeaderHandle, &p);
  const auto count = static_cast<int>(SendMessageW(HeaderHandle, HDM_GETITEMCOUNT, 0, 0));
  for (int position = 0; position < count; ++position) {
    const auto index = static_cast<int>(SendMessageW(HeaderHandle, HDM_ORDERTOINDEX, static_cast<WPARAM>(position), 0));
    RECT r{};
    if (!SendMessageW(HeaderHandle, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r))) continue;
    if (PtInRect(&r, p)) return index;
  }
  return kNoColumn;
}

void TqvListViewWnd::PaintHeader(HDC DC) {
  const HWND header = HeaderHandle;
  if (!header) return;
  HDC dc = DC;
  if (!dc) dc = GetDC(header);
  if (!dc) return;
  RECT client{};
  GetClientRect(header, &client);
  int right = 0;
  const auto count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int position = 0; position < count; ++position) {
    const auto index = static_cast<int>(SendMessageW(header, HDM_ORDERTOINDEX, static_cast<WPARAM>(position), 0));
    RECT r{};
    if (!SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) || Empty(r))
      continue;
    PaintHeaderItem(dc, r, index);
    right = std::max(right, static_cast<int>(r.right));
  }
  const RECT rest{right, 0, client.right, client.bottom};
  if (!Empty(rest)) PaintHeaderItem(dc, rest, kNoColumn);
  if (!DC) ReleaseDC(header, dc);
}

void TqvListViewWnd::PaintHeaderItem(HDC DC, const RECT& R, int Index) {
  TsSkinManager* manager = Manager();
  const int w = R.right - R.left, h = R.bottom - R.top;
  std::unique_ptr<vcl::TBitmap> bmp = CreateBmp32(w, h);
  int state = 0;
  if (PressedColumn != -1)
    state = Index >= 0 && Index == PressedColumn ? 2 : 0;
  else
    state = Index >= 0 && Index == HotColumn ? 1 : 0;
  vcl::TControl* control = OwnerControl();
  const vcl::TColor behind = control ? control->Color() : vcl::clWindow;
  const TsLoadedSkin* skin = manager ? &manager->Skin() : nullptr;
  const int section = PaintItemByName(bmp.get(), kHeaderSection, kHeaderFallback, nullptr,
                                      static_cast<TColorValue>(vcl::ColorToRGB(behind)), vcl::TPoint{0, 0}, skin, state);
  vcl::TCanvas* canvas = bmp->Canvas();
  const HDC bdc = canvas->Handle();
  // The canvas takes a copy of the list view's font: the text painters select the canvas's
  // font again whenever they change its colour.
  if (const auto font = reinterpret_cast<HFONT>(SendMessageW(CtrlHandle, WM_GETFONT, 0, 0))) {
    LOGFONTW lf{};
    if (GetObjectW(font, sizeof lf, &lf) != 0) canvas->Font()->SetHandle(CreateFontIndirectW(&lf));
  }
  SelectObject(bdc, canvas->Font()->Handle());
  canvas->Brush()->SetStyle(vcl::bsClear);
  SetBkMode(bdc, TRANSPARENT);
  if (Index >= 0) {
    std::array<wchar_t, kTextBuffer> text{};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE | HDI_ORDER;
    item.pszText = text.data();
    item.cchTextMax = kTextBuffer;
    SendMessageW(HeaderHandle, HDM_GETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
    text.back() = L'\0';
    const RECT textArea{4, 1, w - 4, h - 1};
    auto* list = ListViewOf(control);
    vcl::TCustomImageList* images = list ? list->SmallImages() : nullptr;
    const bool hasImage = images && (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW));
    const int imageWidth = hasImage ? images->Width() + 4 : 0;
    const int arrow = (item.fmt & HDF_SORTUP) ? kArrowUp : (item.fmt & HDF_SORTDOWN) ? kArrowDown : 0;
    // The skin model has no sort-arrow glyphs: the drawn arrow and the gap before it (a glyph's
    // width and 6), so that a right-aligned column's arrow stays inside it.
    const int arrowWidth = arrow ? kArrowGap + kArrowWidth : 0;
    SIZE extent{};
    const int length = static_cast<int>(std::wcslen(text.data()));
    GetTextExtentPoint32W(bdc, text.data(), length, &extent);
    const int textWidth = extent.cx + 5;
    const int areaWidth = textArea.right - textArea.left;
    RECT t = textArea;
    switch (item.fmt & HDF_JUSTIFYMASK) {
      case HDF_RIGHT:
        t.right = textArea.right - arrowWidth;
        t.left = t.right - textWidth;
        break;
      case HDF_CENTER:
        t.left = textArea.left + imageWidth + (areaWidth - textWidth - arrowWidth - imageWidth) / 2;
        t.right = t.left + textWidth;
        break;
      default:
        t.left = textArea.left + imageWidth;
        t.right = t.left + textWidth;
        break;
    }
    const TsGeneralData* data =
        skin && skin->IsValidSkinIndex(section) ? &skin->Sections[static_cast<std::size_t>(section)] : nullptr;
    if (arrow) {
      const vcl::TColor color = data ? data->Props[static_cast<std::size_t>(std::min(state, 1))].FontColor : 0;
      const int top = textArea.top + (textArea.bottom - textArea.top - kArrowHeight) / 2;
      DrawArrow(canvas, color, vcl::TRect{t.right + kArrowGap, top, t.right + kArrowGap + kArrowWidth, top + kArrowHeight},
                arrow);
    }
    const bool shift = !SkinData->Skinned(false) || (manager && manager->ButtonsOptions()->ShiftContentOnClick());
    if (state == 2 && shift) OffsetRect(&t, 1, 1);
    WriteSkinTextBuf(canvas, text.data(), true, manager, state != 0 ? 1 : 0, section, kHeaderTextFlags,
                     vcl::TRect{t.left, t.top, t.right, t.bottom});
    // Every image of the list, the first one included.
    if (hasImage && item.iImage >= 0) {
      const int y = (h - images->Height()) / 2 + (state == 2 ? 1 : 0);
      images->Draw(canvas, t.left - imageWidth, y, item.iImage, control->Enabled());
    }
  }
  BitBlt(DC, R.left, R.top, w, h, bdc, 0, 0, SRCCOPY);
}

}  // namespace skin_layered
