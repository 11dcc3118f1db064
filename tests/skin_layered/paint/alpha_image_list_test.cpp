// The alpha image list: items of each file format read from and written to form
// descriptions, the system list built from them, their bitmaps with alpha drawn over a
// coloured background, caching, rebuilding at a new size, assignment and change links.
#include <windows.h>
#include <commctrl.h>

#include "classlib/forms/Forms.h"
#include "classlib/streaming/Filer.h"
#include "glyph_test_support.h"
#include "skin_layered/paint/AlphaImageList.h"

namespace skin_layered::test {

class TAlphaListTestForm : public vcl::TForm {
  VCL_CLASS(TAlphaListTestForm, vcl::TForm)
 public:
  using TForm::TForm;
};
VCL_CLASS_INFO(TAlphaListTestForm) {}

namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

constexpr std::uint32_t kRed = 0xFFFF0000, kHalfRed = 0x80FF0000, kClear = 0x00000000;

// 8 x 8: the left half opaque red, the right half red at alpha 128, the last column clear.
std::vector<std::uint32_t> EdgePixels() {
  std::vector<std::uint32_t> px;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) px.push_back(x == 7 ? kClear : x < 4 ? kRed : kHalfRed);
  return px;
}

using FormPtr = std::unique_ptr<TAlphaListTestForm, void (*)(TAlphaListTestForm*)>;
FormPtr NewForm() {
  TAlphaListTestForm::StaticClass();
  TsAlphaImageList::StaticClass();
  return {new TAlphaListTestForm(nullptr, 0), [](TAlphaListTestForm* f) { vcl::TObject::Free(f); }};
}

using ListPtr = std::unique_ptr<TsAlphaImageList, void (*)(TsAlphaImageList*)>;
ListPtr NewList(int width, int height) {
  auto* list = vcl::Construct<TsAlphaImageList>(nullptr);
  list->SetWidth(width);
  list->SetHeight(height);
  return {list, [](TsAlphaImageList* l) { vcl::TObject::Free(l); }};
}

void AddItem(TsAlphaImageList& list, TsImageFormat format, const Bytes& bytes) {
  TsImgListItem* item = list.Items()->Add();
  item->SetImageFormat(format);
  SetBytes(item->ImageData(), bytes);
}

TEST(AlphaImageList, ItemsOfEachFormatRoundTripThroughFormDescriptions) {
  const Bytes files[] = {PngFile(8, 8, EdgePixels()), IcoFile(8, 8, Solid(8, 8, 0xFF00FF00)),
                         Bmp32File(8, 8, Solid(8, 8, 0xFF0000FF))};
  const std::string description =
      "object AlphaListTestForm: TAlphaListTestForm\n  object il1: TsAlphaImageList\n    Height = 8\n    Width = 8\n"
      "    Items = <\n      item\n        ImageName = 'edge'\n        ImgData = {" + Hex(files[0]) + "}\n      end\n"
      "      item\n        ImageFormat = ifICO\n        ImgData = {" + Hex(files[1]) + "}\n      end\n"
      "      item\n        ImageFormat = ifBMP32\n        ImgData = {" + Hex(files[2]) + "}\n      end>\n  end\nend\n";
  auto form = NewForm();
  vcl::ReadComponentText(form.get(), description, L"alpha");
  auto* list = dynamic_cast<TsAlphaImageList*>(form->FindComponent(L"il1"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(list->Count(), 3);  // the system list
  EXPECT_EQ(list->Items()->Items(0)->ImageName(), L"edge");
  EXPECT_EQ(list->Items()->Items(1)->ImgHeight(), 8);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(StreamBytes(list->Items()->Items(i)->ImageData()), files[i]);

  const std::string text = vcl::WriteComponentText(form.get());
  EXPECT_EQ(text.find("Bitmap ="), std::string::npos);  // the system list is never stored
  auto again = NewForm();
  vcl::ReadComponentText(again.get(), text, L"alpha again");
  auto* copy = dynamic_cast<TsAlphaImageList*>(again->FindComponent(L"il1"));
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->Items()->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(StreamBytes(copy->Items()->Items(i)->ImageData()), files[i]);
  EXPECT_EQ(copy->Items()->Items(1)->ImageFormat(), ifICO);
  EXPECT_EQ(copy->Items()->Items(2)->ImageFormat(), ifBMP32);
  EXPECT_EQ(copy->Count(), 3);
}

TEST(AlphaImageList, ImagesAreDrawnByTheirAlphaOverTheBackground) {
  auto list = NewList(8, 8);
  AddItem(*list, ifPNG, PngFile(8, 8, EdgePixels()));
  AddItem(*list, ifICO, IcoFile(8, 8, Solid(8, 8, 0xFF00FF00)));
  list->GenerateStdList();
  ASSERT_EQ(list->Count(), 2);

  constexpr TPixel32 kBlue = Bgra(255, 0, 0, 255);
  auto dest = Filled32(12, 10, kBlue);
  vcl::TSize glyph;
  DrawAlphaImgList(list.get(), dest.get(), 2, 1, 0, 0, vcl::clNone, 0, 1, false, glyph);
  EXPECT_EQ(glyph, vcl::TSize(8, 8));
  // Outside, the opaque edge, half alpha, the clear column.
  EXPECT_TRUE(PixelsAre(*dest, {{0, 0, kBlue}, {2, 1, Bgra(Blend(0, 255, 255), 0, Blend(255, 0, 255), 255)},
                                {2 + 5, 1, Bgra(Blend(0, 255, 128), 0, Blend(255, 0, 128), 255)}, {2 + 7, 1, kBlue}}));

  // With transparency 50 the image's weight halves; the destination keeps its alpha.
  auto faded = Filled32(8, 8, kBlue);
  DrawAlphaImgList(list.get(), faded.get(), 0, 0, 0, 50, vcl::clNone, 0, 1, false, glyph);
  EXPECT_EQ(PixelOf(*faded, 0, 0), Bgra(Blend(0, 255, 127), 0, Blend(255, 0, 127), 255));

  // The icon comes from the system list.
  auto fromIcon = Filled32(8, 8, kBlue);
  DrawAlphaImgList(list.get(), fromIcon.get(), 0, 0, 1, 0, vcl::clNone, 0, 1, false, glyph);
  EXPECT_EQ(PixelOf(*fromIcon, 3, 3) & 0x00FFFFFFu, Bgra(Blend(0, 255, 255), Blend(255, 0, 255), 0, 0));

  // Through a device context, as DoDraw does for the canvas.
  auto canvas = Canvas24(10, 10, RGB(0, 0, 255));
  list->Draw(canvas->Canvas(), 1, 1, 0);
  EXPECT_TRUE(ColoursAre(*canvas, {{1, 1, RGB(Blend(255, 0, 255), 0, Blend(0, 255, 255))}, {8, 1, RGB(0, 0, 255)}}));
}

TEST(AlphaImageList, GlyphsAreSlicesOfTheImage) {
  // Four glyphs side by side, each a grey of its own.
  std::vector<std::uint32_t> px;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 16; ++x) px.push_back(0xFF000000u | (0x101010u * static_cast<std::uint32_t>(x / 4 + 1) * 3));
  auto list = NewList(16, 4);
  AddItem(*list, ifPNG, PngFile(16, 4, px));
  list->GenerateStdList();
  auto dest = Filled32(4, 4, 0);
  vcl::TSize glyph;
  DrawAlphaImgList(list.get(), dest.get(), 0, 0, 0, 0, vcl::clNone, 7, 4, false, glyph);
  EXPECT_EQ(glyph, vcl::TSize(4, 4));
  const unsigned grey4 = 0xC0;  // the fourth glyph's grey
  EXPECT_EQ(PixelOf(*dest, 1, 1), Bgra(Blend(grey4, 0, 255), Blend(grey4, 0, 255), Blend(grey4, 0, 255), 255));

  // A glyph count of 0 counts as one glyph: the whole image.
  auto whole = Filled32(16, 4, 0);
  DrawAlphaImgList(list.get(), whole.get(), 0, 0, 0, 0, vcl::clNone, 0, 0, false, glyph);
  EXPECT_EQ(glyph, vcl::TSize(16, 4));
  EXPECT_EQ(PixelOf(*whole, 13, 0), PixelOf(*dest, 1, 1));
}

TEST(AlphaImageList, ABitmapWithoutAlphaTakesItFromItsBottomLeftPixel) {
  // Blue key at the bottom-left and around; a green square inside; every alpha byte 0.
  std::vector<std::uint32_t> px = Solid(6, 6, 0x000000FF);
  for (int y = 1; y < 4; ++y)
    for (int x = 2; x < 5; ++x) px[static_cast<std::size_t>(y * 6 + x)] = 0x0000FF00;
  auto list = NewList(6, 6);
  AddItem(*list, ifBMP32, Bmp32File(6, 6, px));
  list->GenerateStdList();
  auto bmp = list->CreateBitmap32(0, 6, 6);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(PixelOf(*bmp, 0, 5) >> 24, 0u);
  EXPECT_EQ(PixelOf(*bmp, 0, 0) >> 24, 0u);
  EXPECT_EQ(PixelOf(*bmp, 3, 2), Bgra(0, 255, 0, 255));

  // FillAlphaFromKey leaves a bitmap with some alpha as it is.
  auto some = Filled32(2, 2, Bgra(1, 2, 3, 0));
  SetPixelOf(*some, 1, 0, Bgra(1, 2, 3, 9));
  FillAlphaFromKey(some.get());
  EXPECT_EQ(PixelOf(*some, 0, 0), Bgra(1, 2, 3, 0));
}

TEST(AlphaImageList, TheCacheKeepsADecodedImageUntilSwitchedOff) {
  auto list = NewList(8, 8);
  AddItem(*list, ifPNG, PngFile(8, 8, EdgePixels()));
  list->GenerateStdList();
  ASSERT_TRUE(list->UseCache());
  auto first = list->CreateBitmap32(0, 8, 8);
  ASSERT_TRUE(first);
  // The bytes go bad: the cached image still answers at the same size...
  SetBytes(list->Items()->Items(0)->ImageData(), Bytes{0x89, 'P', 'N', 'G', 1, 2, 3});
  auto second = list->CreateBitmap32(0, 8, 8);
  ASSERT_TRUE(second);
  EXPECT_EQ(PixelOf(*second, 5, 5), PixelOf(*first, 5, 5));
  // ...but another size decodes again, and so does everything once the cache is off.
  EXPECT_THROW(list->CreateBitmap32(0, 4, 4), vcl::Exception);
  SetBytes(list->Items()->Items(0)->ImageData(), PngFile(8, 8, EdgePixels()));
  ASSERT_TRUE(list->CreateBitmap32(0, 8, 8));
  list->SetUseCache(false);
  SetBytes(list->Items()->Items(0)->ImageData(), Bytes{0x89, 'P', 'N', 'G', 1, 2, 3});
  EXPECT_THROW(list->CreateBitmap32(0, 8, 8), vcl::Exception);
  EXPECT_FALSE(list->CreateBitmap32(5, 8, 8));  // outside the system list
}

TEST(AlphaImageList, ANewSizeRebuildsTheImagesFromTheKeptData) {
  auto list = NewList(8, 8);
  AddItem(*list, ifPNG, PngFile(8, 8, Solid(8, 8, kRed)));
  AddItem(*list, ifBMP32, Bmp32File(8, 8, Solid(8, 8, 0xFF0000FF)));
  list->GenerateStdList();
  list->SetWidth(16);
  list->SetHeight(12);
  EXPECT_EQ(list->Count(), 2);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list->Handle(), &cx, &cy);
  EXPECT_EQ(std::pair(cx, cy), std::pair(16, 12));
  auto bmp = list->CreateBitmap32(1, 16, 12);
  ASSERT_TRUE(bmp);
  const TPixel32 corner = PixelOf(*bmp, 15, 11);  // resampled, still solid blue and opaque
  EXPECT_GE(std::min(corner & 0xFF, corner >> 24), 250u);
  EXPECT_LE(std::max((corner >> 8) & 0xFF, (corner >> 16) & 0xFF), 5u);
  // The decoded size stays the file's.
  EXPECT_EQ(list->Items()->Items(1)->ImgWidth(), 8);
}

TEST(AlphaImageList, ChangesAreToldOnceAndABrokenFileNeverLeavesTheListUpdating) {
  auto list = NewList(8, 8);
  AddItem(*list, ifPNG, PngFile(8, 8, Solid(8, 8, kRed)));
  list->GenerateStdList();
  int changes = 0;
  struct Counter {
    int* count;
    void Changed(vcl::TObject*) { ++*count; }
  } counter{&changes};
  vcl::TChangeLink link;
  link.OnChange = vcl::TNotifyEvent::Bind<&Counter::Changed>(&counter);
  list->RegisterChanges(&link);

  list->BeginUpdate();
  list->SetBkColor(vcl::clWhite);
  list->SetBkColor(vcl::clNone);
  EXPECT_EQ(changes, 0);
  list->EndUpdate(true);
  EXPECT_EQ(changes, 1);
  list->BeginUpdate();
  list->SetBkColor(vcl::clWhite);
  list->EndUpdate(false);
  EXPECT_EQ(changes, 1);

  // A second item arrives: the change rebuilds the system list before it is told.
  AddItem(*list, ifPNG, PngFile(8, 8, Solid(8, 8, kRed)));
  list->SetBkColor(vcl::clNone);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(list->Count(), 2);

  AddItem(*list, ifPNG, Bytes{0x89, 'P', 'N', 'G', 0, 0});
  EXPECT_THROW(list->GenerateStdList(), vcl::Exception);
  EXPECT_FALSE(list->Updating());
  list->Items()->Delete(2);
  list->GenerateStdList();
  EXPECT_EQ(list->Count(), 2);
  list->UnRegisterChanges(&link);
}

TEST(AlphaImageList, AssignCopiesSettingsAndImages) {
  auto source = NewList(8, 8);
  AddItem(*source, ifPNG, PngFile(8, 8, EdgePixels()));
  AddItem(*source, ifICO, IcoFile(8, 8, Solid(8, 8, 0xFF00FF00)));
  source->GenerateStdList();
  ImageList_SetBkColor(source->Handle(), CLR_NONE);
  source->SetMasked(false);

  auto copy = NewList(16, 16);
  copy->SetBkColor(vcl::clWhite);
  copy->Assign(source.get());
  EXPECT_EQ(copy->Width(), 8);
  EXPECT_EQ(copy->Height(), 8);
  EXPECT_FALSE(copy->Masked());
  EXPECT_EQ(copy->BkColor(), static_cast<vcl::TColor>(0x1FFFFFFF));
  EXPECT_FALSE(copy->Updating());
  ASSERT_EQ(copy->Items()->Count(), 2);
  EXPECT_EQ(StreamBytes(copy->Items()->Items(1)->ImageData()), StreamBytes(source->Items()->Items(1)->ImageData()));
  EXPECT_EQ(copy->Count(), 2);

  // A list that drops its items takes the system images as icons.
  auto bare = NewList(8, 8);
  bare->SetKeepItems(false);
  bare->Assign(source.get());
  EXPECT_EQ(bare->Items()->Count(), 0);
  EXPECT_EQ(bare->Count(), 2);

  copy->Assign(nullptr);
  EXPECT_FALSE(copy->HandleAllocated());
}

}  // namespace
}  // namespace skin_layered::test
