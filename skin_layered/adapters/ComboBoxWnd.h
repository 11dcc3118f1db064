// The adapters of combo boxes (class-library TComboBox and TColorBox, the "combobox" and
// "comboboxex32" children of system dialogs) and of their drop-down lists.
//
// TqvComboBoxWnd lets the combo box paint itself, then lays over it a 3-pixel frame from its
// cache (the section, "COMBOBOX" unless given, with its border image) and the drop-down
// button from the skin's combo-button section in its state (normal, hot, pressed while the
// list is down) with the section's glyph or an arrow; it paints the owner-drawn items of a
// library combo box in the section's colours ("SELECTION" for the chosen one), prints the
// edit part, and gives the list window its own adapter when the list first asks for its
// colours, answering that question with one brush of the section's colour.
//
// TqvComboListWnd frames the drop-down list with the skin's border colour over the list's
// colour and paints the list's skinned scroll bars; a press on them scrolls without closing
// the list.
#pragma once

#include <windows.h>

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_layered/adapters/EditWnd.h"

namespace vcl {
class TCustomComboBox;
}

namespace skin_layered {

// The messages a combo box sends its drop-down list when the list starts and stops
// tracking the mouse.
inline constexpr UINT kListStartTrack = 0x1AE;
inline constexpr UINT kListEndTrack = 0x1AF;
// The combo box's frame drawn over the control's own.
inline constexpr int kComboFrameWidth = 3;

class TqvComboListWnd;

class TqvComboBoxWnd : public TqvEditWnd {
  VCL_CLASS(TqvComboBoxWnd, TqvEditWnd)
 public:
  using TqvEditWnd::TqvEditWnd;
  ~TqvComboBoxWnd() override;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The drop-down button in window coordinates (empty for a simple combo box).
  virtual vcl::TRect ButtonRect();
  // The button's state: 2 pressed (the list is down), 1 hot, else 0.
  int ButtonState();
  // The button painted from the cache into DC (the window's own without one).
  void PaintButton(HDC DC);

  HWND ListHandle = nullptr;  // the drop-down list, learnt from its first colour question
  TqvAdapterPtr<TqvComboListWnd> ListAdapter;
  bool InColorMessage = false;

 protected:
  void InitSkinData(bool Owned) override;
  bool WantsVisualStyleOff() const override;

 private:
  LONG_PTR Style() const;
  bool IsSimple() const { return (Style() & 3) == CBS_SIMPLE; }
  bool IsDropDownList() const { return (Style() & 3) == CBS_DROPDOWNLIST; }
  vcl::TCustomComboBox* Combo() const;
  // The section has a look of its own for focus, and the control takes the focus.
  bool FocusShows() const;
  // The skin command, skinned or not.
  // A combo box without its section: the system's, what lies behind below a simple one's list.
  void OnUnskinned(vcl::TMessage& Message);
  void OnSkinCommand(vcl::TMessage& Message);
  void OnNewSkin(vcl::TMessage& Message);
  // The mouse came or went: the button shows it.
  void OnHoverCommand(vcl::TMessage& Message);
  void OnNcCalcSize(vcl::TMessage& Message);
  // A child drawn by the control (WM_DRAWITEM), and an item the adapter draws (CN_DRAWITEM).
  void OnDrawItemMessage(vcl::TMessage& Message);
  void OnOwnerDrawItem(vcl::TMessage& Message);
  void OnChange(vcl::TMessage& Message);
  void OnCommand(vcl::TMessage& Message);
  void OnFocus(vcl::TMessage& Message, bool Gained);
  void OnPaint(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  void OnCtlColorList(vcl::TMessage& Message);
  void OnMouseEnter(vcl::TMessage& Message);
  void OnMouseLeave(vcl::TMessage& Message);
  void OnRemoveSkin(vcl::TMessage& Message);
  void OnDrawItem(const DRAWITEMSTRUCT& Item);
  // The owned redraw around a change the control paints itself.
  void QuietChange(vcl::TMessage& Message);
  void ClearEditSelection();
  void InvalidateNow();
  void MakeListAdapter(HWND List);
  // The cache of a simple combo box: its edit part's height, the section over the parent.
  void PrepareSimpleCache();
  void PrepareCache();
  // The edit part written into the cache (combo boxes whose items the library does not draw).
  void PaintEditPart();
  // One item into DC at R in the skin's colours.
  void PaintItem(int Index, const vcl::TRect& R, HDC DC, vcl::TOwnerDrawState State);
  // The text of an item (read with its own length), or of the window.
  vcl::String ItemText(int Index) const;
  // The brush answered for the list's colour: one per colour, freed when the skin changes.
  HBRUSH ListBrush(vcl::TColor Color);

  vcl::UniqueBrush list_brush_;
  vcl::TColor list_brush_color_ = vcl::clNone;
};

class TqvComboListWnd : public TqvEditWnd {
  VCL_CLASS(TqvComboListWnd, TqvEditWnd)
 public:
  using TqvEditWnd::TqvEditWnd;

  void SetSkinParams() override;
  void ApplySkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  bool Tracking = false;    // the list tracks the mouse (it is down)
  bool SimpleList = false;  // the list of a simple combo box, always shown

  // The list's image: its colour framed in the skin's border colour.
  void PrepareListCache();

 protected:
  bool KeepsCaptureAfterScroll() const override;
  bool SwallowsButtonUpAfterScroll() const override;

 private:
  // The skinned bars' hit code at a screen point, 0 elsewhere.
  LRESULT ScrollHit(LPARAM ScreenPoint);
  // The list's own handling, the bars kept after a move.
  void PassOn(vcl::TMessage& Message);
  void OnListEraseBkgnd(vcl::TMessage& Message);
  void OnNcButtonDown(vcl::TMessage& Message);
  // The list starts or ends tracking the mouse.
  void OnTracking(vcl::TMessage& Message, bool Started);
  void OnNcPaint(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  void OnButtonUp(vcl::TMessage& Message);
  // Below a simple list: the rest of its combo box shows what lies behind the combo box.
  void FillBelowSimpleList();

  bool applying_ = false;
};

}  // namespace skin_layered
