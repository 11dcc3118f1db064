#include "gallery/GallerySkin.h"


#include "classlib/forms/Forms.h"
#include "classlib/rtl/Streams.h"
#include "gallery/GalleryShot.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_layered/core/GeneralUtils.h"

namespace gallery {
namespace {

// The sample skin compiled into the program.
constexpr wchar_t kSampleSkinResource[] = L"SAMPLESKIN";

bool SampleSkin(vcl::TMemoryStream* Into) {
  HRSRC found = FindResourceW(nullptr, kSampleSkinResource, MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return false;
  Into->Clear();
  Into->WriteBuffer(bytes, SizeofResource(nullptr, found));
  Into->SetPosition(0);
  return true;
}

void Report(const vcl::String& Text) {
  NoteFailure();
  Say(Text);
  vcl::Application->MessageBox(Text, L"Skin gallery", MB_OK | MB_ICONWARNING);
}

// Reads the package into Skin; false (reported) when the engine cannot read it, the skin in
// use (and its stream) then staying as they were. The engine reports the package's faults
// itself, naming the file; the gallery prints what the user was told.
bool LoadInto(winskin::TSkinData* Skin, const std::optional<std::wstring>& File) {
  if (File && !vcl::FileExists(*File)) {
    Report(*File + L" does not exist.");
    return false;
  }
  ShownMessages messages;
  vcl::TMemoryStream previous;
  previous.LoadFromStream(Skin->SkinStream());
  try {
    if (File) {
      Skin->SkinStream()->LoadFromFile(*File);
    } else if (!SampleSkin(Skin->SkinStream())) {
      Report(L"The sample skin is missing from the program.");
      return false;
    }
    if (Skin->LoadSkin(File.value_or(vcl::String()))) return true;
    if (messages.Texts().empty()) Report((File ? *File : vcl::String(L"The sample skin")) + L" could not be read.");
  } catch (const vcl::Exception& e) {
    vcl::Application->ShowException(e);
  }
  Skin->SkinStream()->Clear();
  Skin->SkinStream()->LoadFromStream(&previous);
  messages.Failed();
  return false;
}

// The skinned windows take the package just read; unskinned ones are skinned again.
void Apply(winskin::TSkinData* Skin) {
  winskin::TSkinManage* manager = winskin::SkinManager();
  if (!Skin->Active() || !manager || manager->FormCount() == 0) {
    Skin->SetActive(false);
    Skin->SetActive(true);
    return;
  }
  manager->SetRequestSkinData(Skin);
  manager->RefreshSkinObjects(Skin);
  manager->SetActiveMode(winskin::TSkinMode::Refresh, winskin::kRequestInterval);
}

}  // namespace

winskin::TSkinData* ApplyClassicSkin(vcl::TComponent* Owner, const std::optional<std::wstring>& File) {
  auto* skin = new winskin::TSkinData(Owner);
  skin->SetName(L"GallerySkin");
  skin->SetSkinFormtype(winskin::sfMainform);
  skin->Loaded();  // registers with the engine's manager, which hooks the thread's windows
  if (LoadInto(skin, File))
    skin->SetActive(true);
  else if (File)
    Say(L"the gallery runs unskinned");
  return skin;
}

bool UseSampleSkin(winskin::TSkinData* Skin) {
  if (!Skin || !LoadInto(Skin, std::nullopt)) return false;
  Apply(Skin);
  return true;
}

bool UsePackage(winskin::TSkinData* Skin, const std::wstring& File) {
  if (!Skin || !LoadInto(Skin, File)) return false;
  Apply(Skin);
  return true;
}

void Unskin(winskin::TSkinData* Skin) {
  if (Skin) Skin->SetActive(false);
}

std::wstring SamplePackage(const std::wstring& Name) { return skin_layered::ProgramFolder() + L"..\\skins\\" + Name; }

}  // namespace gallery
