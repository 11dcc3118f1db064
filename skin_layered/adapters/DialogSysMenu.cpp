#include "skin_layered/adapters/DialogSysMenu.h"

#include "skin_layered/core/LibraryStrings.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSystemMenu) {}

namespace {
constexpr vcl::TShortCut kAltF4 = 0x8073;
}

TqvSystemMenu::TqvSystemMenu(vcl::TComponent* AOwner) : TsCustomSysMenu(AOwner) {
  ItemRestore = AddItem(LibString(TqvLibString::Restore), L"miRestore", vcl::TNotifyEvent::Bind<&TqvSystemMenu::RestoreClick>(this));
  ItemMove = AddItem(LibString(TqvLibString::Move), L"miMove", vcl::TNotifyEvent::Bind<&TqvSystemMenu::MoveClick>(this));
  ItemSize = AddItem(LibString(TqvLibString::Size), L"miSize", vcl::TNotifyEvent::Bind<&TqvSystemMenu::SizeClick>(this));
  ItemMinimize = AddItem(LibString(TqvLibString::Minimize), L"miMinimize", vcl::TNotifyEvent::Bind<&TqvSystemMenu::MinimizeClick>(this));
  ItemMaximize = AddItem(LibString(TqvLibString::Maximize), L"miMaximize", vcl::TNotifyEvent::Bind<&TqvSystemMenu::MaximizeClick>(this));
  auto* separator = new vcl::TMenuItem(this);
  separator->SetCaption(L"-");
  Items()->Add(separator);
  ItemClose = AddItem(LibString(TqvLibString::Close), L"miClose", vcl::TNotifyEvent::Bind<&TqvSystemMenu::CloseClick>(this));
  ItemClose->SetShortCut(kAltF4);
}

vcl::TMenuItem* TqvSystemMenu::AddItem(const vcl::String& Caption, const wchar_t* Name, vcl::TNotifyEvent Click) {
  auto* item = new vcl::TMenuItem(this);
  item->SetCaption(Caption);
  item->SetName(Name);
  item->OnClick = Click;
  Items()->Add(item);
  return item;
}

bool TqvSystemMenu::CloseVisible() const { return Dialog && Dialog->HasSysMenu(); }
bool TqvSystemMenu::MaximizeVisible() const { return Dialog && Dialog->HasMaxBox(); }
bool TqvSystemMenu::MinimizeVisible() const { return Dialog && Dialog->HasMinBox(); }
bool TqvSystemMenu::MaximizeEnabled() const { return Dialog && Dialog->MaxEnabled(); }
bool TqvSystemMenu::MinimizeEnabled() const { return Dialog && Dialog->MinEnabled(); }
bool TqvSystemMenu::RestoreEnabled() const { return Dialog && Dialog->RestoreEnabled(); }

void TqvSystemMenu::UpdateItems() {
  if (!Dialog) return;
  const HWND wnd = Dialog->MenuDialogWindow();
  const int kind = Dialog->MenuDialogFrameKind();
  const bool iconic = IsIconic(wnd) != FALSE, zoomed = IsZoomed(wnd) != FALSE;
  ItemRestore->SetVisible((kind == 1 || kind == 3) && Dialog->HasSysMenu());
  ItemRestore->SetEnabled(RestoreEnabled());
  ItemMove->SetVisible(true);
  ItemMove->SetEnabled(!zoomed);
  ItemSize->SetVisible(kind != 0 && kind != 2 && kind != 4);
  ItemSize->SetEnabled(kind != 1 && !iconic);
  ItemMinimize->SetVisible(MinimizeVisible());
  ItemMinimize->SetEnabled(MinimizeEnabled());
  ItemMaximize->SetVisible(MaximizeVisible());
  ItemMaximize->SetEnabled(MaximizeEnabled());
  ItemClose->SetVisible(CloseVisible());
  ItemClose->SetEnabled(true);
}

void TqvSystemMenu::ShowAt(int X, int Y) {
  if (!Dialog) return;
  UpdateItems();
  Popup(X, Y);
}

void TqvSystemMenu::Command(UINT Code) {
  if (Dialog) SendMessageW(Dialog->MenuDialogWindow(), WM_SYSCOMMAND, Code, 0);
}

void TqvSystemMenu::RestoreClick(vcl::TObject*) {
  Command(SC_RESTORE);
  UpdateItems();
}

void TqvSystemMenu::MaximizeClick(vcl::TObject*) {
  Command(SC_MAXIMIZE);
  UpdateItems();
}

}  // namespace skin_layered
