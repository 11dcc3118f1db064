// TqvVirtualTreeViewWnd, the adapter of another vendor's virtual tree view. Beyond the edit
// adapter it writes the skin's colours into the tree's published colour properties (its
// file-view colours, selection and hot colours, the paint-info column and the header), paints
// the tree's column header from the skin's "COLHEADER" section (else "BUTTON") through the
// tree's owner-drawn header events, prints the tree with its header, and keeps the tree
// painting whole while its skinned thumb is dragged. Each property it changes gets exactly
// its own value back, and events it did not set are left alone.
//
// The tree's header events are hooked when they have the signatures below (a tree whose events
// already have handlers keeps them and its own header painting).
#pragma once

#include <windows.h>

#include "skin_layered/adapters/EditWnd.h"
#include "skin_layered/adapters/PropertyPath.h"

namespace skin_layered {

// What the tree tells its header painter about one column.
struct TqvHeaderPaintInfo {
  vcl::TCanvas* TargetCanvas = nullptr;
  vcl::TObject* Column = nullptr;  // nil: the area right of the last column
  vcl::TRect PaintRectangle;
  bool IsHoverIndex = false;
  bool IsDownIndex = false;
  bool ShowSortGlyph = false;
};
// The header's elements.
inline constexpr int kHeaderBackground = 0x1;
inline constexpr int kHeaderDropMark = 0x2;
inline constexpr int kHeaderSortGlyph = 0x8;
inline constexpr int kHeaderText = 0x10;
// The elements the adapter paints: background, drop mark, sort glyph and text.
inline constexpr int kSkinnedHeaderElements = 27;

using TqvAdvancedHeaderDraw = void(vcl::TObject* Sender, TqvHeaderPaintInfo& PaintInfo, int Elements);
using TqvHeaderQueryElements = void(vcl::TObject* Sender, TqvHeaderPaintInfo& PaintInfo, int& Elements);
using TqvAdvancedHeaderDrawEvent = vcl::Event<TqvAdvancedHeaderDraw>;
using TqvHeaderQueryElementsEvent = vcl::Event<TqvHeaderQueryElements>;

class TqvVirtualTreeViewWnd : public TqvEditWnd {
  VCL_CLASS(TqvVirtualTreeViewWnd, TqvEditWnd)
 public:
  using TqvEditWnd::TqvEditWnd;

  void SaveStdParams() override;
  void RestoreStdParams() override;
  void ApplySkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The header events' handlers.
  void AdvancedHeaderDraw(vcl::TObject* Sender, TqvHeaderPaintInfo& PaintInfo, int Elements);
  void HeaderDrawQueryElements(vcl::TObject* Sender, TqvHeaderPaintInfo& PaintInfo, int& Elements);

  // The value the property at Path had before the skin; nothing when the tree lacks it.
  std::optional<int64_t> SavedValue(std::wstring_view Path) const { return saved_.Saved(Path); }

 protected:
  bool WantsVisualStyleOff() const override { return false; }

 private:
  void HookHeaderEvents(vcl::TControl* Control);
  void UnhookHeaderEvents(vcl::TControl* Control);
  void OnNcPaint(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  // The header's height when it is shown, else 0.
  int HeaderHeight() const;

  TqvSavedProperties saved_;
  bool applying_ = false;
};

}  // namespace skin_layered
