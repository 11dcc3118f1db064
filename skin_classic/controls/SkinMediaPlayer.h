// TSkinMP: a media player covered by TWMediaPlayer, a panel that draws the player's visible
// buttons on the skin's button faces with the engine's glyphs (sets "EN" enabled, "DI"
// disabled, "CL" coloured; bitmap resources "SET_BUTTON" drawn at build time, olive being
// transparent) and hands presses and releases on to the player.
#pragma once

#include <array>
#include <memory>

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

class TSkinMP;

inline constexpr int kPlayerButtons = 9;

class TWMediaPlayer : public vcl::TCustomControl {
  VCL_CLASS(TWMediaPlayer, TCustomControl)

 public:
  explicit TWMediaPlayer(vcl::TComponent* AOwner);
  ~TWMediaPlayer() override;

  // Covers the player: its bounds, its parent; the control mapping leaves the panel alone.
  void Attach(TSkinMP* Skinner, vcl::TWinControl* Player, TSkinData* SkinData);
  // Onto the player's bounds again.
  void FollowPlayer();

  // The visible button (0 .. 8 in the player's order) under a client x; -1 for none.
  int ButtonAt(int X) const;
  int ButtonWidth() const { return FButtonWidth; }
  int VisibleCount() const { return FButtonCount; }
  int PressedButton() const { return FMouseDown ? FPressedButton : -1; }
  // Whether a glyph of a set (0 EN, 1 DI, 2 CL) was found for a button.
  bool HasGlyph(int Set, int Button) const;

  void Dispatch(vcl::TMessage& Message) override;

 protected:
  void Paint() override;

 private:
  struct TButtonFlags {
    bool Visible = false;
    bool Enabled = false;
    bool Colored = false;
  };
  // The player's three button sets, read by name.
  void ReadButtons();

  std::array<std::array<std::unique_ptr<vcl::TBitmap>, 3>, kPlayerButtons> FGlyphs;
  std::array<TButtonFlags, kPlayerButtons> buttons_{};
  int FButtonCount = 0;
  int FButtonWidth = 0;
  bool FMouseDown = false;
  int FPressedButton = -1;
  int FHitButton = -1;
  TSkinData* FSkinData = nullptr;
  vcl::TWinControl* FPlayer = nullptr;
  TSkinMP* FSkinner = nullptr;
};

class TSkinMP : public TSkinControl {
  VCL_CLASS(TSkinMP, TSkinControl)

 public:
  explicit TSkinMP(vcl::TComponent* AOwner);
  ~TSkinMP() override;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void RestoreControl() override;
  void AfterProc(vcl::TMessage& Message) override;

  TWMediaPlayer* Panel() const { return panel_.get(); }

 private:
  TOwnedObject<TWMediaPlayer> panel_;
};

}  // namespace winskin
