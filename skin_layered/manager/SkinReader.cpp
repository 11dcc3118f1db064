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
void CheckDescriptionSize(std::int64_t size, const TsSkinLoadRequest& request) {
  if (size > kMaxDescriptionSize)
    throw vcl::EReadError(vcl::Format(LibText(TqvLibString::DescriptionTooLarge),
                                      {Quoted(request.SkinName), size, static_cast<int>(kMaxDescriptionSize)}));
}

std::string Bytes(vcl::TMemoryStream& stream, const TsSkinLoadRequest& request) {
  CheckDescriptionSize(stream.Size(), request);
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

std::string FileBytes(const String& path, const TsSkinLoadRequest& request) {
  vcl::TFileStream file(path, vcl::fmOpenRead | vcl::fmShareDenyWrite);
  CheckDescriptionSize(file.Size(), request);
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

// Reads the description aside and, when that succeeds, gives the skin its tables.
TsSkinLoadResult Read(const std::string& text, const String& skinPath, const TqvSkinConvertor* pack,
                      TsSkinLoadRequest& request, TsLoadedSkin& skin) {
  CheckDescriptionSize(static_cast<std::int64_t>(text.size()), request);
  const TSkinDescription description(text);
  TsLoadedSkin read;
  read.SkinData.SkinPath = skinPath;
  TsSkinReading(description, pack, request, read).Run();
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
  const String folder = directory + Request.SkinName + L"\\";
  if (Request.PreviewLines) return Read(PreviewBytes(*Request.PreviewLines), folder, nullptr, Request, Skin);
  if (vcl::FileExists(folder + kOptionsFileName))
    return Read(FileBytes(folder + kOptionsFileName, Request), folder, nullptr, Request, Skin);

  TsStoredSkin* stored = Request.StoredSkins ? Request.StoredSkins->Select(Request.SkinName) : nullptr;
  if (!stored) return TsSkinLoadResult::NoSkin;
  // The stored skin's images come from its pack; the folder serves the common sections' ones.
  TqvSkinConvertor pack;
  if (!stored->Unpack(pack) || !pack.Options) return TsSkinLoadResult::NoDescription;
  return Read(Bytes(*pack.Options, Request), directory + Request.SkinName + L"\\", &pack, Request, Skin);
}

TsSkinLoadResult LoadPackedSkin(TsSkinLoadRequest& Request, const TqvSkinConvertor& Pack, TsLoadedSkin& Skin) {
  const TSkinLoadingScope loading;
  const vcl::TMemoryContextScope contexts;  // reading the pictures holds no DC after
  if (!Pack.Options) return TsSkinLoadResult::NoDescription;
  return Read(Bytes(*Pack.Options, Request), NormalizeSkinDirectory(Request.SkinDirectory), &Pack, Request, Skin);
}

}  // namespace skin_layered
