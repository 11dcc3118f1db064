// Common controls: the list view and the tab and page controls.
#pragma once

#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/comctrls/ComCtrlsPages.h"
