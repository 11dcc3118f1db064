#include "skin_classic/controls/SkinMediaPlayer.h"

#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

constexpr const wchar_t* kButtonNames[kPlayerButtons] = {L"MPPLAY", L"MPPAUSE", L"MPSTOP",   L"MPNEXT", L"MPPREV",
                                                         L"MPSTEP", L"MPBACK",  L"MPRECORD", L"MPEJECT"};
// The player's identifiers of its buttons, in the same order.
constexpr const wchar_t* kButtonIdents[kPlayerButtons] = {L"btplay", L"btpause", L"btstop",   L"btnext", L"btprev",
                                                          L"btstep", L"btback",  L"btrecord", L"bteject"};
constexpr const wchar_t* kSetNames[3] = {L"EN", L"DI", L"CL"};
constexpr int kSetEnabled = 0, kSetDisabled = 1, kSetColored = 2;
// Glyph pixels of this colour are transparent.
constexpr vcl::TColor kGlyphTransparent = 0x008080;

// Whether a set's text ("btPlay,btStop") names an identifier.
bool SetHas(const vcl::String& Lowered, vcl::StringView Ident) {
  size_t start = 0;
  while (start <= Lowered.size()) {
    size_t end = Lowered.find(L',', start);
    if (end == vcl::String::npos) end = Lowered.size();
    vcl::String item = Lowered.substr(start, end - start);
    std::erase_if(item, [](wchar_t c) { return c == L' ' || c == L'[' || c == L']'; });
    if (item == Ident) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TWMediaPlayer

VCL_CLASS_INFO(TWMediaPlayer) {}

TWMediaPlayer::TWMediaPlayer(vcl::TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(false);
  for (int b = 0; b < kPlayerButtons; ++b)
    for (int s = 0; s < 3; ++s) {
      auto glyph = std::make_unique<vcl::TBitmap>();
      try {
        glyph->LoadFromResourceName(SkinModuleInstance(), vcl::String(kSetNames[s]) + L"_" + kButtonNames[b]);
      } catch (const std::exception&) {
        // A missing glyph leaves the face without it; the button still clicks.
        glyph = std::make_unique<vcl::TBitmap>();
      }
      FGlyphs[b][s] = std::move(glyph);
    }
}

TWMediaPlayer::~TWMediaPlayer() = default;

bool TWMediaPlayer::HasGlyph(int Set, int Button) const {
  return Set >= 0 && Set < 3 && Button >= 0 && Button < kPlayerButtons && !FGlyphs[Button][Set]->Empty();
}

void TWMediaPlayer::Attach(TSkinMP* Skinner, vcl::TWinControl* Player, TSkinData* SkinData) {
  FSkinner = Skinner;
  FPlayer = Player;
  FSkinData = SkinData;
  if (SkinData) SetTag(SkinData->DisableTag());
  if (HWND parent = GetParent(Player->Handle())) SetParentWindow(parent);
  FollowPlayer();
}

void TWMediaPlayer::FollowPlayer() {
  if (!FPlayer || !FPlayer->HandleAllocated()) return;
  RECT r{};
  GetWindowRect(FPlayer->Handle(), &r);
  MapWindowPoints(nullptr, GetParent(FPlayer->Handle()), reinterpret_cast<POINT*>(&r), 2);
  SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  SetVisible(ShownInParent(FPlayer->Handle()));
  // Just above the player.
  HWND above = GetWindow(FPlayer->Handle(), GW_HWNDPREV);
  if (above == Handle()) above = GetWindow(above, GW_HWNDPREV);
  SetWindowPos(Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWMediaPlayer::ReadButtons() {
  const vcl::String visible = vcl::LowerCase(GetSetPropText(FPlayer, L"VisibleButtons"));
  const vcl::String enabled = vcl::LowerCase(GetSetPropText(FPlayer, L"EnabledButtons"));
  const vcl::String colored = vcl::LowerCase(GetSetPropText(FPlayer, L"ColoredButtons"));
  FButtonCount = 0;
  for (int b = 0; b < kPlayerButtons; ++b) {
    buttons_[b] = {SetHas(visible, kButtonIdents[b]), SetHas(enabled, kButtonIdents[b]),
                   SetHas(colored, kButtonIdents[b])};
    if (buttons_[b].Visible) ++FButtonCount;
  }
  FButtonWidth = FButtonCount ? Width() / FButtonCount : 0;
}

int TWMediaPlayer::ButtonAt(int X) const {
  if (FButtonWidth <= 0 || X < 0) return -1;
  int x = 0;
  for (int b = 0; b < kPlayerButtons; ++b) {
    if (!buttons_[b].Visible) continue;
    if (X >= x && X < x + FButtonWidth) return b;
    x += FButtonWidth;
  }
  return -1;
}

void TWMediaPlayer::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      FMouseDown = true;
      TCustomControl::Dispatch(Message);
      if (FPlayer) FPlayer->Perform(Message.Msg, Message.WParam, Message.LParam);
      ReleaseCapture();
      ReadButtons();
      FHitButton = ButtonAt(static_cast<short>(LOWORD(Message.LParam)));
      FPressedButton = FHitButton;
      Invalidate();
      return;
    case WM_LBUTTONUP:
      FMouseDown = false;
      TCustomControl::Dispatch(Message);
      FHitButton = ButtonAt(static_cast<short>(LOWORD(Message.LParam)));
      // Only a release over the pressed button reaches the player.
      if (FPlayer && FHitButton >= 0 && FHitButton == FPressedButton)
        FPlayer->Perform(Message.Msg, Message.WParam, Message.LParam);
      Invalidate();
      return;
    case SKM_QUERYNOSKIN: Message.Result = 1; return;  // the engine's own window
    default: TCustomControl::Dispatch(Message); return;
  }
}

void TWMediaPlayer::Paint() {
  const vcl::TMemoryContextScope contexts;  // the pictures' DCs go when the paint is done
  HDC dc = Canvas()->Handle();
  const int w = Width(), h = Height();
  if (!FPlayer || w <= 0 || h <= 0) return;
  ReadButtons();
  const vcl::TColor face = FSkinner ? FSkinner->FaceColor() : vcl::clBtnFace;
  if (FButtonCount == 0) {
    FillRectColor(dc, TRect(0, 0, w, h), face);
    return;
  }
  std::unique_ptr<TBitmap> buffer = NewSkinBitmap(w, h);
  if (!buffer) return;
  HDC bdc = buffer->Canvas()->Handle();
  FillRectColor(bdc, TRect(0, 0, w, h), face);
  TDataSkinButton* buttons = FSkinData && !FSkinData->Empty() ? FSkinData->Skin()->Buttons() : nullptr;
  int x = 0;
  for (int b = 0; b < kPlayerButtons; ++b) {
    if (!buttons_[b].Visible) continue;
    const TRect r(x, 0, x + FButtonWidth, h);
    x += FButtonWidth;
    const bool pressed = FMouseDown && FPressedButton == b;
    if (buttons && buttons->HasBitmap()) {
      DrawSkinBitmapRect(bdc, r, buttons->Bitmap.get(), buttons->Margins(), buttons->Tile != 0, buttons->Frame,
                         pressed ? 2 : 1, buttons->Transparent());
    } else {
      // The skin has no button faces: the system's, as the player draws them itself.
      TRect face = r;
      DrawFrameControl(bdc, face.AsRECT(), DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }
    const bool enabled = buttons_[b].Enabled && FPlayer->Enabled();
    const int set = !enabled ? kSetDisabled : buttons_[b].Colored ? kSetColored : kSetEnabled;
    vcl::TBitmap* glyph = FGlyphs[b][set].get();
    if (glyph->Empty()) continue;
    const int gx = r.Left + (r.Width() - glyph->Width()) / 2 + (pressed ? 1 : 0);
    const int gy = r.Top + (r.Height() - glyph->Height()) / 2 + (pressed ? 1 : 0);
    DrawTransparentBitmap(bdc, gx, gy, glyph, kGlyphTransparent);
  }
  BitBlt(dc, 0, 0, w, h, bdc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------
// TSkinMP

VCL_CLASS_INFO(TSkinMP) {}

TSkinMP::TSkinMP(vcl::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinMP::~TSkinMP() = default;

void TSkinMP::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  if (!FAttached) return;
  panel_.reset(new TWMediaPlayer(nullptr));
  panel_->Attach(this, FControl, SkinData);
}

void TSkinMP::RestoreControl() {
  TSkinControl::RestoreControl();
  if (FStatus != kSkinnerWindowGone) panel_.reset();
}

void TSkinMP::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
      if (panel_) panel_->FollowPlayer();
      break;
    case vcl::CM_VISIBLECHANGED:
      if (!panel_) break;
      panel_->FollowPlayer();
      panel_->SetVisible(Message.WParam != 0);
      break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

}  // namespace winskin
