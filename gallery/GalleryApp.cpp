#include "gallery/GalleryApp.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include "classlib/controls/Timer.h"
#include "gallery/GalleryDialogs.h"
#include "gallery/GalleryForms.h"
#include "gallery/GalleryLayered.h"
#include "gallery/GalleryShot.h"
#include "gallery/GallerySkin.h"
#include "skin_layered/forms/SkinProvider.h"

namespace gallery {
namespace {

struct PageName {
  const wchar_t* name;
  Page page;
};
constexpr PageName kPages[] = {{L"all", Page::All},         {L"controls", Page::Controls}, {L"dialog", Page::Dialog},
                               {L"messagebox", Page::MessageDialog}, {L"mdi", Page::Mdi},    {L"popup", Page::Popup},
                               {L"menus", Page::Menus},         {L"scrolling", Page::Scrolling},
                               {L"layered", Page::Layered},
                               {L"dialogs", Page::LayeredDialogs}, {L"borders", Page::LayeredBorders},
                               {L"messageboxes", Page::LayeredMessageBoxes},
                               {L"commondialogs", Page::LayeredCommonDialogs}};

// The focus moved round every dialog shown (Tab, then Shift+Tab), "No skin" and the skin
// again, and the window active before made active again: a picture after it should be the one
// before it.
void RoundTrip(TGalleryLayered* Layered) {
  const HWND active = GetActiveWindow();
  for (HWND dialog : ShownDialogs()) MoveFocusRound(dialog);
  Layered->SkinOffAndBack();
  if (IsWindow(active)) {
    SetForegroundWindow(active);
    SetActiveWindow(active);
  }
  Settle();
}

// The pictures the dialogs pages take after their first (GalleryApp.h).
void AddDialogSteps(TGalleryLayered* Layered, Page APage) {
  switch (APage) {
    case Page::LayeredDialogs:
      AddShotStep([] {
        // The message box closed, the sheet's second page chosen and the sheet made active
        // with the focus on the page's first radio button.
        if (const HWND box = ShownDialog(L"Skin gallery")) EndDialogByButton(box);
        Settle();
        PointerAway();
        if (const HWND sheet = ShownDialog(L"A property sheet")) {
          PropSheet_SetCurSel(sheet, nullptr, 1);
          SetForegroundWindow(sheet);
          SetActiveWindow(sheet);
          if (const HWND page = PropSheet_GetCurrentPageHwnd(sheet))
            if (const HWND radio = GetNextDlgTabItem(page, nullptr, FALSE))
              SendMessageW(sheet, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(radio), TRUE);
        }
        Settle();
      });
      AddShotStep([Layered] { RoundTrip(Layered); });
      break;
    case Page::LayeredMessageBoxes:
      // A picture of each pair of boxes (the last one alone), then the moves over the last.
      for (int pair = 0; pair < 3; ++pair) AddShotStep([] {
        PointerAway();
        EndShownDialogs();
      });
      AddShotStep([Layered] { RoundTrip(Layered); });
      break;
    case Page::LayeredCommonDialogs:
      AddShotStep([] {
        PointerAway();
        EndShownDialogs();
      });
      AddShotStep([Layered] { RoundTrip(Layered); });
      break;
    default:
      break;
  }
}

}  // namespace

// Opens a page's modal part once the message loop runs.
class TGalleryPageOpener : public vcl::TComponent {
  VCL_CLASS(TGalleryPageOpener, TComponent)
 public:
  TGalleryPageOpener(vcl::TCustomForm* Form, Page APage)
      : TComponent(Form), main_(dynamic_cast<TGalleryMain*>(Form)), page_(APage) {
    timer_ = new vcl::TTimer(this);
    timer_->SetInterval(400);
    timer_->OnTimer = vcl::TNotifyEvent::Bind<&TGalleryPageOpener::Open>(this);
    timer_->SetEnabled(true);
  }

 private:
  void Open(vcl::TObject*) {
    timer_->SetEnabled(false);
    switch (page_) {
      case Page::Dialog: main_->ShowDialog(); break;
      case Page::MessageDialog: main_->ShowMessage(); break;
      case Page::Popup: main_->ShowPopup(); break;
      case Page::Scrolling:
        if (auto* layered = dynamic_cast<TGalleryLayered*>(Owner())) layered->ShowScrolling();
        break;
      case Page::Menus:
        if (main_)
          main_->ShowMainMenu();
        else if (auto* layered = dynamic_cast<TGalleryLayered*>(Owner()))
          layered->ShowSampleMenu();
        break;
      case Page::Layered:
        if (auto* layered = dynamic_cast<TGalleryLayered*>(Owner())) layered->ShowSampleHint();
        break;
      case Page::LayeredDialogs:
        if (auto* layered = dynamic_cast<TGalleryLayered*>(Owner())) layered->ShowSystemDialogs();
        break;
      case Page::LayeredBorders:
        if (auto* layered = dynamic_cast<TGalleryLayered*>(Owner())) layered->SetExtendedBorders(true);
        break;
      case Page::LayeredMessageBoxes:
        if (auto* layered = dynamic_cast<TGalleryLayered*>(Owner())) layered->ShowMessageBoxes();
        break;
      case Page::LayeredCommonDialogs:
        if (auto* layered = dynamic_cast<TGalleryLayered*>(Owner())) layered->ShowCommonDialogs();
        break;
      default: break;
    }
  }

  TGalleryMain* main_;
  Page page_;
  vcl::TTimer* timer_ = nullptr;
};

VCL_CLASS_INFO(TGalleryPageOpener) {}

std::wstring Usage() {
  std::wstring pages;
  for (const PageName& p : kPages) pages += (pages.empty() ? L"" : L", ") + std::wstring(p.name);
  // Lines break between sentences only: the message box wraps long lines itself.
  return L"Usage: skingallery [--classic FILE] [--layered PATH] [--page NAME] [--shot FILE.png [--windows FILE]]\n\n"
         L"Pages: " + pages + L".\n\n"
         L"Scrolling is the layered page with a form larger inside than its window beside it. With --layered, "
         L"menus is the layered page with its sample popup menu open, borders the layered page with the skin's "
         L"extended borders and shadow, and mdi the MDI frame and its documents. Messageboxes and commondialogs are "
         L"the layered page with message boxes of every kind, or the system's common dialogs.";
}

std::optional<Page> PageNamed(std::wstring_view Name) {
  for (const PageName& p : kPages)
    if (Name == p.name) return p.page;
  return std::nullopt;
}

std::optional<Options> ParseOptions(const std::vector<std::wstring>& Arguments, std::wstring& Error) {
  Options options;
  bool pageGiven = false;
  for (size_t i = 0; i < Arguments.size(); ++i) {
    const std::wstring& a = Arguments[i];
    if (a.empty()) continue;  // a shortcut's or a script's empty argument asks for nothing
    const bool hasValue = i + 1 < Arguments.size();
    if (a != L"--classic" && a != L"--layered" && a != L"--page" && a != L"--shot" && a != L"--windows") {
      Error = L"Unknown argument: " + a;
      return std::nullopt;
    }
    if (!hasValue) {
      Error = a + L" needs a value";
      return std::nullopt;
    }
    const std::wstring& value = Arguments[++i];
    if (a == L"--classic") {
      options.classicFile = value;
    } else if (a == L"--layered") {
      options.layeredPath = value;
      if (!pageGiven) options.page = Page::Layered;
    } else if (a == L"--shot") {
      options.shotFile = value;
    } else if (a == L"--windows") {
      options.windowList = value;
    } else if (auto page = PageNamed(value)) {
      options.page = *page;
      pageGiven = true;
    } else {
      Error = L"Unknown page: " + value;
      return std::nullopt;
    }
  }
  if (options.windowList && !options.shotFile) {
    Error = L"--windows needs --shot";
    return std::nullopt;
  }
  return options;
}

int RunGallery(const Options& Options) {
  vcl::Application->Initialize();
  vcl::Application->SetTitle(L"Skin gallery");
  // From the start: a report shown while the windows are built is taken as well.
  if (Options.shotFile) StartScreenshot(*Options.shotFile, Options.windowList.value_or(L""));
  if (Options.layeredPath && Options.page == Page::Mdi) {
    // The MDI frame under the layered skin: its provider keeps the client window skinned, the
    // dialog hook gives each document a provider of its own. The layered page (not shown)
    // holds the manager.
    TGalleryLayered::SetPageSource(LayeredSourceOf(*Options.layeredPath));
    auto* frame = vcl::Application->CreateForm<TGalleryMdiFrame>();
    auto* layered = vcl::Application->CreateForm<TGalleryLayered>();
    // The page's Skin menu on the frame: the skin switched with the documents open.
    layered->AddSkinMenu(frame->SkinMenu());
    vcl::Construct<skin_layered::TsSkinProvider>(frame);
    frame->SetBounds(40, 40, 700, 520);
    frame->Show();
    ShowMdiDocuments(frame);
    vcl::Application->Run();
    return ExitCode();
  }
  if (Options.page == Page::Layered || Options.page == Page::LayeredDialogs || Options.page == Page::LayeredBorders ||
      Options.page == Page::LayeredMessageBoxes || Options.page == Page::LayeredCommonDialogs ||
      Options.page == Page::Scrolling || (Options.layeredPath && Options.page == Page::Menus)) {
    // The layered engine's page alone: no classic skin hooks its windows. Its menus page pops
    // up the sample menu.
    if (Options.layeredPath) TGalleryLayered::SetPageSource(LayeredSourceOf(*Options.layeredPath));
    auto* layered = vcl::Application->CreateForm<TGalleryLayered>();
    layered->Show();
    if (TakingShots()) {
      if (Options.page == Page::Layered) AddShotStep(TurnCheckMarks);
      AddDialogSteps(layered, Options.page);
    }
    new TGalleryPageOpener(layered, Options.page);  // owned by the page
    vcl::Application->Run();
    return ExitCode();
  }
  // The MDI frame is the main form: MDI documents need it there.
  auto* frame = vcl::Application->CreateForm<TGalleryMdiFrame>();
  auto* main = vcl::Application->CreateForm<TGalleryMain>();
  main->WearClassicSkin(Options.classicFile);
  main->AddSkinMenu(frame->SkinMenu());

  const Page page = Options.page;
  const bool mdi = page == Page::All || page == Page::Mdi;
  vcl::Application->SetShowMainForm(mdi);
  if (page != Page::Mdi) main->Show();
  if (mdi) {
    frame->Show();
    main->ShowMdiWindows();
  }
  if (page != Page::Mdi) main->BringToFront();
  if (TakingShots() && page == Page::Controls) AddShotStep(TurnCheckMarks);
  new TGalleryPageOpener(main, page);  // owned by the main form
  vcl::Application->Run();
  return ExitCode();
}

}  // namespace gallery
