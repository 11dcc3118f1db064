// Shared by the tests of the adapters that host children or text (scroll boxes, static
// texts, the host windows of dialogs): the flat skin of the panels with the scroll bars'
// sections and a see-through section, under a manager of the test's own, and a shown form.
#pragma once

#include <string>

#include "panels_support.h"

namespace skin_layered::test {

inline std::string HostSkinText() {
  // A see-through section, and one of a gradient (its background a picture, never a colour).
  return PanelSkinText() + ScrollSections() + "[CLEAR]\r\nTRANSPARENCY=100\r\nFONTCOLOR=$000000\r\nSTATES=1\r\n" +
         "[SHADED]\r\nCOLOR=$406080\r\nGRADIENTPERCENT=50\r\nSTATES=1\r\n";
}

class HostsTest : public SkinnedTest {
 protected:
  void SetUp() override {
    LoadSkin(HostSkinText(), L"Hosts");
    form->SetBounds(20, 20, 420, 320);
    form->Show();
  }
};

}  // namespace skin_layered::test
