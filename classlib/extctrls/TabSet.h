// Tab sets: a row of tabs hanging from the top edge of the control, as under a notebook page,
// painted by the library. The tabs shown begin at FirstIndex, StartMargin pixels from the
// left; each is its text's width plus its slanted edges. When the tabs do not fit and
// AutoScroll is on, a scroller (the tab set's one child control, window class "TScroller")
// at the right end moves FirstIndex.
#pragma once

#include <memory>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/rtl/StringList.h"

namespace vcl {

VCL_ENUM(TTabSetTabStyle, tsStandard, tsOwnerDraw)
using enum TTabSetTabStyle;

using TTabChangeEvent = Event<void(TObject* Sender, int NewTab, bool& AllowChange)>;
using TDrawTabSetEvent = Event<void(TObject* Sender, TCanvas* TabCanvas, TRect R, int Index, bool Selected)>;
using TMeasureTabEvent = Event<void(TObject* Sender, int Index, int& TabWidth)>;

// Two arrow buttons that step Position between Min and Max.
class TScroller : public TCustomControl {
  VCL_CLASS(TScroller, TCustomControl)
 public:
  explicit TScroller(TComponent* AOwner);

  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetRange(int AMin, int AMax);
  int Position() const { return position_; }
  void SetPosition(int Value);

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  int min_ = 0;
  int max_ = 0;
  int position_ = 0;
};

class TTabSet : public TCustomControl {
  VCL_CLASS(TTabSet, TCustomControl)
 public:
  explicit TTabSet(TComponent* AOwner);
  ~TTabSet() override;

  TStrings* Tabs() const;
  void SetTabs(TStrings* Value);
  // -1: none. A new tab is chosen only when CanChange (OnChange) allows it; OnClick follows,
  // and the tab is scrolled into view.
  int TabIndex() const { return tab_index_; }
  void SetTabIndex(int Value);
  // The first tab shown.
  int FirstIndex() const { return first_index_; }
  void SetFirstIndex(int Value);
  int StartMargin() const { return start_margin_; }
  void SetStartMargin(int Value);
  int EndMargin() const { return end_margin_; }
  void SetEndMargin(int Value);
  bool AutoScroll() const { return auto_scroll_; }
  void SetAutoScroll(bool Value);
  int TabHeight() const { return tab_height_; }
  void SetTabHeight(int Value);
  TTabSetTabStyle Style() const { return style_; }
  void SetStyle(TTabSetTabStyle Value);
  TColor SelectedColor() const { return selected_color_; }
  void SetSelectedColor(TColor Value);
  TColor UnselectedColor() const { return unselected_color_; }
  void SetUnselectedColor(TColor Value);
  TColor BackgroundColor() const { return background_color_; }
  void SetBackgroundColor(TColor Value);

  // How many tabs fit from FirstIndex on.
  int VisibleTabs() const;
  // The tab under a client point, -1 when none.
  int ItemAtPos(TPoint Pos) const;
  // The rectangle of a shown tab (empty for one not shown).
  TRect ItemRect(int Index) const;
  // The scroller (nil until the tab set has a window).
  TScroller* Scroller() const { return scroller_; }

  TTabChangeEvent OnChange;
  TDrawTabSetEvent OnDrawTab;
  TMeasureTabEvent OnMeasureTab;

  void Dispatch(TMessage& Message) override;

 protected:
  virtual bool CanChange(int NewIndex);
  virtual void DrawTab(TCanvas* TabCanvas, const TRect& R, int Index, bool Selected);
  virtual int MeasureTab(int Index);
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Resize() override;
  void CreateWnd() override;
  void Loaded() override;

 private:
  struct TTabPlace {
    int Index;
    TRect Rect;
  };
  // The tabs shown, from FirstIndex, and whether the others need the scroller.
  std::vector<TTabPlace> Layout(bool& NeedScroller) const;
  void TabsChanged(TObject* Sender);
  void ScrollerChanged(TObject* Sender);
  void CMFontChanged(TMessage& Message);
  void UpdateScroller();
  // FirstIndex moves so that the chosen tab shows.
  void ShowTabIndex();

  std::unique_ptr<TStringList> tabs_;
  TScroller* scroller_ = nullptr;
  int tab_index_ = -1;
  int first_index_ = 0;
  int start_margin_ = 5;
  int end_margin_ = 5;
  bool auto_scroll_ = true;
  int tab_height_ = 20;
  TTabSetTabStyle style_ = tsStandard;
  TColor selected_color_ = clBtnFace;
  TColor unselected_color_ = clWindow;
  TColor background_color_ = clBtnFace;
};

// The unit's start-up makes its classes known to form descriptions (registered in its source
// file, which every program linking the library links).
namespace detail {
void InitTabsUnit();
}  // namespace detail

}  // namespace vcl
