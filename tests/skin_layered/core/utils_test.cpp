// The message box, INI text over lines, published properties by name, system settings,
// files and windows, and the do-nothing services of the neighbouring subsystems.
#include <windows.h>
#include <shellapi.h>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/rtl/SysInfo.h"
#include "classlib/rtl/TypInfo.h"
#include "core_win_support.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinDialogs.h"
#include "skin_layered/core/WindowUtils.h"

namespace skin_layered::test {

VCL_ENUM(TProbeKind, ab, abc, x)

// Published properties of each kind the by-name routines tell apart.
class TPropsProbe : public vcl::TPersistent {
  VCL_CLASS(TPropsProbe, vcl::TPersistent)
 public:
  TPropsProbe() = default;

  int Level() const { return level_; }
  void SetLevel(int Value) { level_ = Value; }
  vcl::Set<TProbeKind> Kinds() const { return kinds_; }
  void SetKinds(vcl::Set<TProbeKind> Value) { kinds_ = Value; }
  vcl::TStringList* Lines() const { return lines_.get(); }
  void SetLines(vcl::TStringList* Value) { lines_->Assign(Value); }
  vcl::String Title() const { return title_; }
  void SetTitle(const vcl::String& Value) { title_ = Value; }

 private:
  int level_ = 7;
  vcl::Set<TProbeKind> kinds_{TProbeKind::abc};
  std::unique_ptr<vcl::TStringList> lines_ = std::make_unique<vcl::TStringList>();
  vcl::String title_;
};

VCL_CLASS_INFO(TPropsProbe) {
  p.Integer<&TPropsProbe::Level, &TPropsProbe::SetLevel>(L"Level");
  p.Set<&TPropsProbe::Kinds, &TPropsProbe::SetKinds>(L"Kinds");
  p.Object<&TPropsProbe::Lines, &TPropsProbe::SetLines>(L"Lines", vcl::TStringList::StaticClass());
  p.String<&TPropsProbe::Title, &TPropsProbe::SetTitle>(L"Title");
}

namespace {

TEST(MessageBox, CaptionsIconsAndButtons) {
  using enum TMsgDlgBtn;
  RecordedBoxes boxes(IDNO);
  EXPECT_EQ(ShowMessageEx(L"Save?", kMessageConfirm, {mbYes, mbNo, mbCancel}, 0), IDNO);
  ShowWarning(L"Careful");
  MessageDlgEx(L"Own title", L"Text", kMessageError, -1, -1, 0, {mbAbort, mbRetry, mbIgnore});
  ShowMessageEx(L"Info", kMessageInformation, {mbOK, mbCancel, mbHelp}, 5);
  ShowMessageEx(L"Plain", 9, {mbRetry}, 0);
  ShowMessageEx(L"Yes or no", kMessageWarning, {mbYes, mbNo}, 0);
  const std::pair<const wchar_t*, UINT> expected[] = {
      {L"Confirm", MB_ICONQUESTION | MB_YESNOCANCEL}, {L"Warning", MB_ICONEXCLAMATION | MB_OK},
      {L"Own title", MB_ICONHAND | MB_ABORTRETRYIGNORE}, {L"Information", MB_ICONASTERISK | MB_OKCANCEL | MB_HELP},
      {L"", MB_RETRYCANCEL}, {L"Warning", MB_ICONEXCLAMATION | MB_YESNO}};
  ASSERT_EQ(boxes.boxes.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(boxes.boxes[i].Caption, expected[i].first) << i;
    EXPECT_EQ(boxes.boxes[i].Flags, expected[i].second) << i;
  }
}

TEST(MessageBox, ThePositionHoldsForTheBoxOnlyAndOtherWindowsAreDisabledMeanwhile) {
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(other);
  int seenX = 0, seenY = 0;
  bool otherEnabled = true;
  auto previous = vcl::SetMessageBoxFunction([&](HWND, const vcl::String&, const vcl::String&, UINT) {
    seenX = DialogPosX;
    seenY = DialogPosY;
    otherEnabled = IsWindowEnabled(other) != FALSE;
    return IDOK;
  });
  MessageDlgEx(L"", L"Here", kMessageInformation, 120, 80, 0, {TMsgDlgBtn::mbOK});
  vcl::SetMessageBoxFunction(std::move(previous));
  EXPECT_EQ(seenX, 120);
  EXPECT_EQ(seenY, 80);
  EXPECT_FALSE(otherEnabled);
  EXPECT_EQ(DialogPosX, -1);
  EXPECT_EQ(DialogPosY, -1);
  EXPECT_TRUE(IsWindowEnabled(other));
  DestroyWindow(other);
}

TEST(IniText, SectionsKeysAndHexadecimalValues) {
  vcl::TStringList lines;
  lines.SetText(L"orphan=1\r\n; comment\r\n[BUTTON]\r\n\r\nCOLOR=0xFF\r\nGLOW=$10\r\nSIZE=12\r\nBAD=0x\r\n[EDIT]\r\n"
                L"COLOR=abc\r\n[BUTTON]\r\nEXTRA=later\r\nCOLOR=7\r\n");
  TqvIniSections sections;
  sections.push_back({L"STALE", {}});
  LoadIniSections(&lines, sections);
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0].Name, L"BUTTON");
  EXPECT_EQ(sections[0].Lines.size(), 4u);
  EXPECT_EQ(ReadIniStr(sections, L"BUTTON", L"SIZE", L"-"), L"12");
  EXPECT_EQ(ReadIniStr(sections, L"BUTTON", L"EXTRA", L"-"), L"later");  // the first section that has it
  EXPECT_EQ(ReadIniStr(sections, L"BUTTON", L"orphan", L"-"), L"-");
  EXPECT_EQ(ReadIniStr(sections, L"button", L"SIZE", L"-"), L"-");
  EXPECT_EQ(ReadIniInt(sections, L"BUTTON", L"COLOR", 0), 255);
  EXPECT_EQ(ReadIniInt(sections, L"BUTTON", L"GLOW", 0), 16);
  EXPECT_EQ(ReadIniInt(sections, L"BUTTON", L"BAD", -4), -4);
  EXPECT_EQ(ReadIniInt(sections, L"EDIT", L"COLOR", -5), -5);
  EXPECT_EQ(ReadIniInt(sections, L"NONE", L"COLOR", 3), 3);
}

TEST(PropertiesByName, ReadWriteAndMissing) {
  TPropsProbe probe;
  EXPECT_FALSE(HasProperty(nullptr, L"Level"));
  EXPECT_EQ(GetIntProp(&probe, L"Width"), -1);
  EXPECT_EQ(GetIntProp(&probe, L"Title"), -1);  // not ordinal
  SetIntProp(&probe, L"Level", 42);
  SetIntProp(&probe, L"Width", 1);  // missing: nothing happens
  EXPECT_EQ(GetIntProp(&probe, L"Level"), 42);
  EXPECT_EQ(GetObjProp(&probe, L"Lines"), probe.Lines());
  EXPECT_EQ(GetObjProp(&probe, L"Level"), nullptr);
}

TEST(PropertiesByName, SetElementsAreComparedWhole) {
  TPropsProbe probe;  // Kinds = [abc]
  EXPECT_TRUE(PropSetHasItem(&probe, L"Kinds", L"abc"));
  EXPECT_FALSE(PropSetHasItem(&probe, L"Kinds", L"ab"));
  EXPECT_FALSE(PropSetHasItem(&probe, L"Kinds", L"zz"));
  EXPECT_FALSE(PropSetHasItem(&probe, L"Level", L"ab"));

  EXPECT_FALSE(ChangeSetProp(&probe, L"Kinds", L"ab", true));  // "ab" is not already there in "abc"
  EXPECT_EQ(probe.Kinds(), (vcl::Set<TProbeKind>{TProbeKind::ab, TProbeKind::abc}));
  ChangeSetProp(&probe, L"Kinds", L"ab", false);  // removes "ab", leaves "abc" whole
  EXPECT_EQ(probe.Kinds(), (vcl::Set<TProbeKind>{TProbeKind::abc}));
  ChangeSetProp(&probe, L"Kinds", L"abc", false);
  EXPECT_TRUE(probe.Kinds().Empty());
  ChangeSetProp(&probe, L"Kinds", L"x", true);
  EXPECT_EQ(probe.Kinds(), (vcl::Set<TProbeKind>{TProbeKind::x}));
  EXPECT_FALSE(ChangeSetProp(&probe, L"Missing", L"x", true));
}

TEST(SystemRoutines, FoldersAndIcons) {
  const std::pair<const wchar_t*, const wchar_t*> dirs[] = {
      {L"", L""}, {L"C", L"C:\\"}, {L"c:\\skins/", L"c:\\skins\\"}, {L"c:\\skins\\", L"c:\\skins\\"}, {L"skins", L"skins\\"}};
  for (const auto& [dir, normal] : dirs) EXPECT_EQ(NormalizeDir(dir), normal);
  EXPECT_EQ(GetShellIcon(ProgramFolder() + L"no-such-file.exe", SHGFI_SMALLICON), nullptr);
}

TEST(WindowRoutines, FormsReadinessAndWindows) {
  auto* form = new vcl::TForm(vcl::Application, 0);  // without a description
  auto* panel = new vcl::TPanel(form);
  EXPECT_FALSE(ControlReady(panel));  // no parent
  panel->SetParent(form);
  EXPECT_EQ(GetOwnerForm(panel), form);
  EXPECT_EQ(GetOwnerForm(nullptr), nullptr);
  panel->HandleNeeded();
  EXPECT_TRUE(ControlReady(panel));
  EXPECT_FALSE(ControlReady(nullptr));

  EXPECT_EQ(GetDrawTextFlags(panel, vcl::taRightJustify), UINT(DT_RIGHT | DT_VCENTER | DT_SINGLELINE));
  // A right-to-left control on a system set up for such scripts: mirrored and read from the right.
  const vcl::TSysLocale locale = vcl::SysLocale();
  vcl::TSysLocale middleEast = locale;
  middleEast.MiddleEast = true;
  vcl::SetSysLocale(middleEast);
  panel->SetBiDiMode(vcl::bdRightToLeft);
  EXPECT_EQ(GetDrawTextFlags(panel, vcl::taRightJustify), UINT(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_RTLREADING));
  EXPECT_EQ(GetDrawTextFlags(panel, vcl::taLeftJustify), UINT(DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_RTLREADING));
  EXPECT_EQ(GetDrawTextFlags(panel, vcl::taCenter), UINT(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_RTLREADING));
  panel->SetBiDiMode(vcl::bdLeftToRight);
  vcl::SetSysLocale(locale);
  EXPECT_EQ(GetWndClassName(form->Handle()), L"TForm");

  vcl::TRect client;
  GetClientRectInWindow(form->Handle(), client);
  RECT window{}, clientRect{};
  GetWindowRect(form->Handle(), &window);
  GetClientRect(form->Handle(), &clientRect);
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  EXPECT_EQ(client.Left, origin.x - window.left);
  EXPECT_EQ(client.Top, origin.y - window.top);
  EXPECT_EQ(client.Width(), clientRect.right);
  EXPECT_GT(client.Top, 0);  // below the caption
  vcl::TObject::Free(form);
}

TEST(WindowRoutines, APlaceBelowAWindowThatHasGoneStillMovesTheWindow) {
  auto make = [] {
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
  };
  const HWND wnd = make(), above = make(), gone = make();
  ASSERT_TRUE(wnd && above && gone);
  auto place = [&](HWND after, UINT flags) {
    return PlaceWindowAfter(wnd, after, 40, 50, 60, 70, SWP_NOACTIVATE | flags);
  };
  auto at = [&] {
    RECT r{};
    GetWindowRect(wnd, &r);
    return vcl::TRect(r);
  };
  EXPECT_TRUE(place(above, 0));
  EXPECT_EQ(GetWindow(above, GW_HWNDNEXT), wnd);
  EXPECT_EQ(at(), vcl::Rect(40, 50, 100, 120));

  // The window it was to go below went meanwhile (another program's, read a moment earlier).
  DestroyWindow(gone);
  SetWindowPos(wnd, nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(place(gone, 0));
  EXPECT_EQ(at(), vcl::Rect(40, 50, 100, 120));
  // Without a z-order change nothing is tried twice.
  SetWindowPos(wnd, nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(place(gone, SWP_NOZORDER));
  EXPECT_EQ(at(), vcl::Rect(40, 50, 100, 120));
  // Given the window it is to lie above, it ends right above that one.
  const HWND cover = make();  // made last: on top of the others
  SetWindowPos(above, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(wnd, HWND_BOTTOM, 0, 0, 10, 10, SWP_NOACTIVATE);
  ASSERT_EQ(GetWindow(above, GW_HWNDNEXT), wnd);
  EXPECT_TRUE(PlaceWindowAfter(wnd, gone, 40, 50, 60, 70, SWP_NOACTIVATE, above));
  EXPECT_EQ(GetWindow(above, GW_HWNDPREV), wnd);
  EXPECT_EQ(at(), vcl::Rect(40, 50, 100, 120));
  DestroyWindow(cover);
  DestroyWindow(above);
  DestroyWindow(wnd);
  EXPECT_FALSE(PlaceWindowAfter(wnd, HWND_TOP, 0, 0, 1, 1, 0));
}

TEST(NeighbourServices, DoNothingUntilInstalled) {
  EXPECT_FALSE(FormServices().AeroIsEnabled());
  struct Composition : TLayeredFormServices {
    bool AeroIsEnabled() override { return true; }
  } composition;
  EXPECT_EQ(SetFormServices(&composition), nullptr);
  EXPECT_TRUE(FormServices().AeroIsEnabled());
  EXPECT_EQ(SetFormServices(nullptr), &composition);
  EXPECT_FALSE(FormServices().AeroIsEnabled());

  // The default dialog hook passes every event on: a window made under it is made as usual.
  HHOOK hook = SetWindowsHookExW(WH_CBT, AdapterServices().DialogHookProc(), nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  HWND wnd = CreateWindowExW(0, L"STATIC", L"hooked", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_TRUE(wnd);
  DestroyWindow(wnd);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(AdapterServices().SkinnedWindowList().empty());

  HookedAdapters().emplace_back(new TqvDialogWndBase, &vcl::TObject::Free);
  HookedAdapters().emplace_back(new TqvDialogWndBase, &vcl::TObject::Free);
  FreeHookedAdapters();
  EXPECT_TRUE(HookedAdapters().empty());
}

}  // namespace
}  // namespace skin_layered::test
