// The inflating stream class and the packed-skin reader on the class library's streams:
// their seek rules and error texts, packs read into memory streams, refused and broken
// packs, and the file-level loader.
#include "core_win_support.h"
#include "skin_layered/core/SkinConvertor.h"
#include "skin_layered/core/ZStream.h"

namespace skin_layered::test {
namespace {

Bytes ReadAll(vcl::TStream& stream) {
  Bytes out;
  std::uint8_t buffer[4096];
  for (int64_t n; (n = stream.Read(buffer, sizeof buffer)) > 0;) out.insert(out.end(), buffer, buffer + n);
  return out;
}

template <class E>
vcl::String MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no exception of the expected class";
  return {};
}

TEST(ZDecompressionStream, ReadsFromWhereTheSourceStoodAndRewindsThere) {
  const Bytes data = PatternBytes(30000, 11);
  Bytes bytes = BytesOf("head");
  const Bytes z = ZlibCompress(data);
  bytes.insert(bytes.end(), z.begin(), z.end());
  bytes.push_back('!');
  auto source = StreamOf(bytes);
  source->SetPosition(4);
  TZDecompressionStream stream(source.get());
  EXPECT_EQ(stream.Seek(0, vcl::soCurrent), 0);
  EXPECT_EQ(ReadAll(stream), data);
  EXPECT_EQ(stream.StreamPos(), static_cast<int64_t>(bytes.size()) - 1);
  EXPECT_EQ(source->Position(), static_cast<int64_t>(bytes.size()) - 1);  // right after the compressed data
  EXPECT_EQ(stream.Seek(0, vcl::soBeginning), 0);
  std::uint8_t first = 0;
  ASSERT_EQ(stream.Read(&first, 1), 1);
  EXPECT_EQ(first, data[0]);  // not the "h" of the source's start
  EXPECT_EQ(stream.Seek(0, vcl::soEnd), 30000);
}

TEST(ZDecompressionStream, RefusedOperationsAndBrokenData) {
  auto source = StreamOf(ZlibCompress(PatternBytes(100, 1)));
  TZDecompressionStream stream(source.get());
  EXPECT_EQ(MessageOf<EZDecompressionError>([&] { stream.Seek(-1, vcl::soCurrent); }),
            L"Invalid ZStream operation!");
  EXPECT_EQ(MessageOf<EZDecompressionError>([&] { stream.Seek(3, vcl::soEnd); }), L"Invalid ZStream operation!");
  EXPECT_EQ(MessageOf<EZDecompressionError>([&] { stream.Write("x", 1); }), L"Invalid ZStream operation!");
  EXPECT_EQ(MessageOf<vcl::EReadError>([&] { stream.Seek(500, vcl::soBeginning); }), L"Stream read error");

  Bytes corrupt = ZlibCompress(PatternBytes(100, 1));
  corrupt[1] ^= 0xFF;  // header check fails
  auto bad = StreamOf(corrupt);
  TZDecompressionStream broken(bad.get());
  try {
    ReadAll(broken);
    ADD_FAILURE() << "corrupt data accepted";
  } catch (const EZDecompressionError& e) {
    EXPECT_EQ(e.Message(), L"data error");
    EXPECT_EQ(e.ErrorCode, -3);
    EXPECT_STREQ(e.ClassName(), L"EZDecompressionError");
  }
}

TEST(ZDecompressionStream, ProgressFollowsEachInputBlock) {
  const Bytes data = PatternBytes(150000, 5);
  auto source = StreamOf(ZlibCompress(data, 0));  // about 150 KB of input: three blocks
  TZDecompressionStream stream(source.get());
  struct Counter {
    int calls = 0;
    void Count(vcl::TObject*) { ++calls; }
  } counter;
  stream.OnProgress = vcl::TNotifyEvent::Bind<&Counter::Count>(&counter);
  EXPECT_EQ(ReadAll(stream), data);
  EXPECT_EQ(counter.calls, 3);
}

// ---------------------------------------------------------------------------------------
// The packed-skin reader

TEST(SkinConvertor, UnpacksTheOptionTextAndTheImagesInPackOrder) {
  for (bool extended : {false, true}) {
    auto pack = StreamOf(WritePack(SampleEntries(), extended));
    TqvSkinConvertor reader;
    reader.PackedData = pack.get();
    ASSERT_TRUE(reader.LoadPack());
    EXPECT_EQ(reader.LastEntry, 2);
    ASSERT_TRUE(reader.Options);
    EXPECT_EQ(BytesOfStream(*reader.Options), SampleEntries()[0].data);
    EXPECT_EQ(reader.Options->Position(), 0);
    ASSERT_EQ(reader.Files.size(), 2u);
    EXPECT_EQ(reader.Files[0].Name, "button.bmp");
    EXPECT_TRUE(reader.Files[0].IsBitmap);
    EXPECT_EQ(BytesOfStream(*reader.Files[0].Data), SampleEntries()[1].data);
    EXPECT_EQ(reader.Files[1].Name, "glyphs.png");
    EXPECT_FALSE(reader.Files[1].IsBitmap);
    EXPECT_EQ(BytesOfStream(*reader.Files[1].Data), SampleEntries()[2].data);

    reader.Clear();
    EXPECT_TRUE(reader.Files.empty());
    EXPECT_FALSE(reader.Options);
    EXPECT_EQ(reader.PackedData, nullptr);
  }
}

TEST(SkinConvertor, AnEmptyPackGivesNothingAndAnyCaseOfTheOptionNameCounts) {
  auto empty = StreamOf(WritePack({}));
  TqvSkinConvertor reader;
  reader.PackedData = empty.get();
  ASSERT_TRUE(reader.LoadPack());
  EXPECT_EQ(reader.LastEntry, -1);
  EXPECT_FALSE(reader.Options);
  EXPECT_TRUE(reader.Files.empty());

  auto pack = StreamOf(WritePack({{"options.DAT", BytesOf("[X]"), {}, {}}, {"none.jpg", {}, {}, {}}}));
  reader.PackedData = pack.get();
  ASSERT_TRUE(reader.LoadPack());
  ASSERT_TRUE(reader.Options);
  EXPECT_EQ(BytesOfStream(*reader.Options), BytesOf("[X]"));
  ASSERT_EQ(reader.Files.size(), 1u);
  EXPECT_EQ(reader.Files[0].Data->Size(), 0);
}

TEST(SkinConvertor, OtherDataIsRefusedWithAMessageAndTheReaderKept) {
  RecordedBoxes boxes;
  auto notAPack = StreamOf(BytesOf("PK\x03\x04 not a skin"));
  auto reader = std::make_unique<TqvSkinConvertor>();
  reader->PackedData = notAPack.get();
  EXPECT_FALSE(reader->LoadPack());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].Text, L"Loaded data is not a packed Pellimor file");
  EXPECT_EQ(boxes.boxes[0].Caption, L"Error");
  EXPECT_EQ(boxes.boxes[0].Flags & (MB_ICONMASK | MB_TYPEMASK), UINT(MB_ICONHAND | MB_OK));
  EXPECT_TRUE(reader->Files.empty());  // still there, still usable
}

TEST(SkinConvertor, BrokenPacksRaiseAndKeepWhatWasReadBefore) {
  Bytes good = WritePack(SampleEntries());
  const Bytes cut(good.begin(), good.end() - 100);
  auto truncated = StreamOf(cut);
  TqvSkinConvertor reader;
  reader.PackedData = truncated.get();
  EXPECT_EQ(MessageOf<vcl::EReadError>([&] { reader.LoadPack(); }), L"Stream read error");
  ASSERT_TRUE(reader.Options);
  EXPECT_EQ(reader.Files.size(), 1u);  // the entry before the cut one

  Bytes stream = ZlibCompress(PatternBytes(500, 3));
  stream[0] = 0x08;  // not a zlib header
  auto corrupt = StreamOf(WritePack({{"x.bmp", PatternBytes(500, 3), {}, stream}}));
  TqvSkinConvertor other;
  other.PackedData = corrupt.get();
  EXPECT_THROW(other.LoadPack(), EZDecompressionError);
}

TEST(SkinConvertor, TheFileLoaderReusesTheReader) {
  TempFile file(L"skin.pmz");
  file.Write(WritePack(SampleEntries()));
  std::unique_ptr<TqvSkinConvertor> reader;
  ASSERT_TRUE(LoadSkinPackFile(file.Path(), reader));
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Files.size(), 2u);
  EXPECT_EQ(reader->PackedData, nullptr);
  TqvSkinConvertor* first = reader.get();
  ASSERT_TRUE(LoadSkinPackFile(file.Path(), reader));
  EXPECT_EQ(reader.get(), first);
  EXPECT_EQ(reader->Files.size(), 2u);  // cleared before, not doubled

  EXPECT_FALSE(LoadSkinPackFile(file.Path() + L".missing", reader));
  EXPECT_EQ(reader->Files.size(), 2u);
}

}  // namespace
}  // namespace skin_layered::test
