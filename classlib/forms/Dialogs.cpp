#include "classlib/forms/Dialogs.h"

#include <array>
#include <cwchar>
#include <utility>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"

namespace vcl {

VCL_CLASS_INFO(TCommonDialog) {}

VCL_CLASS_INFO(TColorDialog) {
  p.Integer<&TColorDialog::Color, &TColorDialog::SetColor>(L"Color", clBlack, &ColorTypeInfo());
  p.Object<&TColorDialog::CustomColors, &TColorDialog::SetCustomColors>(L"CustomColors", TStrings::StaticClass());
  p.Set<&TColorDialog::Options, &TColorDialog::SetOptions>(L"Options", 0);
}

namespace {

TChooseColorFunction& ChooseColorFunction() {
  static TChooseColorFunction function;
  return function;
}

// The common dialog library (and the print spooler it brings along) is loaded when a dialog
// is first shown rather than at every start of the program.
BOOL SystemChooseColor(CHOOSECOLORW* Params) {
  using Function = BOOL(WINAPI*)(CHOOSECOLORW*);
  static const Function function = [] {
    HMODULE library = LoadLibraryW(L"comdlg32.dll");
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, "ChooseColorW")))
                   : nullptr;
  }();
  return function ? function(Params) : FALSE;
}

bool RunChooseColor(CHOOSECOLORW& Params) {
  if (const TChooseColorFunction& f = ChooseColorFunction()) return f(Params);
  return SystemChooseColor(&Params) != FALSE;
}

// The application is in a modal state while a common dialog is shown.
class ModalScope {
 public:
  ModalScope() {
    if (Application) Application->ModalStarted();
  }
  ~ModalScope() {
    if (Application) Application->ModalFinished();
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
};

constexpr int kCustomColorCount = 16;
constexpr COLORREF kDefaultCustomColor = 0xFFFFFF;

String CustomColorName(int Index) { return L"Color" + String(1, static_cast<wchar_t>(L'A' + Index)); }

// A hexadecimal colour value of at most six digits; anything else gives the default.
COLORREF ParseCustomColor(const String& Text) {
  if (Text.empty() || Text.size() > 6) return kDefaultCustomColor;
  COLORREF value = 0;
  for (wchar_t c : Text) {
    int digit;
    if (c >= L'0' && c <= L'9') digit = c - L'0';
    else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
    else return kDefaultCustomColor;
    value = value * 16 + static_cast<COLORREF>(digit);
  }
  return value;
}

String FormatCustomColor(COLORREF Value) {
  wchar_t text[16] = {};
  swprintf(text, 16, L"%.6X", static_cast<unsigned>(Value & 0xFFFFFF));
  return text;
}

}  // namespace

TChooseColorFunction SetChooseColorFunction(TChooseColorFunction Function) {
  return std::exchange(ChooseColorFunction(), std::move(Function));
}

bool TCommonDialog::Execute() {
  HWND owner = nullptr;
  if (Screen && Screen->ActiveCustomForm() && Screen->ActiveCustomForm()->HandleAllocated())
    owner = Screen->ActiveCustomForm()->Handle();
  else if (Application)
    owner = Application->Handle();
  return Execute(owner);
}

TColorDialog::TColorDialog(TComponent* AOwner)
    : TCommonDialog(AOwner), custom_colors_(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

bool TColorDialog::Execute(HWND ParentWnd) {
  std::array<COLORREF, kCustomColorCount> custom;
  for (int i = 0; i < kCustomColorCount; ++i)
    custom[static_cast<size_t>(i)] = ParseCustomColor(custom_colors_->Values(CustomColorName(i)));

  CHOOSECOLORW params{};
  params.lStructSize = sizeof(params);
  params.hwndOwner = ParentWnd;
  params.rgbResult = static_cast<COLORREF>(ColorToRGB(color_));
  params.lpCustColors = custom.data();
  params.Flags = CC_RGBINIT;
  if (options_.Contains(cdFullOpen)) params.Flags |= CC_FULLOPEN;
  if (options_.Contains(cdPreventFullOpen)) params.Flags |= CC_PREVENTFULLOPEN;
  if (options_.Contains(cdShowHelp)) params.Flags |= CC_SHOWHELP;
  if (options_.Contains(cdSolidColor)) params.Flags |= CC_SOLIDCOLOR;
  if (options_.Contains(cdAnyColor)) params.Flags |= CC_ANYCOLOR;

  bool confirmed;
  {
    ModalScope modal;
    confirmed = RunChooseColor(params);
  }
  if (!confirmed) return false;
  color_ = static_cast<TColor>(params.rgbResult & 0xFFFFFF);
  for (int i = 0; i < kCustomColorCount; ++i)
    custom_colors_->SetValues(CustomColorName(i), FormatCustomColor(custom[static_cast<size_t>(i)]));
  return true;
}

// The unit's start-up makes the dialogs known to form descriptions.
namespace {
void InitDialogsUnit() { TColorDialog::StaticClass(); }
}  // namespace

VCL_UNIT_LINKED(Dialogs);
const TUnitRegistration kDialogsUnit{TUnitGroup::ClassLibrary, 30, L"Dialogs", &InitDialogsUnit, nullptr};

}  // namespace vcl
