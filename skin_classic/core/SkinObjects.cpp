#include "skin_classic/core/SkinObjects.h"

#include <algorithm>

#include "skin_classic/paint/ImgUtil.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {

namespace {

using skin_classic::ElementRecord;
using skin_classic::SkinObjectKind;

// The combo composite: one 50 x 21 picture per frame of the sunken edge.
constexpr int kComboWidth = 50;
constexpr int kComboHeight = 21;
// The arrow cut from each composite frame.
constexpr int kArrowSize = 17;

std::unique_ptr<TDataSkinObject> NewObject(SkinObjectKind kind, const AnsiString& name) {
  switch (kind) {
    case SkinObjectKind::Border: return std::make_unique<TDataSkinBorder>(name);
    case SkinObjectKind::Button: return std::make_unique<TDataSkinButton>(name);
    case SkinObjectKind::Title: return std::make_unique<TDataSkinTitle>(name);
    case SkinObjectKind::SysButton: return std::make_unique<TDataSkinSysButton>(name);
    case SkinObjectKind::BoxLabel: return std::make_unique<TDataSkinBoxLabel>(name);
    case SkinObjectKind::Plain: break;
  }
  return std::make_unique<TDataSkinObject>(name);
}

// Copies a record's values and bitmaps into an object of its kind.
void Apply(TDataSkinObject& o, const ElementRecord& r, const TSkinReader& reader) {
  o.Name = r.name;
  o.LeftWidth = r.leftWidth;
  o.TopHeight = r.topHeight;
  o.RightWidth = r.rightWidth;
  o.BottomHeight = r.bottomHeight;
  o.Trans = r.trans;
  o.Tile = r.tile;
  o.Frame = r.frame;
  o.Style = r.style;
  o.NormalColour = r.normalColour;
  o.MouseOverColour = r.mouseOverColour;
  o.PressedColour = r.pressedColour;
  o.NormalColour2 = r.normalColour2;
  o.MouseOverColour2 = r.mouseOverColour2;
  o.PressedColour2 = r.pressedColour2;
  if (r.builtIn) {
    LoadEngineBitmap(o.Bitmap.get(), r.name);
  } else {
    LoadSkinBitmap(o.Bitmap.get(), reader, r.picture);
  }
  if (auto* b = dynamic_cast<TDataSkinBorder*>(&o)) LoadSkinBitmap(b->Bitmap2.get(), reader, r.picture2);
  if (auto* b = dynamic_cast<TDataSkinButton*>(&o)) {
    LoadSkinBitmap(b->CheckBitmap.get(), reader, r.picture2);
    LoadSkinBitmap(b->RadioBitmap.get(), reader, r.picture3);
    b->RadioButtonFrame = r.radioButtonFrame;
    b->CheckButtonFrame = r.checkButtonFrame;
    b->NormalColour2Given = r.normalColour2Given;
    b->MouseOverColour2Given = r.mouseOverColour2Given;
    b->PressedColour2Given = r.pressedColour2Given;
  }
  if (auto* t = dynamic_cast<TDataSkinTitle*>(&o)) {
    t->TextAlignment = r.textAlignment;
    t->Textbackground = r.textBackground;
    t->FontHeight = r.fontHeight;
    t->TXTBackleft = r.txtBackLeft;
    t->TXTBackRight = r.txtBackRight;
    t->ActiveText = r.activeText;
    t->InActiveText = r.inactiveText;
  }
  if (auto* s = dynamic_cast<TDataSkinSysButton*>(&o)) {
    s->Action = r.action;
    s->Align = r.align;
    s->Xcoord = r.xcoord;
    s->Ycoord = r.ycoord;
    s->CombineOp = r.combineOp;
    s->Visibility = r.visibility;
    s->Visibility1 = r.visibility1;
  }
  if (auto* g = dynamic_cast<TDataSkinBoxLabel*>(&o)) {
    g->BackgroundLeftShift = r.backgroundLeftShift;
    g->BackgroundRightShift = r.backgroundRightShift;
    g->BackgroundAlignment = r.backgroundAlignment;
  }
}

void FillKey(TBitmap* b, const TRect& r) {
  vcl::UniqueBrush key(CreateSolidBrush(kSkinKeyColor));
  const RECT rect = r;
  FillRect(b->Canvas()->Handle(), &rect, key.get());
}

}  // namespace

skin_classic::DescriptionDefaults SystemDescriptionDefaults() {
  using namespace vcl;
  const std::pair<int, TColor> kSystem[] = {
      {0, clWindowText},   {1, clCaptionText},   {2, clInactiveCaptionText}, {3, clBtnFace},
      {4, clBtnText},      {5, clBtnHighlight},  {6, clBtnHighlight},        {7, clBtnShadow},
      {8, cl3DDkShadow},   {11, clHighlightText}, {12, clHighlight},         {14, clMenuText},
      {15, clMenuText},    {16, clMenu},          {18, clScrollBar},
  };
  skin_classic::DescriptionDefaults d;
  for (const auto& [entry, colour] : kSystem) d.colours[static_cast<size_t>(entry)] = ColorToRGB(colour);
  return d;
}

TSkinObjects::TSkinObjects()
    : title_(std::make_unique<TDataSkinTitle>("Title")),
      buttons_(std::make_unique<TDataSkinButton>("Buttons")),
      default_sample_color_(vcl::ColorToRGB(vcl::clBtnFace)) {
  const char* const names[] = {"Left", "Right", "Top", "Bottom"};
  for (size_t i = 0; i < borders_.size(); ++i) borders_[i] = std::make_unique<TDataSkinBorder>(names[i]);
  Border(SkinBorder::Top)->StackedFrames = Border(SkinBorder::Bottom)->StackedFrames = true;
  title_->Frame = 2;
  buttons_->Frame = 5;
}

TSkinObjects::~TSkinObjects() = default;

TColor TSkinObjects::Color(int Index) const {
  return Index >= 0 && Index < static_cast<int>(colors_.size()) ? colors_[static_cast<size_t>(Index)] : vcl::clBlack;
}

bool TSkinObjects::ColorGiven(int Index) const {
  return Index >= 0 && Index < static_cast<int>(color_given_.size()) && color_given_[static_cast<size_t>(Index)];
}

TColor TSkinObjects::SampleColor() const {
  TDataSkinBorder* top = Border(SkinBorder::Top);
  if (!top->HasBitmap()) return default_sample_color_;
  TBitmap* b = top->Bitmap.get();
  const int frameHeight = FrameExtent(b->Height(), top->Frame);
  return b->Canvas()->Pixels(b->Width() / 3, frameHeight / 3);
}

void TSkinObjects::ApplyColours(const skin_classic::SkinDescription& d) {
  std::copy(d.colours.begin(), d.colours.end(), colors_.begin());
  color_given_ = d.colourGiven;
  extra_colors_.assign(d.extraColours.begin(), d.extraColours.end());
  std::copy(d.customColours.begin(), d.customColours.end(), custom_colors_.begin());
}

std::optional<skin_classic::SkinFault> TSkinObjects::ReadDescription(const TSkinReader& Reader, const TQuickIni& Ini) {
  const skin_classic::SkinDescription d =
      skin_classic::ReadSkinDescription(Ini.Ini(), Reader.Package(), SystemDescriptionDefaults());
  if (d.fault) return d.fault;
  skin_name_ = d.skinName;
  ApplyColours(d);
  for (size_t i = 0; i < borders_.size(); ++i) Apply(*borders_[i], d.borders[i], Reader);
  Apply(*title_, d.title, Reader);
  Apply(*buttons_, d.buttons, Reader);

  sys_buttons_.clear();
  for (const ElementRecord& r : d.captionButtons) {
    auto button = std::make_unique<TDataSkinSysButton>(r.name);
    Apply(*button, r, Reader);
    sys_buttons_.push_back(std::move(button));
  }

  for (size_t i = 0; i < elements_.size(); ++i) {
    const auto element = static_cast<SkinElement>(i);
    if (element == SkinElement::Toolbar) continue;  // kept: it is repainted below
    elements_[i].reset();
    if (const auto& r = d.elements[i]) {
      elements_[i] = NewObject(r->kind, r->name);
      Apply(*elements_[i], *r, Reader);
    }
  }
  // The combo button's second picture is its first's whole frames, mirrored: columns left over
  // past the last frame would come first in it and move every mirrored frame into its neighbour.
  if (auto* combo = dynamic_cast<TDataSkinBorder*>(Element(SkinElement::ComboButton)); combo && combo->HasBitmap()) {
    TBitmap* b = combo->Bitmap.get();
    const int frames = std::max(combo->Frame, 1);
    if (std::unique_ptr<TBitmap> whole = NewSkinBitmap(FrameExtent(b->Width(), frames) * frames, b->Height())) {
      CopyBitmapRect(whole.get(), 0, 0, b, TRect(0, 0, whole->Width(), whole->Height()));
      MirrorBitmap(whole.get());
      combo->Bitmap2->Assign(whole.get());
    }
  }

  BuildComboComposite();
  BuildComboArrow();
  const TColor sample = SampleColor();
  PaintToolbar();
  colors_[skin_classic::kColourSample] = sample;
  brush_.reset(CreateSolidBrush(static_cast<COLORREF>(colors_[skin_classic::kColourButtonFace])));
  return std::nullopt;
}

// The combo box's edit frame and button as one picture per state: the sunken edge over the
// whole width with the button in its right part and the inside left transparent.
void TSkinObjects::BuildComboComposite() {
  TDataSkinObject* sunk = Element(SkinElement::SunkEdge);
  TDataSkinObject* combo = Element(SkinElement::ComboButton);
  if (!sunk || !combo || !sunk->HasBitmap() || !combo->HasBitmap()) return;
  const int w = std::clamp(GetSystemMetrics(SM_CXVSCROLL) + 2, 0, kComboWidth);
  const int frames = sunk->Frame;
  std::unique_ptr<TBitmap> composite = NewSkinBitmap(kComboWidth * frames, kComboHeight);
  std::unique_ptr<TBitmap> work = NewSkinBitmap(kComboWidth, kComboHeight);
  if (!composite || !work) return;
  FillKey(composite.get(), TRect(0, 0, composite->Width(), kComboHeight));
  const TRect whole(0, 0, kComboWidth, kComboHeight), button(kComboWidth - w, 0, kComboWidth, kComboHeight);
  for (int k = 1; k <= frames; ++k) {
    HDC dc = work->Canvas()->Handle();
    FillKey(work.get(), whole);
    DrawSkinBitmapRect(dc, whole, sunk->Bitmap.get(), sunk->Margins(), sunk->Tile != 0, sunk->Frame, k,
                       sunk->Transparent());
    DrawSkinBitmapRect(dc, button, combo->Bitmap.get(), combo->Margins(), combo->Tile != 0, combo->Frame, k, true);
    DrawDropArrow(dc, button, k);
    FillKey(work.get(), TRect(2, 2, kComboWidth - 1 - w, kComboHeight - 3));
    CopyBitmapRect(composite.get(), (k - 1) * kComboWidth, 0, work.get(), whole);
  }
  combo->Style = 2;
  combo->TopHeight = sunk->TopHeight;
  combo->BottomHeight = sunk->BottomHeight;
  combo->LeftWidth = 2;
  combo->RightWidth = w + 2;
  combo->Bitmap->Assign(composite.get());
  MirrorBitmap(composite.get());
  sunk->Bitmap->Assign(composite.get());
  sunk->LeftWidth = w + 2;
  sunk->RightWidth = 2;
}

void TSkinObjects::DrawDropArrow(HDC DC, const TRect& R, int State) const {
  TDataSkinObject* extra = Element(SkinElement::ExtraImages);
  if (extra && extra->HasGlyphBitmap() && !ImageFrameRect(extra->Bitmap.get(), extra->Frame, State).IsEmpty()) {
    DrawGlyphFrame(DC, R, extra->Frame, State, extra->Bitmap.get());
    return;
  }
  constexpr int kDisabled = 3;
  DrawArrow(DC, R, kArrowDown,
            Color(State == kDisabled ? skin_classic::kColourButtonShadow : skin_classic::kColourButtonText));
}

// Made anew for every skin, so that no arrow of an earlier skin stays behind.
void TSkinObjects::BuildComboArrow() {
  auto& slot = elements_[static_cast<size_t>(SkinElement::ComboxArrow)];
  slot.reset();
  TDataSkinObject* sunk = Element(SkinElement::SunkEdge);
  TDataSkinObject* combo = Element(SkinElement::ComboButton);
  if (!combo || !combo->HasBitmap()) return;
  auto arrow = std::make_unique<TDataSkinObject>("ComboxArrow");
  if (sunk && combo->Style == 2) {
    const int frames = sunk->Frame;
    const int f = FrameExtent(combo->Bitmap->Width(), frames);
    std::unique_ptr<TBitmap> b = NewSkinBitmap(kArrowSize * frames, kArrowSize);
    if (!b) return;
    for (int k = 1; k <= frames; ++k)
      CopyBitmapRect(b.get(), (k - 1) * kArrowSize, 0, combo->Bitmap.get(), TRect(k * f - 19, 2, k * f - 2, 19));
    arrow->Bitmap->Assign(b.get());
    arrow->Frame = frames;
  } else if (!sunk || !sunk->HasBitmap()) {
    arrow->Bitmap->Assign(combo->Bitmap.get());
    ReplaceKeyColor(arrow->Bitmap.get(), Color(skin_classic::kColourButtonFace));
    arrow->Frame = combo->Frame;
    // The button's face with its arrow over it, as the combo box draws it.
    TBitmap* b = arrow->Bitmap.get();
    for (int k = 1; k <= arrow->Frame; ++k) {
      const TRect face = ImageFrameRect(b, arrow->Frame, k);
      if (!face.IsEmpty()) DrawDropArrow(b->Canvas()->Handle(), face, k);
    }
  } else {
    return;
  }
  slot = std::move(arrow);
}

// The tool bar background: a vertical ramp from a light face colour down to a darker tone
// of the skin's sample colour.
void TSkinObjects::PaintToolbar() {
  auto& slot = elements_[static_cast<size_t>(SkinElement::Toolbar)];
  if (!slot) slot = std::make_unique<TDataSkinObject>("Toolbar");
  const TColor s = SampleColor();
  const TColor top = BlendColor(Color(skin_classic::kColourButtonFace), vcl::clWhite, 150);
  TColor bottom = BlendColor(0x808080, s, 150);
  const THueSat hs = ColorHueSat(s);
  if (hs.Saturation > 110) bottom = BlendColor(s, vcl::clWhite, (225 - hs.Saturation) * 25 / 140 + 50);
  TBitmap* b = slot->Bitmap.get();
  b->Assign(nullptr);
  b->SetPixelFormat(vcl::pf24bit);
  b->SetSize(10, 40);
  GradientFillRect(b->Canvas()->Handle(), TRect(0, 0, 10, 40), top, true, bottom);
  slot->Frame = 1;
}

}  // namespace winskin
