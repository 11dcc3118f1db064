// The message of an exception a test expects, compared in one line.
#pragma once

#include "classlib/rtl/SysUtils.h"

namespace vcl {

// The message of the E that Fn raises, or "(none)".
template <class E, class Fn>
String MessageOf(Fn&& fn) {
  try {
    fn();
  } catch (const E& e) {
    return e.Message();
  }
  return L"(none)";
}

}  // namespace vcl
