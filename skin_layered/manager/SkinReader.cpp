#include "skin_layered/manager/SkinReader.h"

#include <memory>
#include <string>

#include "classlib/rtl/Streams.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/LibraryStrings.h"
#include "skin_layered/core/SkinDescription.h"
#include "skin_layered/core/SkinLoading.h"
#include "skin_layered/manager/SkinReading.h"

namespace skin_layered {

namespace {

using vcl::String;

bool StartsWith(const String& s, vcl::StringView prefix) { return vcl::StringView(s).substr(0, prefix.size()) == prefix; }

// Base (with its trailing backslash) and a path below it, with one separator between them.
String Below(const String& base, vcl::StringView rest) {
  while (!rest.empty() && (rest.front() == L'\\' || rest.front() == L'/')) rest.remove_prefix(1);
  return base + String(rest);
}

vcl::String Quoted(const String& Text) { return L"\"" + Text + L"\""; }

// A description larger than any skin's is refused before it is read: its sections and images
// would take memory far beyond its own size.
void CheckDescriptionSize(std::int64_t size, const TsSkinLoadRequest& request, const String& name) {
  if (size > kMaxDescriptionSize)
    throw vcl::EReadError(vcl::Format(LibText(TqvLibString::DescriptionTooLarge),
                                      {Quoted(request.SkinName), name, size, static_cast<int>(kMaxDescriptionSize)}));
}

std::string Bytes(vcl::TMemoryStream& stream, const TsSkinLoadRequest& request, const String& name) {
  CheckDescriptionSize(stream.Size(), request, name);
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string FileBytes(const String& path, const TsSkinLoadRequest& request) {
  vcl::TFileStream file(path, vcl::fmOpenRead | vcl::fmShareDenyWrite);
  CheckDescriptionSize(file.Size(), request, Quoted(path));
  std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
  if (!bytes.empty()) file.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  return bytes;
}

// The editor's lines as the ANSI text a description file would hold.
std::string PreviewBytes(const vcl::TStrings& lines) {
  String text;
  for (int i = 0; i < lines.Count(); ++i) text += lines.Strings(i) + L"\r\n";
  const std::vector<std::uint8_t> bytes = vcl::TEncoding::ANSI->GetBytes(text);
  return std::string(bytes.begin(), bytes.end());
}

// Refuses text that is no description, naming the skin, the description (name) and the fault.
void CheckDescription(const std::string& text, const TSkinDescription& description, const TsSkinLoadRequest& request,
                      const String& name) {
  using S = TqvLibString;
  const TDescriptionCheck check = CheckDescriptionBytes(text);
  const String skin = Quoted(request.SkinName);
  switch (check.Fault) {
    case TDescriptionFault::Empty:
      throw vcl::EReadError(vcl::Format(LibText(S::DescriptionEmpty), {skin, name}));
    case TDescriptionFault::NotText:
      throw vcl::EReadError(vcl::Format(LibText(S::DescriptionNotText),
                                        {skin, name, static_cast<int>(check.Byte), static_cast<std::int64_t>(check.Offset)}));
    case TDescriptionFault::None:
      break;
  }
  if (description.SectionCount() == 0) throw vcl::EReadError(vcl::Format(LibText(S::DescriptionNoSection), {skin, name}));
}

// Reads the description aside and, when that succeeds, gives the skin its tables. Name is
// what messages call the description.
TsSkinLoadResult Read(const std::string& text, const String& skinPath, const TqvSkinConvertor* pack,
                      TsSkinLoadRequest& request, TsLoadedSkin& skin, const String& name) {
  CheckDescriptionSize(static_cast<std::int64_t>(text.size()), request, name);
  const TSkinDescription description(text);
  CheckDescription(text, description, request, name);
  TsLoadedSkin read;
  read.SkinData.SkinPath = skinPath;
  TsSkinReading(description, pack, request, read, name).Run();
  skin.TakeFrom(read);
  if (request.AfterCommonIndexes) request.AfterCommonIndexes();
  if (request.OnSkinLoading) request.OnSkinLoading();
  return TsSkinLoadResult::Loaded;
}

}  // namespace

String NormalizeSkinDirectory(const String& Directory) {
  const String program = ProgramFolder();
  String dir;
  if (StartsWith(Directory, L"..")) {
    // The program's folder without its last element.
    String parent = program;
    while (!parent.empty() && (parent.back() == L'\\' || parent.back() == L'/')) parent.pop_back();
    dir = Below(vcl::ExtractFilePath(parent), vcl::StringView(Directory).substr(2));
  } else if (StartsWith(Directory, L".\\") || StartsWith(Directory, L"./")) {
    dir = Below(program, vcl::StringView(Directory).substr(2));
  } else if (Directory == L".") {
    dir = program;
  } else if (Directory.find(L':') == String::npos && Directory.find(L"\\\\") == String::npos) {
    dir = Below(program, Directory);
  } else {
    dir = Directory;
  }
  if (!dir.empty() && dir.back() == L'/') dir.back() = L'\\';
  if (dir.empty() || dir.back() != L'\\') dir += L'\\';
  return dir;
}

TsSkinLoadResult LoadSkin(TsSkinLoadRequest& Request, TsLoadedSkin& Skin) {
  const TSkinLoadingScope loading;
  const vcl::TMemoryContextScope contexts;  // reading the pictures holds no DC after
  const String directory = NormalizeSkinDirectory(Request.SkinDirectory);
  // A name given with its separator (a folder rather than a pack) takes no second one.
  String folder = directory + Request.SkinName;
  if (folder.back() != L'\\') folder += L'\\';
  using S = TqvLibString;
  if (Request.PreviewLines)
    return Read(PreviewBytes(*Request.PreviewLines), folder, nullptr, Request, Skin, LibText(S::DescriptionPreview));
  if (const String path = folder + kOptionsFileName; vcl::FileExists(path))
    return Read(FileBytes(path, Request), folder, nullptr, Request, Skin, Quoted(path));

  TsStoredSkin* stored = Request.StoredSkins ? Request.StoredSkins->Select(Request.SkinName) : nullptr;
  if (!stored) return TsSkinLoadResult::NoSkin;
  if (stored->Data()->Size() == 0)
    throw vcl::EReadError(vcl::Format(LibText(S::StoredSkinEmpty), {Quoted(Request.SkinName)}));
  // The stored skin's images come from its pack; the folder serves the common sections' ones.
  TqvSkinConvertor pack;
  if (!stored->Unpack(pack)) return TsSkinLoadResult::NotAPack;
  if (!pack.Options)
    throw vcl::EReadError(vcl::Format(LibText(S::DescriptionMissing), {Quoted(Request.SkinName), LibText(S::StoredData)}));
  return Read(Bytes(*pack.Options, Request, LibText(S::DescriptionStored)), directory + Request.SkinName + L"\\",
              &pack, Request, Skin, LibText(S::DescriptionStored));
}

TsSkinLoadResult LoadPackedSkin(TsSkinLoadRequest& Request, const TqvSkinConvertor& Pack, TsLoadedSkin& Skin) {
  using S = TqvLibString;
  const TSkinLoadingScope loading;
  const vcl::TMemoryContextScope contexts;  // reading the pictures holds no DC after
  const String pack = Quoted(Pack.SourceName);
  if (!Pack.Options)
    throw vcl::EReadError(vcl::Format(LibText(S::DescriptionMissing),
                                      {Quoted(Request.SkinName), vcl::Format(LibText(S::PackNamed), {pack})}));
  const String name = vcl::Format(LibText(S::DescriptionInPack), {pack});
  return Read(Bytes(*Pack.Options, Request, name), NormalizeSkinDirectory(Request.SkinDirectory), &Pack, Request, Skin,
              name);
}

}  // namespace skin_layered
