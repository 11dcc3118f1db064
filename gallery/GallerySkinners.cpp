#include "gallery/GallerySkinners.h"

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/comctrls/DateTimePicker.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/ProgressBar.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/TrackBar.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/RichEdit.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/comctrls/UpDown.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/extctrls/MediaPlayer.h"
#include "classlib/extctrls/TabSet.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/ScrollBar.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/controls/SkinBitButton.h"
#include "skin_classic/controls/SkinCheckBox.h"
#include "skin_classic/controls/SkinComboBox.h"
#include "skin_classic/controls/SkinDateTime.h"
#include "skin_classic/controls/SkinDisplay.h"
#include "skin_classic/controls/SkinEdit.h"
#include "skin_classic/controls/SkinGroupBox.h"
#include "skin_classic/controls/SkinHeader.h"
#include "skin_classic/controls/SkinMediaPlayer.h"
#include "skin_classic/controls/SkinScrollbar.h"
#include "skin_classic/controls/SkinTab.h"
#include "skin_classic/controls/SkinTabSet.h"
#include "skin_classic/controls/SkinUpDown.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/forms/WinSkinForm.h"

namespace gallery {
namespace {

using namespace winskin;

class TGallerySkinners : public vcl::TComponent {
  VCL_CLASS(TGallerySkinners, TComponent)
 public:
  explicit TGallerySkinners(TSkinData* Skin) : TComponent(Skin), skin_(Skin) {}

  void FormSkinned(vcl::TObject* Sender, HWND Window, const vcl::String&) {
    auto* form = dynamic_cast<vcl::TWinControl*>(Sender);
    TSkinManage* manager = SkinManager();
    auto* host = manager ? dynamic_cast<TWinSkinForm*>(manager->FindForm(Window)) : nullptr;
    if (!form || !host) return;
    host_ = host;
    MapChildren(form);
  }

 private:
  bool Has(TSkinControlType Kind) const { return skin_->SkinControls().Contains(Kind); }

  bool Skinned(vcl::TControl* Control) const {
    for (TSkinControl* s : host_->Skinners())
      if (s->Owner() == Control) return true;
    return false;
  }

  template <class S>
  void Attach(vcl::TWinControl* Control, bool SetColor = false) {
    if (Skinned(Control)) return;
    auto* s = new S(Control);
    s->AttachControl(host_, skin_, SetColor, nullptr);
  }

  void MapChildren(vcl::TWinControl* Parent) {
    for (int i = 0; i < Parent->ControlCount(); ++i) Map(Parent->Controls(i));
  }

  void Map(vcl::TControl* c) {
    if (c->Tag() == skin_->DisableTag()) return;
    if (auto* speed = dynamic_cast<vcl::TSpeedButton*>(c)) {
      if (Has(xcSpeedButton) && !Skinned(speed)) (new TSkinSpeedButton(speed))->AttachGraphicControl(host_, skin_, nullptr);
      return;
    }
    auto* w = dynamic_cast<vcl::TWinControl*>(c);
    if (!w) return;
    if (auto* pages = dynamic_cast<vcl::TPageControl*>(w)) {
      if (!Has(xcTab)) return;
      MapChildren(pages);
      if (pages->Style() == vcl::tsTabs)
        Attach<TSkinTab>(pages);
      else
        Attach<TSkinTabBtn>(pages);
    } else if (auto* tabSet = dynamic_cast<vcl::TTabSet*>(w)) {
      if (Has(xcTab)) Attach<TSkinTab31>(tabSet);
    } else if (dynamic_cast<vcl::TTabSheet*>(w)) {
      if (!Has(xcTab)) return;
      MapChildren(w);
      Attach<TSkinTabSheet>(w);
    } else if (dynamic_cast<vcl::TCustomRadioGroup*>(w)) {
      if (!Has(xcRadioButton)) return;
      for (int i = 0; i < w->ControlCount(); ++i)
        if (auto* radio = dynamic_cast<vcl::TRadioButton*>(w->Controls(i))) Attach<TSkinRadioButton>(radio);
      Attach<TSkinGroupBox>(w, true);
    } else if (dynamic_cast<vcl::TCustomGroupBox*>(w)) {
      if (!Has(xcPanel)) return;
      MapChildren(w);
      Attach<TSkinGroupBox>(w);
    } else if (dynamic_cast<vcl::TRadioButton*>(w)) {
      if (Has(xcRadioButton)) Attach<TSkinRadioButton>(w);
    } else if (dynamic_cast<vcl::TCheckBox*>(w)) {
      if (Has(xcCheckBox)) Attach<TSkinCheckBox>(w);
    } else if (dynamic_cast<vcl::TBitBtn*>(w)) {
      if (Has(xcBitBtn)) Attach<TSkinBitButton>(w);
    } else if (dynamic_cast<vcl::TButton*>(w)) {
      if (Has(xcButton)) Attach<TSkinButton>(w);
    } else if (dynamic_cast<vcl::TCustomListView*>(w)) {
      if (Has(xcScrollbar)) Attach<TSkinListView>(w);
    } else if (dynamic_cast<vcl::TTrackBar*>(w)) {
      if (Has(xcTrackBar)) Attach<TSkinTrackBar>(w);
    } else if (dynamic_cast<vcl::TProgressBar*>(w)) {
      if (Has(xcProgress)) Attach<TSkinProgress>(w);
    } else if (dynamic_cast<vcl::THeaderControl*>(w)) {
      if (Has(xcTab)) Attach<TSkinHeader>(w);
    } else if (dynamic_cast<vcl::TStatusBar*>(w)) {
      if (Has(xcStatusBar)) Attach<TSkinStatusBar>(w);
    } else if (dynamic_cast<vcl::TMediaPlayer*>(w)) {
      if (Has(xcButton)) Attach<TSkinMP>(w);
    } else if (dynamic_cast<vcl::TCustomMemo*>(w) || dynamic_cast<vcl::TCustomListBox*>(w) ||
               dynamic_cast<vcl::TCustomTreeView*>(w) || dynamic_cast<vcl::TCustomGrid*>(w) ||
               dynamic_cast<vcl::TCustomRichEdit*>(w)) {
      if (Has(xcScrollbar)) Attach<TSkinScrollbar>(w);
    } else if (dynamic_cast<vcl::TCustomEdit*>(w)) {
      if (Has(xcEdit)) Attach<TSkinEdit>(w);
    } else if (dynamic_cast<vcl::TCustomComboBox*>(w)) {
      if (Has(xcCombo)) Attach<TSkinComBox>(w);
    } else if (dynamic_cast<vcl::TDateTimePicker*>(w)) {
      if (Has(xcCombo)) Attach<TSkinDateTime>(w);
    } else if (dynamic_cast<vcl::TUpDown*>(w)) {
      if (Has(xcSpin)) Attach<TSkinUpDown>(w);
    } else if (dynamic_cast<vcl::TScrollBar*>(w)) {
      if (Has(xcScrollbar)) Attach<TSkinScControl>(w);
    } else if (dynamic_cast<vcl::TCustomPanel*>(w)) {
      if (!Has(xcPanel)) return;
      MapChildren(w);
      Attach<TSkinBox>(w, true);
    }
  }

  TSkinData* skin_;
  TWinSkinForm* host_ = nullptr;
};

}  // namespace

VCL_CLASS_INFO(TGallerySkinners) {}

void SkinControlsOfForms(winskin::TSkinData* Skin) {
  auto* skinners = new TGallerySkinners(Skin);
  Skin->OnAfterSkinForm = winskin::TOnSkinForm::Bind<&TGallerySkinners::FormSkinned>(skinners);
}

}  // namespace gallery
