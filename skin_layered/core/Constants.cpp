#include "skin_layered/core/Constants.h"

#include "classlib/rtl/SysInfo.h"

namespace skin_layered {

namespace {

struct TPlatformFacts {
  TPlatformVersionQuery Query;
  int Version = 0;
  int HScrollArrowWidth = 0;
};

TPlatformFacts& Facts() {
  static TPlatformFacts facts;
  return facts;
}

TPlatformVersion SystemVersion() {
  const vcl::TWin32Version& v = vcl::Win32Version();
  return {static_cast<DWORD>(v.MajorVersion), static_cast<DWORD>(v.MinorVersion), static_cast<DWORD>(v.Platform)};
}

}  // namespace

TPlatformVersionQuery SetPlatformVersionQuery(TPlatformVersionQuery Query) {
  TPlatformVersionQuery old = std::move(Facts().Query);
  Facts().Query = std::move(Query);
  return old;
}

TPlatformVersion QueryPlatformVersion() {
  const TPlatformVersionQuery& query = Facts().Query;
  return query ? query() : SystemVersion();
}

int PlatformVersion() { return Facts().Version; }
int HScrollArrowWidth() { return Facts().HScrollArrowWidth; }

void RecordPlatformFacts() {
  Facts().Version = PlatformVersionValue(QueryPlatformVersion());
  Facts().HScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
}

}  // namespace skin_layered
