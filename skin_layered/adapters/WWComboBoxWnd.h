// TqvWWComboBoxWnd, the adapter of other vendors' combo boxes that carry an edit control of
// the library inside them and an optional drop-down button: painted as a combo box, with the
// button at the right edge (the width of a vertical scroll bar, none when hidden), and the
// embedded edit given an edit adapter with skin data of its own.
#pragma once

#include <memory>

#include "skin_layered/adapters/ComboBoxWnd.h"

namespace skin_layered {

class TsScrollWndData;

// Keeps the edit adapter of skin data in step with the skin: while the data is skinned an
// adapter is made (one whose window went is replaced), without the skin it is freed.
void RefreshEditAdapter(TsCommonData* SkinData, TqvAdapterPtr<TqvEditWnd>& Adapter);

class TqvWWComboBoxWnd : public TqvComboBoxWnd {
  VCL_CLASS(TqvWWComboBoxWnd, TqvComboBoxWnd)
 public:
  using TqvComboBoxWnd::TqvComboBoxWnd;
  ~TqvWWComboBoxWnd() override;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
  vcl::TRect ButtonRect() override;

  // The owner control's child edits: the last becomes the embedded edit, with its adapter.
  void FindEmbeddedEdit();

  vcl::TWinControl* EmbeddedEdit = nullptr;
  TqvAdapterPtr<TqvEditWnd> EditAdapter;
  std::unique_ptr<TsScrollWndData> EditData;
  bool ButtonShown = true;

 private:
  void DropEmbeddedEdit();
};

}  // namespace skin_layered
