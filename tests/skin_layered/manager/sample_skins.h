// The sample layered skins the build writes, loaded from their folders or their packs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skin_layered/core/SkinConvertor.h"
#include "skin_layered/manager/SkinReader.h"

namespace skin_layered::test {

// The folder the build wrote the sample skins to, as the program sees it.
inline std::wstring SampleSkins() {
  std::wstring path = L"Z:";
  for (const char* p = SCRIVANE_LAYERED_SAMPLE_SKINS; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

inline void LoadFolder(const wchar_t* name, TsLoadedSkin& skin) {
  TsSkinLoadRequest request;
  request.SkinDirectory = SampleSkins();
  request.SkinName = name;
  ASSERT_EQ(LoadSkin(request, skin), TsSkinLoadResult::Loaded) << name;
  ASSERT_FALSE(skin.SkinData.SkinPath.empty());
}

inline void LoadPack(const wchar_t* name, TsLoadedSkin& skin) {
  std::unique_ptr<TqvSkinConvertor> pack;
  ASSERT_TRUE(LoadSkinPackFile(SampleSkins() + L"\\" + name + L".pmz", pack)) << name;
  TsSkinLoadRequest request;
  request.SkinDirectory = SampleSkins();
  request.SkinName = name;
  ASSERT_EQ(LoadPackedSkin(request, *pack, skin), TsSkinLoadResult::Loaded) << name;
}

}  // namespace skin_layered::test
