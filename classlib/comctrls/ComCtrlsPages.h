// Tab controls and page controls: superclasses of the system's SysTabControl32 whose window
// class is the library's class name ("TPageControl"). A page control's pages are its TTabSheet
// children; the tabs show the pages whose TabVisible is on, and only the active page is
// visible, filling the area below the tabs (the whole control when no tab shows).
#pragma once

#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/ImgList.h"

namespace vcl {

class TCustomTabControl;
class TPageControl;
class TTabSheet;

VCL_ENUM(TTabStyle, tsTabs, tsButtons, tsFlatButtons)
using enum TTabStyle;

VCL_ENUM(TTabPosition, tpTop, tpBottom, tpLeft, tpRight)
using enum TTabPosition;

using TTabChangingEvent = Event<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = Event<void(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;

// ---------------------------------------------------------------------------------------

class TCustomTabControl : public TWinControl {
  VCL_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* AOwner);
  ~TCustomTabControl() override;

  // The selected tab, -1 when none. Setting it fires no event.
  int TabIndex() const;
  virtual void SetTabIndex(int Value);
  int TabCount() const { return static_cast<int>(tabs_.size()); }

  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle Value);
  // Left and right tabs always take several rows.
  TTabPosition TabPosition() const { return tab_position_; }
  void SetTabPosition(TTabPosition Value);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool Value);
  // Tabs painted by DrawTab (OnDrawTab) instead of the system.
  bool OwnerDraw() const { return owner_draw_; }
  void SetOwnerDraw(bool Value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* Value);

  // The canvas OnDrawTab paints on.
  TCanvas* Canvas() const { return canvas_.get(); }
  // The area below the tabs, in client coordinates.
  TRect DisplayRect() const;
  // The tab under a client point, -1 when none.
  int IndexOfTabAt(int X, int Y) const;

  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  TDrawTabEvent OnDrawTab;

 protected:
  struct TTabItem {
    String Caption;
    int ImageIndex = -1;
  };

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void AdjustClientRect(TRect& Rect) const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A user's change of tab: CanChange may refuse it (OnChanging); Change follows it.
  virtual bool CanChange();
  virtual void Change();
  virtual void DrawTab(int TabIndex, const TRect& Rect, bool Active);

  // Replaces the tabs (kept for every window the control gets) and selects Selected.
  void SetTabs(std::vector<TTabItem> Tabs, int Selected);
  // Selects a tab without events.
  void SelectTab(int Index);

 private:
  void PutTabsInWindow();
  void HandleNotify(TMessage& Message);
  void HandleDrawItem(TMessage& Message);

  std::vector<TTabItem> tabs_;
  int tab_index_ = -1;
  TTabStyle style_ = tsTabs;
  TTabPosition tab_position_ = tpTop;
  bool multi_line_ = false;
  bool owner_draw_ = false;
  TCustomImageList* images_ = nullptr;
  std::unique_ptr<TControlCanvas> canvas_;
};

// ---------------------------------------------------------------------------------------

class TTabSheet : public TWinControl {
  VCL_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* AOwner);

  // The page control is the sheet's parent.
  TPageControl* PageControl() const;
  void SetPageControl(TPageControl* Value);
  // The position among the page control's pages, -1 without one.
  int PageIndex() const;
  void SetPageIndex(int Value);
  // The position among the shown tabs, -1 when the tab is hidden.
  int TabIndex() const;
  bool TabVisible() const { return tab_visible_; }
  void SetTabVisible(bool Value);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int Value);

  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 private:
  bool tab_visible_ = true;
  int image_index_ = -1;
};

// ---------------------------------------------------------------------------------------

class TPageControl : public TCustomTabControl {
  VCL_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  void BeforeDestruction() override;

  // The shown page (it need not have a visible tab); nil shows none.
  TTabSheet* ActivePage() const { return active_page_; }
  void SetActivePage(TTabSheet* Value);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  // Raises EListError for an index out of range.
  TTabSheet* Pages(int Index) const;
  // Selecting a tab shows its page.
  void SetTabIndex(int Value) override;

  // The page after (or before) CurPage, wrapping around; only pages with visible tabs when
  // CheckTabVisible. nil when there is none.
  TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
  // Moves to the next page as the user would (OnChanging, OnChange).
  void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

  void ShowControl(TControl* AControl) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Change() override;

 private:
  friend class TTabSheet;

  void InsertPage(TTabSheet* Page);
  void RemovePage(TControl* Control);
  void MovePage(TTabSheet* Page, int NewIndex);
  void ChangeActivePage(TTabSheet* Page);
  // The tabs again from the pages (captions, images, which tabs show).
  void UpdateTabs();
  TTabSheet* PageOfTab(int Index) const;

  std::vector<TTabSheet*> pages_;
  TTabSheet* active_page_ = nullptr;
};

}  // namespace vcl
