// Downloading a file by its address.
#pragma once

#include "classlib/rtl/SysUtils.h"

namespace composer {

// Downloads Address (any address the system's URL monikers know: http, https, file, ...) to
// FileName; true when the system reports success.
bool DownloadUrlToFile(const vcl::String& Address, const vcl::String& FileName);

}  // namespace composer
