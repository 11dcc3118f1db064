#include "skin_layered/core/Constants.h"

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
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  TPlatformVersion v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&info)) v = {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
#pragma GCC diagnostic pop
  return v;
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
