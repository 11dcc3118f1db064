// The gallery's windows, read from their form descriptions: the main form with every control
// kind of the class library, its main menu and popup menu; a modal dialog; an MDI frame with
// its document windows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "classlib/forms/Forms.h"

namespace gallery {

class TGalleryMain : public vcl::TForm {
  VCL_CLASS(TGalleryMain, TForm)
 public:
  explicit TGalleryMain(vcl::TComponent* AOwner) : TForm(AOwner) {}

  // Opens the dialog modally / the message box / the MDI frame with two children.
  void ShowDialog();
  void ShowMessage();
  void ShowMdiWindows();
  // Drops the form's popup menu at its client origin (a modal menu loop).
  void ShowPopup();
  // Drops the File menu of the form's menu bar, as Alt+F does.
  void ShowMainMenu();

  void FormCreate(vcl::TObject* Sender);
  // Wears the classic skin: the sample skin, or the package File (then the Skin menu checks
  // "Open package..." rather than the sample skin).
  void WearClassicSkin(const std::optional<std::wstring>& File);
  void DialogButtonClick(vcl::TObject* Sender);
  void MessageButtonClick(vcl::TObject* Sender);
  void MdiItemClick(vcl::TObject* Sender);
  void ExitItemClick(vcl::TObject* Sender);
  // The Skin menu: the sample skin, its variant, a package chosen in a file dialog, none.
  void SampleSkinClick(vcl::TObject* Sender);
  void VariantSkinClick(vcl::TObject* Sender);
  void PackageSkinClick(vcl::TObject* Sender);
  void NoSkinClick(vcl::TObject* Sender);
  // The popup menu's "Menu bar": takes the main menu away from the form, or gives it back.
  void MenuBarItemClick(vcl::TObject* Sender);
  // Fills Menu (of another form: the MDI frame's) with the Skin menu's items, which act and
  // are checked as the form's own do.
  void AddSkinMenu(vcl::TMenuItem* Menu);
  void FormClose(vcl::TObject* Sender, vcl::TCloseAction& Action);

 private:
  void MakeMenuImages();
  // The Skin menu's item for the skin worn now (Item: that of the form's own menu or of one it
  // filled), checked in every Skin menu.
  void CheckSkinItem(vcl::TObject* Item);
  void MirrorSkinItemClick(vcl::TObject* Sender);
  // The items of the Skin menus filled for other forms, one list a menu, in the own menu's order.
  std::vector<std::vector<vcl::TMenuItem*>> mirrors_;
};

class TGalleryDialog : public vcl::TForm {
  VCL_CLASS(TGalleryDialog, TForm)
 public:
  explicit TGalleryDialog(vcl::TComponent* AOwner) : TForm(AOwner) {}
};

// The frame owns no document: two documents read from one description cannot share an owner
// (their names would clash), so the frame frees those left when it goes. Its Window menu
// tiles and cascades the documents and lists them; a maximised document's buttons stand on
// its menu line.
class TGalleryMdiFrame : public vcl::TForm {
  VCL_CLASS(TGalleryMdiFrame, TForm)
 public:
  explicit TGalleryMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner) {}
  void BeforeDestruction() override;
  // The frame's Skin menu, hidden until the form wearing the skin fills it.
  vcl::TMenuItem* SkinMenu();

  void TileItemClick(vcl::TObject* Sender);
  void CascadeItemClick(vcl::TObject* Sender);
};

class TGalleryMdiChild : public vcl::TForm {
  VCL_CLASS(TGalleryMdiChild, TForm)
 public:
  explicit TGalleryMdiChild(vcl::TComponent* AOwner) : TForm(AOwner) {}
};

// Shows the frame's two document windows (made when missing), cascaded.
void ShowMdiDocuments(TGalleryMdiFrame* frame);

}  // namespace gallery
