#include "skin_classic/controls/SkinTabSet.h"

#include "classlib/extctrls/TabSet.h"
#include "skin_classic/controls/SkinTab.h"
#include "skin_classic/controls/SkinUpDown.h"
#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// A tab is its text's width and this much for its slanted edges.
constexpr int kTabEdges = 9;
// Room left for the scroller's arrows when it shows.
constexpr int kScrollerRoom = 12;

}  // namespace

VCL_CLASS_INFO(TSkinTab31) {}

TSkinTab31::TSkinTab31(vcl::TComponent* AOwner)
    : TSkinControl(AOwner), FTabImage(std::make_unique<vcl::TBitmap>()), buffer_(std::make_unique<vcl::TBitmap>()) {
  buffer_->SetPixelFormat(vcl::pf24bit);
}

TSkinTab31::~TSkinTab31() = default;

void TSkinTab31::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  auto* tabs = dynamic_cast<vcl::TTabSet*>(Owner());
  if (!tabs) return;
  FSetColor = SetColor;
  AttachWindow(tabs->Handle(), SkinData, Form, Canvas);
  PrepareImage();
  // The scroller is skinned as an up-down laid out across.
  FScroller = tabs->ControlCount() > 0 ? dynamic_cast<vcl::TWinControl*>(tabs->Controls(0)) : nullptr;
  if (FScroller) AttachUpDown(tabs, FScroller->Handle(), FSkinData, FForm, FCanvas, true);
}

void TSkinTab31::PrepareImage() {
  FTabImage = std::make_unique<vcl::TBitmap>();
  if (!HasSkin()) return;
  TDataSkinObject* tabs = FSkinData->Skin()->Element(SkinElement::Tabs);
  if (!tabs || !tabs->HasBitmap()) return;
  CopyBitmap(tabs->Bitmap.get(), FTabImage.get());
  FTabImage->SetPixelFormat(vcl::pf24bit);
  FlipBitmap(FTabImage.get());
}

void TSkinTab31::UpdateSkin() {
  PrepareImage();
  TSkinControl::UpdateSkin();
}

bool TSkinTab31::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintHandler(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    default: return TSkinControl::BeforeProc(Message);
  }
}

bool TSkinTab31::HasPicture() const {
  TDataSkinObject* tabs = HasSkin() ? FSkinData->Skin()->Element(SkinElement::Tabs) : nullptr;
  return tabs && tabs->HasBitmap();
}

void TSkinTab31::DrawControl(HDC DC, const TRect& Rect) {
  auto* set = dynamic_cast<vcl::TTabSet*>(Owner());
  TDataSkinObject* tabs = HasSkin() ? FSkinData->Skin()->Element(SkinElement::Tabs) : nullptr;
  if (!set || !tabs || FTabImage->Empty()) return;
  const int w = Rect.Width(), h = Rect.Height();
  if (w <= 0 || h <= 0) return;
  buffer_->SetSize(w, h);
  HDC dc = buffer_->Canvas()->Handle();
  FillSkinColor(dc, TRect(0, 0, w, h));
  const bool scroller = FScroller && FScroller->HandleAllocated() && IsWindowVisible(FScroller->Handle());
  const int limit = w - set->EndMargin();
  const TRect margins = TRect(tabs->LeftWidth, tabs->BottomHeight, tabs->RightWidth, tabs->TopHeight);
  shown_tabs_ = 0;
  {
    const TSavedDC keep(dc);
    const vcl::TCanvasDCLoan loan(*FCanvas, dc);
    FCanvas->Font()->Assign(set->Font());
    int x = set->StartMargin();
    vcl::TStrings* names = set->Tabs();
    for (int i = std::max(set->FirstIndex(), 0); i < names->Count(); ++i) {
      const vcl::String text = names->Strings(i);
      SIZE size{};
      GetTextExtentPoint32W(FCanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &size);
      const int width = size.cx + kTabEdges;
      if ((scroller ? x + kScrollerRoom + width : x + width) > limit) break;
      const bool selected = i == set->TabIndex();
      const TRect tab(x, 0, x + width, h);
      DrawSkinBitmapRect(dc, tab, FTabImage.get(), margins, tabs->Tile != 0, tabs->Frame, selected ? 2 : 1,
                         tabs->Transparent());
      FCanvas->Font()->SetColor(selected ? tabs->MouseOverColour2 : tabs->NormalColour2);
      DrawTabText(FCanvas, tab, 1, IsWindowEnabled(FHandle), text);
      x += width;
      ++shown_tabs_;
    }
  }
  BitBlt(DC, Rect.Left, Rect.Top, w, h, dc, 0, 0, SRCCOPY);
}

}  // namespace winskin
