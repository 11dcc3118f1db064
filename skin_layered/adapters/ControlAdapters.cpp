#include "skin_layered/adapters/ControlAdapters.h"

#include "skin_layered/adapters/ButtonWnd.h"
#include "skin_layered/adapters/CheckBoxWnd.h"
#include "skin_layered/adapters/ComboBoxWnd.h"
#include "skin_layered/adapters/EditWnd.h"
#include "skin_layered/adapters/GridWnd.h"
#include "skin_layered/adapters/GroupBoxWnd.h"
#include "skin_layered/adapters/ListViewWnd.h"
#include "skin_layered/adapters/NativePaintWnd.h"
#include "skin_layered/adapters/PanelWnd.h"
#include "skin_layered/adapters/ScrollBarCtlWnd.h"
#include "skin_layered/adapters/ScrollBoxWnd.h"
#include "skin_layered/adapters/SpinWnd.h"
#include "skin_layered/adapters/StaticTextWnd.h"
#include "skin_layered/adapters/StatusBarWnd.h"
#include "skin_layered/adapters/TabControlWnd.h"
#include "skin_layered/adapters/ToolBarWnd.h"
#include "skin_layered/adapters/TreeViewWnd.h"
#include "skin_layered/adapters/VirtualTreeWnd.h"
#include "skin_layered/adapters/WWComboBoxWnd.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {
namespace {

// Made on the control's window with the control's own skin data and an immediate repaint.
template <class T>
vcl::TObject* Make(HWND Wnd, TsSkinManager* Manager, const TqvSkinParams& Params) {
  return CreateAdapter<T>(Wnd, nullptr, Manager, Params, true).release();
}

struct TKindRow {
  TqvAdapterKind Kind;
  TqvControlAdapterFactory Factory;
};

using enum TqvAdapterKind;
constexpr TKindRow kKinds[] = {
    {Edit, &Make<TqvEditWnd>},
    {Button, &Make<TqvBtnWnd>},
    {BitBtn, &Make<TqvBitBtnWnd>},
    {CheckBox, &Make<TqvCheckBoxWnd>},
    {ComboBox, &Make<TqvComboBoxWnd>},
    {Grid, &Make<TqvGridWnd>},
    {GroupBox, &Make<TqvGroupBoxWnd>},
    {ListView, &Make<TqvListViewWnd>},
    {Panel, &Make<TqvPanelWnd>},
    {TreeView, &Make<TqvTreeViewWnd>},
    {WWEdit, &Make<TqvWWComboBoxWnd>},
    {GridEh, &Make<TqvGridEhWnd>},
    {VirtualTree, &Make<TqvVirtualTreeViewWnd>},
    {PageControl, &Make<TqvPageControlWnd>},
    {TabControl, &Make<TqvTabControlWnd>},
    {ToolBar, &Make<TqvToolBarVCLWnd>},
    {StatusBar, &Make<TqvStatusBarWnd>},
    {ScrollControl, &Make<TqvScrollBoxWnd>},
    {UpDown, &Make<TqvSpinWnd>},
    {ScrollBar, &Make<TqvSBWnd>},
    {StaticText, &Make<TqvStaticTextWnd>},
    {NativePaint, &Make<TqvNativePaint>},
};

}  // namespace

void RegisterControlAdapters() {
  for (const TKindRow& row : kKinds) RegisterControlAdapter(row.Kind, row.Factory);
}

void UnregisterControlAdapters() {
  for (const TKindRow& row : kKinds)
    if (ControlAdapterFactory(row.Kind) == row.Factory) RegisterControlAdapter(row.Kind, nullptr);
}

}  // namespace skin_layered
