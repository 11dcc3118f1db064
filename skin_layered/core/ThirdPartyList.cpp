#include "skin_layered/core/ThirdPartyList.h"

#include <utility>

namespace skin_layered {

namespace {

using enum TqvAdapterKind;

// The order in which the properties are declared (and so streamed).
constexpr std::array<TqvAdapterKind, kAdapterKindCount> kDeclared{
    Edit,     Button,      BitBtn,     CheckBox,  GroupBox,    ListView,      Panel,     Grid,
    TreeView, ComboBox,    WWEdit,     VirtualTree, GridEh,    PageControl,   TabControl, ToolBar,
    StatusBar, SpeedButton, ScrollControl, UpDown, ScrollBar, StaticText,    NativePaint};

template <std::size_t... I>
void DeclareLists(vcl::TPropertyList& p, std::index_sequence<I...>) {
  (p.String<&ThirdPartyList::GetList<kDeclared[I]>, &ThirdPartyList::SetList<kDeclared[I]>>(
       kAdapterKinds[static_cast<std::size_t>(kDeclared[I])].Property),
   ...);
}

}  // namespace

VCL_CLASS_INFO(ThirdPartyList) { DeclareLists(p, std::make_index_sequence<kAdapterKindCount>()); }

void ThirdPartyList::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<ThirdPartyList*>(Source);
  if (!other) return TPersistent::Assign(Source);
  lists_ = other->lists_;
}

TqvClassNameLists::TqvClassNameLists() {
  for (auto& list : lists_) list = std::make_unique<vcl::TStringList>();
}

void TqvClassNameLists::Load(ThirdPartyList& Published, bool Reset) {
  for (std::size_t i = 0; i < kAdapterKindCount; ++i) {
    const auto kind = static_cast<TqvAdapterKind>(i);
    if (Reset || Published.List(kind).empty()) Published.SetKindList(kind, vcl::String(kAdapterKinds[i].Defaults));
    lists_[i]->SetText(Published.List(kind));
  }
}

void TqvClassNameLists::WriteBack(ThirdPartyList& Published) const {
  for (std::size_t i = 0; i < kAdapterKindCount; ++i) Published.SetKindList(static_cast<TqvAdapterKind>(i), lists_[i]->Text());
}

}  // namespace skin_layered
