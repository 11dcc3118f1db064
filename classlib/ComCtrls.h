// Common controls: the list view and the tab and page controls.
#pragma once

#include "classlib/ComCtrlsListView.h"
#include "classlib/ComCtrlsPages.h"
