// TSkinData: the component a form carries to be skinned by the classic engine. It holds the
// skin package in its stored "SkinStream" (or reads it from a skin file), turns the package's
// description into skin data objects, says which control kinds are skinned, and at load time
// registers with the engine's manager, which installs the window-creation hook and carries
// out activation on its timer.
#pragma once

#include <memory>

#include "classlib/rtl/Component.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/rtl/StringList.h"
#include "skin_classic/core/SkinObjects.h"

namespace vcl {
class TControl;
}

namespace winskin {

using vcl::String;

// The control kinds the engine may skin (SkinControls).
VCL_ENUM(TSkinControlType,
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcTrackBar, xcSystemMenu, xcFastReport)
using enum TSkinControlType;
using TSkinControlTypes = vcl::Set<TSkinControlType>;

VCL_ENUM(TSkinOption,
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoFormScrollbar)
using enum TSkinOption;
using TSkinOptions = vcl::Set<TSkinOption>;

VCL_ENUM(TSkinFormType, sfMainform, sfOnlyThisForm, sfDialog, sfDLL)
using enum TSkinFormType;

// Every member from xcMainMenu to xcSystemMenu except xcMenuItem (0x1FFFFB).
inline constexpr TSkinControlTypes kDefaultSkinControls = TSkinControlTypes::FromInt(0x1FFFFB);
inline constexpr TSkinOptions kDefaultSkinOptions{xoPreview, xoToolbarBK};  // 72
inline constexpr int kDefaultDisableTag = 99;
inline constexpr wchar_t kSkinDataVersion[] = L"5.03.07.12";

class TSkinData;
class TSkinControl;  // the control skinner base (made by the control mapping)

// Asked before a window of class aName is skinned; DoSkin comes in true.
using TOnFormSkin = vcl::Event<void(vcl::TObject* Sender, const String& aName, bool& DoSkin)>;
// Lets the program choose the skinner of a control (SkinnedControl comes in nil): Sender is
// the skinned form's object, Form the control's parent, ControlClass its upper-cased class name.
using TOnSkinControl = vcl::Event<void(vcl::TObject* Sender, TSkinData* SkinData, vcl::TComponent* Form,
                                       vcl::TControl* Control, const String& ControlClass,
                                       TSkinControl*& SkinnedControl)>;
// Before and after a window is skinned.
using TOnSkinForm = vcl::Event<void(vcl::TObject* Sender, HWND ahwnd, const String& aName)>;

class TSkinData : public vcl::TComponent {
  VCL_CLASS(TSkinData, TComponent)

 public:
  explicit TSkinData(vcl::TComponent* AOwner);
  ~TSkinData() override;

  // Reads the skin stream into the skin data objects. A package this engine cannot read
  // whole (cut short, damaged, without a readable description, or naming a picture it holds
  // that cannot be read) is reported to the user, naming PackageName (the file it came
  // from; empty: the stream stored in this component) and the fault; the skin read before
  // stays and the result is false. Nothing at design time.
  bool LoadSkin(const String& PackageName = String());

  bool Active() const { return active_; }
  void SetActive(bool Value);
  int DisableTag() const { return disable_tag_; }
  void SetDisableTag(int Value) { disable_tag_ = Value; }
  TSkinControlTypes SkinControls() const { return skin_controls_; }
  void SetSkinControls(TSkinControlTypes Value) { skin_controls_ = Value; }
  TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions Value) { options_ = Value; }
  // Lines "class=kind" telling the control skinners which standard kind a foreign class is.
  vcl::TStringList* Skin3rd() const { return skin3rd_.get(); }
  void SetSkin3rd(vcl::TStringList* Value);
  const String& SkinFile() const { return skin_file_; }
  void SetSkinFile(const String& Value);
  String SkinStore() const;
  void SetSkinStore(const String& Value);
  TSkinFormType SkinFormtype() const { return skin_formtype_; }
  void SetSkinFormtype(TSkinFormType Value) { skin_formtype_ = Value; }
  String Version() const { return kSkinDataVersion; }
  void SetVersion(const String& Value);
  bool MenuUpdate() const { return menu_update_; }
  void SetMenuUpdate(bool Value) { menu_update_ = Value; }
  bool MenuMerge() const { return menu_merge_; }
  void SetMenuMerge(bool Value) { menu_merge_ = Value; }

  TOnFormSkin OnFormSkin;
  vcl::TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm;
  TOnSkinForm OnAfterSkinForm;

  // True while no skin has been read; a successful read of a package clears it. A load that
  // fails (a SkinFile that does not exist or holds no readable package) keeps what was read
  // before.
  bool Empty() const { return empty_; }
  // The package bytes ("SkinStream"); position unspecified.
  vcl::TMemoryStream* SkinStream() const { return skin_stream_.get(); }
  // The skin data objects read from the package (title, buttons and borders always exist).
  TSkinObjects* Skin() const { return skin_.get(); }
  // Sample colour of the skin: from the top border's bitmap, else the stored default.
  vcl::TColor SampleColor() const { return skin_->SampleColor(); }
  // The system-menu images, 16 x 16: restore, maximise, minimise, close.
  vcl::TCustomImageList* MenuImages() const { return menu_images_.get(); }
  // The caption font, made from the system's caption font when the component is loaded.
  vcl::TFont* CaptionFont() const { return caption_font_.get(); }
  // The first bitmap holds the caption icon (key colour transparent) once loaded.
  vcl::TBitmap* IconBitmap() const { return bitmaps_[0].get(); }
  vcl::TBitmap* WorkBitmap() const { return bitmaps_[1].get(); }
  // The system's maximised window size (read at creation).
  int MaxWidth() const { return max_width_; }
  int MaxHeight() const { return max_height_; }
  // Skinned frames are painted while set (published, default true); the form window clears
  // it around a menu change.
  bool FramePainting() const { return frame_painting_; }
  void SetFramePainting(bool Value) { frame_painting_ = Value; }

  // The form query: OnFormSkin may change the answer (DoSkin) for a window of class aName.
  void QueryFormSkin(const String& aName, bool& DoSkin);

  void Loaded() override;
  void DefineProperties(vcl::TFiler* Filer) override;

 private:
  struct ComponentFree {
    void operator()(vcl::TObject* Object) const { vcl::TObject::Free(Object); }
  };

  void ReportRefusal(const String& PackageName, const skin_classic::SkinFault& Fault) const;
  void ReadSkinStream(vcl::TStream* Stream);
  void WriteSkinStream(vcl::TStream* Stream);
  void ApplySkinFile();
  void LoadMenuImages();
  void MakeCaptionFont();
  void MakeCaptionIcon();
  bool Designing() const { return ComponentState().Contains(vcl::csDesigning); }
  bool Loading() const { return ComponentState().Contains(vcl::csLoading); }

  bool active_ = false;
  int disable_tag_ = kDefaultDisableTag;
  TSkinControlTypes skin_controls_ = kDefaultSkinControls;
  TSkinOptions options_ = kDefaultSkinOptions;
  std::unique_ptr<vcl::TStringList> skin3rd_;
  String skin_file_;
  TSkinFormType skin_formtype_ = sfMainform;
  bool menu_update_ = true;
  bool menu_merge_ = false;
  bool frame_painting_ = true;

  bool empty_ = true;
  std::unique_ptr<vcl::TMemoryStream> skin_stream_;
  std::unique_ptr<TSkinObjects> skin_;
  std::unique_ptr<vcl::TBitmap> bitmaps_[2];
  std::unique_ptr<vcl::TCustomImageList, ComponentFree> menu_images_;
  std::unique_ptr<vcl::TFont> caption_font_;
  int max_width_ = 0;
  int max_height_ = 0;
};

// The default Skin3rd lines, in order.
void FillDefaultSkin3rd(vcl::TStrings* Lines);
// True when the list holds exactly the default lines.
bool IsDefaultSkin3rd(const vcl::TStrings* Lines);

}  // namespace winskin
