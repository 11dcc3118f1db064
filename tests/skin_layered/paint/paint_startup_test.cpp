// The painting layer's unit start-up: "png" registered after the class library's units and
// unregistered at shutdown, the layered-window entry points and the check-box glyph size.
#include <algorithm>

#include "paint_win_support.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/PngGraphic.h"

namespace skin_layered::test {
namespace {

int PositionOf(const std::vector<vcl::String>& names, const wchar_t* name) {
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

TEST(PaintStartup, PngIsAPictureFormatWhileTheUnitsRun) {
  ASSERT_TRUE(vcl::UnitsInitialized());
  EXPECT_TRUE(vcl::TPicture::FileFormatClass(L"png") == vcl::TGraphicClass::Of<TPNGGraphic>());
  EXPECT_TRUE(vcl::TPicture::FileFormatClass(L".PNG") == vcl::TGraphicClass::Of<TPNGGraphic>());
  const auto names = vcl::InitializedUnitNames();
  const int png = PositionOf(names, L"PngPictureFormat");
  const int bindings = PositionOf(names, L"LayeredWindowBindings");
  ASSERT_GE(png, 0);
  EXPECT_GT(png, PositionOf(names, L"Forms"));  // after the class library
  EXPECT_GT(bindings, png);

  vcl::FinalizeUnits();
  EXPECT_FALSE(vcl::TPicture::FileFormatClass(L"png"));
  EXPECT_FALSE(LayeredApiAvailable());
  EXPECT_EQ(UpdateLayeredWindowProc(), nullptr);
  vcl::InitializeUnits();  // as the rest of the program expects
  EXPECT_TRUE(vcl::TPicture::FileFormatClass(L"png") == vcl::TGraphicClass::Of<TPNGGraphic>());
}

TEST(PaintStartup, LayeredWindowEntryPointsAreBound) {
  ASSERT_TRUE(LayeredApiAvailable());
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  EXPECT_EQ(reinterpret_cast<void*>(UpdateLayeredWindowProc()),
            reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")));
  EXPECT_EQ(reinterpret_cast<void*>(SetLayeredWindowAttributesProc()),
            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));

  const vcl::UniqueBitmap boxes(LoadBitmapW(nullptr, MAKEINTRESOURCEW(32759)));
  BITMAP info{};
  ASSERT_NE(GetObjectW(boxes.get(), sizeof info, &info), 0);
  EXPECT_EQ(CheckBoxGlyphSize(), vcl::TSize(info.bmWidth / 4, info.bmHeight / 3));
  EXPECT_GT(CheckBoxGlyphSize().cx, 0);
}

}  // namespace
}  // namespace skin_layered::test
