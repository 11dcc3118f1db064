// TsFrameAdapter skins a frame (a TCustomFrame or descendant) it is placed on: it owns the
// frame's skin data (section "GROUPBOX" by default), puts its procedure in front of the frame's
// WindowProc, paints the frame's background from the skin into its cache (or lets the parent
// show through), answers the skin command message for the frame and makes the frame's popup
// menus skinned. While the frame is skinned a scroll adapter (made through the adapter
// services) skins the frame's own scroll bars. The control adapter of a skin provider makes
// one for every frame it meets.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/forms/Frame.h"
#include "classlib/rtl/Component.h"

namespace skin_layered {

class TsScrollWndData;
class TsSkinManager;

// The control type code of a frame's skin data.
inline constexpr int kFrameControlCode = 226;

class TsFrameAdapter : public vcl::TComponent {
  VCL_CLASS(TsFrameAdapter, vcl::TComponent)
 public:
  // AOwner must be a frame; anything else raises "TsFrameAdapter adapter must be placed on the
  // handled frame" and nothing is hooked.
  explicit TsFrameAdapter(vcl::TComponent* AOwner);
  // Leaves the frame's WindowProc chain (the frame's procedure goes back only while this hook
  // is on top; under a later hook it only unlinks itself).
  ~TsFrameAdapter() override;
  void AfterConstruction() override;
  void Loaded() override;

  TsScrollWndData* SkinData() const { return skin_data_.get(); }
  vcl::TCustomFrame* Frame() const { return frame_; }
  // The adapter's procedure is in the frame's chain.
  bool Hooked() const { return hook_.Installed(); }

  // The frame's background into DC (client coordinates).
  void PaintFrame(HDC DC);
  // Rebuilds the cache from the section over what lies behind; false when the parent was not
  // ready.
  bool PrepareCache();

 private:
  void WndProc(vcl::TMessage& Message);
  // The skin command message answered before anything else; true when done.
  bool FirstCommand(vcl::TMessage& Message);
  // The skinned state's command answers.
  void SkinnedCommand(vcl::TMessage& Message);
  // Without the skin (or while going): a skin coming back is passed on, the colour answered.
  void UnskinnedMessage(vcl::TMessage& Message);
  void OnVisibleChanged(vcl::TMessage& Message);
  void OnShowingChanged(vcl::TMessage& Message);
  void OnPrintClient(const vcl::TMessage& Message);
  void OnControlListChange(vcl::TMessage& Message);
  void OnParentNotify(vcl::TMessage& Message);
  void OnEraseBkgnd(vcl::TMessage& Message);
  void OnPaint(vcl::TMessage& Message);
  void OnPlaceChanged(vcl::TMessage& Message);
  void PassToChildren(vcl::TMessage& Message);
  void OwnerDrawPopups(bool Skinned);
  // Makes the scroll adapter while the frame is skinned and has its window, frees it
  // otherwise; one that let its window go is made again.
  void RefreshScrolls();
  void FreeScrolls();
  void Redraw(UINT Flags);
  vcl::TColor BackgroundColor(std::uint16_t State);
  TsSkinManager* Manager() const;
  bool Skinned() const;

  std::unique_ptr<TsScrollWndData> skin_data_;
  vcl::TCustomFrame* frame_ = nullptr;
  vcl::TWindowProcHook hook_;
  vcl::TObject* scroll_adapter_ = nullptr;  // owned, in front of hook_ in the frame's chain
};

}  // namespace skin_layered
