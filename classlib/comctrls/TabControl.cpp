// TTabControl: the tab control whose tabs are a string list.
#include "classlib/comctrls/TabControl.h"

namespace vcl {

VCL_CLASS_INFO(TTabControl) {
  publish::Align(p);
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  publish::Constraints(p);
  publish::Enabled(p);
  publish::Font(p);
  publish::Hints(p);
  p.Object<&TCustomTabControl::Images, &TCustomTabControl::SetImages>(L"Images", TCustomImageList::StaticClass());
  p.Bool<&TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine>(L"MultiLine", false);
  p.Bool<&TCustomTabControl::OwnerDraw, &TCustomTabControl::SetOwnerDraw>(L"OwnerDraw", false);
  publish::PopupMenu(p);
  p.Enum<&TCustomTabControl::Style, &TCustomTabControl::SetStyle>(L"Style",
                                                                  static_cast<int64_t>(tsTabs));
  publish::TabOrder(p);
  p.Enum<&TCustomTabControl::TabPosition, &TCustomTabControl::SetTabPosition>(L"TabPosition",
                                                                              static_cast<int64_t>(tpTop));
  p.Object<&TTabControl::Tabs, &TTabControl::SetTabs>(L"Tabs", TStrings::StaticClass());
  p.Integer<&TCustomTabControl::TabIndex, &TCustomTabControl::SetTabIndex>(L"TabIndex", -1);
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Event<&TCustomTabControl::OnChange>(L"OnChange");
  p.Event<&TCustomTabControl::OnChanging>(L"OnChanging");
  publish::OnContextPopup(p);
  p.Event<&TCustomTabControl::OnDrawTab>(L"OnDrawTab");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnResize(p);
}

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner), tabs_(std::make_unique<TStringList>()) {
  tabs_->OnChange = TNotifyEvent::Bind<&TTabControl::TabsChanged>(this);
}

TTabControl::~TTabControl() = default;

TStrings* TTabControl::Tabs() const { return tabs_.get(); }

void TTabControl::SetTabs(TStrings* Value) { tabs_->Assign(Value); }

void TTabControl::TabsChanged(TObject*) {
  std::vector<TTabItem> tabs;
  tabs.reserve(static_cast<size_t>(tabs_->Count()));
  for (int i = 0; i < tabs_->Count(); ++i) tabs.push_back({tabs_->Strings(i), i});
  // The chosen tab stays chosen while it exists.
  const int index = TabIndex();
  TCustomTabControl::SetTabs(std::move(tabs), index < tabs_->Count() ? index : tabs_->Count() - 1);
}

void TTabControl::SetTabIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    loading_index_ = Value;
    return;
  }
  TCustomTabControl::SetTabIndex(Value);
}

void TTabControl::Loaded() {
  TCustomTabControl::Loaded();
  if (loading_index_ >= 0) SelectTab(loading_index_);
  loading_index_ = -1;
}

}  // namespace vcl
