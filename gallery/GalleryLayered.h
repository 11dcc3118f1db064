// The gallery's layered page: a form that owns a layered skin manager and a skin provider,
// with controls of ours that carry the engine's common skin data (edits that take the
// section's colours and turn to its hot colours on focus and hover, a panel painted from its
// section), a sheet of every section of the skin in its normal and hot states, and library
// controls of every kind the adapters serve, each given its window adapter by the provider
// alone: a list box of a hundred items, edits and a memo (the skin's colours, borders and
// bars), a row of a lowered panel with a speed button, a tool bar, a radio group, a scroll bar
// control, a page control with more tabs than fit and the status bar, a group box of buttons,
// bit buttons, check boxes, radio buttons, a static text and two combo boxes, an up-down beside
// an edit, a list view, a tree view and a string grid, and a scroll box whose children sit on
// its skinned face; labels take the skin's label colour. A hint of the hint manager and a
// sample popup menu (skinned, with the extra line). Its menu switches between the sample skin's
// folder, pack and stored forms and its variant, with the change animation, takes the skin
// away, and switches the extended borders. Its dialogs page shows a system dialog (with a
// track bar, a system tool bar and a static with a sunken edge) and a message box skinned by
// the manager's dialog hook.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/ToolBar.h"
#include "classlib/comctrls/TrackBar.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/SectionGrid.h"

namespace gallery {

// Where a skin comes from: its folder (a name with a trailing backslash: the folder itself,
// even with a pack of that name beside it), its pack, or a skin stored in the manager.
struct LayeredSource {
  std::wstring caption;
  std::wstring directory;
  std::wstring name;
};

// The skin the command line names (a folder or a ".pmz" pack), or the sample skin Lagoon's
// folder the build wrote beside the program.
LayeredSource LayeredSourceOf(const std::wstring& Path);
// The folder of the sample layered skins (the build's skins\layered beside the program's).
std::wstring SampleLayeredFolder();

// An edit carrying skin data (colour-following code 2).
class TLayeredEdit : public vcl::TEdit {
  VCL_CLASS(TLayeredEdit, vcl::TEdit)
 public:
  explicit TLayeredEdit(vcl::TComponent* AOwner);
  skin_layered::TsCommonData* SkinData() const { return skin_data_.get(); }

 protected:
  void WndProc(vcl::TMessage& Message) override;

 private:
  std::unique_ptr<skin_layered::TsCommonData> skin_data_;
};

// A panel carrying skin data (code 51), its face painted from its section into its cache.
class TLayeredPanel : public vcl::TPanel {
  VCL_CLASS(TLayeredPanel, vcl::TPanel)
 public:
  explicit TLayeredPanel(vcl::TComponent* AOwner);
  skin_layered::TsCommonData* SkinData() const { return skin_data_.get(); }

 protected:
  void WndProc(vcl::TMessage& Message) override;
  void Paint() override;

 private:
  void PrepareCache();
  std::unique_ptr<skin_layered::TsCommonData> skin_data_;
};

// The sheet of a skin's sections: as large as the whole sheet, it paints only the part of it
// in view (a scroll box shows it), so that a skin of any number of sections takes no more
// memory than the view does.
class TSectionSheet : public vcl::TGraphicControl {
  VCL_CLASS(TSectionSheet, vcl::TGraphicControl)
 public:
  explicit TSectionSheet(vcl::TComponent* AOwner);
  // The sheet of the skin (not owned; it lives with its manager), sized to it; nil for none.
  void ShowSkin(const skin_layered::TsLoadedSkin* Skin);
  const skin_layered::TqvSectionGridLayout& Layout() const { return layout_; }

 protected:
  void Paint() override;

 private:
  const skin_layered::TsLoadedSkin* skin_ = nullptr;
  skin_layered::TqvSectionGridLayout layout_;
};

class TGalleryLayered : public vcl::TForm {
  VCL_CLASS(TGalleryLayered, vcl::TForm)
 public:
  // Builds the page and loads the source set with SetPageSource (the sample skin without
  // one); a report when it cannot be loaded.
  explicit TGalleryLayered(vcl::TComponent* AOwner);
  static void SetPageSource(const LayeredSource& Source);

  skin_layered::TsSkinManager* Manager() const { return manager_; }
  // Shows a hint of the hint manager below the panel, while the form is on the screen.
  void ShowSampleHint();
  // A system dialog of the program's own beside the page and a message box over it, both
  // skinned by the manager's dialog hook.
  void ShowSystemDialogs();
  // Message boxes of every kind, two at a time, and the system's common dialogs beside the
  // page (GalleryDialogs.h), each skinned by the manager's dialog hook; each returns when its
  // last dialog is closed.
  void ShowMessageBoxes();
  void ShowCommonDialogs();
  // The Skin menu's "No skin", then the skin worn before again (without the change
  // animation), each painted.
  void SkinOffAndBack();
  // Pops up the sample menu (skinned with the page's skin) over the panel; its loop runs
  // until the menu closes.
  void ShowSampleMenu();
  // The skin's extended borders and shadow around the page (a border window), or its own frame.
  void SetExtendedBorders(bool Value);
  // Shows the form that scrolls beside the page, under the page's skin.
  void ShowScrolling();
  // Fills Menu (of any form: the MDI frame's) with the items of the page's Skin menu, which
  // act and are checked as the page's own do.
  void AddSkinMenu(vcl::TMenuItem* Menu);

 protected:
  void WndProc(vcl::TMessage& Message) override;

 private:
  // Visible and not minimised.
  bool OnScreen();
  void PutSampleHint();
  vcl::TPoint SampleHintPoint() const;
  void FollowSampleHint();
  void RestackSampleHint();
  void HintHidden(vcl::TObject* Sender);
  // The manager changed its skin or let it go.
  void ManagerChanged(vcl::TObject* Sender);
  // A source of the Skin menus, unless one names the same skin already.
  void AddSource(const LayeredSource& Source);
  // The Skin menu checks the item of the skin in use (none: "No skin").
  void CheckSkinInUse(const LayeredSource* Source);
  void SourceClick(vcl::TObject* Sender);
  void NoSkinClick(vcl::TObject* Sender);
  void BordersClick(vcl::TObject* Sender);
  void ScrollingClick(vcl::TObject* Sender);
  void Load(const LayeredSource& Source, bool Animate);
  // The form's colour, the status line and the sheet after every change.
  void SkinChanged();
  void Build(const LayeredSource& Source);
  // The group box of buttons and boxes.
  void BuildButtons();
  // An up-down beside an edit.
  void BuildSystemControls();
  // The scroll box with children on its face.
  void BuildScrollBox();
  void BuildSampleMenu();
  void BuildTitleBar();
  void ExtraLineData(vcl::TMenuItem* FirstItem, vcl::String& SkinSection, vcl::String& Caption,
                     std::unique_ptr<vcl::TBitmap>& Glyph, bool& LineVisible);

  skin_layered::TsSkinManager* manager_ = nullptr;
  vcl::TMainMenu* menu_ = nullptr;
  vcl::TMenuItem* skins_item_ = nullptr;
  // The items of each Skin menu: the page's own and those it filled for other forms.
  struct SkinMenuItems {
    std::vector<vcl::TMenuItem*> sources;  // one a source, in the sources' order
    vcl::TMenuItem* none = nullptr;
    vcl::TMenuItem* borders = nullptr;
  };
  std::vector<SkinMenuItems> skin_menus_;
  std::optional<LayeredSource> shown_;  // the source whose skin is worn
  vcl::TPopupMenu* sample_menu_ = nullptr;
  TLayeredPanel* content_ = nullptr;
  vcl::TStatusBar* status_bar_ = nullptr;
  TLayeredEdit* edit_ = nullptr;
  vcl::TLabel* status_ = nullptr;
  TSectionSheet* sheet_ = nullptr;
  vcl::TListBox* list_ = nullptr;
  // The bottom row: a lowered panel with a speed button, a tool bar, a radio group, a scroll
  // bar, a page control and the status bar.
  void BuildAdaptedRow();
  // The column of views on the right: a report-view list view, a tree view and a string grid.
  void BuildViews();
  vcl::TGroupBox* buttons_ = nullptr;
  vcl::TScrollBox* hosts_ = nullptr;
  std::vector<LayeredSource> sources_;
  vcl::String current_;
  bool sample_hint_wanted_ = false;
  bool on_screen_ = false;
  vcl::TPoint sample_hint_at_;  // where the sample hint was put
};

}  // namespace gallery
