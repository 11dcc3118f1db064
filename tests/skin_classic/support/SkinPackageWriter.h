// The tests write packages with the build's package writer.
#pragma once

#include "tools/skinpack/SkinPackageWriter.h"

namespace skin_classic::test_support {
using skinpack::BuildPackage;
using skinpack::BuildUnpackedPackage;
using skinpack::ByteWriter;
using skinpack::NameText;
using skinpack::PackageEntry;
using skinpack::PackageSpec;
using skinpack::PackPackage;
using skinpack::SkippedBlockBytes;
using skinpack::ToBytes;
}  // namespace skin_classic::test_support
