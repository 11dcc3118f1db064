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

Bytes Unpacked(const TqvSkinConvertor& Reader, const TqvImageItem& Item) {
  const std::unique_ptr<vcl::TMemoryStream> data = Reader.Unpack(Item);
  EXPECT_EQ(data->Position(), 0);
  return BytesOfStream(*data);
}

TEST(SkinConvertor, UnpacksTheOptionTextAndTheImagesWhenAskedFromItsOwnCopyOfThePack) {
  for (bool extended : {false, true}) {
    auto pack = StreamOf(WritePack(SampleEntries(), extended));
    TqvSkinConvertor reader;
    reader.PackedData = pack.get();
    ASSERT_TRUE(reader.LoadPack());
    // The source goes: the images come from the reader's copy.
    reader.PackedData = nullptr;
    pack.reset();
    EXPECT_EQ(reader.LastEntry, 2);
    ASSERT_TRUE(reader.Options);
    EXPECT_EQ(BytesOfStream(*reader.Options), SampleEntries()[0].data);
    EXPECT_EQ(reader.Options->Position(), 0);
    ASSERT_EQ(reader.Files.size(), 2u);
    EXPECT_EQ(reader.Files[0].Name, "button.bmp");
    EXPECT_TRUE(reader.Files[0].IsBitmap);
    EXPECT_EQ(reader.Files[0].Size, 3000);
    EXPECT_EQ(reader.Files[1].Name, "glyphs.png");
    EXPECT_FALSE(reader.Files[1].IsBitmap);
    // In any order, as often as asked.
    EXPECT_EQ(Unpacked(reader, reader.Files[1]), SampleEntries()[2].data);
    EXPECT_EQ(Unpacked(reader, reader.Files[0]), SampleEntries()[1].data);
    EXPECT_EQ(Unpacked(reader, reader.Files[1]), SampleEntries()[2].data);

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
  EXPECT_EQ(reader.Unpack(reader.Files[0])->Size(), 0);
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

// The message a broken pack read under that name raises, with the class of its exception.
template <class E>
vcl::String PackMessage(const Bytes& Pack, const vcl::String& Name = L"C:\\Skins\\Broken.pmz") {
  auto stream = StreamOf(Pack);
  TqvSkinConvertor reader;
  reader.PackedData = stream.get();
  reader.SourceName = Name;
  return MessageOf<E>([&] { reader.LoadPack(); });
}

TEST(SkinConvertor, BrokenPacksRaiseMessagesNamingThePackTheEntryAndTheFault) {
  using vcl::EReadError;
  const vcl::String pack = L"The skin pack \"C:\\Skins\\Broken.pmz\" ";
  // Cut short: in the header, in an entry's fields, in an entry's data.
  EXPECT_EQ(PackMessage<EReadError>(BytesOf("PMzf\x02\x00")), pack + L"is cut short: it ends inside its header.");
  const Bytes good = WritePack(SampleEntries());
  const Bytes intoData(good.begin(), good.end() - 100);
  EXPECT_EQ(PackMessage<EReadError>(intoData),
            pack + L"is cut short: the data of entry 3 of 3 (\"glyphs.png\") ends before its 70000 bytes.");
  const PackEntrySpec first{"a.bmp", PatternBytes(300, 4), {}, {}};
  Bytes intoFields = WritePack({first, {"b.bmp", BytesOf("data"), {}, {}}});
  intoFields.resize(WritePack({first}).size() + 2);  // two bytes of the second entry's name length
  EXPECT_EQ(PackMessage<EReadError>(intoFields), pack + L"is cut short: it ends inside entry 2 of 2.");
  // Counts, lengths and sizes beyond the data.
  EXPECT_EQ(PackMessage<EReadError>(WritePack({}, false, 1000)),
            pack + L"is damaged: it counts 1000 entries, more than its 0 bytes can hold.");
  Bytes longName = WritePack({{"x", BytesOf("data"), {}, {}}});
  longName[8] = 0x40, longName[9] = 0x42, longName[10] = 0x0F;  // 1,000,000
  EXPECT_EQ(PackMessage<EReadError>(longName),
            pack + L"is damaged: entry 1 of 1 gives a name of 1000000 bytes, more than the " +
                std::to_wstring(longName.size() - 12) + L" bytes left.");
  const Bytes claim = WritePack({{"x.png", BytesOf("data"), 5000000, {}}});
  EXPECT_EQ(PackMessage<EReadError>(claim), pack + L"is damaged: entry 1 of 1 (\"x.png\") claims 5000000 bytes, more than the " +
                                                std::to_wstring(claim.size() - 21) + L" bytes left can hold.");
  // Larger than allowed.
  EXPECT_EQ(PackMessage<EReadError>(WritePack({{"a.bmp", BytesOf("x"), {}, {}}, {"big.bmp", BytesOf("data"), 0x7FFFFFFF, {}}})),
            pack + L"is refused: entry 2 of 2 (\"big.bmp\") unpacks to more than 64 MB, larger than any skin picture.");
  // The description is called what it is.
  EXPECT_EQ(PackMessage<EReadError>(WritePack({{"options.DAT", BytesOf("x"), 0x7FFFFFFF, {}}, {"a.bmp", BytesOf("x"), {}, {}}})),
            pack + L"is refused: its description, entry 1 of 2 (\"options.DAT\"), unpacks to more than 64 MB, far beyond "
                   L"any skin description.");
  // Damaged compressed data, with zlib's word for it; a stored skin named by its name.
  Bytes stream = ZlibCompress(PatternBytes(500, 3));
  stream[0] = 0x08;  // not a zlib header
  const Bytes corrupt = WritePack({{"x.bmp", PatternBytes(500, 3), {}, stream}});
  EXPECT_EQ(PackMessage<EZDecompressionError>(corrupt),
            pack + L"is damaged: the compressed data of entry 1 of 1 (\"x.bmp\") cannot be unpacked (data error).");
  EXPECT_EQ(PackMessage<EZDecompressionError>(corrupt, L"Lagoon (stored)"),
            L"The skin pack \"Lagoon (stored)\" is damaged: the compressed data of entry 1 of 1 (\"x.bmp\") cannot be "
            L"unpacked (data error).");
}

TEST(SkinConvertor, ABrokenPackKeepsWhatWasReadBefore) {
  Bytes good = WritePack(SampleEntries());
  const Bytes cut(good.begin(), good.end() - 100);
  auto truncated = StreamOf(cut);
  TqvSkinConvertor reader;
  reader.PackedData = truncated.get();
  EXPECT_THROW(reader.LoadPack(), vcl::EReadError);
  ASSERT_TRUE(reader.Options);
  ASSERT_EQ(reader.Files.size(), 1u);  // the entry before the cut one
  EXPECT_EQ(Unpacked(reader, reader.Files[0]), SampleEntries()[1].data);
}

TEST(SkinConvertor, TheFileLoaderReusesTheReaderAndNamesTheFile) {
  TempFile file(L"skin.pmz");
  file.Write(WritePack(SampleEntries()));
  std::unique_ptr<TqvSkinConvertor> reader;
  ASSERT_TRUE(LoadSkinPackFile(file.Path(), reader));
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Files.size(), 2u);
  EXPECT_EQ(reader->PackedData, nullptr);
  EXPECT_EQ(Unpacked(*reader, reader->Files[1]), SampleEntries()[2].data);
  TqvSkinConvertor* first = reader.get();
  ASSERT_TRUE(LoadSkinPackFile(file.Path(), reader));
  EXPECT_EQ(reader.get(), first);
  EXPECT_EQ(reader->Files.size(), 2u);  // cleared before, not doubled

  EXPECT_FALSE(LoadSkinPackFile(file.Path() + L".missing", reader));
  EXPECT_EQ(reader->Files.size(), 2u);

  TempFile broken(L"broken.pmz");
  broken.Write(WritePack({}, false, 7));
  EXPECT_EQ(MessageOf<vcl::EReadError>([&] { LoadSkinPackFile(broken.Path(), reader); }),
            L"The skin pack \"" + broken.Path() + L"\" is damaged: it counts 7 entries, more than its 0 bytes can hold.");
}

}  // namespace
}  // namespace skin_layered::test
