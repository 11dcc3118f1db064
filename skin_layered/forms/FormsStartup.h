// The form skinning's unit: at start-up it installs the services the core asks of form
// skinning (frame metrics, the desktop window manager, the task-bar pictures of a form), and
// takes them out again at shut-down.
#pragma once

namespace skin_layered {

class TLayeredFormServices;

// The services this layer installs (also when the unit has not started).
TLayeredFormServices& LayeredFormServices();

void StartFormsUnit();
void StopFormsUnit();

}  // namespace skin_layered
