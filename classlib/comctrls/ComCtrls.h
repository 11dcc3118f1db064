// Common controls: the list view, the tab and page controls, tool bars, status bars, track
// and progress bars, up-down controls, date-time pickers, header controls, tree views, grids
// and rich edits.
#pragma once

#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/comctrls/DateTimePicker.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/ProgressBar.h"
#include "classlib/comctrls/RichEdit.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/TabControl.h"
#include "classlib/comctrls/ToolBar.h"
#include "classlib/comctrls/TrackBar.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/comctrls/UpDown.h"

namespace vcl::detail {

// The unit's start-up makes its classes known to form descriptions (registered in its source
// file, which every program linking the library links).
void InitComCtrlsUnit();

}  // namespace vcl::detail
