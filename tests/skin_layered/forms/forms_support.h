// Shared by the form skinning's tests: message spies around the provider, a skin with the form's
// sections in flat colours, a base fixture, and the menu loops of menu_loop.h.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "classlib/controls/WindowProcHook.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "manager_support.h"
#include "menu_loop.h"
#include "support/win_test_support.h"

namespace skin_layered::test {

// Records the WParams of what reaches its place in a control's WindowProc chain; answers what
// `answers` says (or, given a message, that one) instead of passing those messages on.
class MessageSpy {
 public:
  explicit MessageSpy(vcl::TControl* control, std::optional<UINT> keep = {}) {
    if (keep) answers[*keep] = 0;
    hook_.Install(control, vcl::TWndMethod::Bind<&MessageSpy::WndProc>(this));
  }
  MessageSpy(const MessageSpy&) = delete;
  MessageSpy& operator=(const MessageSpy&) = delete;

  int Count(UINT msg) { return static_cast<int>(seen[msg].size()); }
  std::map<UINT, LRESULT> answers;
  std::map<UINT, std::vector<WPARAM>> seen;
  std::function<void(const vcl::TMessage&)> OnMessage;  // told of each message first
  vcl::TWindowProcHook& Hook() { return hook_; }

 private:
  void WndProc(vcl::TMessage& message) {
    seen[message.Msg].push_back(message.WParam);
    if (OnMessage) OnMessage(message);
    if (const auto it = answers.find(message.Msg); it != answers.end()) {
      message.Result = it->second;
      return;
    }
    hook_.CallPrevious(message);
  }
  vcl::TWindowProcHook hook_;
};

// The form's sections: the form with a gradient share, its title and caption.
inline std::string FormSkinText(const std::string& extra = {}) {
  return SkinText("[FORM]\r\nCOLOR=$A0B0C0\r\nFONTCOLOR=$101010\r\nGRADIENTPERCENT=50\r\nSTATES=2\r\n"
                  "[FORMTITLE]\r\nCOLOR=$3060C0\r\n[CAPTION]\r\nCOLOR=$203040\r\n"
                  "[DIALOG]\r\nCOLOR=$C0C0C0\r\n" +
                  extra);
}

inline LRESULT Command(HWND wnd, int command, LPARAM lparam = 0, std::uint16_t low = 0) {
  return SendMessageW(wnd, kSkinCmdMessage, SkinCommandWParam(command, low), lparam);
}

struct ProviderDeleter {
  void operator()(TsSkinProvider* p) const { vcl::TObject::Free(p); }
};
using ProviderPtr = std::unique_ptr<TsSkinProvider, ProviderDeleter>;

inline ProviderPtr NewProvider(vcl::TComponent* owner) {
  return ProviderPtr(vcl::Construct<TsSkinProvider>(owner));
}

// A border form without a window of its own: its parent's and the caption heights given.
class TFakeBorderForm : public TqvBorderForm {
 public:
  TFakeBorderForm(HWND parent, int skinned, int system) : parent_(parent), skinned_(skinned), system_(system) {}
  HWND ParentHandle() const override { return parent_; }
  int CaptionHeight(bool CheckSkin) const override { return CheckSkin ? skinned_ : system_; }
  void UpdateExBordersPos(bool, std::uint8_t) override {}

 private:
  HWND parent_;
  int skinned_, system_;
};

// The message of the EAbort a call raises ("" when it raises none).
inline vcl::String AbortMessage(const std::function<void()>& call) {
  try {
    call();
  } catch (const vcl::EAbort& e) {
    return e.Message();
  }
  return L"";
}

// The frame calculations sent to the thread's windows while it lives.
using FrameCalcCounter = wintest::SentMessages<WM_NCCALCSIZE>;

// Makes the form the active window, or another form (shown for it) the active one instead.
inline void ActivateFormOrOther(HWND form, vcl::TCustomForm& other, bool active) {
  if (active) {
    SetActiveWindow(form);
    SendMessageW(form, WM_NCACTIVATE, TRUE, 0);
  } else {
    other.Show();
    SetActiveWindow(other.Handle());
  }
}

// The window region's box (empty without a region).
inline vcl::TRect RegionBox(HWND wnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(wnd, rgn);
  RECT box{};
  if (kind != ERROR) GetRgnBox(rgn, &box);
  DeleteObject(rgn);
  return kind == ERROR ? vcl::TRect() : vcl::TRect(box);
}

inline vcl::TRect WindowBox(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return vcl::TRect(r);
}

// Whether a point of a window lies in its region (without a region: everywhere).
inline bool InWindowRegion(HWND wnd, int x, int y) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool inside = GetWindowRgn(wnd, rgn) == ERROR || PtInRegion(rgn, x, y);
  DeleteObject(rgn);
  return inside;
}

// The luminance (0 to 255) of an 0xRRGGBB colour.
inline int Luminance(std::uint32_t rgb) {
  return static_cast<int>((299 * ((rgb >> 16) & 0xFF) + 587 * ((rgb >> 8) & 0xFF) + 114 * (rgb & 0xFF)) / 1000);
}

// How many pixels of R stand off the face R shows most (its commonest colour) by at least
// Bound in luminance: a sign one can read on its face has a good many. Pixel gives 0xRRGGBB
// (its top byte left out).
inline int ContrastingPixels(const std::function<std::uint32_t(int x, int y)>& Pixel, const vcl::TRect& r,
                             int Bound = 96) {
  std::map<std::uint32_t, int> counts;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) ++counts[Pixel(x, y) & 0xFFFFFF];
  if (counts.empty()) return 0;
  const auto face = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  int off = 0;
  for (const auto& [colour, count] : counts)
    if (std::abs(Luminance(colour) - Luminance(face->first)) >= Bound) off += count;
  return off;
}
inline int ContrastingPixels(vcl::TBitmap* image, const vcl::TRect& r, int Bound = 96) {
  return ContrastingPixels([image](int x, int y) { return PixelOf(image, x, y); }, r, Bound);
}

// A form and its provider over skins of the test's own; skin changes are not animated.
class FormSkinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
  }
  void TearDown() override {
    if (form && form->HandleAllocated() && form->Visible()) form->Hide();
    provider.reset();
    form.reset();
    manager.reset();
  }
  void WriteSkin(const wchar_t* name, const std::string& text) const {
    skins.Write(name, L"Options.dat", BytesOf(text));
  }
  HWND Wnd() { return form->Handle(); }
  vcl::TBitmap* Repaint() {
    provider->SkinData->BGChanged = true;
    provider->PaintAll();
    return provider->SkinData->CacheBmp();
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = NewForm();
  ProviderPtr provider;
};

}  // namespace skin_layered::test
