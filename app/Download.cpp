#include "app/Download.h"

#include <windows.h>
#include <urlmon.h>

namespace composer {

bool DownloadUrlToFile(const vcl::String& Address, const vcl::String& FileName) {
  return URLDownloadToFileW(nullptr, Address.c_str(), FileName.c_str(), 0, nullptr) == S_OK;
}

}  // namespace composer
