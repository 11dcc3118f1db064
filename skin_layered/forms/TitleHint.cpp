#include "skin_layered/forms/TitleHint.h"

#include <utility>

#include "classlib/forms/Forms.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintWindows.h"

namespace skin_layered {

void TqvTitleHint::Show(const vcl::String& Text, vcl::TPoint At) {
  Hide();
  if (Text.empty()) return;
  vcl::THintWindow* window = ShowHintAt(Text, At);
  text_ = Text;
  // The hint manager keeps its own window (it is only hidden); any other is the element's.
  if (HintManager())
    managed_ = window != nullptr;
  else
    window_ = window;
}

void TqvTitleHint::Hide() {
  if (window_) vcl::TObject::Free(std::exchange(window_, nullptr));
  if (!std::exchange(managed_, false)) return;
  // The manager's window goes only while it still shows this element's hint.
  if (TsHintManager* manager = HintManager())
    if (TqvPngHintWindow* window = manager->PngHintWindow();
        window && window->HandleAllocated() && window->HintText() == text_)
      window->ReleaseHandle();
}

}  // namespace skin_layered
