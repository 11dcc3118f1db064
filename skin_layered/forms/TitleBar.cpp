#include "skin_layered/forms/TitleBar.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/SysUtils.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/TitleItemAnimation.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/pixels/PixelView.h"
#include "skin_layered/paint/TextExtent.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvFontData) {
  p.Object<&TqvFontData::Font, &TqvFontData::SetFont>(L"Font", vcl::TFont::StaticClass());
  p.Integer<&TqvFontData::GlowColor, &TqvFontData::SetGlowColor>(L"GlowColor", 0x808080);
  p.Integer<&TqvFontData::GlowSize, &TqvFontData::SetGlowSize>(L"GlowSize", 0);
  p.Bool<&TqvFontData::UseSysColor, &TqvFontData::SetUseSysColor>(L"UseSysColor", true);
  p.Bool<&TqvFontData::UseSysFontName, &TqvFontData::SetUseSysFontName>(L"UseSysFontName", true);
  p.Bool<&TqvFontData::UseSysGlowing, &TqvFontData::SetUseSysGlowing>(L"UseSysGlowing", true);
  p.Bool<&TqvFontData::UseSysSize, &TqvFontData::SetUseSysSize>(L"UseSysSize", true);
  p.Bool<&TqvFontData::UseSysStyle, &TqvFontData::SetUseSysStyle>(L"UseSysStyle", true);
}

VCL_CLASS_INFO(TqvTitleBarItem) {
  p.Enum<&TqvTitleBarItem::Align, &TqvTitleBarItem::SetAlign>(L"Align", static_cast<int64_t>(tbaLeft));
  p.Bool<&TqvTitleBarItem::AutoSize, &TqvTitleBarItem::SetAutoSize>(L"AutoSize", true);
  p.String<&TqvTitleBarItem::Caption, &TqvTitleBarItem::SetCaption>(L"Caption");
  p.Object<&TqvTitleBarItem::DropdownMenu, &TqvTitleBarItem::SetDropdownMenu>(L"DropdownMenu",
                                                                            vcl::TPopupMenu::StaticClass());
  p.Bool<&TqvTitleBarItem::Down, &TqvTitleBarItem::SetDown>(L"Down", false);
  p.Bool<&TqvTitleBarItem::Enabled, &TqvTitleBarItem::SetEnabled>(L"Enabled", true);
  p.Object<&TqvTitleBarItem::FontData, &TqvTitleBarItem::SetFontData>(L"FontData", TqvFontData::StaticClass());
  p.Object<&TqvTitleBarItem::Glyph, &TqvTitleBarItem::SetGlyph>(L"Glyph", vcl::TBitmap::StaticClass());
  p.Integer<&TqvTitleBarItem::Height, &TqvTitleBarItem::SetHeight>(L"Height", 18);
  p.String<&TqvTitleBarItem::Hint, &TqvTitleBarItem::SetHint>(L"Hint");
  p.Integer<&TqvTitleBarItem::DisabledImageIndex, &TqvTitleBarItem::SetDisabledImageIndex>(L"DisabledImageIndex",
                                                                                         -1);
  p.Integer<&TqvTitleBarItem::ImageIndex, &TqvTitleBarItem::SetImageIndex>(L"ImageIndex", -1);
  p.Integer<&TqvTitleBarItem::HotImageIndex, &TqvTitleBarItem::SetHotImageIndex>(L"HotImageIndex", -1);
  p.Integer<&TqvTitleBarItem::PressedImageIndex, &TqvTitleBarItem::SetPressedImageIndex>(L"PressedImageIndex", -1);
  p.String<&TqvTitleBarItem::Name, &TqvTitleBarItem::SetName>(L"Name");
  p.Integer<&TqvTitleBarItem::NumGlyphs, &TqvTitleBarItem::SetNumGlyphs>(L"NumGlyphs", 1);
  p.Bool<&TqvTitleBarItem::ShowHint, &TqvTitleBarItem::SetShowHint>(L"ShowHint", false);
  p.String<&TqvTitleBarItem::SkinSection, &TqvTitleBarItem::SetSkinSection>(L"SkinSection");
  p.Integer<&TqvTitleBarItem::Spacing, &TqvTitleBarItem::SetSpacing>(L"Spacing", 4);
  p.Enum<&TqvTitleBarItem::Style, &TqvTitleBarItem::SetStyle>(L"Style", static_cast<int64_t>(bsButton));
  p.Bool<&TqvTitleBarItem::Visible, &TqvTitleBarItem::SetVisible>(L"Visible", true);
  p.Integer<&TqvTitleBarItem::Width, &TqvTitleBarItem::SetWidth>(L"Width", 22);
  p.Event<&TqvTitleBarItem::OnClick>(L"OnClick");
  p.Event<&TqvTitleBarItem::OnMouseDown>(L"OnMouseDown");
  p.Event<&TqvTitleBarItem::OnMouseEnter>(L"OnMouseEnter");
  p.Event<&TqvTitleBarItem::OnMouseLeave>(L"OnMouseLeave");
  p.Event<&TqvTitleBarItem::OnMouseUp>(L"OnMouseUp");
}

VCL_CLASS_INFO(TqvTitleItems) {}

VCL_CLASS_INFO(TsTitleBar) {
  p.Object<&TsTitleBar::Images, &TsTitleBar::SetImages>(L"Images", vcl::TCustomImageList::StaticClass());
  p.Object<&TsTitleBar::Items, &TsTitleBar::SetItems>(L"Items", TqvTitleItems::StaticClass());
  p.Integer<&TsTitleBar::ItemsMargin, &TsTitleBar::SetItemsMargin>(L"ItemsMargin", 3);
  p.Integer<&TsTitleBar::ItemsSpacing, &TsTitleBar::SetItemsSpacing>(L"ItemsSpacing", 0);
  p.Bool<&TsTitleBar::ShowCaption, &TsTitleBar::SetShowCaption>(L"ShowCaption", false);
}

namespace {

constexpr int kMinItemSize = 16;
constexpr wchar_t kArrowChar[] = L"u";  // the drop-down arrow in "Marlett"

bool Loading(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csLoading); }

// The width of the drop-down arrow at the caption font's height.
int ArrowWidth(int Height) {
  vcl::UniqueFont font(CreateFontW(Height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Marlett"));
  vcl::TSize size{0, 0};
  GetTextExtentWithFont(font.get(), kArrowChar, 0, size, 0, false);
  return size.cx;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TqvFontData

TqvFontData::TqvFontData(TqvTitleBarItem* Owner)
    : owner_(Owner), font_(std::make_unique<vcl::TFont>()), effective_(std::make_unique<vcl::TFont>()) {}

TqvFontData::~TqvFontData() = default;

void TqvFontData::Changed() {
  if (TsTitleBar* bar = owner_ ? owner_->TitleBar() : nullptr) bar->Changed();
}

#define QV_FONT_SETTER(Setter, field) \
  void TqvFontData::Setter(decltype(field) Value) { \
    field = Value;                                  \
    Changed();                                      \
  }
QV_FONT_SETTER(SetGlowColor, glow_color_)
QV_FONT_SETTER(SetGlowSize, glow_size_)
QV_FONT_SETTER(SetUseSysColor, use_sys_color_)
QV_FONT_SETTER(SetUseSysFontName, use_sys_font_name_)
QV_FONT_SETTER(SetUseSysGlowing, use_sys_glowing_)
QV_FONT_SETTER(SetUseSysSize, use_sys_size_)
QV_FONT_SETTER(SetUseSysStyle, use_sys_style_)
#undef QV_FONT_SETTER

void TqvFontData::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvFontData*>(Source);
  if (!other) return TPersistent::Assign(Source);
  font_->Assign(other->font_.get());
  glow_color_ = other->glow_color_;
  glow_size_ = other->glow_size_;
  use_sys_color_ = other->use_sys_color_;
  use_sys_font_name_ = other->use_sys_font_name_;
  use_sys_glowing_ = other->use_sys_glowing_;
  use_sys_size_ = other->use_sys_size_;
  use_sys_style_ = other->use_sys_style_;
  Changed();
}

vcl::TFont* TqvFontData::PrepareFont() {
  if (vcl::UniqueFont caption = GetCaptionFont())
    effective_->SetHandle(caption.release());
  const int systemHeight = effective_->Height();
  if (!use_sys_style_) effective_->SetStyle(font_->Style());
  if (!use_sys_font_name_) effective_->SetName(font_->Name());
  effective_->SetHeight(use_sys_size_ ? systemHeight : font_->Height());
  effective_->SetColor(font_->Color());
  return effective_.get();
}

// ---------------------------------------------------------------------------------------
// TqvTitleBarItem

TqvTitleBarItem::TqvTitleBarItem(vcl::TCollection* Collection)
    : TCollectionItem(Collection),
      font_data_(std::make_unique<TqvFontData>(this)),
      glyph_(std::make_unique<vcl::TBitmap>()) {
  if (name_.empty()) name_ = ClassName();
}

TqvTitleBarItem::~TqvTitleBarItem() {
  lifetime_.End();
  animation_.reset();
  HideItemHint();
}

TsTitleBar* TqvTitleBarItem::TitleBar() const {
  auto* items = dynamic_cast<TqvTitleItems*>(Collection());
  return items ? items->TitleBar() : nullptr;
}

void TqvTitleBarItem::ItemChanged(bool Resize) {
  if (Resize && auto_size_) AdjustSize();
  DropAnimationImages();
  TsTitleBar* bar = TitleBar();
  if (!bar || bar->Updating || bar->Destroying() || Loading(bar)) return;
  vcl::TCustomForm* form = bar->Form();
  if (!form || !form->HandleAllocated()) return;
  if (SendMessageW(form->Handle(), kSkinCmdMessage, SkinCommandWParam(scmIsBgChanged), 0) == 0)
    SendMessageW(form->Handle(), kSkinCmdMessage, SkinCommandWParam(scmTitleChanged), 1);
}

#define QV_ITEM_SETTER(Setter, field, resize)     \
  void TqvTitleBarItem::Setter(decltype(field) Value) { \
    if (field == Value) return;                   \
    field = Value;                                \
    ItemChanged(resize);                          \
  }
QV_ITEM_SETTER(SetAlign, align_, true)
QV_ITEM_SETTER(SetAutoSize, auto_size_, true)
QV_ITEM_SETTER(SetDown, down_, false)
QV_ITEM_SETTER(SetEnabled, enabled_, false)
QV_ITEM_SETTER(SetHeight, height_, true)
QV_ITEM_SETTER(SetNumGlyphs, num_glyphs_, true)
QV_ITEM_SETTER(SetSpacing, spacing_, true)
QV_ITEM_SETTER(SetStyle, style_, true)
QV_ITEM_SETTER(SetVisible, visible_, true)
QV_ITEM_SETTER(SetWidth, width_, true)
QV_ITEM_SETTER(SetGroupIndex, group_index_, false)
#undef QV_ITEM_SETTER

void TqvTitleBarItem::SetCaption(const vcl::String& Value) {
  if (caption_ == Value) return;
  caption_ = Value;
  ItemChanged(true);
}

void TqvTitleBarItem::SetDropdownMenu(vcl::TPopupMenu* Value) {
  if (dropdown_menu_ == Value) return;
  dropdown_menu_ = Value;
  if (TsTitleBar* bar = TitleBar(); bar && Value) Value->FreeNotification(bar);
  ItemChanged(true);
}

void TqvTitleBarItem::SetGlyph(vcl::TBitmap* Value) {
  glyph_->Assign(Value);
  ItemChanged(true);
}

void TqvTitleBarItem::SetImageIndexOf(int Kind, int Value) {
  int& index = image_indexes_[Kind & 3];
  if (index == Value) return;
  index = Value;
  ItemChanged(Kind == 1);
}

void TqvTitleBarItem::SetSkinSection(const vcl::String& Value) {
  if (skin_section_ == Value) return;
  skin_section_ = Value;
  // The provider looks the section up again.
  SkinData.reset();
  ItemChanged(false);
}

void TqvTitleBarItem::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvTitleBarItem*>(Source);
  if (!other) return TCollectionItem::Assign(Source);
  auto_size_ = other->auto_size_;
  align_ = other->align_;
  caption_ = other->caption_;
  enabled_ = other->enabled_;
  glyph_->Assign(other->glyph_.get());
  group_index_ = other->group_index_;
  hint_ = other->hint_;
  image_indexes_[1] = other->image_indexes_[1];
  name_ = other->name_;
  num_glyphs_ = other->num_glyphs_;
  style_ = other->style_;
  visible_ = other->visible_;
  OnMouseDown = other->OnMouseDown;
  OnMouseUp = other->OnMouseUp;
}

int TqvTitleBarItem::CurrentState() const { return MenuDropped || down_ ? 2 : state_; }

bool TqvTitleBarItem::DropsMenu() const {
  return (style_ == bsButton || style_ == bsMenu) && dropdown_menu_ != nullptr;
}

void TqvTitleBarItem::AdjustSize(bool ContentOnly) {
  if (!visible_) return;
  TsTitleBar* bar = TitleBar();
  vcl::TCustomImageList* images = bar ? bar->Images() : nullptr;
  if (images && image_indexes_[1] >= 0 && image_indexes_[1] < images->Count()) {
    ContentWidth = images->Width();
    ContentHeight = images->Height();
  } else if (!glyph_->Empty()) {
    ContentWidth = glyph_->Width() / std::max(1, num_glyphs_);
    ContentHeight = glyph_->Height();
  } else {
    ContentWidth = ContentHeight = 0;
  }
  vcl::TFont* font = font_data_->PrepareFont();
  if (!caption_.empty()) {
    vcl::TSize text{0, 0};
    GetTextExtentWithFont(font->Handle(), caption_, 0, text, 0, false);
    if (ContentWidth > 0) ContentWidth += spacing_;
    ContentWidth += text.cx + (style_ == bsTab ? 4 : 0);
    ContentHeight = std::max(ContentHeight, static_cast<int>(text.cy));
  }
  if (DropsMenu()) ContentWidth += (style_ == bsMenu ? 4 : 1) + ArrowWidth(font->Height());
  if (style_ == bsMenu || style_ == bsTab) ++ContentHeight;
  if (ContentOnly || style_ == bsSpacing) return;
  const int margin = bar ? bar->ItemsMargin() : 3;
  width_ = std::max(kMinItemSize, ContentWidth + 2 * (margin + (style_ == bsMenu ? 4 : 0)));
  height_ = std::max(kMinItemSize, ContentHeight + 2 * margin);
}

vcl::TRect TqvTitleBarItem::ScreenRect() const {
  TsTitleBar* bar = TitleBar();
  // The border window may have gone since the items were laid out.
  HWND host = HostWnd && IsWindow(HostWnd) ? HostWnd : nullptr;
  if (!host && bar && bar->Form() && bar->Form()->HandleAllocated()) host = bar->Form()->Handle();
  RECT window{};
  if (host) GetWindowRect(host, &window);
  vcl::TRect r = ItemRect;
  r.Offset(window.left, window.top);
  return r;
}

bool TqvTitleBarItem::PaintFaded(const vcl::TRect& R, vcl::TBitmap* Bmp) {
  if (!PaintHandler) return false;
  PaintHandler(this, R, Bmp);
  return true;
}

void TqvTitleBarItem::FadeMouseLeft() {
  if (TsTitleBar* bar = TitleBar(); bar && bar->Form() && bar->Form()->HandleAllocated())
    SendMessageW(bar->Form()->Handle(), WM_MOUSELEAVE, 0, 0);
}

void TqvTitleBarItem::MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  if (Pressed || !enabled_) return;
  Pressed = true;
  const vcl::TLifetime::TWatch alive = lifetime_.Watch();
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
  if (!alive) return;
  TsTitleBar* bar = TitleBar();
  vcl::TCustomForm* form = bar ? bar->Form() : nullptr;
  if (DropsMenu() && dropdown_menu_->Items()->Count() > 0) {
    vcl::TPopupMenu* menu = dropdown_menu_;
    if (form && form->HandleAllocated()) menu->SetWindowHandle(form->Handle());
    const vcl::TRect r = ScreenRect();
    MenuDropped = true;
    menu->Popup(r.Left, r.Bottom);
    // The menu's loop runs the application meanwhile.
    if (!alive) return;
    MenuDropped = false;
    state_ = 0;
    FreeAnimation();
    ItemChanged(false);
    if (dropdown_menu_ == menu) menu->SetWindowHandle(nullptr);
    return Click();
  }
  if (style_ == bsTab && !down_) {
    Click();
    if (!alive) return;
    if ((bar = TitleBar())) {
      bar->Updating = true;
      for (int i = 0; i < bar->Items()->Count(); ++i) {
        TqvTitleBarItem* other = bar->Items()->Items(i);
        if (other != this && other->visible_ && other->group_index_ == group_index_ && other->down_)
          other->SetDown(false);
      }
      bar->Updating = false;
    }
    SetDown(true);
  }
}

void TqvTitleBarItem::MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) {
  const vcl::TLifetime::TWatch alive = lifetime_.Watch();
  if (enabled_ && OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
  if (!alive) return;
  const bool click = Pressed && style_ != bsTab;
  Pressed = false;
  state_ = 1;
  if (click) Click();
}

void TqvTitleBarItem::Click() {
  Pressed = false;
  if (OnClick) OnClick(this);
}

void TqvTitleBarItem::ShowItemHint() {
  POINT cursor{};
  GetCursorPos(&cursor);
  hint_window_.Show(hint_, vcl::TPoint(cursor.x, cursor.y + 16));
}

void TqvTitleBarItem::HideItemHint() { hint_window_.Hide(); }

void TqvTitleBarItem::StartAnimation(int Steps, HWND Wnd) {
  TsTitleBar* bar = TitleBar();
  vcl::TCustomForm* form = bar ? bar->Form() : nullptr;
  if (!form || !Wnd) return;
  const int state = CurrentState();
  if (!animation_) {
    animation_ = std::make_unique<TqvItemAnimation>(nullptr, Wnd, this, Steps);
    animation_->FadingIn = true;
    animation_->SetState(state);
    return;
  }
  TqvItemAnimation& a = *animation_;
  a.Wnd = Wnd;
  if (!(state == 1 && a.TargetState == 2)) a.PrevImage = std::move(a.CurImage);
  a.StepCount = std::max(1, Steps);
  a.FadingIn = state != 0;
  a.SetEnabled(true);
  a.SetState(state);
  if (state == 2) a.Step = a.StepCount;
}

void TqvTitleBarItem::FreeAnimation() { animation_.reset(); }

void TqvTitleBarItem::DropAnimationImages() {
  if (!animation_) return;
  animation_->PrevImage.reset();
  animation_->CurImage.reset();
}

// ---------------------------------------------------------------------------------------
// TqvTitleItems

TqvTitleItems::TqvTitleItems(TsTitleBar* Owner)
    : TCollection(vcl::TCollectionItemClass::Of<TqvTitleBarItem>()), bar_(Owner) {}

vcl::TPersistent* TqvTitleItems::GetOwner() { return bar_; }

void TqvTitleItems::Update(vcl::TCollectionItem* Item) {
  (void)Item;
  if (bar_) bar_->Changed();
}

// ---------------------------------------------------------------------------------------
// TsTitleBar

namespace {

vcl::TComponent* FormOwner(vcl::TComponent* AOwner) {
  if (!dynamic_cast<vcl::TCustomForm*>(AOwner)) throw vcl::EAbort(kTitleBarFormsOnlyMessage);
  return AOwner;
}

}  // namespace

TsTitleBar::TsTitleBar(vcl::TComponent* AOwner)
    : TComponent(FormOwner(AOwner)),
      form_(static_cast<vcl::TCustomForm*>(AOwner)),
      images_link_(std::make_unique<vcl::TChangeLink>()),
      items_(std::make_unique<TqvTitleItems>(this)) {
  images_link_->OnChange = vcl::TNotifyEvent::Bind<&TsTitleBar::ImagesChanged>(this);
  // The form's provider shows the first title bar (its insertion notice came before this
  // object was whole).
  if (TqvTitleBarHost* host = TitleBarHostOf(form_); host && !host->TitleBar()) host->SetTitleBar(this);
}

TsTitleBar::~TsTitleBar() {
  // The items go first, without announcing it: their fades and hints refer to the bar, and the
  // provider hears of the bar's going only afterwards.
  destroying_ = true;
  // The form's provider lets go of the bar now (a form that stays shows its caption without it
  // at once); a form being destroyed tells its components of nothing.
  for (int i = 0; form_ && i < form_->ComponentCount(); ++i)
    if (auto* host = dynamic_cast<TqvTitleBarHost*>(form_->Components(i)); host && host->TitleBar() == this)
      host->SetTitleBar(nullptr);
  items_->Clear();
  items_.reset();
  if (images_) images_->UnRegisterChanges(images_link_.get());
}

void TsTitleBar::Loaded() {
  TComponent::Loaded();
  for (int i = 0; i < items_->Count(); ++i)
    if (TqvTitleBarItem* item = items_->Items(i); item->AutoSize()) item->AdjustSize();
}

void TsTitleBar::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != vcl::TOperation::opRemove || !AComponent) return;
  if (AComponent == images_) images_ = nullptr;
  // A drop-down menu that goes is forgotten by its items.
  for (int i = 0; items_ && i < items_->Count(); ++i)
    if (TqvTitleBarItem* item = items_->Items(i); item->DropdownMenu() == AComponent) item->SetDropdownMenu(nullptr);
}

void TsTitleBar::ImagesChanged(vcl::TObject* Sender) {
  (void)Sender;
  for (int i = 0; i < items_->Count(); ++i)
    if (TqvTitleBarItem* item = items_->Items(i); item->AutoSize()) item->AdjustSize();
  Changed();
}

void TsTitleBar::SetImages(vcl::TCustomImageList* Value) {
  if (images_ == Value) return;
  if (images_) images_->UnRegisterChanges(images_link_.get());
  images_ = Value;
  if (images_) {
    images_->RegisterChanges(images_link_.get());
    images_->FreeNotification(this);
  }
  for (int i = 0; i < items_->Count(); ++i)
    if (TqvTitleBarItem* item = items_->Items(i); item->AutoSize()) item->AdjustSize();
  Changed();
}

void TsTitleBar::SetShowCaption(bool Value) {
  if (show_caption_ == Value) return;
  show_caption_ = Value;
  Changed();
}

void TsTitleBar::Changed() {
  if (destroying_ || Loading(form_) || Loading(this) || !form_ || !form_->HandleAllocated()) return;
  SendMessageW(form_->Handle(), kSkinCmdMessage, SkinCommandWParam(scmTitleChanged), 1);
}

void TsTitleBar::Arrange() {
  LeftWidth = RightWidth = CenterWidth = CenterInSpaceWidth = 0;
  for (int i = 0; i < items_->Count(); ++i) {
    const TqvTitleBarItem* item = items_->Items(i);
    if (!item->Visible()) continue;
    switch (item->Align()) {
      case tbaLeft: LeftWidth += item->Width(); break;
      case tbaRight: RightWidth += item->Width(); break;
      case tbaCenter: CenterWidth += item->Width(); break;
      case tbaCenterInSpace: CenterInSpaceWidth += item->Width(); break;
    }
  }
  int x[4];
  x[static_cast<int>(tbaLeft)] = AreaLeft;
  x[static_cast<int>(tbaCenter)] = AreaLeft + (FullWidth - AreaLeft - CenterWidth) / 2;
  x[static_cast<int>(tbaCenterInSpace)] =
      AreaLeft + LeftWidth + ((AreaRight - AreaLeft - RightWidth - LeftWidth) - CenterInSpaceWidth) / 2;
  x[static_cast<int>(tbaRight)] = AreaRight - RightWidth;
  for (int i = 0; i < items_->Count(); ++i) {
    TqvTitleBarItem* item = items_->Items(i);
    if (!item->Visible()) continue;
    int& left = x[static_cast<int>(item->Align())];
    vcl::TRect& r = item->ItemRect;
    r.Left = left;
    r.Right = left + item->Width();
    left = r.Right;
    switch (item->Style()) {
      case bsMenu: r.Top = AreaTop; break;
      case bsTab: r.Top = AreaBottom - item->Height(); break;
      default: r.Top = AreaCentre - item->Height() / 2; break;
    }
    r.Bottom = r.Top + item->Height();
  }
}

vcl::TRect TsTitleBar::FreeArea() const {
  return vcl::Rect(AreaLeft + LeftWidth, AreaTop, AreaRight - RightWidth, AreaBottom);
}

vcl::TBitmap* TsTitleBar::DropdownGlyph() {
  if (dropdown_glyph_) return dropdown_glyph_.get();
  vcl::TBitmap loaded;
  try {
    loaded.LoadFromResourceName(GetModuleHandleW(nullptr), L"MENUBTN");
  } catch (const vcl::Exception&) {
    return nullptr;
  }
  // Opaque but for the key colour 0xFF00FF, which stays as it is with alpha 0 (the stretched
  // drawing leaves it out).
  dropdown_glyph_ = Bmp32Copy(&loaded, false);
  TPixelView view;
  if (!dropdown_glyph_ || !InitPixelView(dropdown_glyph_.get(), view)) return nullptr;
  for (int y = 0; y < view.Height; ++y)
    for (int x = 0; x < view.Width; ++x) {
      TPixel32& p = view.Row(y)[x];
      p = (p & 0xFFFFFFu) == 0xFF00FFu ? 0x00FF00FFu : p | 0xFF000000u;
    }
  return dropdown_glyph_.get();
}

// ---------------------------------------------------------------------------------------

void DrawStretchedImage(vcl::TBitmap* Dest, vcl::TBitmap* Src, const vcl::TRect& SrcRect, const vcl::TRect& Margins,
                        const vcl::TRect& DestRect) {
  if (!Dest || !Src || Src->Empty() || Dest->Empty()) return;
  constexpr COLORREF kKey = RGB(0xFF, 0x00, 0xFF);
  Dest->SetTransparentColor(static_cast<vcl::TColor>(kKey));
  Src->SetTransparentColor(static_cast<vcl::TColor>(kKey));
  const HDC src = Src->Canvas()->Handle();
  const HDC dst = Dest->Canvas()->Handle();
  const int l = Margins.Left, t = Margins.Top, r = Margins.Right, b = Margins.Bottom;
  // Corners pixel by pixel, the key colour left out, clipped to the source.
  auto corner = [&](int sx, int sy, int dx, int dy, int w, int h) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (sx + x < SrcRect.Left || sx + x >= SrcRect.Right || sy + y < SrcRect.Top || sy + y >= SrcRect.Bottom) continue;
        const COLORREF c = GetPixel(src, sx + x, sy + y);
        if (c != kKey && c != CLR_INVALID) SetPixel(dst, dx + x, dy + y, c);
      }
  };
  corner(SrcRect.Left, SrcRect.Top, DestRect.Left, DestRect.Top, l, t);
  corner(SrcRect.Right - r, SrcRect.Top, DestRect.Right - r, DestRect.Top, r, t);
  corner(SrcRect.Left, SrcRect.Bottom - b, DestRect.Left, DestRect.Bottom - b, l, b);
  corner(SrcRect.Right - r, SrcRect.Bottom - b, DestRect.Right - r, DestRect.Bottom - b, r, b);
  const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
  auto part = [&](int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    StretchBlt(dst, dx, dy, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
  };
  const int sw = SrcRect.Width() - l - r, sh = SrcRect.Height() - t - b;
  const int dw = DestRect.Width() - l - r, dh = DestRect.Height() - t - b;
  part(DestRect.Left + l, DestRect.Top, dw, t, SrcRect.Left + l, SrcRect.Top, sw, t);                  // top
  part(DestRect.Left + l, DestRect.Bottom - b, dw, b, SrcRect.Left + l, SrcRect.Bottom - b, sw, b);    // bottom
  part(DestRect.Left, DestRect.Top + t, l, dh, SrcRect.Left, SrcRect.Top + t, l, sh);                  // left
  part(DestRect.Right - r, DestRect.Top + t, r, dh, SrcRect.Right - r, SrcRect.Top + t, r, sh);        // right
  part(DestRect.Left + l, DestRect.Top + t, dw, dh, SrcRect.Left + l, SrcRect.Top + t, sw, sh);        // centre
  SetStretchBltMode(dst, oldMode);
}

}  // namespace skin_layered
