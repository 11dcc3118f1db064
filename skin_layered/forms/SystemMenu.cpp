#include "skin_layered/forms/SystemMenu.h"

#include <string>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/forms/TitleElements.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

VCL_CLASS_INFO(TsCustomSysMenu) {}
VCL_CLASS_INFO(TsSystemMenu) {}

namespace {

// The range of the system's own commands (SC_*).
constexpr UINT kFirstSysCommand = 0xF000;
constexpr UINT kLastSysCommand = 0xF200;

// The standard commands in their order, with the engine's text for a real menu that lacks one.
struct TStandardItem {
  UINT Command;
  const wchar_t* Name;
  TqvLibString Fallback;
  vcl::TMenuItem* TsSystemMenu::*Field;
};
constexpr TStandardItem kStandardItems[] = {
    {SC_RESTORE, L"qvIR", TqvLibString::Restore, &TsSystemMenu::ItemRestore},
    {SC_MOVE, L"qvIM", TqvLibString::Move, &TsSystemMenu::ItemMove},
    {SC_SIZE, L"qvIS", TqvLibString::Size, &TsSystemMenu::ItemSize},
    {SC_MINIMIZE, L"qvIN", TqvLibString::Minimize, &TsSystemMenu::ItemMinimize},
    {SC_MAXIMIZE, L"qvIX", TqvLibString::Maximize, &TsSystemMenu::ItemMaximize},
};

// A real menu entry's text by command or position: caption and, after a TAB, the shortcut.
struct TMenuText {
  bool Found = false;
  vcl::String Caption;
  vcl::String ShortCut;
};

TMenuText SplitText(const wchar_t* Text, int Length) {
  TMenuText text;
  if (Length <= 0) return text;
  text.Found = true;
  const vcl::String all(Text, static_cast<std::size_t>(Length));
  const std::size_t tab = all.find(L'\t');
  text.Caption = all.substr(0, tab);
  if (tab != vcl::String::npos) text.ShortCut = all.substr(tab + 1);
  return text;
}

TMenuText ReadText(HMENU Menu, UINT Item, UINT Flags) {
  wchar_t buffer[256] = {};
  return SplitText(buffer, Menu ? GetMenuStringW(Menu, Item, buffer, 255, Flags) : 0);
}

// Copies an application item with its sub-items (recursively).
vcl::TMenuItem* CopyItem(vcl::TComponent* Owner, const vcl::TMenuItem* Source) {
  auto* item = new vcl::TMenuItem(Owner);
  item->SetCaption(Source->Caption());
  item->SetShortCut(Source->ShortCut());
  item->SetChecked(Source->Checked());
  item->SetEnabled(Source->Enabled());
  item->OnClick = Source->OnClick;
  item->SetImageIndex(Source->ImageIndex());
  if (!Source->Name().empty()) item->SetName(Source->Name() + L"Copy");
  for (int i = 0; i < Source->Count(); ++i) item->Add(CopyItem(Owner, Source->Items(i)));
  return item;
}

}  // namespace

TsSystemMenu::TsSystemMenu(TqvSysMenuOwner* AOwner)
    : TsCustomSysMenu(AOwner ? AOwner->SysMenuComponent() : nullptr),
      FProvider(AOwner),
      FForm(AOwner ? AOwner->SysMenuForm() : nullptr) {
  SetName(kSysMenuNamePrefix + std::to_wstring(GetTickCount()));
  Generate();
}

HMENU TsSystemMenu::RealMenu() const {
  return FForm && FForm->HandleAllocated() ? GetSystemMenu(FForm->Handle(), FALSE) : nullptr;
}

vcl::TMenuItem* TsSystemMenu::NewItem(const vcl::String& Caption, const vcl::String& Name, intptr_t Tag) {
  auto* item = new vcl::TMenuItem(this);
  item->SetCaption(Caption);
  if (!Name.empty()) item->SetName(Name);
  item->SetTag(Tag);
  return item;
}

void TsSystemMenu::Generate() {
  Items()->Clear();
  ItemRestore = ItemMove = ItemSize = ItemMinimize = ItemMaximize = ItemClose = SubMenuItem = nullptr;
  extra_count_ = 0;
  const HMENU real = RealMenu();

  AddSubMenu(static_cast<int>(ipTop));
  for (const TStandardItem& standard : kStandardItems) {
    TMenuText text = ReadText(real, standard.Command, MF_BYCOMMAND);
    vcl::TMenuItem* item =
        NewItem(text.Found ? text.Caption : LibString(standard.Fallback), standard.Name, standard.Command);
    item->OnClick = vcl::TNotifyEvent::Bind<&TsSystemMenu::StandardClick>(this);
    this->*standard.Field = item;
    Items()->Add(item);
  }
  Items()->Add(NewItem(L"-", {}, 0));

  // The real menu's other commands (an application's own below SC_SIZE, or beyond the
  // standard range), with their shortcuts; separators are left out.
  const int count = real ? GetMenuItemCount(real) : 0;
  for (int i = 0; i < count; ++i) {
    const UINT id = GetMenuItemID(real, i);
    if (id == static_cast<UINT>(-1) || (id >= kFirstSysCommand && id < kLastSysCommand)) continue;
    const TMenuText text = ReadText(real, static_cast<UINT>(i), MF_BYPOSITION);
    if (!text.Found || text.Caption.empty()) continue;
    vcl::TMenuItem* item = NewItem(text.Caption, {}, id);
    if (!text.ShortCut.empty()) item->SetShortCut(vcl::TextToShortCut(text.ShortCut));
    item->OnClick = vcl::TNotifyEvent::Bind<&TsSystemMenu::ExtraClick>(this);
    Items()->Add(item);
    ++extra_count_;
  }
  if (extra_count_ > 0) Items()->Add(NewItem(L"-", {}, 0));

  AddSubMenu(static_cast<int>(ipBeforeClose));
  const TMenuText close = ReadText(real, SC_CLOSE, MF_BYCOMMAND);
  ItemClose = NewItem(close.Found ? close.Caption : LibString(TqvLibString::Close), L"qvIC", SC_CLOSE);
  if (!close.ShortCut.empty()) ItemClose->SetShortCut(vcl::TextToShortCut(close.ShortCut));
  ItemClose->OnClick = vcl::TNotifyEvent::Bind<&TsSystemMenu::StandardClick>(this);
  Items()->Add(ItemClose);
  ItemClose->SetEnabled(CloseEnabled());
  AddSubMenu(static_cast<int>(ipBottom));
}

void TsSystemMenu::AddSubMenu(int Position) {
  const TqvSysSubMenu* sub = FProvider ? FProvider->SysSubMenu() : nullptr;
  if (!sub || static_cast<int>(sub->Position()) != Position || sub->Caption().empty() || !sub->PopupMenu()) return;
  if (Position == static_cast<int>(ipBottom)) Items()->Add(NewItem(L"-", L"qv_BtmDiv", 0));
  SubMenuItem = NewItem(sub->Caption(), L"qv_SubMenu", 0);
  Items()->Add(SubMenuItem);
  vcl::TMenuItem* source = sub->PopupMenu()->Items();
  for (int i = 0; i < source->Count(); ++i) SubMenuItem->Add(CopyItem(this, source->Items(i)));
  SetImages(sub->PopupMenu()->Images());
  if (Position != static_cast<int>(ipBottom)) Items()->Add(NewItem(L"-", L"qv_TopDiv", 0));
}

void TsSystemMenu::UpdateItems(bool Rebuild) {
  if (Rebuild || !ItemClose) Generate();
  if (!FForm) return;
  ItemRestore->SetVisible(RestoreVisible());
  ItemRestore->SetEnabled(RestoreEnabled());
  ItemMove->SetVisible(true);
  ItemMove->SetEnabled(MoveEnabled());
  ItemSize->SetVisible(SizeVisible());
  ItemSize->SetEnabled(SizeEnabled());
  ItemMinimize->SetVisible(MinimizeVisible());
  ItemMinimize->SetEnabled(MinimizeEnabled());
  ItemMaximize->SetVisible(MaximizeVisible());
  ItemMaximize->SetEnabled(MaximizeEnabled());
  ItemClose->SetVisible(CloseVisible());
  ItemClose->SetEnabled(CloseEnabled());
}

void TsSystemMenu::MakeSkinItems() {
  TsSkinManager* manager = FProvider ? FProvider->SkinManager() : nullptr;
  if (!manager) return;
  vcl::TStringList names;
  vcl::String first;
  manager->GetSkinNames(&names, kSkinFoldersAndPacks, first);
  if (names.Count() == 0) return;
  vcl::TMenuItem* skins = NewItem(LibString(TqvLibString::AvailSkins), kSkinSelectItemName, 0);
  Items()->Insert(0, skins);
  Items()->Insert(1, NewItem(L"-", {}, 0));
  bool checked = false;
  for (int i = 0; i < names.Count(); ++i) {
    vcl::TMenuItem* item = NewItem(names.Strings(i), kSkinSelectItemName + std::to_wstring(i), 0);
    item->SetRadioItem(true);
    item->OnClick = vcl::TNotifyEvent::Bind<&TsSystemMenu::SkinClick>(this);
    if (i > 0 && i % kSkinsPerColumn == 0) item->SetBreak(vcl::mbBreak);
    skins->Add(item);
    if (!checked && names.Strings(i) == manager->SkinName()) {
      item->SetChecked(true);
      checked = true;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Clicks

void TsSystemMenu::StandardClick(vcl::TObject* Sender) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item || !FForm || !FForm->HandleAllocated()) return;
  const HWND wnd = FForm->Handle();
  const auto command = static_cast<WPARAM>(item->Tag());
  if (command == SC_MINIMIZE && FProvider) {
    FProvider->SetMinimizingFromMenu(true);
    SendMessageW(wnd, WM_SYSCOMMAND, command, 0);
    FProvider->SetMinimizingFromMenu(false);
    if (TsSystemMenu* menu = FProvider->CurrentSystemMenu()) menu->UpdateItems(false);
    return;
  }
  SendMessageW(wnd, WM_SYSCOMMAND, command, 0);
  if (command == SC_RESTORE || command == SC_MAXIMIZE) UpdateItems(false);
}

void TsSystemMenu::ExtraClick(vcl::TObject* Sender) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (item && FForm && FForm->HandleAllocated())
    PostMessageW(FForm->Handle(), WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}

void TsSystemMenu::SkinClick(vcl::TObject* Sender) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  TsSkinManager* manager = FProvider ? FProvider->SkinManager() : nullptr;
  if (!item || !manager) return;
  vcl::String name;
  for (wchar_t c : item->Caption())
    if (c != L'&') name += c;
  // A stored skin's name carries the marker; the name ends with it.
  const vcl::String& marker = LibString(TqvLibString::Internal);
  if (const std::size_t at = marker.empty() ? vcl::String::npos : name.find(marker); at != vcl::String::npos)
    name = name.substr(0, at + marker.size());
  manager->SetSkinName(name);
}

// ---------------------------------------------------------------------------------------
// What the form allows

bool TsSystemMenu::HasSystemMenu() const { return FForm && FForm->BorderIcons().Contains(vcl::biSystemMenu); }

bool TsSystemMenu::Framed() const {
  const vcl::TFormBorderStyle style = FForm->BorderStyle();
  return style == vcl::TFormBorderStyle::bsSingle || style == vcl::TFormBorderStyle::bsSizeable;
}

bool TsSystemMenu::MdiChild() const { return FForm->FormStyle() == vcl::fsMDIChild; }

bool TsSystemMenu::Iconic() const { return FForm->HandleAllocated() && IsIconic(FForm->Handle()); }

bool TsSystemMenu::RestoreVisible() const { return HasSystemMenu() && (MdiChild() || Framed()); }

bool TsSystemMenu::RestoreEnabled() const {
  if (!FForm) return false;
  return (FForm->BorderIcons().Contains(vcl::biMaximize) && FForm->WindowState() != vcl::wsNormal) ||
         FForm->WindowState() == vcl::wsMinimized || Iconic();
}

bool TsSystemMenu::MoveEnabled() const { return FForm && FForm->WindowState() != vcl::wsMaximized; }

bool TsSystemMenu::SizeVisible() const {
  if (!FForm) return false;
  const vcl::TFormBorderStyle style = FForm->BorderStyle();
  return MdiChild() || (style != vcl::TFormBorderStyle::bsNone && style != vcl::TFormBorderStyle::bsDialog &&
                        style != vcl::TFormBorderStyle::bsToolWindow);
}

bool TsSystemMenu::SizeEnabled() const {
  return FForm && FForm->BorderStyle() != vcl::TFormBorderStyle::bsSingle && !Iconic();
}

bool TsSystemMenu::MinimizeVisible() const {
  return HasSystemMenu() && (Iconic() || MdiChild() || (Framed() && FForm->BorderIcons().Contains(vcl::biMinimize)));
}

bool TsSystemMenu::MinimizeEnabled() const {
  if (!FForm || !FForm->BorderIcons().Contains(vcl::biMinimize)) return false;
  return !Iconic() || (vcl::Application && vcl::Application->MainForm() == FForm);
}

bool TsSystemMenu::MaximizeVisible() const {
  return HasSystemMenu() && (Iconic() || MdiChild() || (Framed() && FForm->BorderIcons().Contains(vcl::biMaximize)));
}

bool TsSystemMenu::MaximizeEnabled() const {
  return FForm && (MdiChild() || Framed()) && FForm->BorderIcons().Contains(vcl::biMaximize);
}

bool TsSystemMenu::CloseVisible() const {
  const HMENU real = RealMenu();
  return HasSystemMenu() && real && GetMenuState(real, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

bool TsSystemMenu::CloseEnabled() const {
  const HMENU real = RealMenu();
  if (!real) return true;
  const UINT state = GetMenuState(real, SC_CLOSE, MF_BYCOMMAND);
  // A grayed entry counts as disabled too (the two bits go together on Windows).
  return state == static_cast<UINT>(-1) || !(state & (MF_DISABLED | MF_GRAYED));
}

}  // namespace skin_layered
