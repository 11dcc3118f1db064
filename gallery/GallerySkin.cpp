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

// Reads the package into Skin; false (reported) when the engine cannot read it. The engine
// reports some faults itself: the gallery adds its own report only where it did not, and
// prints what the user was told either way.
bool LoadInto(winskin::TSkinData* Skin, const std::optional<std::wstring>& File) {
  const vcl::String name = File ? *File : vcl::String(L"the sample skin");
  ShownMessages messages;
  try {
    if (File) {
      Skin->SkinStream()->LoadFromFile(*File);
    } else if (!SampleSkin(Skin->SkinStream())) {
      Report(L"The sample skin is missing from the program.");
      return false;
    }
    if (Skin->LoadSkin()) return true;
    if (messages.Texts().empty()) {
      Report(name + L" is not a classic skin package.");
      return false;
    }
  } catch (const vcl::Exception& e) {
    vcl::Application->ShowException(e);
  }
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

// A package is tried on a component of its own first, so a bad one leaves the skin in use.
bool Readable(const std::optional<std::wstring>& File) {
  winskin::TSkinData probe(nullptr);
  return LoadInto(&probe, File);
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
  if (!Skin || !Readable(std::nullopt) || !LoadInto(Skin, std::nullopt)) return false;
  Apply(Skin);
  return true;
}

bool UsePackage(winskin::TSkinData* Skin, const std::wstring& File) {
  if (!Skin) return false;
  if (!vcl::FileExists(File)) {
    Report(File + L" does not exist.");
    return false;
  }
  if (!Readable(File) || !LoadInto(Skin, File)) return false;
  Apply(Skin);
  return true;
}

void Unskin(winskin::TSkinData* Skin) {
  if (Skin) Skin->SetActive(false);
}

std::wstring SamplePackage(const std::wstring& Name) { return skin_layered::ProgramFolder() + L"..\\skins\\" + Name; }

}  // namespace gallery
