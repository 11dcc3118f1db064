// Message dialogs: the form is laid out for its text (wrapped at half the screen's width),
// its icon and its buttons, all in the form's font.
#include "classlib/stdctrls/MessageDialog.h"

#include <algorithm>
#include <memory>

#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

namespace {

struct TButtonKind {
  const wchar_t* Name;
  const wchar_t* Caption;
  TModalResult Result;
};

// Indexed by TMsgDlgBtn.
constexpr TButtonKind kButtons[] = {
    {L"Yes", L"&Yes", mrYes},         {L"No", L"&No", mrNo},
    {L"OK", L"OK", mrOk},             {L"Cancel", L"Cancel", mrCancel},
    {L"Abort", L"&Abort", mrAbort},   {L"Retry", L"&Retry", mrRetry},
    {L"Ignore", L"&Ignore", mrIgnore}, {L"All", L"&All", mrAll},
    {L"NoToAll", L"N&o to All", mrNoToAll}, {L"YesToAll", L"Yes to &All", mrYesToAll},
    {L"Help", L"&Help", mrNone},
};

struct TKind {
  const wchar_t* Caption;
  WORD Icon;  // the system icon's number, 0: none
};

// Indexed by TMsgDlgType (the icons: IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION).
constexpr TKind kKinds[] = {
    {L"Warning", 32515}, {L"Error", 32513}, {L"Information", 32516}, {L"Confirm", 32514}, {nullptr, 0},
};

constexpr int kMargin = 12;
constexpr int kIconSpacing = 12;
constexpr int kButtonGap = 8;
constexpr int kButtonHeight = 25;
constexpr int kMinButtonWidth = 75;

// The size Text takes in the form's font, wrapped at MaxWidth (flags of DrawText).
TRect MeasureText(TFont* Font, const String& Text, int MaxWidth, UINT Flags) {
  RECT r{0, 0, MaxWidth, 0};
  const SelectGuard font(MeasureDC(), Font->Handle());
  const String measured = Text.empty() ? String(L" ") : Text;
  DrawTextW(MeasureDC(), measured.c_str(), static_cast<int>(measured.size()), &r, Flags | DT_CALCRECT);
  return TRect(r);
}

}  // namespace

VCL_CLASS_INFO(TMessageForm) {}

TMessageForm::TMessageForm(TComponent* AOwner) : TForm(AOwner, 0) {}

TMessageForm::~TMessageForm() = default;

void TMessageForm::Paint() {
  if (icon_) DrawIconEx(Canvas()->Handle(), icon_rect_.Left, icon_rect_.Top, icon_, 0, 0, 0, nullptr, DI_NORMAL);
  TForm::Paint();
}

TForm* CreateMessageDialog(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
  auto* form = Construct<TMessageForm>(Application);
  try {
    form->dlg_type_ = DlgType;
    form->SetBorderStyle(TFormBorderStyle::bsDialog);
    form->SetPosition(poDesigned);
    const TKind& kind = kKinds[static_cast<size_t>(DlgType)];
    form->SetCaption(kind.Caption ? String(kind.Caption) : (Application ? Application->Title() : String()));
    if (kind.Icon) form->icon_ = LoadIconW(nullptr, MAKEINTRESOURCEW(kind.Icon));

    const UINT textFlags = DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX;
    const TRect text = MeasureText(form->Font(), Msg, std::max(GetSystemMetrics(SM_CXSCREEN) / 2, 100), textFlags);
    const int iconSize = form->icon_ ? GetSystemMetrics(SM_CXICON) : 0;
    const int textLeft = kMargin + (iconSize ? iconSize + kIconSpacing : 0);

    // The buttons in their kinds' order, each at least as wide as its caption needs.
    std::vector<TMsgDlgBtn> kinds;
    for (int b = 0; b < static_cast<int>(std::size(kButtons)); ++b)
      if (Buttons.Contains(static_cast<TMsgDlgBtn>(b))) kinds.push_back(static_cast<TMsgDlgBtn>(b));
    int buttonWidth = kMinButtonWidth;
    for (TMsgDlgBtn b : kinds)
      buttonWidth = std::max(buttonWidth, MeasureText(form->Font(), kButtons[static_cast<size_t>(b)].Caption, 1000,
                                                      DT_SINGLELINE).Width() + 16);
    const int buttonsWidth =
        kinds.empty() ? 0 : static_cast<int>(kinds.size()) * buttonWidth + (static_cast<int>(kinds.size()) - 1) * kButtonGap;

    const int contentHeight = std::max(text.Height(), iconSize);
    const int clientWidth = std::max(textLeft + text.Width(), buttonsWidth + kMargin) + kMargin;
    const int buttonTop = kMargin + contentHeight + kMargin;
    form->SetClientSize(clientWidth, buttonTop + (kinds.empty() ? 0 : kButtonHeight + kMargin));
    form->icon_rect_ = Bounds(kMargin, kMargin, iconSize, iconSize);

    auto* message = Construct<TLabel>(form);
    message->SetName(L"Message");
    message->SetParent(form);
    message->SetWordWrap(true);
    message->SetShowAccelChar(false);
    message->SetCaption(Msg);
    message->SetBoundsRect(Bounds(textLeft, kMargin + (contentHeight - text.Height()) / 2, text.Width(), text.Height()));

    const TMsgDlgBtn defaultKind = Buttons.Contains(mbOK) ? mbOK : mbYes;
    const TMsgDlgBtn cancelKind = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;
    int x = (clientWidth - buttonsWidth) / 2;
    for (TMsgDlgBtn b : kinds) {
      const TButtonKind& k = kButtons[static_cast<size_t>(b)];
      auto* button = Construct<TButton>(form);
      button->SetName(k.Name);
      button->SetParent(form);
      button->SetCaption(k.Caption);
      button->SetModalResult(k.Result);
      button->SetBounds(x, buttonTop, buttonWidth, kButtonHeight);
      if (b == defaultKind) {
        button->SetDefault(true);
        form->SetActiveControl(button);
      }
      if (b == cancelKind) button->SetCancel(true);
      x += buttonWidth + kButtonGap;
    }
  } catch (...) {
    TObject::Free(form);
    throw;
  }
  return form;
}

int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y) {
  (void)HelpCtx;
  std::unique_ptr<TForm, void (*)(TForm*)> form(CreateMessageDialog(Msg, DlgType, Buttons),
                                                 [](TForm* f) { TObject::Free(f); });
  if (X >= 0 && Y >= 0) {
    form->SetLeft(X);
    form->SetTop(Y);
  } else {
    form->SetPosition(poScreenCenter);
  }
  return form->ShowModal();
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
  return MessageDlgPos(Msg, DlgType, Buttons, HelpCtx, -1, -1);
}

void ShowMessage(const String& Msg) { MessageDlgPos(Msg, mtCustom, {mbOK}, 0, -1, -1); }

}  // namespace vcl
