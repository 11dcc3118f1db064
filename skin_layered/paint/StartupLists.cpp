#include "skin_layered/paint/StartupLists.h"

#include <windows.h>

#include <memory>

#include "classlib/rtl/Streams.h"

namespace skin_layered {
namespace {

struct TStartupLists {
  std::unique_ptr<vcl::TStringList> PopupClasses;
  bool GlyphsStarted = false;          // between the unit's start-up and shutdown
  TsAlphaImageList* Glyphs = nullptr;  // freed as a component
};

TStartupLists& Lists() {
  static TStartupLists lists;
  return lists;
}

}  // namespace

const vcl::TStringList* ThirdPartyPopupClasses() { return Lists().PopupClasses.get(); }

void MakeThirdPartyPopupClasses() {
  auto list = std::make_unique<vcl::TStringList>();
  list->SetSorted(true);
  for (const wchar_t* name : kThirdPartyPopupClasses) list->Add(name);
  Lists().PopupClasses = std::move(list);
}

void FreeThirdPartyPopupClasses() { Lists().PopupClasses.reset(); }

namespace {

TsAlphaImageList* BuildStartupGlyphList() {
  auto* list = vcl::Construct<TsAlphaImageList>(nullptr);
  list->SetWidth(kStartupGlyphWidth);
  list->SetHeight(kStartupGlyphHeight);
  HINSTANCE module = GetModuleHandleW(nullptr);
  for (const wchar_t* name : kStartupGlyphResources) {
    if (!FindResourceW(module, name, RT_RCDATA)) continue;
    vcl::TResourceStream stream(module, name, RT_RCDATA);
    TsImgListItem* item = list->Items()->Add();
    item->SetImageFormat(ifPNG);
    item->SetPixelFormat(vcl::pf32bit);
    item->ImageData()->LoadFromStream(&stream);
  }
  try {
    list->GenerateStdList();
  } catch (const vcl::Exception&) {
    // A broken strip: the list keeps what it built before it.
  }
  return list;
}

}  // namespace

TsAlphaImageList* StartupGlyphList() {
  TStartupLists& lists = Lists();
  // Decoded on first use: a program that never draws these glyphs does not wait for them.
  if (lists.GlyphsStarted && !lists.Glyphs) lists.Glyphs = BuildStartupGlyphList();
  return lists.Glyphs;
}

void MakeStartupGlyphList() {
  // Form descriptions may name alpha image lists from here on.
  TsAlphaImageList::StaticClass();
  Lists().GlyphsStarted = true;
}

void FreeStartupGlyphList() {
  Lists().GlyphsStarted = false;
  vcl::TObject::Free(std::exchange(Lists().Glyphs, nullptr));
}

}  // namespace skin_layered
