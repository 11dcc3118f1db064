// JPEG pictures, the picture container and its file-format registry, and image lists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <cwctype>

#include "classlib/streaming/Filer.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/graphics/Jpeg.h"
#include "graphics_test_support.h"

namespace vcl {

// A picture kind of the tests: remembers the bytes it read.
class TTestGraphic : public TGraphic {
  VCL_CLASS(TTestGraphic, TGraphic)
 public:
  TTestGraphic() = default;

  bool GetEmpty() const override { return bytes.empty(); }
  int GetWidth() const override { return static_cast<int>(bytes.size()); }
  int GetHeight() const override { return 1; }
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  void LoadFromStream(TStream* Stream) override {
    bytes.resize(static_cast<size_t>(Stream->Size() - Stream->Position()));
    if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    Changed(this);
  }
  void SaveToStream(TStream* Stream) override {
    if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  }
  void Draw(TCanvas*, const TRect&) override {}
  void Assign(TPersistent* Source) override {
    if (auto* t = dynamic_cast<TTestGraphic*>(Source)) {
      bytes = t->bytes;
      Changed(this);
      return;
    }
    TGraphic::Assign(Source);
  }

  std::vector<uint8_t> bytes;
};
VCL_CLASS_INFO(TTestGraphic) {}

// A component with a bitmap and a picture stored in its form description.
class TGlyphHolder : public TComponent {
  VCL_CLASS(TGlyphHolder, TComponent)
 public:
  explicit TGlyphHolder(TComponent* AOwner)
      : TComponent(AOwner), glyph_(std::make_unique<TBitmap>()), picture_(std::make_unique<TPicture>()) {}

  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
  TPicture* Picture() const { return picture_.get(); }
  void SetPicture(TPicture* Value) { picture_->Assign(Value); }

 private:
  std::unique_ptr<TBitmap> glyph_;
  std::unique_ptr<TPicture> picture_;
};
VCL_CLASS_INFO(TGlyphHolder) {
  p.Object<&TGlyphHolder::Glyph, &TGlyphHolder::SetGlyph>(L"Glyph", TBitmap::StaticClass());
  p.Object<&TGlyphHolder::Picture, &TGlyphHolder::SetPicture>(L"Picture", TPicture::StaticClass());
}

namespace {

using test::At;
using test::Surface;

bool Near(TColor a, TColor b, int tolerance = 40) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

// A picture (16 x 8 unless told), red on the left half and blue on the right, as JPEG bytes.
std::vector<uint8_t> RedBlueJpeg(bool progressive = false, int height = 8) {
  auto b = Surface(16, height, clRed);
  b->Canvas()->Brush()->SetColor(clBlue);
  b->Canvas()->FillRect(Rect(8, 0, 16, height));
  TJPEGImage j;
  j.Assign(b.get());
  j.SetCompressionQuality(95);
  j.SetProgressiveEncoding(progressive);
  TMemoryStream s;
  j.SaveToStream(&s);
  return test::BytesOf(s);
}

void ExpectJpegError(const EJPEG& e) {
  const String& m = e.Message();
  ASSERT_EQ(m.rfind(L"JPEG error #", 0), 0u) << WideToUtf8(m);
  ASSERT_GT(m.size(), 12u);
  for (size_t i = 12; i < m.size(); ++i) EXPECT_TRUE(std::iswdigit(m[i]));
}

TEST(Jpeg, CompressedByLibjpegAndReadBack) {
  for (bool progressive : {false, true}) {
    const auto bytes = RedBlueJpeg(progressive);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);

    TMemoryStream s;
    test::LoadBytes(s, bytes);
    TJPEGImage j;
    j.LoadFromStream(&s);
    EXPECT_FALSE(j.Empty());
    EXPECT_EQ(j.Width(), 16);
    EXPECT_EQ(j.Height(), 8);
    auto dst = Surface(20, 10, clWhite);
    dst->Canvas()->Draw(2, 1, &j);
    EXPECT_TRUE(Near(At(*dst, 4, 4), clRed)) << std::hex << At(*dst, 4, 4);
    EXPECT_TRUE(Near(At(*dst, 15, 4), clBlue)) << std::hex << At(*dst, 15, 4);
    EXPECT_EQ(At(*dst, 19, 9), clWhite);
    EXPECT_EQ(j.Bitmap()->PixelFormat(), pf24bit);

    // Saving unchanged bytes writes them as read.
    TMemoryStream again;
    j.SaveToStream(&again);
    EXPECT_EQ(test::BytesOf(again), bytes);
  }
}

TEST(Jpeg, ScaleGreyAndAssignmentToBitmaps) {
  TMemoryStream s;
  test::LoadBytes(s, RedBlueJpeg());
  TJPEGImage j;
  j.LoadFromStream(&s);
  j.SetScale(jsHalf);
  EXPECT_EQ(j.Width(), 8);
  EXPECT_EQ(j.Height(), 4);
  EXPECT_EQ(j.Bitmap()->Width(), 8);

  j.SetScale(jsFullSize);
  j.SetGrayscale(true);
  TBitmap* grey = j.Bitmap();
  EXPECT_EQ(grey->PixelFormat(), pf8bit);
  const TColor g = At(*grey, 2, 2);
  EXPECT_EQ(g & 0xFF, (g >> 8) & 0xFF);
  EXPECT_EQ(g & 0xFF, (g >> 16) & 0xFF);

  j.SetGrayscale(false);
  TBitmap b;
  b.Assign(&j);
  EXPECT_EQ(b.Width(), 16);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_TRUE(Near(At(b, 12, 3), clBlue));
  EXPECT_THROW(j.SetWidth(3), EInvalidGraphicOperation);

  TJPEGImage copy;
  copy.Assign(&j);
  EXPECT_EQ(copy.Height(), 8);
}

TEST(Jpeg, BrokenDataRaisesJpegErrorsAndNeverCrashes) {
  TMemoryStream s;
  test::LoadBytes(s, RedBlueJpeg());
  TJPEGImage j;
  j.LoadFromStream(&s);

  for (const std::vector<uint8_t>& bad : {std::vector<uint8_t>{}, std::vector<uint8_t>{0xFF, 0xD8, 0xFF},
                                          std::vector<uint8_t>{'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}}) {
    test::LoadBytes(s, bad);
    try {
      j.LoadFromStream(&s);
      ADD_FAILURE() << "no exception";
    } catch (const EJPEG& e) {
      ExpectJpegError(e);
    }
    EXPECT_EQ(j.Width(), 16);  // the picture is kept
  }
  static_assert(std::is_base_of_v<EInvalidGraphic, EJPEG>);

  // A picture cut short still draws what it has; every cut either draws or raises EJPEG.
  const auto bytes = RedBlueJpeg(false, 128);
  for (size_t n = 0; n < bytes.size(); ++n) {
    test::LoadBytes(s, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(n)));
    TJPEGImage cut;
    try {
      cut.LoadFromStream(&s);
      auto dst = Surface(16, 128);
      dst->Canvas()->Draw(0, 0, &cut);
      if (n > bytes.size() * 9 / 10) {
        EXPECT_TRUE(Near(At(*dst, 1, 1), clRed)) << n;
      }
    } catch (const EJPEG& e) {
      ExpectJpegError(e);
    }
  }
  // Corrupted entropy data: decoding goes on with libjpeg's warnings.
  auto corrupt = bytes;
  for (size_t i = corrupt.size() / 2; i < corrupt.size() - 2; i += 7) corrupt[i] ^= 0x5A;
  test::LoadBytes(s, corrupt);
  TJPEGImage damaged;
  try {
    damaged.LoadFromStream(&s);
    auto dst = Surface(16, 8);
    dst->Canvas()->Draw(0, 0, &damaged);
    EXPECT_EQ(dst->Width(), 16);
  } catch (const EJPEG& e) {
    ExpectJpegError(e);
  }
}

TEST(Picture, FilesAreReadByTheClassOfTheirExtension) {
  test::TempFile bmp(L"a.bmp"), jpg(L"b.JPG"), jpeg(L"c.jpeg"), unknown(L"d.xyz");
  Surface(3, 2, clRed)->SaveToFile(bmp.Path());
  {
    TMemoryStream s;
    test::LoadBytes(s, RedBlueJpeg());
    s.SaveToFile(jpg.Path());
    s.SaveToFile(jpeg.Path());
    s.SaveToFile(unknown.Path());
  }

  TPicture p;
  int changes = 0;
  p.OnChange = TNotifyEvent::FromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &changes);
  p.LoadFromFile(bmp.Path());
  ASSERT_NE(p.Graphic(), nullptr);
  EXPECT_EQ(p.Graphic()->ClassName(), L"TBitmap");
  EXPECT_EQ(p.Width(), 3);
  EXPECT_EQ(changes, 1);
  p.LoadFromFile(jpg.Path());
  EXPECT_EQ(p.Graphic()->ClassName(), L"TJPEGImage");
  EXPECT_EQ(p.Height(), 8);
  p.LoadFromFile(jpeg.Path());
  EXPECT_EQ(p.Graphic()->ClassName(), L"TJPEGImage");

  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { p.LoadFromFile(unknown.Path()); }), L"Unknown picture file extension (.xyz)");
  EXPECT_THROW(p.LoadFromFile(unknown.Path() + L".jpg"), EFOpenError);  // no such file
  EXPECT_EQ(p.Graphic()->ClassName(), L"TJPEGImage");                   // kept

  // The graphic changing tells the picture.
  const int before = changes;
  p.Bitmap()->SetSize(5, 5);  // a JPEG picture becomes an (empty) bitmap first
  EXPECT_EQ(p.Graphic()->ClassName(), L"TBitmap");
  EXPECT_EQ(p.Width(), 5);
  EXPECT_GT(changes, before + 1);
}

TEST(Picture, RegistryAddsAndRemovesFormats) {
  EXPECT_EQ(TPicture::FileFormatClass(L"JPG").Info, &TJPEGImage::StaticClass());
  EXPECT_EQ(TPicture::FileFormatClass(L".bmp").Info, &TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FileFormatClass(L"ico").Info, &TIcon::StaticClass());
  EXPECT_FALSE(TPicture::FileFormatClass(L"tst"));

  test::TempFile file(L"e.tst");
  {
    TMemoryStream s;
    test::LoadBytes(s, {1, 2, 3});
    s.SaveToFile(file.Path());
  }
  TPicture::RegisterFileFormat(L"tst", L"Test pictures", TGraphicClass::Of<TTestGraphic>());
  TPicture p;
  p.LoadFromFile(file.Path());
  auto* t = dynamic_cast<TTestGraphic*>(p.Graphic());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->bytes, (std::vector<uint8_t>{1, 2, 3}));

  // Assigning copies into an object of the same class.
  TPicture q;
  q.Assign(&p);
  ASSERT_NE(q.Graphic(), p.Graphic());
  EXPECT_EQ(dynamic_cast<TTestGraphic*>(q.Graphic())->bytes, t->bytes);

  // Form data names the class.
  TMemoryStream data;
  p.WriteData(&data);
  data.SetPosition(0);
  TPicture r;
  r.ReadData(&data);
  EXPECT_EQ(r.Graphic()->ClassName(), L"TTestGraphic");
  EXPECT_EQ(r.Width(), 3);

  TPicture::UnregisterGraphicClass(TGraphicClass::Of<TTestGraphic>());
  EXPECT_FALSE(TPicture::FileFormatClass(L"tst"));
  EXPECT_THROW(p.LoadFromFile(file.Path()), EInvalidGraphic);
}

TEST(Picture, BitmapsAndPicturesTravelThroughFormDescriptions) {
  TGlyphHolder holder(nullptr);
  holder.SetName(L"holder");
  auto glyph = Surface(3, 2, clLime);
  holder.SetGlyph(glyph.get());
  TJPEGImage jpeg;
  TMemoryStream s;
  test::LoadBytes(s, RedBlueJpeg());
  jpeg.LoadFromStream(&s);
  holder.Picture()->SetGraphic(&jpeg);
  const std::string text = WriteComponentText(&holder);
  EXPECT_NE(text.find("Glyph.Data"), std::string::npos) << text;
  EXPECT_NE(text.find("Picture.Data"), std::string::npos) << text;

  TGlyphHolder back(nullptr);
  ReadComponentText(&back, text, L"holder");
  EXPECT_EQ(back.Glyph()->Width(), 3);
  EXPECT_EQ(At(*back.Glyph(), 2, 1), clLime);
  ASSERT_NE(back.Picture()->Graphic(), nullptr);
  EXPECT_EQ(back.Picture()->Graphic()->ClassName(), L"TJPEGImage");
  EXPECT_EQ(back.Picture()->Width(), 16);

  // Empty pictures store nothing.
  TGlyphHolder empty(nullptr);
  empty.SetName(L"empty");
  EXPECT_EQ(WriteComponentText(&empty).find("Data"), std::string::npos);
}

// A 64 x 16 strip of four black 8 x 8 squares on white, one bit per pixel.
std::unique_ptr<TBitmap> Strip() {
  auto b = Surface(64, 16);
  b->Canvas()->Brush()->SetColor(clBlack);
  for (int i = 0; i < 4; ++i) b->Canvas()->FillRect(Bounds(16 * i + 4, 4, 8, 8));
  b->SetPixelFormat(pf1bit);
  return b;
}

TEST(ImageList, MaskedStripsDrawOverTheBackground) {
  TImageList list(nullptr);
  EXPECT_EQ(list.Add(nullptr, nullptr), -1);
  auto strip = Strip();
  EXPECT_EQ(list.AddMasked(strip.get(), clWhite), 0);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(At(*strip, 0, 0), clWhite);  // the caller's bitmap is not touched

  auto dst = Surface(40, 20, clRed);
  list.Draw(dst->Canvas(), 2, 2, 1);
  EXPECT_EQ(At(*dst, 2 + 6, 2 + 6), clBlack);
  EXPECT_EQ(At(*dst, 2 + 1, 2 + 1), clRed);  // white was the mask colour

  list.Draw(dst->Canvas(), 20, 0, 2, false);
  EXPECT_EQ(At(*dst, 20 + 6, 6), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(*dst, 20 + 1, 1), clRed);

  TBitmap one;
  list.GetBitmap(3, &one);
  EXPECT_EQ(one.Width(), 16);
  EXPECT_EQ(At(one, 8, 8), clBlack);

  TIcon icon;
  list.GetIcon(0, &icon);
  EXPECT_EQ(icon.Width(), 16);

  TImageList copy(nullptr);
  copy.Assign(&list);
  EXPECT_EQ(copy.Count(), 4);
  EXPECT_NE(copy.Handle(), list.Handle());

  int changes = 0;
  list.OnChange = TNotifyEvent::FromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &changes);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 3);
  list.SetWidth(32);  // a new size empties the list
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(changes, 2);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list.Handle(), &cx, &cy);
  EXPECT_EQ(cx, 32);

  TMemoryStream s;
  test::LoadBytes(s, test::IconFile(32, 0, 0, 255));
  TIcon blue;
  blue.LoadFromStream(&s);
  EXPECT_EQ(list.AddIcon(&blue), 0);
  auto dst2 = Surface(40, 40);
  list.Draw(dst2->Canvas(), 0, 0, 0);
  EXPECT_EQ(At(*dst2, 10, 10), clBlue);

}

struct LinkCounter {
  TChangeLink link;
  int changes = 0;
  TObject* sender = nullptr;
  TCustomImageList* unregister_from = nullptr;  // leaves at the first change
  LinkCounter() { link.OnChange = TNotifyEvent::Bind<&LinkCounter::Changed>(this); }
  void Changed(TObject* Sender) {
    ++changes;
    sender = Sender;
    if (unregister_from) unregister_from->UnRegisterChanges(&link);
  }
};

TEST(ImageList, ChangeLinksAreToldOnceAtTheEndOfAnUpdate) {
  auto list = std::make_unique<TImageList>(nullptr);
  LinkCounter first, second;
  int events = 0;
  list->OnChange = TNotifyEvent::FromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &events);
  list->RegisterChanges(&first.link);
  list->RegisterChanges(&second.link);
  EXPECT_EQ(first.link.Sender(), list.get());
  auto strip = Strip();
  list->AddMasked(strip.get(), clWhite);
  EXPECT_EQ(first.changes, 1);
  EXPECT_EQ(second.changes, 1);
  EXPECT_EQ(first.sender, list.get());

  list->BeginUpdate();
  list->BeginUpdate();
  list->Delete(0);
  list->Delete(0);
  list->EndUpdate();
  EXPECT_EQ(first.changes, 1);  // still inside the outer update
  list->EndUpdate();
  EXPECT_EQ(first.changes, 2);
  EXPECT_EQ(second.changes, 2);
  EXPECT_EQ(events, 2);
  list->BeginUpdate();
  list->EndUpdate();  // nothing changed: nothing told
  EXPECT_EQ(events, 2);
  list->EndUpdate();  // unmatched: ignored
  EXPECT_EQ(list->UpdateCount(), 0);

  first.unregister_from = list.get();  // a link may leave while it is told
  list->Delete(0);
  EXPECT_EQ(first.changes, 3);
  EXPECT_EQ(first.link.Sender(), nullptr);
  list->Delete(0);
  EXPECT_EQ(first.changes, 3);
  EXPECT_EQ(second.changes, 4);

  {
    LinkCounter brief;
    list->RegisterChanges(&brief.link);
  }  // a freed link leaves its list
  list->Clear();
  EXPECT_EQ(second.changes, 5);
  list.reset();  // a freed list lets go of its links
  EXPECT_EQ(second.link.Sender(), nullptr);
}

// The images as a form description stores them: written and read again through the
// system's image list stream.
TEST(ImageList, ImagesStreamedInTheFormDescriptionAndBrokenDataRefused) {
  TImageList list(nullptr);
  list.SetName(L"Images");
  auto strip = Strip();
  list.AddMasked(strip.get(), clWhite);
  const std::string text = WriteComponentText(&list);
  ASSERT_NE(text.find("Bitmap = {"), std::string::npos);

  TImageList copy(nullptr);
  LinkCounter told;
  copy.RegisterChanges(&told.link);
  ReadComponentText(&copy, text, L"images");
  EXPECT_EQ(copy.Count(), 4);
  EXPECT_EQ(copy.Width(), 16);
  EXPECT_GE(told.changes, 1);
  auto dst = Surface(20, 20, clRed);
  copy.Draw(dst->Canvas(), 2, 2, 1);
  EXPECT_EQ(At(*dst, 2 + 6, 2 + 6), clBlack);
  EXPECT_EQ(At(*dst, 2 + 1, 2 + 1), clRed);

  // The same description with its image data cut short, or with a head that promises more.
  const size_t open = text.find("Bitmap = {");
  const size_t close = text.find('}', open);
  const std::string data = text.substr(open + 10, close - open - 10);
  std::string hex;
  for (char c : data)
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
  auto withData = [&](const std::string& h) { return text.substr(0, open + 10) + h + text.substr(close); };
  std::string bigger = hex;
  bigger.replace(20, 4, "FF7F");  // cx (at byte 10) far beyond the bitmaps that follow
  for (const std::string& broken : {hex.substr(0, hex.size() / 2), hex.substr(0, 40), bigger, std::string("0000")}) {
    TImageList target(nullptr);
    EXPECT_THROW(ReadComponentText(&target, withData(broken), L"broken"), EReadError);
    EXPECT_EQ(target.Count(), 0);
  }
}

// A list that keeps its images otherwise streams them its own way.
class TOwnDataList : public TImageList {
  VCL_CLASS(TOwnDataList, TImageList)
 public:
  using TImageList::TImageList;
  std::string read;
  int writes = 0;

 protected:
  void ReadData(TStream* Stream) override {
    read.resize(static_cast<size_t>(Stream->Size()));
    Stream->ReadBuffer(read.data(), static_cast<int64_t>(read.size()));
  }
  void WriteData(TStream* Stream) override {
    ++writes;
    Stream->WriteBuffer("own", 3);
  }
};

}  // namespace
VCL_CLASS_INFO(TOwnDataList) {}
namespace {

TEST(ImageList, ReadDataAndWriteDataAreTheListsToReplace) {
  TOwnDataList list(nullptr);
  auto strip = Strip();
  list.AddMasked(strip.get(), clWhite);
  const std::string text = WriteComponentText(&list);
  EXPECT_EQ(list.writes, 1);
  TOwnDataList copy(nullptr);
  ReadComponentText(&copy, text, L"own");
  EXPECT_EQ(copy.read, "own");
  EXPECT_EQ(copy.Count(), 0);
}

}  // namespace
}  // namespace vcl
