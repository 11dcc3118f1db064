#include "gallery/GalleryForms.h"

#include <commdlg.h>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/RichEdit.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/extctrls/MediaPlayer.h"
#include "classlib/extctrls/TabSet.h"
#include "classlib/forms/Menus.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/rtl/UnitInit.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "gallery/GallerySkin.h"

namespace gallery {
namespace {

// What the list view shows: the skin elements a classic skin draws, with their frames.
struct ElementRow {
  const wchar_t* name;
  const wchar_t* frames;
};
constexpr ElementRow kElementRows[] = {
    {L"Form borders", L"2"},       {L"Caption buttons", L"4"}, {L"Push buttons", L"5"},
    {L"Check boxes", L"12"},       {L"Radio buttons", L"8"},   {L"Tabs", L"5"},
    {L"Scroll bar parts", L"23"},  {L"Scroll thumbs", L"3"},   {L"Track-bar thumbs", L"5"},
    {L"Up-down buttons", L"8"},    {L"Combo buttons", L"4"},   {L"Header sections", L"5"},
    {L"Status panels", L"3"},      {L"Progress bar", L"2"},    {L"Menu bar", L"2"},
};

template <class T>
T* Component(vcl::TComponent* Owner, const wchar_t* Name) {
  return dynamic_cast<T*>(Owner->FindComponent(Name));
}

}  // namespace

VCL_CLASS_INFO(TGalleryMain) {
  VCL_METHOD(TGalleryMain, FormCreate);
  VCL_METHOD(TGalleryMain, DialogButtonClick);
  VCL_METHOD(TGalleryMain, MessageButtonClick);
  VCL_METHOD(TGalleryMain, MdiItemClick);
  VCL_METHOD(TGalleryMain, ExitItemClick);
  VCL_METHOD(TGalleryMain, FormClose);
  VCL_METHOD(TGalleryMain, SampleSkinClick);
  VCL_METHOD(TGalleryMain, VariantSkinClick);
  VCL_METHOD(TGalleryMain, PackageSkinClick);
  VCL_METHOD(TGalleryMain, NoSkinClick);
  VCL_METHOD(TGalleryMain, MenuBarItemClick);
}
VCL_CLASS_INFO(TGalleryDialog) {}
VCL_CLASS_INFO(TGalleryMdiFrame) {
  VCL_METHOD(TGalleryMdiFrame, TileItemClick);
  VCL_METHOD(TGalleryMdiFrame, CascadeItemClick);
}
VCL_CLASS_INFO(TGalleryMdiChild) {}

namespace {

// The gallery's unit: every class its descriptions name, registered by name.
void InitGalleryUnit() {
  for (const vcl::TClassInfo* c :
       {&TGalleryMain::StaticClass(), &TGalleryDialog::StaticClass(), &TGalleryMdiFrame::StaticClass(),
        &TGalleryMdiChild::StaticClass(), &vcl::TMainMenu::StaticClass(), &vcl::TPopupMenu::StaticClass(),
        &vcl::TMenuItem::StaticClass(), &vcl::TLabel::StaticClass(), &vcl::TButton::StaticClass(),
        &vcl::TCheckBox::StaticClass(), &vcl::TRadioButton::StaticClass(), &vcl::TEdit::StaticClass(),
        &vcl::TMemo::StaticClass(), &vcl::TComboBox::StaticClass(), &vcl::TGroupBox::StaticClass(),
        &vcl::TSpeedButton::StaticClass(), &vcl::TPanel::StaticClass(), &vcl::TRadioGroup::StaticClass(),
        &vcl::TPageControl::StaticClass(), &vcl::TTabSheet::StaticClass(), &vcl::TListView::StaticClass(),
        &vcl::TDateTimePicker::StaticClass(), &vcl::THeaderControl::StaticClass(),
        &vcl::TProgressBar::StaticClass(), &vcl::TStatusBar::StaticClass(), &vcl::TToolBar::StaticClass(),
        &vcl::TToolButton::StaticClass(), &vcl::TTrackBar::StaticClass(), &vcl::TUpDown::StaticClass(),
        &vcl::TTreeView::StaticClass(), &vcl::TStringGrid::StaticClass(), &vcl::TRichEdit::StaticClass(),
        &vcl::TBitBtn::StaticClass(), &vcl::TTabSet::StaticClass(), &vcl::TScrollBar::StaticClass(),
        &vcl::TMediaPlayer::StaticClass(), &vcl::TScrollBox::StaticClass()})
    (void)c;
}

const vcl::TUnitRegistration kGalleryUnit{vcl::TUnitGroup::Program, 10, L"GalleryForms", &InitGalleryUnit, nullptr};

}  // namespace

void TGalleryMain::FormCreate(vcl::TObject*) {
  MakeMenuImages();
  if (auto* list = Component<vcl::TListView>(this, L"ListView")) {
    for (const ElementRow& row : kElementRows) {
      vcl::TListItem* item = list->Items()->Add();
      item->SetCaption(row.name);
      item->SubItems()->Add(row.frames);
    }
    list->SetItemIndex(1);
  }
  if (auto* tree = Component<vcl::TTreeView>(this, L"TreeView")) {
    vcl::TTreeNodes* nodes = tree->Items();
    vcl::TTreeNode* forms = nodes->AddChild(nullptr, L"Forms");
    for (const wchar_t* part : {L"Borders", L"Title and caption buttons", L"Menu bar"}) nodes->AddChild(forms, part);
    vcl::TTreeNode* controls = nodes->AddChild(nullptr, L"Controls");
    for (const wchar_t* part : {L"Buttons", L"Check boxes", L"Scroll bars", L"Tabs"}) nodes->AddChild(controls, part);
    nodes->AddChild(nullptr, L"Menus");
    tree->FullExpand();
  }
  if (auto* grid = Component<vcl::TStringGrid>(this, L"StringGrid")) {
    const wchar_t* heads[] = {L"", L"Normal", L"Hot", L"Pressed"};
    for (int c = 0; c < 4; ++c) grid->SetCells(c, 0, heads[c]);
    for (int r = 1; r < grid->RowCount(); ++r) {
      grid->SetCells(0, r, L"Row " + std::to_wstring(r));
      for (int c = 1; c < 4; ++c) grid->SetCells(c, r, std::to_wstring(r * 10 + c));
    }
  }
}

void TGalleryMain::MenuBarItemClick(vcl::TObject* Sender) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item) return;
  item->SetChecked(!item->Checked());
  SetMenu(item->Checked() ? Component<vcl::TMainMenu>(this, L"MainMenu") : nullptr);
}

void TGalleryMain::ShowDialog() {
  auto* dialog = vcl::Construct<TGalleryDialog>(this);
  dialog->ShowModal();
  vcl::TObject::Free(dialog);
}

void TGalleryMain::ShowMessage() {
  vcl::Application->MessageBox(L"The skin gallery shows every control kind under a classic skin.\r\n"
                               L"Message boxes are skinned like any other dialog.",
                               L"About the skin gallery", MB_OK | MB_ICONINFORMATION);
}

// The MDI frame is the application's main form (MDI children need it there); it gets two
// document windows, cascaded.
void TGalleryMain::ShowMdiWindows() {
  auto* frame = dynamic_cast<TGalleryMdiFrame*>(vcl::Application->MainForm());
  if (!frame) return;
  frame->Show();
  ShowMdiDocuments(frame);
}

void ShowMdiDocuments(TGalleryMdiFrame* frame) {
  while (frame->MDIChildCount() < 2) {
    auto* child = vcl::Construct<TGalleryMdiChild>(nullptr);
    const int n = frame->MDIChildCount();
    child->SetCaption(n == 1 ? L"First document" : L"Second document");
    child->SetBounds(16 + 40 * (n - 1), 12 + 36 * (n - 1), 320, 220);
    child->Show();
  }
}

vcl::TMenuItem* TGalleryMdiFrame::SkinMenu() { return Component<vcl::TMenuItem>(this, L"FrameSkinMenu"); }

void TGalleryMdiFrame::BeforeDestruction() {
  while (MDIChildCount() > 0) vcl::TObject::Free(MDIChildren(0));
  TForm::BeforeDestruction();
}

void TGalleryMdiFrame::TileItemClick(vcl::TObject*) {
  if (ClientHandle()) SendMessageW(ClientHandle(), WM_MDITILE, MDITILE_VERTICAL, 0);
}

void TGalleryMdiFrame::CascadeItemClick(vcl::TObject*) {
  if (ClientHandle()) SendMessageW(ClientHandle(), WM_MDICASCADE, 0, 0);
}

void TGalleryMain::ShowPopup() {
  auto* popup = Component<vcl::TPopupMenu>(this, L"FormPopup");
  if (!popup) return;
  const vcl::TPoint at = ClientToScreen(vcl::TPoint(40, 80));
  popup->Popup(at.X, at.Y);
}

void TGalleryMain::ShowMainMenu() {
  // Alt+F: the skinned bar opens its item; an unskinned window its native menu.
  if (HandleAllocated()) PostMessageW(Handle(), WM_SYSCOMMAND, SC_KEYMENU, L'f');
}

// The main menu's images (new page, open, save), drawn here: 16 x 16, magenta transparent.
void TGalleryMain::MakeMenuImages() {
  auto* menu = Component<vcl::TMainMenu>(this, L"MainMenu");
  if (!menu) return;
  auto* images = new vcl::TImageList(this);
  images->SetName(L"MenuImages");
  vcl::TBitmap strip;
  strip.SetPixelFormat(vcl::pf24bit);
  strip.SetSize(48, 16);
  vcl::TCanvas* c = strip.Canvas();
  c->Brush()->SetColor(vcl::clFuchsia);
  c->FillRect(vcl::Rect(0, 0, 48, 16));
  auto box = [&](int l, int t, int r, int b, vcl::TColor fill, vcl::TColor line) {
    c->Brush()->SetColor(fill);
    c->Pen()->SetColor(line);
    c->Rectangle(l, t, r, b);
  };
  box(3, 1, 13, 15, vcl::clWhite, 0x704830);        // a page
  box(16 + 1, 4, 16 + 15, 14, 0x40C0F0, 0x206090);  // a folder
  box(16 + 1, 2, 16 + 7, 5, 0x40C0F0, 0x206090);
  box(32 + 1, 1, 32 + 15, 15, 0xC06030, 0x603010);  // a disk
  box(32 + 4, 2, 32 + 12, 7, vcl::clWhite, 0x603010);
  images->AddMasked(&strip, vcl::clFuchsia);
  menu->SetImages(images);
}

// ---------------------------------------------------------------------------------------
// The Skin menu

namespace {

winskin::TSkinData* GallerySkin(vcl::TComponent* Form) {
  return dynamic_cast<winskin::TSkinData*>(Form->FindComponent(L"GallerySkin"));
}

// A package file chosen in the system's file dialog; empty when none was.
std::wstring ChoosePackage(HWND Owner) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Owner;
  ofn.lpstrFilter = L"Classic skin packages (*.skn)\0*.skn\0All files\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = L"Open a classic skin package";
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  return GetOpenFileNameW(&ofn) ? std::wstring(file) : std::wstring();
}

}  // namespace

void TGalleryMain::WearClassicSkin(const std::optional<std::wstring>& File) {
  if (ApplyClassicSkin(this, File)->Active() && File) CheckSkinItem(Component<vcl::TMenuItem>(this, L"PackageSkinItem"));
}

void TGalleryMain::AddSkinMenu(vcl::TMenuItem* Menu) {
  auto* own = Component<vcl::TMenuItem>(this, L"SkinMenu");
  if (!Menu || !own) return;
  std::vector<vcl::TMenuItem*> items;
  for (int i = 0; i < own->Count(); ++i) {
    // Owned by this form, whose handlers they call: they go with it.
    auto* item = new vcl::TMenuItem(this);
    item->SetCaption(own->Items(i)->Caption());
    item->SetRadioItem(own->Items(i)->RadioItem());
    item->SetChecked(own->Items(i)->Checked());
    item->SetTag(i);
    item->OnClick = vcl::TNotifyEvent::Bind<&TGalleryMain::MirrorSkinItemClick>(this);
    Menu->Add(item);
    items.push_back(item);
  }
  Menu->SetVisible(true);
  mirrors_.push_back(std::move(items));
}

void TGalleryMain::MirrorSkinItemClick(vcl::TObject* Sender) {
  auto* own = Component<vcl::TMenuItem>(this, L"SkinMenu");
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (own && item && item->Tag() >= 0 && item->Tag() < own->Count()) own->Items(static_cast<int>(item->Tag()))->Click();
}

void TGalleryMain::CheckSkinItem(vcl::TObject* Item) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Item);
  if (!item) return;
  item->SetChecked(true);
  // Every Skin menu checks the same item.
  if (auto* own = Component<vcl::TMenuItem>(this, L"SkinMenu"))
    for (const std::vector<vcl::TMenuItem*>& mirror : mirrors_)
      for (std::size_t i = 0; i < mirror.size() && i < static_cast<std::size_t>(own->Count()); ++i)
        mirror[i]->SetChecked(own->Items(static_cast<int>(i))->Checked());
}

void TGalleryMain::SampleSkinClick(vcl::TObject* Sender) {
  if (UseSampleSkin(GallerySkin(this))) CheckSkinItem(Sender);
}

void TGalleryMain::VariantSkinClick(vcl::TObject* Sender) {
  if (UsePackage(GallerySkin(this), SamplePackage(L"Jade.skn"))) CheckSkinItem(Sender);
}

void TGalleryMain::PackageSkinClick(vcl::TObject* Sender) {
  const std::wstring file = ChoosePackage(HandleAllocated() ? Handle() : nullptr);
  if (file.empty()) return;
  if (UsePackage(GallerySkin(this), file)) CheckSkinItem(Sender);
}

void TGalleryMain::NoSkinClick(vcl::TObject* Sender) {
  Unskin(GallerySkin(this));
  CheckSkinItem(Sender);
}

void TGalleryMain::DialogButtonClick(vcl::TObject*) { ShowDialog(); }
void TGalleryMain::MessageButtonClick(vcl::TObject*) { ShowMessage(); }
void TGalleryMain::MdiItemClick(vcl::TObject*) { ShowMdiWindows(); }

void TGalleryMain::ExitItemClick(vcl::TObject*) { vcl::Application->Terminate(); }

// The program's main form (the MDI frame) may be hidden by the page shown: closing this form
// then ends the program.
void TGalleryMain::FormClose(vcl::TObject*, vcl::TCloseAction&) {
  vcl::TCustomForm* frame = vcl::Application->MainForm();
  if (frame && frame != this && !frame->Visible()) vcl::Application->Terminate();
}

}  // namespace gallery
