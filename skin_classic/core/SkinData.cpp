#include "skin_classic/core/SkinData.h"

#include "classlib/streaming/Filer.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/rtl/Streams.h"
#include "skin_classic/core/SkinRequests.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/io/WinSkinIni.h"
#include "skin_classic/io/WinSkinReader.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

constexpr wchar_t kMenuImagesResource[] = L"TESSAVELMENU";
constexpr int kMenuImageSize = 16;

bool NeverStored(const vcl::TObject*) { return false; }

bool Skin3rdStored(const vcl::TObject* Instance) {
  return !IsDefaultSkin3rd(static_cast<const TSkinData*>(Instance)->Skin3rd());
}

// The system's caption font, from the non-client metrics (older systems know the structure
// without its last field).
bool CaptionLogFont(LOGFONTW& Font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
  }
  Font = metrics.lfCaptionFont;
  return true;
}

HICON ApplicationSmallIcon() {
  HWND window = vcl::Application ? vcl::Application->Handle() : nullptr;
  if (!window) return nullptr;
  auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  return icon;
}

}  // namespace

VCL_CLASS_INFO(TSkinData) {
  p.Bool<&TSkinData::Active, &TSkinData::SetActive>(L"Active", false);
  p.Integer<&TSkinData::DisableTag, &TSkinData::SetDisableTag>(L"DisableTag", kDefaultDisableTag);
  p.Set<&TSkinData::SkinControls, &TSkinData::SetSkinControls>(L"SkinControls", kDefaultSkinControls.ToInt());
  p.Set<&TSkinData::Options, &TSkinData::SetOptions>(L"Options", kDefaultSkinOptions.ToInt());
  p.Object<&TSkinData::Skin3rd, &TSkinData::SetSkin3rd>(L"Skin3rd", vcl::TStringList::StaticClass()).Stored =
      &Skin3rdStored;
  p.String<&TSkinData::SkinFile, &TSkinData::SetSkinFile>(L"SkinFile");
  p.String<&TSkinData::SkinStore, &TSkinData::SetSkinStore>(L"SkinStore").Stored = &NeverStored;
  // No default: the kind is always written.
  p.Enum<&TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype>(L"SkinFormtype");
  p.String<&TSkinData::Version, &TSkinData::SetVersion>(L"Version").Stored = &NeverStored;
  p.Bool<&TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate>(L"MenuUpdate", true);
  p.Bool<&TSkinData::MenuMerge, &TSkinData::SetMenuMerge>(L"MenuMerge", false);
  p.Bool<&TSkinData::FramePainting, &TSkinData::SetFramePainting>(L"FramePainting", true);
  p.Event<&TSkinData::OnFormSkin>(L"OnFormSkin");
  p.Event<&TSkinData::OnSkinChanged>(L"OnSkinChanged");
  p.Event<&TSkinData::OnSkinControl>(L"OnSkinControl");
  p.Event<&TSkinData::OnBeforeSkinForm>(L"OnBeforeSkinForm");
  p.Event<&TSkinData::OnAfterSkinForm>(L"OnAfterSkinForm");
}

TSkinData::TSkinData(vcl::TComponent* AOwner)
    : TComponent(AOwner),
      skin3rd_(std::make_unique<vcl::TStringList>()),
      skin_stream_(std::make_unique<vcl::TMemoryStream>()),
      skin_(std::make_unique<TSkinObjects>()),
      caption_font_(std::make_unique<vcl::TFont>()),
      max_width_(GetSystemMetrics(SM_CXMAXIMIZED)),
      max_height_(GetSystemMetrics(SM_CYMAXIMIZED)) {
  for (auto& bitmap : bitmaps_) {
    bitmap = std::make_unique<vcl::TBitmap>();
    bitmap->SetPixelFormat(vcl::pf24bit);
  }
  FillDefaultSkin3rd(skin3rd_.get());
  LoadMenuImages();
}

TSkinData::~TSkinData() {
  if (TSkinRequests* manager = SkinRequests()) manager->UnregisterSkinData(this);
}

void TSkinData::LoadMenuImages() {
  menu_images_.reset(new vcl::TImageList(nullptr, kMenuImageSize, kMenuImageSize));
  vcl::TBitmap images;
  images.LoadFromResourceName(SkinModuleInstance(), kMenuImagesResource);
  menu_images_->AddMasked(&images, vcl::clWhite);
}

void TSkinData::SetSkin3rd(vcl::TStringList* Value) {
  if (Value)
    skin3rd_->Assign(Value);
  else
    skin3rd_->Clear();
}

String TSkinData::SkinStore() const {
  if (Designing() && skin_stream_->Size() > 0) return L"(Good)";
  return L"(none)";
}

void TSkinData::SetSkinStore(const String&) {}
void TSkinData::SetVersion(const String&) {}

bool TSkinData::LoadSkin(const String& PackageName) {
  const vcl::TMemoryContextScope contexts;  // reading the pictures holds no DC after
  if (Designing()) return false;
  // A package that cannot be read, whole, leaves the skin read before in use.
  TSkinReader reader;
  if (!reader.LoadFromStream(skin_stream_.get())) {
    // An older package's message is the reader's own.
    if (reader.Result() != skin_classic::SkinLoadResult::OlderSkinFile)
      ReportRefusal(PackageName, skin_classic::SkinFault{false, reader.Fault()});
    return false;
  }
  if (const auto fault = skin_classic::DescriptionFault(reader.Package())) {
    ReportRefusal(PackageName, *fault);
    return false;
  }
  vcl::TMemoryStream description;
  AnsiString entry;
  reader.ExtractByExt(".ini", &description, entry);
  description.SetPosition(0);
  TQuickIni ini;
  ini.LoadFromStream(&description);
  if (const auto fault = skin_->ReadDescription(reader, ini)) {
    ReportRefusal(PackageName, *fault);
    return false;
  }
  empty_ = false;
  // The forms skinned with this component held caption buttons of the skin just freed: they
  // go now, as any message before the forms' refresh would reach them.
  if (TSkinRequests* manager = SkinRequests()) manager->RefreshSkinObjects(this);
  return true;
}

// "The skin package "FILE" is damaged: its picture "top.bmp" is empty." and what follows from
// it for the windows.
void TSkinData::ReportRefusal(const String& PackageName, const skin_classic::SkinFault& Fault) const {
  String package;
  if (!PackageName.empty()) {
    package = L"\"" + PackageName + L"\"";
  } else {
    String name = Name();
    if (Owner() && !Owner()->Name().empty()) name = Owner()->Name() + (name.empty() ? L"" : L".") + name;
    package = name.empty() ? String(L"stored in a skin data component") : L"stored in \"" + name + L"\"";
  }
  ShowSkinMessage(L"The skin package " + package + (Fault.refused ? L" is refused: " : L" is damaged: ") +
                  AnsiToWide(Fault.text) + L".\r" +
                  (empty_ ? L"The windows keep their own look." : L"The skin in use stays."));
}

void TSkinData::DefineProperties(vcl::TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      L"SkinStream", [this](vcl::TStream* s) { ReadSkinStream(s); }, [this](vcl::TStream* s) { WriteSkinStream(s); },
      true);
}

// A 32-bit length, then that many bytes of package. The length is checked against what was
// stored before anything is sized to it.
void TSkinData::ReadSkinStream(vcl::TStream* Stream) {
  int32_t length = 0;
  if (Stream->Size() - Stream->Position() < static_cast<int64_t>(sizeof length))
    throw vcl::EReadError(L"SkinStream holds no length");
  Stream->ReadBuffer(&length, sizeof length);
  if (length < 1) return;
  const int64_t stored = Stream->Size() - Stream->Position();
  if (length > stored)
    throw vcl::EReadError(L"SkinStream claims " + std::to_wstring(length) + L" bytes but holds " +
                          std::to_wstring(stored));
  skin_stream_->Clear();
  skin_stream_->CopyFrom(Stream, length);
  if (!Designing()) LoadSkin();
}

void TSkinData::WriteSkinStream(vcl::TStream* Stream) {
  const auto length = static_cast<int32_t>(skin_stream_->Size());
  Stream->WriteBuffer(&length, sizeof length);
  if (length != 0) Stream->WriteBuffer(skin_stream_->Memory(), length);
}

// A file that does not exist, or holds no package this engine reads, changes nothing but the
// name: the skin in use stays whole, with its stream, for the forms already skinned with it
// and for those skinned later.
void TSkinData::SetSkinFile(const String& Value) {
  skin_file_ = Value;
  if (Designing()) {
    if (!Value.empty() && skin_stream_->Size() > 0) skin_stream_->Clear();
    return;
  }
  if (Value.empty() || !vcl::FileExists(Value)) return;
  vcl::TMemoryStream previous;
  previous.LoadFromStream(skin_stream_.get());
  auto restore = vcl::TScopeExit([&] {
    skin_stream_->Clear();
    skin_stream_->LoadFromStream(&previous);
  });
  skin_stream_->Clear();
  skin_stream_->LoadFromFile(Value);  // a file that cannot be opened raises, the stream put back
  if (!LoadSkin(Value)) return;
  restore.Dismiss();
  if (!Loading()) ApplySkinFile();
}

// The new skin reaches the forms already skinned with this component.
void TSkinData::ApplySkinFile() {
  if (!SkinRequests()) Loaded();
  TSkinRequests* manager = SkinRequests();
  manager->SetRequestSkinData(this);
  // The forms let go of the skin read before in LoadSkin already.
  if (manager->FormCount() > 0) manager->SetActiveMode(TSkinMode::Refresh, kRequestInterval);
}

void TSkinData::SetActive(bool Value) {
  if (active_ == Value) return;
  active_ = Value;
  if (Designing() || Loading()) return;
  if (skin_formtype_ != sfMainform && skin_formtype_ != sfOnlyThisForm) return;
  if (skin_formtype_ == sfMainform && Value && empty_) return;
  if (!SkinRequests()) Loaded();
  TSkinRequests* manager = SkinRequests();
  manager->SetRequestSkinData(this);
  if (!Value)
    manager->SetActiveMode(TSkinMode::UnskinAll, kRequestInterval);
  else if (!empty_)
    manager->SetActiveMode(TSkinMode::SkinAll, kRequestInterval);
  if (Value && skin_formtype_ == sfMainform && manager->Started() == 0) manager->SetStarted(1);
}

void TSkinData::QueryFormSkin(const String& aName, bool& DoSkin) {
  if (OnFormSkin) OnFormSkin(this, aName, DoSkin);
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (Designing()) return;
  if (!HasGetScrollBarInfo()) skin_controls_.Exclude(xcScrollbar);
  TSkinRequests* manager = &MakeSkinRequests();
  manager->RegisterSkinData(this);
  MakeCaptionFont();
  if (skin_formtype_ != sfMainform) {
    manager->SetStarted(manager->Started() + 1);
    // The owner form is skinned as an active component's setter would have it: by the
    // manager's request, which switches the manager on and finds the form shown (only a main
    // skin data hooks the thread's windows: without an active one no activation skins it). A
    // request of another skin data waiting on the timer is left to it.
    auto* form = dynamic_cast<vcl::TCustomForm*>(Owner());
    const TSkinData* waiting = manager->RequestSkinData();
    if (form && active_ && !empty_ && skin_formtype_ == sfOnlyThisForm && (!waiting || waiting == this)) {
      manager->SetRequestSkinData(this);
      manager->SetActiveMode(TSkinMode::SkinAll, kRequestInterval);
    }
    return;
  }
  manager->InstallHook();
  if (active_) {
    if (empty_) {
      active_ = false;  // no skin: nothing is to be repainted
    } else {
      manager->SetRequestSkinData(this);
      manager->SetActiveMode(TSkinMode::SkinAll, kRequestInterval);
    }
  }
  if (skin_controls_.Contains(xcMainMenu))
    skin_controls_.Exclude(xcMenuItem);
  else
    skin_controls_.Exclude(xcSystemMenu);
  MakeCaptionIcon();
}

void TSkinData::MakeCaptionFont() {
  LOGFONTW font{};
  if (CaptionLogFont(font)) caption_font_->SetHandle(CreateFontIndirectW(&font));
}

// The application's small icon on the key colour, at the small-icon size.
void TSkinData::MakeCaptionIcon() {
  const int width = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  vcl::TBitmap icon;
  icon.SetPixelFormat(vcl::pf24bit);
  icon.SetSize(width, height);
  icon.Canvas()->Brush()->SetColor(kSkinKeyColor);
  icon.Canvas()->FillRect(vcl::Rect(0, 0, width, height));
  if (HICON source = ApplicationSmallIcon()) {
    if (auto sized = static_cast<HICON>(CopyImage(source, IMAGE_ICON, width, height, 0))) {
      DrawIconEx(icon.Canvas()->Handle(), 0, 0, sized, width, height, 0, nullptr, DI_NORMAL);
      DestroyIcon(sized);
    }
  }
  bitmaps_[0]->Assign(&icon);
  bitmaps_[0]->SetTransparentColor(kSkinKeyColor);
  bitmaps_[0]->SetTransparent(true);
}

}  // namespace winskin
