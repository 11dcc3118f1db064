#include "gallery/GalleryLayered.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <commctrl.h>

#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/comctrls/UpDown.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/forms/Menus.h"
#include "classlib/stdctrls/StaticText.h"
#include "classlib/forms/ScrollBox.h"
#include "gallery/GalleryDialogs.h"
#include "gallery/GallerySheet.h"
#include "gallery/GalleryScrolling.h"
#include "gallery/GalleryShot.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinLoading.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintWindows.h"
#include "skin_layered/paint/SectionPaint.h"

namespace gallery {

using skin_layered::kSkinCmdMessage;
using skin_layered::SkinCommandOf;
using skin_layered::TsCommonData;

VCL_CLASS_INFO(TLayeredEdit) {}
VCL_CLASS_INFO(TLayeredPanel) {}
VCL_CLASS_INFO(TGalleryLayered) {}

namespace {

constexpr wchar_t kStoredName[] = L"Lagoon (stored)";

std::optional<LayeredSource>& PageSource() {
  static std::optional<LayeredSource> source;
  return source;
}

std::wstring WithoutSlash(std::wstring Path) {
  while (!Path.empty() && (Path.back() == L'\\' || Path.back() == L'/')) Path.pop_back();
  return Path;
}

// The same skin: both folders or both packs (or stored skins) naming one place, however the
// paths are written (relative parts, slashes, letter case, another drive for the same folder).
bool SameSource(const LayeredSource& A, const LayeredSource& B) {
  const bool folderA = !A.name.empty() && A.name.back() == L'\\';
  const bool folderB = !B.name.empty() && B.name.back() == L'\\';
  if (folderA != folderB) return false;
  const std::filesystem::path a = std::filesystem::path(WithoutSlash(A.directory)) / WithoutSlash(A.name);
  const std::filesystem::path b = std::filesystem::path(WithoutSlash(B.directory)) / WithoutSlash(B.name);
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  // What is not a file (a skin stored in the form) is compared by its written path.
  return _wcsicmp(a.lexically_normal().c_str(), b.lexically_normal().c_str()) == 0;
}

// The manager's name of a skin and a source's: a pack's without its extension.
bool SameName(const std::wstring& Manager, std::wstring Source) {
  if (Source.size() > 4 && _wcsicmp(Source.c_str() + Source.size() - 4, L".pmz") == 0) Source.resize(Source.size() - 4);
  return _wcsicmp(Manager.c_str(), Source.c_str()) == 0;
}

void Report(const std::wstring& Text) {
  NoteFailure();
  Say(Text);
  vcl::Application->MessageBox(Text, L"Skin gallery", MB_OK | MB_ICONWARNING);
}

}  // namespace

std::wstring SampleLayeredFolder() { return skin_layered::ProgramFolder() + L"..\\skins\\layered"; }

LayeredSource LayeredSourceOf(const std::wstring& Path) {
  // A path as the user typed it counts from the current folder (the manager takes a relative
  // skin folder from the program's folder); "/dir" is the current drive's.
  std::filesystem::path path(WithoutSlash(Path));
  std::error_code error;
  if (std::filesystem::path full = std::filesystem::absolute(path, error); !error) path = full;
  const std::wstring directory = path.parent_path().wstring();
  const std::wstring file = path.filename().wstring();
  if (path.extension() == L".pmz" || path.extension() == L".PMZ")
    return {path.stem().wstring() + L" (pack)", directory, file};
  return {file + L" (folder)", directory, file + L"\\"};
}

// ---------------------------------------------------------------------------------------
// Controls carrying skin data

TLayeredEdit::TLayeredEdit(vcl::TComponent* AOwner)
    : TEdit(AOwner), skin_data_(std::make_unique<TsCommonData>(this, true)) {
  skin_data_->COC = 2;
}

void TLayeredEdit::WndProc(vcl::TMessage& Message) {
  if (!skin_layered::CommonMessage(Message, skin_data_.get())) TEdit::WndProc(Message);
}

TLayeredPanel::TLayeredPanel(vcl::TComponent* AOwner)
    : TPanel(AOwner), skin_data_(std::make_unique<TsCommonData>(this, true)) {
  skin_data_->COC = 51;
}

void TLayeredPanel::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && SkinCommandOf(Message.WParam) == skin_layered::scmPrepareCache) {
    PrepareCache();
    return;
  }
  if (!skin_layered::CommonMessage(Message, skin_data_.get())) TPanel::WndProc(Message);
  // A skinned container passes the skin's announcements on to its controls itself.
  if (Message.Msg == kSkinCmdMessage) {
    switch (SkinCommandOf(Message.WParam)) {
      case skin_layered::scmNewSkin:
      case skin_layered::scmRemoveSkin:
      case skin_layered::scmRefresh:
      case skin_layered::scmBeforeRefresh: {
        vcl::TMessage copy = Message;
        skin_layered::BroadcastCommand(this, copy);
        break;
      }
      default: break;
    }
  }
}

void TLayeredPanel::PrepareCache() {
  TsCommonData* data = skin_data_.get();
  if (!data->Skinned()) return;
  data->InitCacheBmp();
  skin_layered::TqvCacheInfo behind;
  data->FillParentBg(behind);
  skin_layered::PaintItem(data->ControlSkin(), behind, 0, vcl::TRect{0, 0, Width(), Height()}, vcl::TPoint{0, 0},
                          data->CacheBmp(), true);
  data->BGChanged = false;
}

void TLayeredPanel::Paint() {
  TsCommonData* data = skin_data_.get();
  const skin_layered::TsGeneralData* section = data->Section();
  vcl::TColor textColor = Font()->Color();
  if (section) {
    vcl::TBitmap* cache = data->CacheBmp();
    if (data->BGChanged || !cache || cache->Width() != Width() || cache->Height() != Height()) PrepareCache();
    BitBlt(Canvas()->Handle(), 0, 0, Width(), Height(), data->CacheBmp()->Canvas()->Handle(), 0, 0, SRCCOPY);
    textColor = section->Props[0].FontColor;
  } else {
    // Unskinned: the plain raised face. The caption keeps its place at the top, since the
    // panel's centre is the note's.
    vcl::TRect r = ClientRect();
    vcl::Frame3D(Canvas(), r, vcl::clBtnHighlight, vcl::clBtnShadow, 1);
    Canvas()->Brush()->SetStyle(vcl::bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
  }
  // The caption, top left, over the face.
  HDC dc = Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(vcl::ColorToRGB(textColor)));
  SelectObject(dc, Font()->Handle());
  RECT r{12, 8, Width() - 12, 30};
  DrawTextW(dc, Caption().c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------------------
// The sheet of sections

VCL_CLASS_INFO(TSectionSheet) {}

TSectionSheet::TSectionSheet(vcl::TComponent* AOwner) : TGraphicControl(AOwner) {
  layout_.Columns = 1;
  layout_.CellWidth = 110;
  SetVisible(false);
  SetControlStyle(ControlStyle() + vcl::TControlStyle{vcl::csOpaque});
}

void TSectionSheet::ShowSkin(const skin_layered::TsLoadedSkin* Skin) {
  skin_ = Skin;
  if (skin_) {
    const vcl::TPoint size = skin_layered::SectionGridSize(*skin_, layout_);
    SetBounds(Left(), Top(), size.X, size.Y);
  }
  SetVisible(skin_ != nullptr);
  Invalidate();
}

void TSectionSheet::Paint() {
  // Nothing while a skin loads: its tables are being refilled.
  if (!skin_ || skin_layered::SkinIsLoading()) return;
  // What is to be painted, never more than the parent shows of the sheet.
  vcl::TRect area = Canvas()->ClipRect();
  if (vcl::TWinControl* parent = Parent()) {
    const vcl::TRect client = parent->ClientRect();
    area.Left = std::max(area.Left, client.Left - Left());
    area.Top = std::max(area.Top, client.Top - Top());
    area.Right = std::min(area.Right, client.Right - Left());
    area.Bottom = std::min(area.Bottom, client.Bottom - Top());
  }
  const std::unique_ptr<vcl::TBitmap> part = skin_layered::PaintSectionGridArea(*skin_, layout_, area);
  if (!part) return;
  BitBlt(Canvas()->Handle(), area.Left, area.Top, part->Width(), part->Height(), part->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// The page

void TGalleryLayered::SetPageSource(const LayeredSource& Source) { PageSource() = Source; }

TGalleryLayered::TGalleryLayered(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
  Build(PageSource() ? *PageSource() : LayeredSource{L"Lagoon (folder)", SampleLayeredFolder(), L"Lagoon\\"});
}

void TGalleryLayered::Build(const LayeredSource& Source) {
  SetCaption(L"Skin gallery: layered skins");
  SetBounds(40, 40, 1250, 920);
  manager_ = vcl::Construct<skin_layered::TsSkinManager>(this);
  manager_->SetActive(false);
  manager_->OnAfterChange = vcl::TNotifyEvent::Bind<&TGalleryLayered::ManagerChanged>(this);
  manager_->OnDeactivate = vcl::TNotifyEvent::Bind<&TGalleryLayered::ManagerChanged>(this);
  // The form's skin provider takes the form's messages and paints its frame, caption, title
  // buttons, icon and size grip from the skin.
  auto* provider = vcl::Construct<skin_layered::TsSkinProvider>(this);
  provider->SetGripMode(skin_layered::gmRightBottom);
  auto* hints = new skin_layered::TsHintManager(this);
  hints->OnHideHint = vcl::TNotifyEvent::Bind<&TGalleryLayered::HintHidden>(this);

  menu_ = new vcl::TMainMenu(this);
  skins_item_ = new vcl::TMenuItem(menu_);
  skins_item_->SetCaption(L"&Skin");
  menu_->Items()->Add(skins_item_);
  SetMenu(menu_);

  // The command line's skin first, then the sample skin in every form and its variant (each
  // once: the command line may name one of them).
  const std::wstring sample = SampleLayeredFolder();
  AddSource(Source);
  AddSource({L"Lagoon (folder)", sample, L"Lagoon\\"});
  AddSource({L"Lagoon (pack)", sample, L"Lagoon.pmz"});
  if (std::filesystem::exists(sample + L"\\Lagoon.pmz")) {
    skin_layered::TsStoredSkin* stored = manager_->InternalSkins()->Add();
    stored->SetName(kStoredName);
    stored->Data()->LoadFromFile(sample + L"\\Lagoon.pmz");
    AddSource({L"Lagoon (stored in the form)", sample, kStoredName});
  }
  AddSource({L"Ember (pack)", sample, L"Ember.pmz"});
  AddSource({L"Ember (folder)", sample, L"Ember\\"});
  AddSkinMenu(skins_item_);
  auto* windows = new vcl::TMenuItem(menu_);
  windows->SetCaption(L"&Windows");
  menu_->Items()->Add(windows);
  auto* scrolling = new vcl::TMenuItem(menu_);
  scrolling->SetCaption(L"&Scrolling form");
  scrolling->OnClick = vcl::TNotifyEvent::Bind<&TGalleryLayered::ScrollingClick>(this);
  windows->Add(scrolling);

  BuildSampleMenu();
  BuildTitleBar();

  content_ = new TLayeredPanel(this);
  content_->SetParent(this);
  content_->SetBounds(8, 8, 250, 230);
  content_->SetCaption(L"A panel painted from its section");
  auto addEdit = [this](int top, const wchar_t* text) {
    auto* edit = new TLayeredEdit(this);
    edit->SetParent(content_);
    edit->SetBounds(16, top, 218, 24);
    edit->SetText(text);
    return edit;
  };
  edit_ = addEdit(44, L"An edit in the section's colours");
  addEdit(80, L"Focus or hover: the hot colours");
  auto* note = new vcl::TLabel(this);
  note->SetParent(content_);
  note->SetBounds(16, 120, 218, 90);
  note->SetAutoSize(false);
  note->SetWordWrap(true);
  note->SetTransparent(true);
  note->SetCaption(L"The Skin menu switches between the sample skin's folder, pack and stored forms and "
                   L"its variant, with the change animation.");
  status_ = new vcl::TLabel(this);
  status_->SetParent(this);
  status_->SetBounds(8, 246, 250, 40);
  list_ = new vcl::TListBox(this);
  list_->SetParent(this);
  list_->SetBounds(8, 334, 250, 160);  // below the sample hint
  for (int i = 1; i <= 100; ++i) list_->Items()->Add(L"List item " + std::to_wstring(i));
  status_->SetAutoSize(false);
  status_->SetWordWrap(true);
  status_->SetTransparent(true);

  auto* box = new vcl::TScrollBox(this);
  box->SetParent(this);
  box->SetBounds(266, 8, 476, 488);
  sheet_ = new TSectionSheet(this);
  sheet_->SetParent(box);

  // Library edits, a memo and the list box under edit adapters: the skin's colours, border
  // and bars while the skin is there, their own without it.
  auto* adapted = new vcl::TLabel(this);
  adapted->SetParent(this);
  adapted->SetBounds(8, 504, 250, 18);
  adapted->SetTransparent(true);
  adapted->SetCaption(L"Library controls under edit adapters:");
  auto* plain = new vcl::TEdit(this);
  plain->SetParent(this);
  plain->SetBounds(8, 526, 250, 24);
  plain->SetText(L"An adapted edit");
  auto* disabled = new vcl::TEdit(this);
  disabled->SetParent(this);
  disabled->SetBounds(8, 558, 250, 24);
  disabled->SetText(L"A disabled adapted edit");
  disabled->SetEnabled(false);
  auto* memo = new vcl::TMemo(this);
  memo->SetParent(this);
  memo->SetBounds(266, 504, 476, 160);
  memo->SetScrollBars(vcl::ssBoth);
  memo->SetWordWrap(false);
  vcl::String lines;
  for (int i = 1; i <= 40; ++i)
    lines += L"Memo line " + std::to_wstring(i) + L": a long line that runs past the memo's right edge\r\n";
  memo->SetText(lines);

  BuildButtons();
  BuildScrollBox();
  BuildAdaptedRow();
  BuildSystemControls();
  BuildViews();
  // The status bar (bottom-aligned) above the controls placed since: a window made smaller
  // than the page clips the controls under the bar rather than drawing them over it.
  status_bar_->BringToFront();
  // The skin comes before the form has its window: the provider takes it when the window is
  // made, and its control adapter gives every control here its adapter by class name.
  Load(Source, false);
  list_->SetTopIndex(40);
}

void TGalleryLayered::BuildSystemControls() {
  auto* title = new vcl::TLabel(this);
  title->SetParent(this);
  title->SetBounds(750, 536, 236, 18);
  title->SetTransparent(true);
  title->SetCaption(L"An up-down beside an edit:");
  auto* number = new vcl::TEdit(this);
  number->SetParent(this);
  number->SetBounds(750, 558, 80, 24);
  auto* updown = new vcl::TUpDown(this);
  updown->SetParent(this);
  updown->SetMax(99);
  updown->SetAssociate(number);
  updown->SetPosition(42);
}

void TGalleryLayered::BuildViews() {
  auto* list = new vcl::TListView(this);
  list->SetParent(this);
  list->SetBounds(994, 8, 240, 200);
  list->SetViewStyle(vcl::vsReport);
  for (const wchar_t* caption : {L"Name", L"Size", L"Kind"}) {
    vcl::TListColumn* column = list->Columns()->Add();
    column->SetCaption(caption);
    column->SetWidth(74);
  }
  for (int i = 1; i <= 30; ++i) {
    vcl::TListItem* item = list->Items()->Add();
    item->SetCaption(L"Item " + std::to_wstring(i));
    item->SubItems()->Add(std::to_wstring(i * 12) + L" KB");
    item->SubItems()->Add(i % 3 ? L"Picture" : L"Page");
  }
  // The first column sorted upwards: its header shows the arrow.
  if (HWND header = FindWindowExW(list->Handle(), nullptr, L"SysHeader32", nullptr)) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.fmt |= HDF_SORTUP;
    SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }

  auto* tree = new vcl::TTreeView(this);
  tree->SetParent(this);
  tree->SetBounds(994, 216, 240, 200);
  for (const wchar_t* folder : {L"Pictures", L"Pages", L"Templates"}) {
    vcl::TTreeNode* node = tree->Items()->Add(nullptr, folder);
    for (int i = 1; i <= 4; ++i) tree->Items()->AddChild(node, vcl::String(folder) + L" " + std::to_wstring(i));
    node->Expand(false);
  }

  auto* grid = new vcl::TStringGrid(this);
  grid->SetParent(this);
  grid->SetBounds(994, 424, 240, 200);
  grid->SetColCount(4);
  grid->SetRowCount(12);
  grid->SetDefaultColWidth(70);
  for (int c = 1; c < 4; ++c) grid->SetCells(c, 0, L"Col " + std::to_wstring(c));
  for (int r = 1; r < 12; ++r) {
    grid->SetCells(0, r, std::to_wstring(r));
    for (int c = 1; c < 4; ++c) grid->SetCells(c, r, std::to_wstring(r * c));
  }
}

void TGalleryLayered::BuildAdaptedRow() {
  auto* panel = new vcl::TPanel(this);
  panel->SetParent(this);
  panel->SetBounds(8, 672, 250, 40);
  panel->SetBevelOuter(vcl::bvLowered);
  panel->SetCaption(L"A lowered panel");
  panel->SetAlignment(vcl::taLeftJustify);

  auto* tools = new vcl::TToolBar(this);
  tools->SetParent(this);
  tools->SetAlign(vcl::alNone);
  tools->SetBounds(266, 672, 150, 40);
  tools->SetShowCaptions(true);
  tools->SetButtonWidth(44);
  tools->SetButtonHeight(34);
  for (const wchar_t* caption : {L"Tool", L"Down", L"More"}) {
    auto* button = new vcl::TToolButton(this);
    button->SetParent(tools);
    button->SetCaption(caption);
    button->SetLeft(1000);  // after the last
  }
  tools->Buttons(1)->SetStyle(vcl::tbsCheck);
  tools->Buttons(1)->SetDown(true);

  auto* speed = new vcl::TSpeedButton(this);
  speed->SetParent(panel);  // over the panel's skinned face
  speed->SetBounds(170, 3, 74, 34);
  speed->SetCaption(L"Speed");

  auto* group = new vcl::TRadioGroup(this);
  group->SetParent(this);
  group->SetBounds(424, 668, 318, 46);
  group->SetCaption(L"A radio group");
  group->SetColumns(3);
  for (const wchar_t* item : {L"First", L"Second", L"Third"}) group->Items()->Add(item);
  group->SetItemIndex(1);

  auto* scroll = new vcl::TScrollBar(this);
  scroll->SetParent(this);
  scroll->SetBounds(8, 720, 734, 18);
  scroll->SetPageSize(20);
  scroll->SetPosition(30);

  auto* pages = new vcl::TPageControl(this);
  pages->SetParent(this);
  pages->SetBounds(8, 746, 734, 96);
  // More tabs than fit: the control shows its arrows, skinned by an up-down adapter.
  for (const wchar_t* caption : {L"A page control", L"skinned by", L"its adapters", L"with more tabs",
                                 L"than fit beside", L"each other", L"so that its arrows", L"show, skinned",
                                 L"by the up-down's", L"adapter"}) {
    auto* sheet = new vcl::TTabSheet(this);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
  }
  auto* on_page = new vcl::TLabel(this);
  on_page->SetParent(pages->Pages(0));
  on_page->SetBounds(12, 12, 400, 20);
  on_page->SetTransparent(true);
  on_page->SetCaption(L"The page shows the page control's background.");
  pages->SetActivePage(pages->Pages(0));
  for (int i = 0; i < pages->PageCount(); ++i) pages->Pages(i)->HandleNeeded();

  status_bar_ = new vcl::TStatusBar(this);
  auto* status = status_bar_;
  status->SetParent(this);
  for (const wchar_t* text : {L"A status bar", L"skinned by", L"its adapter"}) {
    vcl::TStatusPanel* item = status->Panels()->Add();
    item->SetText(text);
    item->SetWidth(160);
  }
}

namespace {

// The system dialog's controls: one of every kind its skinning tells apart.
enum : WORD {
  kDlgEdit = 100, kDlgList, kDlgListView, kDlgTree, kDlgTrack, kDlgToolBar, kDlgCombo, kDlgCheck, kDlgRadio,
  kDlgOwnerDrawn = 120, kDlgProgress, kDlgNumber, kDlgUpDown,
};

// A dialog template in memory: a sizeable caption and the controls in two columns.
std::vector<std::uint8_t> SystemDialogTemplate() {
  std::vector<std::uint8_t> bytes;
  auto put = [&](const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
  };
  auto word = [&](WORD w) { put(&w, sizeof w); };
  auto text = [&](const wchar_t* s) { put(s, (wcslen(s) + 1) * sizeof(wchar_t)); };
  auto align = [&] {
    while (bytes.size() % 4) bytes.push_back(0);
  };
  DLGTEMPLATE t{};
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | DS_SETFONT;
  t.cx = 300;
  t.cy = 240;
  put(&t, sizeof t);
  word(0), word(0), text(L"A system dialog");
  word(9), text(L"MS Shell Dlg");
  auto item = [&](DWORD style, DWORD exStyle, short x, short y, short w, short h, WORD id, const wchar_t* cls,
                  const wchar_t* caption) {
    align();
    DLGITEMTEMPLATE i{style | WS_CHILD | WS_VISIBLE, exStyle, x, y, w, h, id};
    put(&i, sizeof i);
    text(cls), text(caption), word(0);
    ++reinterpret_cast<DLGTEMPLATE*>(bytes.data())->cdit;
  };
  // The left column: text and lists.
  item(WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 0, 8, 8, 134, 14, kDlgEdit, L"EDIT", L"An edit of a system dialog");
  item(WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 8, 26, 134, 46, kDlgList, L"LISTBOX", L"");
  item(LVS_REPORT | WS_BORDER, 0, 8, 76, 134, 52, kDlgListView, WC_LISTVIEWW, L"");
  item(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER, 0, 8, 132, 134, 44, kDlgTree, WC_TREEVIEWW, L"");
  item(TBSTYLE_FLAT | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 8, 180, 134, 22, kDlgToolBar,
       TOOLBARCLASSNAMEW, L"");
  // The right column: choices, labels and the rest.
  item(BS_GROUPBOX, 0, 150, 4, 142, 78, 0, L"BUTTON", L"A group box");
  item(BS_AUTOCHECKBOX | WS_TABSTOP, 0, 158, 16, 126, 12, kDlgCheck, L"BUTTON", L"A check box");
  item(BS_AUTORADIOBUTTON | WS_GROUP, 0, 158, 30, 126, 12, kDlgRadio, L"BUTTON", L"A radio button");
  item(BS_AUTORADIOBUTTON, 0, 158, 44, 126, 12, kDlgRadio + 1, L"BUTTON", L"Another radio button");
  item(CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 158, 60, 126, 80, kDlgCombo, L"COMBOBOX", L"");
  item(SS_SIMPLE, 0, 150, 88, 142, 10, 0, L"STATIC", L"A simple label, drawn by the system");
  item(SS_LEFT, 0, 150, 100, 96, 10, 0, L"STATIC", L"A label of the skin");
  item(SS_GRAYRECT, 0, 250, 100, 18, 10, 0, L"STATIC", L"");
  item(SS_GRAYFRAME, 0, 274, 100, 18, 10, 0, L"STATIC", L"");
  item(TBS_AUTOTICKS | WS_TABSTOP, 0, 150, 114, 142, 18, kDlgTrack, TRACKBAR_CLASSW, L"");
  item(0, 0, 150, 136, 142, 10, 0, WC_LINK, L"A link: <a>open the web site</a>");
  item(BS_OWNERDRAW | WS_TABSTOP, 0, 150, 150, 142, 16, kDlgOwnerDrawn, L"BUTTON", L"Drawn by its owner");
  item(SS_CENTER | SS_CENTERIMAGE, WS_EX_STATICEDGE, 150, 172, 142, 14, 0, L"STATIC", L"A static with a sunken edge");
  // Below the left column (clear of the message box over the dialog): a copy under way and a
  // number with its up-down attached.
  item(0, 0, 8, 206, 134, 9, kDlgProgress, PROGRESS_CLASSW, L"");
  item(SS_LEFT, 0, 8, 224, 40, 10, 0, L"STATIC", L"Copies:");
  item(WS_BORDER | WS_TABSTOP | ES_NUMBER, 0, 48, 222, 40, 14, kDlgNumber, L"EDIT", L"");
  item(UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 10, 14, kDlgUpDown, UPDOWN_CLASSW,
       L"");
  item(BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 186, 222, 50, 14, IDOK, L"BUTTON", L"OK");
  item(BS_PUSHBUTTON | WS_TABSTOP, 0, 242, 222, 50, 14, IDCANCEL, L"BUTTON", L"Cancel");
  return bytes;
}

// A system tool bar's buttons: texts only, one pressed, a separator, one disabled.
void FillToolBar(HWND Bar) {
  if (!Bar) return;
  SendMessageW(Bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  static const wchar_t* const kTexts[] = {L"Open", L"Save", L"", L"Print", L"Help"};
  TBBUTTON buttons[5]{};
  for (int i = 0; i < 5; ++i) {
    buttons[i].iBitmap = I_IMAGENONE;
    buttons[i].idCommand = 200 + i;
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = BTNS_BUTTON;
    buttons[i].iString = reinterpret_cast<INT_PTR>(kTexts[i]);
  }
  buttons[1].fsState |= TBSTATE_PRESSED;
  buttons[2].fsStyle = BTNS_SEP;
  buttons[2].iBitmap = 8;
  buttons[3].fsState = 0;  // disabled
  SendMessageW(Bar, TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(buttons));
  SendMessageW(Bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(46, 30));
}

void FillDialogLists(HWND Wnd) {
  for (int i = 1; i <= 30; ++i) {
    const std::wstring item = L"Dialog list item " + std::to_wstring(i);
    SendDlgItemMessageW(Wnd, kDlgList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (i <= 12) SendDlgItemMessageW(Wnd, kDlgCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SendDlgItemMessageW(Wnd, kDlgCombo, CB_SETCURSEL, 2, 0);
  const HWND view = GetDlgItem(Wnd, kDlgListView);
  const wchar_t* const columns[] = {L"Name", L"Size"};
  for (int c = 0; c < 2; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.cx = c == 0 ? 120 : 70;
    column.pszText = const_cast<wchar_t*>(columns[c]);
    SendMessageW(view, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
  }
  for (int i = 0; i < 8; ++i) {
    std::wstring name = L"Row " + std::to_wstring(i + 1), size = std::to_wstring((i + 1) * 12) + L" KB";
    LVITEMW row{};
    row.mask = LVIF_TEXT;
    row.iItem = i;
    row.pszText = name.data();
    SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    row.iSubItem = 1;
    row.pszText = size.data();
    SendMessageW(view, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&row));
  }
  const HWND tree = GetDlgItem(Wnd, kDlgTree);
  for (const wchar_t* parent : {L"Pictures", L"Pages"}) {
    TVINSERTSTRUCTW node{};
    node.hInsertAfter = TVI_LAST;
    node.item.mask = TVIF_TEXT;
    node.item.pszText = const_cast<wchar_t*>(parent);
    const auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&node)));
    for (int i = 1; i <= 3; ++i) {
      std::wstring text = std::wstring(parent) + L" " + std::to_wstring(i);
      node.hParent = root;
      node.item.pszText = text.data();
      SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&node));
    }
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  }
}

// The owner-drawn button: its own face, darker while pressed, with its text.
void DrawOwnerButton(const DRAWITEMSTRUCT& Item) {
  const bool pressed = (Item.itemState & ODS_SELECTED) != 0;
  HBRUSH face = CreateSolidBrush(pressed ? RGB(150, 96, 40) : RGB(214, 150, 70));
  FillRect(Item.hDC, &Item.rcItem, face);
  DeleteObject(face);
  RECT r = Item.rcItem;
  FrameRect(Item.hDC, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  wchar_t caption[64] = {};
  GetWindowTextW(Item.hwndItem, caption, 64);
  SetBkMode(Item.hDC, TRANSPARENT);
  SetTextColor(Item.hDC, RGB(255, 255, 255));
  DrawTextW(Item.hDC, caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (Item.itemState & ODS_FOCUS) {
    InflateRect(&r, -3, -3);
    DrawFocusRect(Item.hDC, &r);
  }
}

INT_PTR CALLBACK SystemDialogProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  switch (Msg) {
    case WM_INITDIALOG:
      FillDialogLists(Wnd);
      SendDlgItemMessageW(Wnd, kDlgTrack, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
      SendDlgItemMessageW(Wnd, kDlgTrack, TBM_SETPOS, TRUE, 4);
      SendDlgItemMessageW(Wnd, kDlgCheck, BM_SETCHECK, BST_CHECKED, 0);
      SendDlgItemMessageW(Wnd, kDlgRadio, BM_SETCHECK, BST_CHECKED, 0);
      FillToolBar(GetDlgItem(Wnd, kDlgToolBar));
      // A copy under way: the bar at a middle position.
      SendDlgItemMessageW(Wnd, kDlgProgress, PBM_SETRANGE32, 0, 100);
      SendDlgItemMessageW(Wnd, kDlgProgress, PBM_SETPOS, 60, 0);
      SendDlgItemMessageW(Wnd, kDlgUpDown, UDM_SETRANGE32, 1, 99);
      SendDlgItemMessageW(Wnd, kDlgUpDown, UDM_SETPOS32, 0, 2);
      return TRUE;
    case WM_DRAWITEM:
      if (WParam != kDlgOwnerDrawn) return FALSE;
      DrawOwnerButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(LParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(WParam) == IDOK || LOWORD(WParam) == IDCANCEL) DestroyWindow(Wnd);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

// The property sheet waits hidden until the message box is up: the dialog hook skins at most
// two dialogs shown at once when a third comes, and the box is the third.
namespace {

HWND g_waitingSheet = nullptr;

void CALLBACK ShowWaitingSheet(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  if (IsWindow(g_waitingSheet)) ShowWindow(g_waitingSheet, SW_SHOWNOACTIVATE);
  g_waitingSheet = nullptr;
}

}  // namespace

void TGalleryLayered::ShowSystemDialogs() {
  static const std::vector<std::uint8_t> dialog = SystemDialogTemplate();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_LINK_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  // A modeless property sheet of two pages beside the page.
  if (const HWND sheet = ShowPropertySheet(Handle(), Left() + Width() + 12, Top() + 80)) {
    ShowWindow(sheet, SW_HIDE);
    g_waitingSheet = sheet;
    SetTimer(nullptr, 0, 100, &ShowWaitingSheet);
  }
  HWND wnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()),
                                        Handle(), SystemDialogProc, 0);
  if (!wnd) return;
  SetWindowPos(wnd, nullptr, Left() + 300, Top() + 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(wnd, SW_SHOW);
  // The box belongs to the dialog it stands over: closing it gives the dialog back the
  // activation (an owner activated under Wine is raised over its owned windows).
  MessageBoxW(wnd, L"A message box, skinned by the layered skin through the dialog hook.", L"Skin gallery",
              MB_OK | MB_ICONINFORMATION);
}

// The dialogs stand at the screen's right edge, as much beside the page as they can.
void TGalleryLayered::ShowMessageBoxes() { gallery::ShowMessageBoxes(Handle(), POINT{GetSystemMetrics(SM_CXSCREEN) - 8, Top()}); }

void TGalleryLayered::ShowCommonDialogs() { gallery::ShowCommonDialogs(Handle(), POINT{GetSystemMetrics(SM_CXSCREEN) - 8, Top()}); }

void TGalleryLayered::SkinOffAndBack() {
  const std::optional<LayeredSource> worn = shown_;
  NoSkinClick(nullptr);
  Settle();
  if (worn) Load(*worn, false);
  Settle();
}

void TGalleryLayered::BuildButtons() {
  buttons_ = new vcl::TGroupBox(this);
  buttons_->SetParent(this);
  buttons_->SetBounds(750, 8, 236, 520);
  buttons_->SetCaption(L"Buttons and boxes");
  auto place = [this](vcl::TWinControl* Control, int Left, int Top, int Width, int Height, const wchar_t* Caption) {
    Control->SetParent(buttons_);
    Control->SetBounds(Left, Top, Width, Height);
    Control->SetCaption(Caption);
  };
  place(new vcl::TButton(this), 16, 28, 204, 30, L"A push button");
  auto* preferred = new vcl::TButton(this);
  place(preferred, 16, 66, 204, 30, L"The default button");
  preferred->SetDefault(true);
  auto* off = new vcl::TButton(this);
  place(off, 16, 104, 204, 30, L"A disabled button");
  off->SetEnabled(false);
  auto* ok = new vcl::TBitBtn(this);
  place(ok, 16, 142, 98, 34, L"");
  ok->SetKind(vcl::bkOK);
  auto* cancel = new vcl::TBitBtn(this);
  place(cancel, 122, 142, 98, 34, L"");
  cancel->SetKind(vcl::bkCancel);
  auto* above = new vcl::TBitBtn(this);
  place(above, 16, 184, 204, 54, L"");
  above->SetKind(vcl::bkHelp);
  above->SetLayout(vcl::blGlyphTop);
  above->SetCaption(L"Glyph above the caption");

  auto* checked = new vcl::TCheckBox(this);
  place(checked, 16, 250, 204, 22, L"A checked box");
  checked->SetChecked(true);
  place(new vcl::TCheckBox(this), 16, 274, 204, 22, L"An unchecked box");
  auto* grayed = new vcl::TCheckBox(this);
  place(grayed, 16, 298, 204, 22, L"A grayed box");
  grayed->SetAllowGrayed(true);
  grayed->SetState(vcl::cbGrayed);
  auto* radio = new vcl::TRadioButton(this);
  place(radio, 16, 328, 204, 22, L"A radio button");
  radio->SetChecked(true);
  place(new vcl::TRadioButton(this), 16, 352, 204, 22, L"Another radio button");
  auto* text = new vcl::TStaticText(this);
  place(text, 16, 386, 204, 40, L"A static text, as the labels of dialogs");
  text->SetAutoSize(false);

  auto combo = [&](vcl::TComboBoxStyle Style, int Top) {
    auto* box = new vcl::TComboBox(this);
    box->SetParent(buttons_);
    box->SetStyle(Style);
    box->SetBounds(16, Top, 204, 24);
    for (int i = 1; i <= 20; ++i) box->Items()->Add(L"Combo item " + std::to_wstring(i));
    return box;
  };
  combo(vcl::csDropDownList, 436)->SetItemIndex(2);
  combo(vcl::csDropDown, 472)->SetText(L"A drop-down combo box");
}

void TGalleryLayered::BuildScrollBox() {
  // A scroll box whose children sit on its skinned face, one of them below the fold.
  hosts_ = new vcl::TScrollBox(this);
  hosts_->SetParent(this);
  hosts_->SetBounds(994, 632, 240, 150);
  auto* label = new vcl::TLabel(this);
  label->SetParent(hosts_);
  label->SetBounds(12, 10, 190, 18);
  label->SetTransparent(true);
  label->SetCaption(L"A scroll box painted from its section");
  auto* text = new vcl::TStaticText(this);
  text->SetParent(hosts_);
  text->SetAutoSize(false);
  text->SetBorderStyle(vcl::sbsSingle);
  text->SetBounds(12, 36, 190, 40);
  text->SetCaption(L"A bordered static text");
  auto* below = new vcl::TButton(this);
  below->SetParent(hosts_);
  below->SetBounds(12, 200, 190, 30);
  below->SetCaption(L"A button below the fold");
}

void TGalleryLayered::AddSource(const LayeredSource& Source) {
  for (const LayeredSource& known : sources_)
    if (SameSource(known, Source)) return;
  sources_.push_back(Source);
}

void TGalleryLayered::AddSkinMenu(vcl::TMenuItem* Menu) {
  if (!Menu) return;
  // Owned by the page, whose handlers they call: they go with it, whichever form shows them.
  auto add = [this, Menu](const vcl::String& caption, vcl::TNotifyEvent click, bool radio) {
    auto* item = new vcl::TMenuItem(this);
    item->SetCaption(caption);
    item->SetRadioItem(radio);
    item->OnClick = click;
    Menu->Add(item);
    return item;
  };
  SkinMenuItems items;
  for (std::size_t i = 0; i < sources_.size(); ++i) {
    items.sources.push_back(add(sources_[i].caption, vcl::TNotifyEvent::Bind<&TGalleryLayered::SourceClick>(this), true));
    items.sources.back()->SetTag(static_cast<intptr_t>(i));
  }
  add(L"-", {}, false);
  items.none = add(L"&No skin", vcl::TNotifyEvent::Bind<&TGalleryLayered::NoSkinClick>(this), true);
  items.borders = add(L"&Extended borders", vcl::TNotifyEvent::Bind<&TGalleryLayered::BordersClick>(this), false);
  Menu->SetVisible(true);
  skin_menus_.push_back(items);
  CheckSkinInUse(shown_ ? &*shown_ : nullptr);
  items.borders->SetChecked(manager_->ExtendedBorders());
}

void TGalleryLayered::CheckSkinInUse(const LayeredSource* Source) {
  if (Source)
    shown_ = *Source;
  else
    shown_.reset();
  for (const SkinMenuItems& menu : skin_menus_) {
    for (std::size_t i = 0; i < menu.sources.size(); ++i)
      menu.sources[i]->SetChecked(Source && SameSource(sources_[i], *Source));
    menu.none->SetChecked(!Source);
  }
}

void TGalleryLayered::SourceClick(vcl::TObject* Sender) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item || item->Tag() < 0 || item->Tag() >= static_cast<intptr_t>(sources_.size())) return;
  Load(sources_[static_cast<std::size_t>(item->Tag())], true);
}

void TGalleryLayered::ScrollingClick(vcl::TObject*) { ShowScrolling(); }

void TGalleryLayered::ShowScrolling() { ShowScrollingForm(this, Left() + 300, Top() + 120); }

void TGalleryLayered::BordersClick(vcl::TObject*) { SetExtendedBorders(!manager_->ExtendedBorders()); }

void TGalleryLayered::SetExtendedBorders(bool Value) {
  manager_->SetExtendedBorders(Value);
  for (const SkinMenuItems& menu : skin_menus_) menu.borders->SetChecked(manager_->ExtendedBorders());
}

void TGalleryLayered::NoSkinClick(vcl::TObject*) {
  manager_->SetActive(false);
  CheckSkinInUse(nullptr);
  SkinChanged();
}

void TGalleryLayered::Load(const LayeredSource& Source, bool Animate) {
  const vcl::String before = manager_->Active() && manager_->Skin().SkinData.Active ? current_ : vcl::String();
  const LayeredSource* previous = nullptr;
  for (const LayeredSource& known : sources_)
    if (!before.empty() && known.caption == before) previous = &known;
  manager_->SetSkinDirectory(Source.directory);
  current_ = Source.caption;
  bool failed = false;
  {
    // The engine reports some faults itself (a file that is not a pack, one without a
    // description); what it said is printed with the gallery's own report.
    ShownMessages messages;
    try {
      if (manager_->Active()) {
        manager_->SetSkinName(Source.name);
      } else {
        manager_->SetSkinName(Source.name);
        manager_->SetActive(true);
      }
    } catch (const vcl::Exception& e) {
      vcl::Application->ShowException(e);
      failed = true;
    }
    failed = failed || !messages.Texts().empty();
    if (failed) messages.Failed();
  }
  // A name the manager does not find falls back to the skin stored in the form: that one is
  // shown then, and said so. A skin that fails to load while another is worn leaves that
  // one on (under its name, which the manager gives back).
  const bool skinned = manager_->Active() && manager_->Skin().SkinData.Active;
  const vcl::String& name = manager_->SkinName();
  const bool fellBack = skinned && !SameName(name, Source.name) && manager_->InternalSkins()->IndexOf(name) >= 0;
  const bool kept = skinned && !fellBack && !SameName(name, Source.name);
  const LayeredSource* shown = skinned && !fellBack && !kept ? &Source : nullptr;
  for (const LayeredSource& known : sources_)
    if (fellBack && known.name == name) shown = &known;
  if (kept) shown = previous;
  if (!skinned || fellBack || kept || failed)
    Report(Source.caption + L" could not be loaded from " + Source.directory +
           (fellBack ? L"; the skin stored in the form is shown instead."
            : kept   ? L"; the skin in use stays."
            : skinned ? L"."
                      : L"; the page runs unskinned."));
  current_ = shown ? shown->caption : before;
  CheckSkinInUse(shown);
  SkinChanged();
  if (Animate && HandleAllocated() && Visible())
    skin_layered::AnimChangeForm(content_, manager_->AnimEffects()->SkinChanging()->Time(), 255, false);
}

void TGalleryLayered::SkinChanged() {
  if (!status_ || !sheet_) return;
  const skin_layered::TsLoadedSkin& skin = manager_->Skin();
  const bool skinned = manager_->Active() && skin.SkinData.Active;
  const int form = skinned ? skin.GetSkinIndex(L"FORM") : -1;
  SetColor(form >= 0 ? skin.Sections[static_cast<std::size_t>(form)].Props[0].Color : vcl::clBtnFace);
  const vcl::TColor text = form >= 0 ? skin.Sections[static_cast<std::size_t>(form)].Props[0].FontColor
                                     : vcl::clWindowText;
  status_->Font()->SetColor(text);
  status_->SetCaption(skinned ? L"Skin: " + current_ + L", version " + manager_->SkinInfo()
                              : vcl::String(L"No skin"));
  sheet_->ShowSkin(skinned ? &skin : nullptr);
}

namespace {

constexpr wchar_t kSampleHint[] = L"A hint of the hint manager";
constexpr UINT kPutSampleHint = WM_APP + 0x47;
constexpr UINT kRestackSampleHint = WM_APP + 0x48;

// A mouse button pressed over the page, its frame or one of its controls, the focus moved to
// another of its controls (by the keyboard too), or the page activated, moved or brought to the
// top: each may stack it over the sample hint on the display.
bool MayCoverHint(const vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::CM_FOCUSCHANGED: return true;
    case WM_PARENTNOTIFY:
      switch (LOWORD(Message.WParam)) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN: return true;
        default: return false;
      }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: return true;
    case WM_ACTIVATE: return LOWORD(Message.WParam) != WA_INACTIVE;
    // A move or size through the frame ended; the page came to the top of the order.
    case WM_EXITSIZEMOVE: return true;
    case WM_WINDOWPOSCHANGED:
      return (reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags & SWP_NOZORDER) == 0;
    default: return false;
  }
}

// The hint manager's window while it shows the sample hint; nil when it shows another or none.
skin_layered::TqvPngHintWindow* SampleHintWindow() {
  skin_layered::TsHintManager* hints = skin_layered::HintManager();
  skin_layered::TqvPngHintWindow* window = hints ? hints->PngHintWindow() : nullptr;
  if (!window || !window->HandleAllocated() || !IsWindowVisible(window->Handle())) return nullptr;
  return window->HintText() == kSampleHint ? window : nullptr;
}

}  // namespace

void TGalleryLayered::ShowSampleHint() {
  sample_hint_wanted_ = true;
  on_screen_ = OnScreen();
  if (on_screen_) PutSampleHint();
}

bool TGalleryLayered::OnScreen() {
  return HandleAllocated() && IsWindowVisible(Handle()) && !IsIconic(Handle());
}

void TGalleryLayered::PutSampleHint() {
  skin_layered::TsHintManager* hints = skin_layered::HintManager();
  if (!hints || !edit_->HandleAllocated()) return;
  sample_hint_at_ = SampleHintPoint();
  // In the look of the hint manager's PNG template.
  hints->SetUseSkinData(false);
  hints->ShowHintAt(sample_hint_at_, kSampleHint, 0);
}

// The manager has one hint window: a title-bar item's or a control's hint takes the sample's
// place, which it gets back once that hint goes (asked after the hide is done: a hint that
// replaces another hides the old one first).
void TGalleryLayered::HintHidden(vcl::TObject*) {
  if (sample_hint_wanted_ && HandleAllocated() && !ComponentState().Contains(vcl::csDestroying))
    PostMessageW(Handle(), kPutSampleHint, 0, 0);
}

// The display stacks a window that takes a click, or is activated, over the top-most windows,
// though the system's order keeps them above it: the sample hint, which stays, is stacked
// anew once the click is done, so that the display shows it over the page again.
void TGalleryLayered::RestackSampleHint() {
  skin_layered::TsHintManager* hints = skin_layered::HintManager();
  if (!SampleHintWindow() || !hints->HintForm() || !hints->HintForm()->HandleAllocated()) return;
  HWND form = hints->HintForm()->Handle();
  // Moved in the order (a place it holds already would move nothing on the display).
  SetWindowPos(form, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(form, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

vcl::TPoint TGalleryLayered::SampleHintPoint() const {
  return content_->ClientToScreen(vcl::TPoint{16, content_->Height() + 56});
}

// The hint has no timeout and stays top-most: it goes while the form is minimised or hidden,
// comes back with it and keeps its place below the panel when the form moves.
void TGalleryLayered::FollowSampleHint() {
  if (!sample_hint_wanted_) return;
  const bool onScreen = OnScreen();
  if (onScreen != on_screen_) {
    on_screen_ = onScreen;
    if (onScreen) {
      // Once the restore is done: a top-most window made while the form is being restored
      // stays under it on the display.
      PostMessageW(Handle(), kPutSampleHint, 0, 0);
    } else if (skin_layered::TqvPngHintWindow* window = SampleHintWindow()) {
      window->ReleaseHandle();
    }
    return;
  }
  skin_layered::TqvPngHintWindow* window = onScreen ? SampleHintWindow() : nullptr;
  if (!window) return;
  const vcl::TPoint at = SampleHintPoint();
  if (at.X == sample_hint_at_.X && at.Y == sample_hint_at_.Y) return;
  // The hint's layered image follows its window.
  RECT r{};
  GetWindowRect(window->Handle(), &r);
  SetWindowPos(window->Handle(), nullptr, r.left + at.X - sample_hint_at_.X, r.top + at.Y - sample_hint_at_.Y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  sample_hint_at_ = at;
}

void TGalleryLayered::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kPutSampleHint) {
    const skin_layered::TsHintManager* hints = skin_layered::HintManager();
    if (sample_hint_wanted_ && OnScreen() && !(hints && hints->HintVisible())) PutSampleHint();
    return;
  }
  if (Message.Msg == kRestackSampleHint) return RestackSampleHint();
  if (sample_hint_wanted_ && MayCoverHint(Message) && HandleAllocated()) PostMessageW(Handle(), kRestackSampleHint, 0, 0);
  TForm::WndProc(Message);
  if (Message.Msg == WM_WINDOWPOSCHANGED) FollowSampleHint();
}

// A title bar component in the caption: two tabs of one group at the left; a drop-down button
// with the sample popup, a plain button and an information text at the right; the form's
// caption stays between them.
void TGalleryLayered::BuildTitleBar() {
  auto* bar = vcl::Construct<skin_layered::TsTitleBar>(this);
  bar->SetShowCaption(true);
  auto add = [bar](skin_layered::TqvBtnStyle style, skin_layered::TqvItemAlign align, const wchar_t* caption) {
    skin_layered::TqvTitleBarItem* item = bar->Items()->Add();
    item->SetStyle(style);
    item->SetAlign(align);
    item->SetCaption(caption);
    return item;
  };
  skin_layered::TqvTitleBarItem* compose = add(skin_layered::bsTab, skin_layered::tbaLeft, L"Compose");
  compose->SetGroupIndex(1);
  compose->SetDown(true);
  add(skin_layered::bsTab, skin_layered::tbaLeft, L"Preview")->SetGroupIndex(1);
  skin_layered::TqvTitleBarItem* sections = add(skin_layered::bsButton, skin_layered::tbaRight, L"Sections");
  sections->SetDropdownMenu(sample_menu_);
  sections->SetHint(L"The sample popup menu");
  sections->SetShowHint(true);
  add(skin_layered::bsButton, skin_layered::tbaRight, L"Copy");
  add(skin_layered::bsInfo, skin_layered::tbaRight, L"Taobao");
}

// A popup of every kind of item the skinned menus draw: a caption, items with shortcuts, a
// checked, a default and a disabled one, a divider and a submenu; the extra line at its left.
void TGalleryLayered::BuildSampleMenu() {
  sample_menu_ = new vcl::TPopupMenu(this);
  auto add = [this](vcl::TMenuItem* parent, const wchar_t* caption) {
    auto* item = new vcl::TMenuItem(sample_menu_);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  };
  vcl::TMenuItem* root = sample_menu_->Items();
  add(root, L"-Section-");
  add(root, L"&Copy the page")->SetShortCut(vcl::ShortCut('C', vcl::TShiftState{vcl::ssCtrl}));
  add(root, L"&Preview")->SetShortCut(vcl::ShortCut(VK_F5, {}));
  add(root, L"&Wrap lines")->SetChecked(true);
  add(root, L"&Default action")->SetDefault(true);
  add(root, L"-");
  add(root, L"&Unavailable")->SetEnabled(false);
  vcl::TMenuItem* more = add(root, L"&More");
  add(more, L"&First");
  add(more, L"&Second");
  if (auto* support = skin_layered::MenuSupportOf(manager_)) support->SetUseExtraLine(true);
  manager_->OnGetMenuExtraLineData = skin_layered::TqvGetExtraLineData::Bind<&TGalleryLayered::ExtraLineData>(this);
}

void TGalleryLayered::ExtraLineData(vcl::TMenuItem*, vcl::String&, vcl::String& Caption,
                                    std::unique_ptr<vcl::TBitmap>&, bool&) {
  Caption = L"Scrivane";
}

void TGalleryLayered::ShowSampleMenu() {
  if (!sample_menu_ || !content_->HandleAllocated()) return;
  const vcl::TPoint p = content_->ClientToScreen(vcl::TPoint{40, 40});
  sample_menu_->Popup(p.X, p.Y);
}

void TGalleryLayered::ManagerChanged(vcl::TObject*) {
  // The manager lets its skin go when the page is freed, after the page's controls.
  if (!ComponentState().Contains(vcl::csDestroying)) SkinChanged();
}

}  // namespace gallery
