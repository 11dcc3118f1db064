#include "skin_layered/adapters/WWComboBoxWnd.h"

#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvWWComboBoxWnd) {}

namespace {

// The edit class such combo boxes embed: the library's edit.
bool IsEmbeddedEditClass(vcl::TControl* Control) { return dynamic_cast<vcl::TCustomEdit*>(Control) != nullptr; }

}  // namespace

void RefreshEditAdapter(TsCommonData* SkinData, TqvAdapterPtr<TqvEditWnd>& Adapter) {
  if (!SkinData || !SkinData->Skinned()) {
    Adapter.reset();
    return;
  }
  if (Adapter && Adapter->Destroyed()) Adapter.reset();
  auto* control = dynamic_cast<vcl::TWinControl*>(SkinData->OwnerControl());
  if (Adapter || !control || !control->HandleAllocated()) return;
  Adapter = CreateAdapter<TqvEditWnd>(control->Handle(), SkinData, SkinData->GetSkinManager(), TqvSkinParams{}, true);
}

TqvWWComboBoxWnd::~TqvWWComboBoxWnd() { DropEmbeddedEdit(); }

void TqvWWComboBoxWnd::DropEmbeddedEdit() {
  // The adapter first: it works with the skin data until it goes.
  EditAdapter.reset();
  EditData.reset();
  EmbeddedEdit = nullptr;
}

void TqvWWComboBoxWnd::SetSkinParams() {
  DropEmbeddedEdit();
  const auto* combo = dynamic_cast<const vcl::TComboBox*>(OwnerControl());
  ButtonShown = !combo || combo->Style() == vcl::csDropDown || combo->Style() == vcl::csDropDownList;
  TqvComboBoxWnd::SetSkinParams();
}

vcl::TRect TqvWWComboBoxWnd::ButtonRect() {
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  const int width = ButtonShown ? GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int left =
      (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) ? 2 : (wr.right - wr.left) - width - 2;
  return vcl::TRect{left, 2, left + width, (wr.bottom - wr.top) - 2};
}

void TqvWWComboBoxWnd::FindEmbeddedEdit() {
  auto* owner = dynamic_cast<vcl::TWinControl*>(OwnerControl());
  if (!owner) return;
  for (int i = 0; i < owner->ControlCount(); ++i) {
    auto* edit = dynamic_cast<vcl::TWinControl*>(owner->Controls(i));
    if (!edit || !IsEmbeddedEditClass(edit) || !edit->HandleAllocated()) continue;
    if (edit != EmbeddedEdit) {
      DropEmbeddedEdit();
      EmbeddedEdit = edit;
      EditData = std::make_unique<TsScrollWndData>(edit, true);
      EditData->SetSkinManager(Manager());
      EditData->SetSkinSection(L"EDIT");
    }
    RefreshEditAdapter(EditData.get(), EditAdapter);
  }
}

void TqvWWComboBoxWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == WM_CTLCOLORLISTBOX) {
    CallPrevWndProc(Message);
    return;
  }
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvComboBoxWnd::WndProc(Message);
  if (Message.Msg == WM_PARENTNOTIFY && LOWORD(Message.WParam) == WM_CREATE && alive) FindEmbeddedEdit();
}

}  // namespace skin_layered
