// The menu painter's life, its hooking of the application's menus and the measuring of items.
// Its painting is in SkinableMenusPaint.cpp.
#include "skin_layered/forms/SkinableMenus.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/SysInfo.h"
#include "skin_layered/core/PopupMenuLinks.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

VCL_CLASS_INFO(TsSkinableMenus) {
  p.Enum<&TsSkinableMenus::Alignment, &TsSkinableMenus::SetAlignment>(L"Alignment",
                                                                       static_cast<int64_t>(vcl::taLeftJustify));
  p.Integer<&TsSkinableMenus::BevelWidth, &TsSkinableMenus::SetBevelWidth>(L"BevelWidth", 0);
  p.Integer<&TsSkinableMenus::BorderWidth, &TsSkinableMenus::SetBorderWidth>(L"BorderWidth", 3);
  p.Object<&TsSkinableMenus::CaptionFont, &TsSkinableMenus::SetCaptionFont>(L"CaptionFont",
                                                                           vcl::TFont::StaticClass());
  p.Integer<&TsSkinableMenus::StoredSkinBorderWidth, &TsSkinableMenus::SetSkinBorderWidth>(L"SkinBorderWidth", 0);
  p.Integer<&TsSkinableMenus::Margin, &TsSkinableMenus::SetMargin>(L"Margin", 2);
  p.Integer<&TsSkinableMenus::Spacing, &TsSkinableMenus::SetSpacing>(L"Spacing", 8);
  p.Event<&TsSkinableMenus::OnDrawItem>(L"OnDrawItem");
}

namespace {

// The unit's state: the settings every skinned menu shares.
struct TMenusUnit {
  vcl::TFont* MenuFont = nullptr;  // not owned
  wchar_t CaptionMark = L'-';
};

TMenusUnit& Unit() {
  static TMenusUnit unit;
  return unit;
}

bool Destroying(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDestroying); }
bool Designing(const TsSkinManager* M) { return M && M->Designing(); }

bool IsMainMenuTopItem(const vcl::TMenuItem* Item) {
  const vcl::TMenuItem* parent = Item ? Item->Parent() : nullptr;
  return parent && !parent->Parent() && dynamic_cast<const vcl::TMainMenu*>(parent->GetParentMenu());
}

// The text measured for an item: a normal item's caption and shortcut, a caption item's
// caption with one more mark on each side, nothing for a divider.
vcl::String MeasuredText(const vcl::TMenuItem* Item, TsMenuItemType Type) {
  switch (Type) {
    case smDivider: return {};
    case smCaption: {
      const vcl::String mark(1, Unit().CaptionMark);
      return mark + Item->Caption() + mark;
    }
    default: return Item->Caption() + vcl::ShortCutToText(Item->ShortCut());
  }
}

vcl::TSize CalcText(vcl::TCanvas* ACanvas, const vcl::String& Text, int Width) {
  if (Text.empty()) return {0, 0};
  RECT r{0, 0, Width, 0};
  DrawTextW(ACanvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

vcl::TFont* GlobalMenuFont() { return Unit().MenuFont; }
void SetGlobalMenuFont(vcl::TFont* Font) { Unit().MenuFont = Font; }
wchar_t CaptionMarkChar() { return Unit().CaptionMark; }
void SetCaptionMarkChar(wchar_t Mark) { Unit().CaptionMark = Mark; }

TsSkinableMenus* SkinableMenusOf(const TsSkinManager* Manager) {
  return Manager ? dynamic_cast<TsSkinableMenus*>(Manager->SkinableMenus()) : nullptr;
}

TsMenuItemType MenuItemType(const vcl::TMenuItem* Item) {
  const vcl::String& caption = Item->Caption();
  if (caption == vcl::cLineCaption) return smDivider;
  const wchar_t mark = Unit().CaptionMark;
  if (caption.size() >= 2 && caption.front() == mark && caption.back() == mark) return smCaption;
  return smNormal;
}

bool InFirstMenuColumn(const vcl::TMenuItem* Item) {
  const vcl::TMenuItem* parent = Item->Parent();
  if (!parent) return true;
  const int index = parent->IndexOf(Item);
  for (int i = 1; i <= index; ++i)
    if (parent->Items(i)->Break() != vcl::mbNone) return false;
  return true;
}

// ---------------------------------------------------------------------------------------
// Life

TsSkinableMenus::TsSkinableMenus(TsSkinManager* AOwner)
    : manager_(AOwner), caption_font_(std::make_unique<vcl::TFont>()) {}

TsSkinableMenus::~TsSkinableMenus() { manager_ = nullptr; }

int TsSkinableMenus::SkinBorderWidth() {
  if (skin_border_width_ < 0) {
    const int index = manager_ ? manager_->Skin().FindImageByNames(kMainMenuSection, kBordersMask) : kNoIndex;
    if (index >= 0) {
      const int left = manager_->Skin().Images[static_cast<std::size_t>(index)].WidthLeft;
      skin_border_width_ = left < 1 ? 3 : left;
    } else {
      skin_border_width_ = 0;
    }
  }
  return skin_border_width_;
}

void TsSkinableMenus::ResetPopupState() {
  skin_border_width_ = -1;
  ClearMenuCache();
}

// ---------------------------------------------------------------------------------------
// Hooking

bool TsSkinableMenus::HasPopupHandlers(const vcl::TMenuItem* Item) const {
  auto* self = const_cast<TsSkinableMenus*>(this);
  return Item->OnAdvancedDrawItem == self->PopupDrawHandler() || Item->OnMeasureItem == self->PopupMeasureHandler();
}

bool TsSkinableMenus::HasBarHandlers(const vcl::TMenuItem* Item) const {
  auto* self = const_cast<TsSkinableMenus*>(this);
  return Item->OnAdvancedDrawItem == self->BarDrawHandler() || Item->OnMeasureItem == self->BarMeasureHandler();
}

void TsSkinableMenus::Unhook(vcl::TMenuItem* Item) {
  if (Item->OnAdvancedDrawItem == PopupDrawHandler() || Item->OnAdvancedDrawItem == BarDrawHandler())
    Item->OnAdvancedDrawItem = nullptr;
  if (Item->OnMeasureItem == PopupMeasureHandler() || Item->OnMeasureItem == BarMeasureHandler())
    Item->OnMeasureItem = nullptr;
}

// Handlers of the application stay; the painter's of the other kind give way.
void TsSkinableMenus::SetBarHandlers(vcl::TMenuItem* Item) {
  if (!Item->OnAdvancedDrawItem || Item->OnAdvancedDrawItem == PopupDrawHandler())
    Item->OnAdvancedDrawItem = BarDrawHandler();
  if (!Item->OnMeasureItem || Item->OnMeasureItem == PopupMeasureHandler()) Item->OnMeasureItem = BarMeasureHandler();
}

void TsSkinableMenus::SetPopupHandlers(vcl::TMenuItem* Item) {
  if (!Item->OnAdvancedDrawItem || Item->OnAdvancedDrawItem == BarDrawHandler())
    Item->OnAdvancedDrawItem = PopupDrawHandler();
  if (!Item->OnMeasureItem || Item->OnMeasureItem == BarMeasureHandler()) Item->OnMeasureItem = PopupMeasureHandler();
}

void TsSkinableMenus::HookPopupItem(vcl::TMenuItem* Item, bool Value) {
  if (!Item || Destroying(Item)) return;
  if (!IsMainMenuTopItem(Item)) {
    if (Value)
      SetPopupHandlers(Item);
    else
      Unhook(Item);
  }
  for (int i = 0; i < Item->Count(); ++i) HookPopupItem(Item->Items(i), Value);
}

void TsSkinableMenus::HookMenuItem(vcl::TMenuItem* Item, bool Value) {
  if (!Item || Destroying(Item)) return;
  if (!Value) {
    Unhook(Item);
  } else if (IsMainMenuTopItem(Item)) {
    SetBarHandlers(Item);
  } else if (manager_ && manager_->SkinnedPopups()) {
    SetPopupHandlers(Item);
  }
}

void TsSkinableMenus::HookMainMenu(vcl::TMainMenu* Menu, bool Value) {
  if (!Menu || !Menu->Items()) return;
  vcl::TMenuItem* items = Menu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    vcl::TMenuItem* item = items->Items(i);
    if (!Value) {
      Unhook(item);
      continue;
    }
    if (!manager_ || !manager_->Active()) continue;
    // An active manager that leaves popups to the system leaves the whole menu as it is.
    if (!manager_->SkinnedPopups()) return;
    SetBarHandlers(item);
  }
  if (!Destroying(Menu) && items->Count() > 0) Menu->SetOwnerDraw(Value);
}

void TsSkinableMenus::SetMenuOwnerDraw(vcl::TPopupMenu* Menu, bool Value) {
  if (!Menu || Destroying(Menu)) return;
  Menu->SetOwnerDraw(Value && manager_ && manager_->SkinnedPopups());
  // The system's menu animation would show the popup before its frame is painted.
  vcl::TMenuAnimation animation = Menu->MenuAnimation();
  if (Value)
    animation.Include(vcl::maNone);
  else
    animation.Exclude(vcl::maNone);
  Menu->SetMenuAnimation(animation);
  if (vcl::TMenuItem* items = Menu->Items())
    for (int i = 0; i < items->Count(); ++i) HookPopupItem(items->Items(i), Value);
}

void TsSkinableMenus::HookComponent(vcl::TComponent* C, bool Value) {
  if (!C || Destroying(C)) return;
  const bool popups = Value && manager_ && manager_->SkinnedPopups();
  if (auto* main = dynamic_cast<vcl::TMainMenu*>(C)) {
    HookMainMenu(main, Value);
    if (vcl::TMenuItem* items = main->Items())
      for (int i = 0; i < items->Count(); ++i)
        for (int j = 0; j < items->Items(i)->Count(); ++j) HookPopupItem(items->Items(i)->Items(j), popups);
  } else if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(C)) {
    SetMenuOwnerDraw(popup, popups);
  } else if (auto* item = dynamic_cast<vcl::TMenuItem*>(C)) {
    if (!dynamic_cast<vcl::TMainMenu*>(item->GetParentMenu())) HookPopupItem(item, popups);
  }
  for (int i = 0; i < C->ComponentCount(); ++i) HookComponent(C->Components(i), Value);
}

void TsSkinableMenus::HookComponents(vcl::TComponent* Root, bool Value) { HookComponent(Root, Value); }

void TsSkinableMenus::SetMenusSkinned(bool Value) {
  skinned_ = Value;
  if (Designing(manager_) || !vcl::Application) return;
  for (int i = 0; i < vcl::Application->ComponentCount(); ++i)
    HookComponent(vcl::Application->Components(i), Value);
}

void TsSkinableMenus::UpdateMenuFonts() {
  SetMenusSkinned(manager_ && manager_->Active() && manager_->Skin().SkinData.Active);
}

// ---------------------------------------------------------------------------------------
// Measuring

void TsSkinableMenus::ItemFont(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas) {
  vcl::TFont* font = ACanvas->Font();
  if (vcl::TFont* global = Unit().MenuFont)
    font->Assign(global);
  else if (vcl::Screen && vcl::Screen->MenuFont())
    font->Assign(vcl::Screen->MenuFont());
  if (vcl::TCustomForm* form = GetOwnerForm(Item)) font->SetCharset(form->Font()->Charset());
  if (Item->Default()) font->SetStyle(font->Style() + vcl::TFontStyles{vcl::fsBold});
}

bool TsSkinableMenus::PrepareFont(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, vcl::TOwnerDrawState State) {
  ItemFont(Item, ACanvas);
  if (!manager_ || !manager_->OnGetPopupItemData) return false;
  vcl::TFont* font = ACanvas->Font();
  const vcl::TColor color = font->Color();
  TqvMenuItemData data{font};
  manager_->OnGetPopupItemData(Item, State, &data);
  return font->Color() != color;
}

vcl::TSize TsSkinableMenus::MeasurePopupItem(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, bool ExtraLine) {
  const TsMenuItemType type = MenuItemType(Item);
  current_type_ = type;
  PrepareFont(Item, ACanvas, {});
  const vcl::TSize text = CalcText(ACanvas, MeasuredText(Item, type), type == smNormal ? 800 : 1);
  const vcl::TSize glyph = MenuGlyphSize(Item);
  vcl::TSize size;
  size.cx = 2 * glyph.cx + text.cx + 3 * margin_ + spacing_;
  if (ExtraLine && InFirstMenuColumn(Item)) size.cx += ExtraLineWidthOf(manager_);
  switch (type) {
    case smDivider: size.cy = 2; break;
    case smCaption: size.cy = text.cy + 2 * (margin_ + 1) + 1; break;
    default: size.cy = std::max(text.cy, glyph.cy) + 2 * (margin_ + 1); break;
  }
  return size;
}

void TsSkinableMenus::PopupMeasure(vcl::TObject* Sender, vcl::TCanvas* ACanvas, int& Width, int& Height) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item || !ACanvas || Destroying(item)) return;
  SetSkinnedPopupShown(true);
  TqvExtraLine line;
  if (const TqvMenuInfo info = GetMenuInfo(*this, item, nullptr, nullptr))
    line = {info.ExtraLine, info.ExtraLineLength};
  else if (item->Parent() && item->Parent()->Count() > 0)
    line = AskExtraLine(manager_, item->Parent()->Items(0));
  // The column is measured first: the item's own measuring leaves the canvas in its font.
  const int room = line.Shown && InFirstMenuColumn(item) ? ExtraLineRoom(item, ACanvas, line) : 0;
  const vcl::TSize size = MeasurePopupItem(item, ACanvas, line.Shown);
  Width = size.cx;
  Height = size.cy + room;
}

int TsSkinableMenus::ExtraLineRoom(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, TqvExtraLine ExtraLine) {
  vcl::TMenuItem* parent = Item ? Item->Parent() : nullptr;
  if (!parent || !ExtraLine.Shown || ExtraLine.Length <= 0 || MenuItemType(Item) != smNormal) return 0;
  // The strip runs the popup's height less the skin's frame; the popup is its items and its
  // own frame. No taller than the screen: a longer caption is cut.
  const int wanted = std::min(ExtraLine.Length + 2 * SkinBorderWidth(), GetSystemMetrics(SM_CYSCREEN)) -
                     2 * border_width_;
  // The first column's visible items and their height (measured only until it is tall enough);
  // the room goes to its plain items, dividers and captions keep their height.
  int height = 0, count = 0, plain = 0, index = -1;
  for (int i = 0; i < parent->Count(); ++i) {
    vcl::TMenuItem* item = parent->Items(i);
    if (!item->Visible()) continue;
    if (count++ > 0 && item->Break() != vcl::mbNone) break;
    if (item == Item) index = plain;
    if (MenuItemType(item) == smNormal) ++plain;
    height += MeasurePopupItem(item, ACanvas, true).cy;
    if (height >= wanted) return 0;
  }
  if (index < 0) return 0;
  // What the column lacks, shared among them, the first ones a pixel more.
  const int lacking = wanted - height;
  return lacking / plain + (index < lacking % plain ? 1 : 0);
}

vcl::TSize TsSkinableMenus::MenuSize(vcl::TMenuItem* FirstItem, vcl::TCanvas* ACanvas, TqvExtraLine ExtraLine) {
  vcl::TMenuItem* parent = FirstItem ? FirstItem->Parent() : nullptr;
  if (!parent) return {};
  int total = 0, column = 0, columnHeight = 0, height = 0;
  bool first = true, firstColumn = true;
  for (int i = 0; i < parent->Count(); ++i) {
    vcl::TMenuItem* item = parent->Items(i);
    if (!item->Visible()) continue;
    if (!first && item->Break() != vcl::mbNone) {
      total += column + 4;
      column = 0;
      columnHeight = 0;
      firstColumn = false;
    }
    first = false;
    const vcl::TSize size = MeasurePopupItem(item, ACanvas, ExtraLine.Shown);
    column = std::max(column, size.cx + 12);
    columnHeight += size.cy + (firstColumn ? ExtraLineRoom(item, ACanvas, ExtraLine) : 0);
    height = std::max(height, columnHeight);
  }
  return {column + total, height};
}

void TsSkinableMenus::BarMeasure(vcl::TObject* Sender, vcl::TCanvas* ACanvas, int& Width, int& Height) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item || !ACanvas || Destroying(item)) return;
  current_type_ = smTopLine;
  // The application's popup item data are for popup items: the menu line keeps the menu font.
  ItemFont(item, ACanvas);
  Height = GetSystemMetrics(SM_CYMENU) - 1;
  Width = ACanvas->TextWidth(vcl::StripHotkey(item->Caption()));
  const vcl::TMenu* menu = item->GetParentMenu();
  if (menu && menu->Images() && item->ImageIndex() >= 0)
    Width += menu->Images()->Width() + 6;
  else if (vcl::TBitmap* bmp = item->Bitmap(); bmp && !bmp->Empty())
    Width += bmp->Width() + 6;
}

}  // namespace skin_layered
