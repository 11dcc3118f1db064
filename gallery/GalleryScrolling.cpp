#include "gallery/GalleryScrolling.h"

#include <string>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/forms/SkinProvider.h"

namespace gallery {

VCL_CLASS_INFO(TGalleryScrolling) {}

namespace {

constexpr int kTileWidth = 200, kTileHeight = 120, kGap = 12;
constexpr wchar_t kFormName[] = L"GalleryScrolling";

}  // namespace

TGalleryScrolling::TGalleryScrolling(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
  SetName(kFormName);
  SetCaption(L"A form that scrolls");
  SetBounds(0, 0, 480, 340);
  SetAutoScroll(true);
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      auto* tile = new vcl::TPanel(this);
      tile->SetParent(this);
      tile->SetBounds(kGap + column * (kTileWidth + kGap), kGap + row * (kTileHeight + kGap), kTileWidth, kTileHeight);
      tile->SetCaption(L"Row " + std::to_wstring(row + 1) + L", column " + std::to_wstring(column + 1));
      tile->SetAlignment(vcl::taCenter);
      // A control of its own on each tile, alternately.
      if ((row + column) % 2 == 0) {
        auto* button = new vcl::TButton(this);
        button->SetParent(tile);
        button->SetBounds(12, kTileHeight - 40, kTileWidth - 24, 28);
        button->SetCaption(L"A button");
      } else {
        auto* edit = new vcl::TEdit(this);
        edit->SetParent(tile);
        edit->SetBounds(12, kTileHeight - 38, kTileWidth - 24, 24);
        edit->SetText(L"An edit");
      }
      last_ = tile;
    }
}

TGalleryScrolling* ShowScrollingForm(vcl::TComponent* Owner, int X, int Y) {
  auto* form = Owner ? dynamic_cast<TGalleryScrolling*>(Owner->FindComponent(kFormName)) : nullptr;
  if (!form) {
    form = vcl::Construct<TGalleryScrolling>(Owner);
    vcl::Construct<skin_layered::TsSkinProvider>(form);
  }
  form->SetBounds(X, Y, form->Width(), form->Height());
  form->Show();
  return form;
}

}  // namespace gallery
