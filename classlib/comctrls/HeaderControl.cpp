// THeaderControl (a superclass of SysHeader32) and its sections.
#include "classlib/comctrls/HeaderControl.h"

#include <algorithm>

#include <commctrl.h>

#include "classlib/comctrls/ComCtrlsInternal.h"

namespace vcl {

using detail::Nesting;

VCL_CLASS_INFO(THeaderSection) {
  p.Enum<&THeaderSection::Alignment, &THeaderSection::SetAlignment>(L"Alignment", static_cast<int64_t>(taLeftJustify));
  p.Bool<&THeaderSection::AllowClick, &THeaderSection::SetAllowClick>(L"AllowClick", true);
  p.Integer<&THeaderSection::ImageIndex, &THeaderSection::SetImageIndex>(L"ImageIndex", -1);
  p.Integer<&THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth>(L"MaxWidth", 10000);
  p.Integer<&THeaderSection::MinWidth, &THeaderSection::SetMinWidth>(L"MinWidth", 0);
  p.Enum<&THeaderSection::Style, &THeaderSection::SetStyle>(L"Style", static_cast<int64_t>(hsText));
  p.String<&THeaderSection::Text, &THeaderSection::SetText>(L"Text");
  p.Integer<&THeaderSection::Width, &THeaderSection::SetWidth>(L"Width", 50);
}
VCL_CLASS_INFO(THeaderSections) {}

VCL_CLASS_INFO(THeaderControl) {
  p.Enum<&TControl::Align, &TControl::SetAlign>(L"Align", static_cast<int64_t>(alTop));
  publish::Anchors(p);
  publish::Bounds(p);
  publish::Enabled(p);
  publish::Font(p);
  p.Bool<&THeaderControl::FullDrag, &THeaderControl::SetFullDrag>(L"FullDrag", true);
  publish::Hints(p);
  p.Bool<&THeaderControl::HotTrack, &THeaderControl::SetHotTrack>(L"HotTrack", false);
  p.Object<&THeaderControl::Images, &THeaderControl::SetImages>(L"Images", TCustomImageList::StaticClass());
  publish::PopupMenu(p);
  p.Object<&THeaderControl::Sections, &THeaderControl::SetSections>(L"Sections", THeaderSections::StaticClass());
  p.Enum<&THeaderControl::Style, &THeaderControl::SetStyle>(L"Style", static_cast<int64_t>(hsButtons));
  publish::Visible(p);
  publish::OnContextPopup(p);
  p.Event<&THeaderControl::OnDrawSection>(L"OnDrawSection");
  publish::OnResize(p);
  p.Event<&THeaderControl::OnSectionClick>(L"OnSectionClick");
  p.Event<&THeaderControl::OnSectionResize>(L"OnSectionResize");
  p.Event<&THeaderControl::OnSectionTrack>(L"OnSectionTrack");
}

namespace {

int SectionFormat(const THeaderSection* Section) {
  int format = Section->Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING;
  switch (Section->Alignment()) {
    case taRightJustify: format |= HDF_RIGHT; break;
    case taCenter: format |= HDF_CENTER; break;
    default: format |= HDF_LEFT; break;
  }
  if (Section->ImageIndex() >= 0) format |= HDF_IMAGE;
  return format;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// THeaderSection

THeaderSection::THeaderSection(TCollection* Collection) : TCollectionItem(Collection) {}

THeaderControl* THeaderSection::HeaderControl() const {
  auto* sections = dynamic_cast<THeaderSections*>(Collection());
  return sections ? sections->Owner() : nullptr;
}

int THeaderSection::Left() const {
  int x = 0;
  if (TCollection* c = Collection())
    for (int i = 0; i < Index(); ++i) x += static_cast<THeaderSection*>(c->Items(i))->width_;
  return x;
}

void THeaderSection::SetText(const String& Value) {
  if (text_ == Value) return;
  text_ = Value;
  Changed(false);
}

void THeaderSection::SetWidth(int Value) {
  Value = std::clamp(Value, min_width_, std::max(min_width_, max_width_));
  if (width_ == Value) return;
  width_ = Value;
  Changed(false);
}

void THeaderSection::SetMinWidth(int Value) {
  min_width_ = std::max(Value, 0);
  if (width_ < min_width_) SetWidth(min_width_);
}

void THeaderSection::SetMaxWidth(int Value) {
  max_width_ = std::max(Value, 0);
  if (width_ > max_width_) SetWidth(std::max(max_width_, min_width_));
}

void THeaderSection::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Changed(false);
}

void THeaderSection::SetImageIndex(int Value) {
  if (image_index_ == Value) return;
  image_index_ = Value;
  Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  Changed(false);
}

void THeaderSection::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<THeaderSection*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  text_ = src->text_;
  width_ = src->width_;
  min_width_ = src->min_width_;
  max_width_ = src->max_width_;
  alignment_ = src->alignment_;
  image_index_ = src->image_index_;
  style_ = src->style_;
  allow_click_ = src->allow_click_;
  Changed(false);
}

String THeaderSection::DisplayName() const { return text_.empty() ? ClassName() : text_; }

// ---------------------------------------------------------------------------------------
// THeaderSections

THeaderSections::THeaderSections(THeaderControl* AOwner)
    : TCollection(TCollectionItemClass::Of<THeaderSection>()), owner_(AOwner) {}

TPersistent* THeaderSections::GetOwner() { return owner_; }

void THeaderSections::Update(TCollectionItem* Item) {
  if (!owner_ || !owner_->HasWindow()) return;
  const int count = static_cast<int>(owner_->Send(HDM_GETITEMCOUNT));
  if (Item && count == Count())
    owner_->WindowSetSection(Item->Index(), false);
  else
    owner_->PutSectionsInWindow();
}

// ---------------------------------------------------------------------------------------
// THeaderControl

THeaderControl::THeaderControl(TComponent* AOwner)
    : TWinControl(AOwner), sections_(std::make_unique<THeaderSections>(this)) {
  // The window tracks the mouse itself.
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 250, 17);
  SetAlign(alTop);
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

THeaderControl::~THeaderControl() = default;

void THeaderControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_HEADERW);
  if (style_ == hsButtons) Params.Style |= HDS_BUTTONS;
  if (style_ == hsFlat) Params.Style |= HDS_FLAT;
  if (hot_track_) Params.Style |= HDS_HOTTRACK;
  if (full_drag_) Params.Style |= HDS_FULLDRAG;
}

void THeaderControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (images_) Send(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  PutSectionsInWindow();
}

THeaderSection* THeaderControl::SectionAt(int Index) const {
  return Index >= 0 && Index < sections_->Count() ? sections_->Items(Index) : nullptr;
}

void THeaderControl::WindowSetSection(int Index, bool Insert) {
  THeaderSection* section = sections_->Items(Index);
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_LPARAM | HDI_IMAGE;
  item.pszText = const_cast<wchar_t*>(section->Text().c_str());
  item.cxy = section->width_;
  item.fmt = SectionFormat(section);
  item.lParam = reinterpret_cast<LPARAM>(section);
  item.iImage = section->ImageIndex();
  const Nesting quiet(quiet_);
  if (Insert) {
    if (Send(HDM_INSERTITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item)) < 0)
      throw EOutOfResources(L"Unable to insert a header section");
  } else {
    Send(HDM_SETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
  }
}

void THeaderControl::PutSectionsInWindow() {
  if (!HasWindow()) return;
  const Nesting quiet(quiet_);
  while (Send(HDM_GETITEMCOUNT) > 0)
    if (!Send(HDM_DELETEITEM, 0)) break;
  for (int i = 0; i < sections_->Count(); ++i) WindowSetSection(i, true);
}

void THeaderControl::SetImages(TCustomImageList* Value) {
  if (images_ == Value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = Value;
  if (Value) Value->FreeNotification(this);
  if (HasWindow()) Send(HDM_SETIMAGELIST, 0, Value ? reinterpret_cast<LPARAM>(Value->Handle()) : 0);
}

void THeaderControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) {
    images_ = nullptr;
    if (HasWindow()) Send(HDM_SETIMAGELIST, 0, 0);
  }
}

void THeaderControl::SetHotTrack(bool Value) {
  if (hot_track_ == Value) return;
  hot_track_ = Value;
  RecreateWnd();
}

void THeaderControl::SetStyle(THeaderStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  RecreateWnd();
}

void THeaderControl::SetFullDrag(bool Value) {
  if (full_drag_ == Value) return;
  full_drag_ = Value;
  RecreateWnd();
}

void THeaderControl::DrawSection(THeaderSection* Section, const TRect& Rect, bool Pressed) {
  if (OnDrawSection)
    OnDrawSection(this, Section, Rect, Pressed);
  else
    canvas_->FillRect(Rect);
}

void THeaderControl::TrackNotify(const NMHEADERW& Info, TSectionTrackState State) {
  THeaderSection* section = SectionAt(Info.iItem);
  if (!section || !OnSectionTrack) return;
  int width = section->width_;
  if (Info.pitem && (Info.pitem->mask & HDI_WIDTH)) width = Info.pitem->cxy;
  OnSectionTrack(this, section, std::clamp(width, section->min_width_, std::max(section->min_width_, section->max_width_)),
                 State);
}

// The user dragged a divider: the section keeps the width within its limits (the window too).
void THeaderControl::WidthChanged(int Index, int Width) {
  THeaderSection* section = SectionAt(Index);
  if (!section) return;
  const int limited = std::clamp(Width, section->min_width_, std::max(section->min_width_, section->max_width_));
  if (limited != Width) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = limited;
    const Nesting quiet(quiet_);
    Send(HDM_SETITEMW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
  }
  if (section->width_ == limited) return;
  section->width_ = limited;
  if (OnSectionResize) OnSectionResize(this, section);
}

void THeaderControl::HandleNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HasWindow() || header->hwndFrom != Handle()) {
    TWinControl::Dispatch(Message);
    return;
  }
  // The A and W forms carry the same header record (only its item's text differs).
  const auto& info = *reinterpret_cast<const NMHEADERW*>(header);
  switch (header->code) {
    case HDN_ITEMCLICKW:
    case HDN_ITEMCLICKA:
      if (THeaderSection* section = SectionAt(info.iItem); section && section->AllowClick() && OnSectionClick)
        OnSectionClick(this, section);
      break;
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA:
      TrackNotify(info, tsTrackBegin);
      break;
    case HDN_TRACKW:
    case HDN_TRACKA:
      TrackNotify(info, tsTrackMove);
      break;
    case HDN_ENDTRACKW:
    case HDN_ENDTRACKA:
      TrackNotify(info, tsTrackEnd);
      break;
    case HDN_ITEMCHANGEDW:
    case HDN_ITEMCHANGEDA:
      if (!quiet_ && info.pitem && (info.pitem->mask & HDI_WIDTH)) WidthChanged(info.iItem, info.pitem->cxy);
      break;
    default:
      break;
  }
  Message.Result = 0;
}

void THeaderControl::HandleDrawItem(TMessage& Message) {
  const auto* info = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  THeaderSection* section = info ? SectionAt(static_cast<int>(info->itemID)) : nullptr;
  if (!section) {
    TWinControl::Dispatch(Message);
    return;
  }
  {
    const TCanvasDCLoan loan(*canvas_, info->hDC);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    DrawSection(section, info->rcItem, (info->itemState & ODS_SELECTED) != 0);
  }
  Message.Result = TRUE;
}

void THeaderControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY:
      HandleNotify(Message);
      return;
    case CN_DRAWITEM:
      HandleDrawItem(Message);
      return;
    case WM_ERASEBKGND:
      DefaultHandler(Message);
      return;
    default:
      TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
