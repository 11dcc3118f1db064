// Child discovery: which control skinner each child of a skinned window gets. A form of the
// class library is walked over its control objects and decided by class, by upper-cased class
// name, by the skin data's Skin3rd list ("class=kind") and by the program's OnSkinControl event;
// a foreign window (a system dialog) over its child windows, by window class and style. Every
// decision also needs its member of the skin data's SkinControls.
//
// The mapping also switches the form's menus to the skinned menu painting, gives tool bars the
// skin's drawing events, and follows the form's controls whose windows are made later (the
// class library's window-lifetime notices). Whatever it changes on a control or a menu (a
// property, an event, a Tag) it notes, and Restore puts it back when the form lets go.
#pragma once

#include <vector>

#include "classlib/controls/WindowEvents.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/Component.h"
#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/core/SkinData.h"

namespace vcl {
class TToolBar;
}

namespace winskin {

class TFormFrame;

// The kind a Skin3rd list gives a class: the text after the first "=" of the first line that
// begins (letter case ignored) with the class name and "=", lower-cased, at most 50
// characters. False when no line names the class.
bool ThirdPartyKind(const vcl::TStrings* Lines, vcl::StringView ClassName, vcl::String& Kind);

class TControlMapping : public vcl::TComponent {
  VCL_CLASS(TControlMapping, TComponent)

 public:
  explicit TControlMapping(TFormFrame* Form);
  ~TControlMapping() override;

  // A form object's controls: skinners of destroyed windows go, every control of the form
  // is mapped, its popup menus are switched to the skinned painting, and every further
  // control the form owns that is showing is mapped. Mapping again adds only what is new.
  void MapFormControls(vcl::TWinControl* FormObject);
  // One control (and, through containers, its children).
  void MapControl(vcl::TControl* Control, vcl::TWinControl* Parent);
  // A foreign window's children, by window class and style.
  void MapWindowChildren(HWND Window);
  void MapWindow(HWND Window);
  // Removes and frees the skinners whose window is gone (never from inside their own
  // procedure: only mapping passes from the form's procedure call it).
  void PurgeSkinners();
  // A control's scroll-bar skinner was left by its re-created window: the skinner of the old
  // window goes, and the control gets one of the same family when nothing skinned it since.
  void ControlRecreated(HWND OldWindow);

  // Controls of the form whose windows appear from now on are mapped as they appear.
  void FollowNewWindows();
  // Gives back what the mapping changed: menus, tool bars, properties and colours; stops
  // following new windows. The skinners themselves are the form's to release.
  void Restore();

  // True while the control has a skinner whose window still exists.
  bool Skinned(vcl::TControl* Control) const;

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  struct SavedProperty {
    vcl::TComponent* Owner;
    vcl::String Name;
    int64_t Value;
  };
  struct SavedMenu {
    vcl::TMenu* Menu;
    bool OwnerDraw;
  };
  struct SavedItem {
    vcl::TMenuItem* Item;
    vcl::TMenuMeasureItemEvent Measure;
    vcl::TAdvancedMenuDrawItemEvent Draw;
  };
  struct SavedToolBar {
    vcl::TToolBar* ToolBar;
    bool Background;  // the mapping gave it its background drawing
    bool Buttons;     // and its button drawing
  };

  TSkinData* Skin() const;
  bool Has(TSkinControlType Kind) const;
  bool TabImagesPresent() const;
  bool Mapping() const { return depth_ > 0; }

  // Attaching, each way a skinner attaches; the skinner is freed again when it did not attach.
  // Args go to the skinner's constructor after the control, so the skinner knows them
  // before it attaches.
  template <class S, class... Args>
  S* Attach(vcl::TWinControl* Control, bool Container = false, Args... ExtraArgs);
  template <class S>
  S* AttachScroll(vcl::TWinControl* Control);
  template <class S>
  S* AttachBare(HWND Window);
  void AttachGiven(TSkinControl* Skinner, vcl::TControl* Control);

  void MapChildren(vcl::TWinControl* Parent);
  // The table of classes, in order; true when a row ended the mapping.
  bool MapByClass(vcl::TControl* Control, const vcl::String& Upper);
  // The library's own classes the table leaves open.
  bool MapLibraryClass(vcl::TWinControl* Control);
  // The Skin3rd kinds; true when the list named the class.
  bool MapThirdParty(vcl::TControl* Control, const vcl::String& ClassName);
  void MapRadioGroup(vcl::TWinControl* Group, bool ImageButtons, bool CheckButtons);
  void MapToolBar(vcl::TToolBar* ToolBar);
  void MapEmbeddedForm(vcl::TWinControl* Form);
  bool PassesFilter(vcl::TControl* Control) const;

  // A published ordinal property set to Value, its old value noted.
  void SetProperty(vcl::TComponent* Owner, vcl::StringView Name, const vcl::String& Value);
  void SetTag(vcl::TComponent* Owner, intptr_t Value);
  void Watch(vcl::TComponent* Component);

  // Menus: popup menus (and with xcMenuItem main menus) of Root, its frames and embedded forms.
  void SwitchMenus(vcl::TComponent* Root);
  void SwitchMenu(vcl::TMenu* Menu, bool MainMenu);
  void PaintItems(vcl::TMenuItem* Parent, int Depth, bool MainMenu);
  void RestoreMenus();

  void WindowEvent(vcl::TWinControl* Control, vcl::TWindowEvent What);

  TFormFrame* form_;
  int depth_ = 0;  // mapping passes running
  std::unique_ptr<vcl::TWindowEventLink> link_;
  std::vector<SavedProperty> properties_;
  std::vector<SavedMenu> menus_;
  std::vector<SavedItem> items_;
  std::vector<SavedToolBar> tool_bars_;
};

}  // namespace winskin
