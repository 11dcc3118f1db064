// The window adapter of each adapter kind of the class-name lists (ThirdPartyList.h), as the
// form skinning's control adapter makes them for a skinned form's controls: one row per kind
// built here, registered with the core at start-up. A kind without a row gets no adapter.
#pragma once

namespace skin_layered {

void RegisterControlAdapters();
void UnregisterControlAdapters();

}  // namespace skin_layered
