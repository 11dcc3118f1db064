// The pictures of the sample classic skin "Azure", drawn in code: the form frame cut from one
// drawn window (rounded top corners in the key colour, a gradient title), the caption buttons
// with their normal, pressed, hot and inactive frames, the menu bar, and a picture for every
// element the classic engine paints (buttons, check and radio marks, group boxes, tabs,
// scroll bars, edits and combo buttons, track and progress bars, headers, status bars).
#pragma once

#include <string>
#include <vector>

#include "tools/skinmaker/Pixmap.h"

namespace skinmaker {

struct NamedPicture {
  std::string file;  // the name the description gives it
  Pixmap picture;
};

std::vector<NamedPicture> SamplePictures();

}  // namespace skinmaker
