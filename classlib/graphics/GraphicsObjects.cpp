#include "classlib/graphics/GraphicsObjects.h"

#include <algorithm>
#include <cwchar>

#include "classlib/graphics/GraphicsBitmap.h"

namespace vcl {

int ScreenLogPixels() {
  static const int dpi = [] {
    WindowDC screen;
    const int v = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return v > 0 ? v : 96;
  }();
  return dpi;
}

VCL_CLASS_INFO(TGraphicsObject) {}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------
// TFont

struct TFont::Resource {
  LOGFONTW lf{};
  mutable UniqueFont handle;
};

namespace {

// The font a new TFont describes: 8 points of "MS Sans Serif", or on double-byte systems
// the face, height and character set of the system's GUI font.
const LOGFONTW& DefaultLogFont() {
  static const LOGFONTW lf = [] {
    LOGFONTW f{};
    f.lfHeight = -MulDiv(8, ScreenLogPixels(), 72);
    f.lfWeight = FW_NORMAL;
    f.lfCharSet = DEFAULT_CHARSET;
    f.lfOutPrecision = OUT_DEFAULT_PRECIS;
    f.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    f.lfQuality = DEFAULT_QUALITY;
    f.lfPitchAndFamily = DEFAULT_PITCH;
    wcscpy_s(f.lfFaceName, L"MS Sans Serif");
    LOGFONTW gui{};
    if (GetSystemMetrics(SM_DBCSENABLED) &&
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui) == sizeof(gui)) {
      f.lfHeight = gui.lfHeight;
      f.lfCharSet = gui.lfCharSet;
      if (gui.lfFaceName[0]) wcscpy_s(f.lfFaceName, gui.lfFaceName);
    }
    return f;
  }();
  return lf;
}

bool SameLogFont(const LOGFONTW& a, const LOGFONTW& b) {
  return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
         a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
         a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
         a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
         a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
         std::wcscmp(a.lfFaceName, b.lfFaceName) == 0;
}

}  // namespace

VCL_CLASS_INFO(TFont) {
  p.Integer<&TFont::Charset, &TFont::SetCharset>(L"Charset", std::nullopt, &CharsetTypeInfo());
  p.Integer<&TFont::Color, &TFont::SetColor>(L"Color", std::nullopt, &ColorTypeInfo());
  p.Integer<&TFont::Height, &TFont::SetHeight>(L"Height");
  p.String<&TFont::Name, &TFont::SetName>(L"Name");
  p.Enum<&TFont::Pitch, &TFont::SetPitch>(L"Pitch", static_cast<int64_t>(fpDefault));
  p.Integer<&TFont::Size, &TFont::SetSize>(L"Size").Stored = [](const TObject*) { return false; };
  p.Set<&TFont::Style, &TFont::SetStyle>(L"Style");
}

TFont::TFont() : res_(std::make_shared<Resource>()), pixels_per_inch_(ScreenLogPixels()) {
  res_->lf = DefaultLogFont();
}

TFont::~TFont() = default;

// Makes a changed description; the old handle lives until the listeners have let go of it.
template <class Edit>
void TFont::Update(Edit edit) {
  auto next = std::make_shared<Resource>();
  next->lf = res_->lf;
  edit(next->lf);
  if (SameLogFont(next->lf, res_->lf)) return;
  auto old = std::exchange(res_, std::move(next));
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    auto old = std::exchange(res_, f->res_);
    color_ = f->color_;
    pixels_per_inch_ = f->pixels_per_inch_;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HFONT TFont::Handle() const {
  if (!res_->handle) {
    LOGFONTW lf = res_->lf;
    if (SameText(lf.lfFaceName, L"Default")) wcscpy_s(lf.lfFaceName, DefaultLogFont().lfFaceName);
    res_->handle.reset(CreateFontIndirectW(&lf));
  }
  return res_->handle.get();
}

void TFont::SetHandle(HFONT Value) {
  auto next = std::make_shared<Resource>();
  if (!Value || GetObjectW(Value, sizeof(LOGFONTW), &next->lf) == 0) next->lf = DefaultLogFont();
  next->handle.reset(Value);
  auto old = std::exchange(res_, std::move(next));
  Changed();
}

TFontCharset TFont::Charset() const { return res_->lf.lfCharSet; }
void TFont::SetCharset(TFontCharset Value) {
  Update([&](LOGFONTW& lf) { lf.lfCharSet = Value; });
}

void TFont::SetColor(TColor Value) {
  if (color_ == Value) return;
  color_ = Value;
  Changed();
}

int TFont::Height() const { return res_->lf.lfHeight; }
void TFont::SetHeight(int Value) {
  Update([&](LOGFONTW& lf) { lf.lfHeight = Value; });
}

String TFont::Name() const { return res_->lf.lfFaceName; }
void TFont::SetName(const String& Value) {
  if (Value.empty()) return;
  Update([&](LOGFONTW& lf) {
    const size_t n = std::min<size_t>(Value.size(), LF_FACESIZE - 1);
    Value.copy(lf.lfFaceName, n);
    lf.lfFaceName[n] = 0;
  });
}

TFontPitch TFont::Pitch() const {
  switch (res_->lf.lfPitchAndFamily & 3) {
    case FIXED_PITCH: return fpFixed;
    case VARIABLE_PITCH: return fpVariable;
    default: return fpDefault;
  }
}
void TFont::SetPitch(TFontPitch Value) {
  Update([&](LOGFONTW& lf) {
    const BYTE bits = Value == fpFixed ? FIXED_PITCH : Value == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    lf.lfPitchAndFamily = static_cast<BYTE>((lf.lfPitchAndFamily & ~3) | bits);
  });
}

int TFont::Size() const { return -MulDiv(Height(), 72, pixels_per_inch_); }
void TFont::SetSize(int Value) { SetHeight(-MulDiv(Value, pixels_per_inch_, 72)); }

TFontStyles TFont::Style() const {
  TFontStyles s;
  const LOGFONTW& lf = res_->lf;
  if (lf.lfWeight >= FW_BOLD) s.Include(fsBold);
  if (lf.lfItalic) s.Include(fsItalic);
  if (lf.lfUnderline) s.Include(fsUnderline);
  if (lf.lfStrikeOut) s.Include(fsStrikeOut);
  return s;
}
void TFont::SetStyle(TFontStyles Value) {
  Update([&](LOGFONTW& lf) {
    lf.lfWeight = Value.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = Value.Contains(fsItalic);
    lf.lfUnderline = Value.Contains(fsUnderline);
    lf.lfStrikeOut = Value.Contains(fsStrikeOut);
  });
}

// ---------------------------------------------------------------------------------------
// TBrush

struct TBrush::Resource {
  TColor color = clWhite;
  TBrushStyle style = bsSolid;
  TBitmap* bitmap = nullptr;
  mutable UniqueBrush handle;
};

VCL_CLASS_INFO(TBrush) {
  p.Integer<&TBrush::Color, &TBrush::SetColor>(L"Color", clWhite, &ColorTypeInfo());
  p.Enum<&TBrush::Style, &TBrush::SetStyle>(L"Style", static_cast<int64_t>(bsSolid));
}

TBrush::TBrush() : res_(std::make_shared<Resource>()) {}
TBrush::~TBrush() = default;

template <class Edit>
void TBrush::Update(Edit edit) {
  auto next = std::make_shared<Resource>();
  next->color = res_->color;
  next->style = res_->style;
  next->bitmap = res_->bitmap;
  edit(*next);
  if (next->color == res_->color && next->style == res_->style && next->bitmap == res_->bitmap) return;
  auto old = std::exchange(res_, std::move(next));
  Changed();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    if (b == this) return;
    auto old = std::exchange(res_, b->res_);
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HBRUSH TBrush::Handle() const {
  if (!res_->handle) {
    LOGBRUSH lb{};
    lb.lbColor = static_cast<COLORREF>(ColorToRGB(res_->color));
    if (res_->bitmap && !res_->bitmap->Empty()) {
      res_->handle.reset(CreatePatternBrush(res_->bitmap->Handle()));
    } else {
      switch (res_->style) {
        case bsSolid: lb.lbStyle = BS_SOLID; break;
        case bsClear: lb.lbStyle = BS_HOLLOW; break;
        default:
          lb.lbStyle = BS_HATCHED;
          lb.lbHatch = static_cast<ULONG_PTR>(static_cast<int>(res_->style) - static_cast<int>(bsHorizontal));
          break;
      }
      res_->handle.reset(CreateBrushIndirect(&lb));
    }
  }
  return res_->handle.get();
}

void TBrush::SetHandle(HBRUSH Value) {
  auto next = std::make_shared<Resource>();
  LOGBRUSH lb{};
  if (Value && GetObjectW(Value, sizeof(lb), &lb) == sizeof(lb)) {
    next->color = static_cast<TColor>(lb.lbColor);
    if (lb.lbStyle == BS_HOLLOW) next->style = bsClear;
    else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS)
      next->style = static_cast<TBrushStyle>(static_cast<int>(bsHorizontal) + static_cast<int>(lb.lbHatch));
  }
  next->handle.reset(Value);
  auto old = std::exchange(res_, std::move(next));
  Changed();
}

TColor TBrush::Color() const { return res_->color; }
void TBrush::SetColor(TColor Value) {
  Update([&](Resource& r) {
    r.color = Value;
    if (r.style == bsClear) r.style = bsSolid;  // a colour means something is painted
  });
}

TBrushStyle TBrush::Style() const { return res_->style; }
void TBrush::SetStyle(TBrushStyle Value) {
  Update([&](Resource& r) { r.style = Value; });
}

TBitmap* TBrush::Bitmap() const { return res_->bitmap; }
void TBrush::SetBitmap(TBitmap* Value) {
  Update([&](Resource& r) { r.bitmap = Value; });
}

// ---------------------------------------------------------------------------------------
// TPen

struct TPen::Resource {
  TColor color = clBlack;
  TPenStyle style = psSolid;
  int width = 1;
  mutable UniquePen handle;
};

VCL_CLASS_INFO(TPen) {
  p.Integer<&TPen::Color, &TPen::SetColor>(L"Color", clBlack, &ColorTypeInfo());
  p.Enum<&TPen::Mode, &TPen::SetMode>(L"Mode", static_cast<int64_t>(pmCopy));
  p.Enum<&TPen::Style, &TPen::SetStyle>(L"Style", static_cast<int64_t>(psSolid));
  p.Integer<&TPen::Width, &TPen::SetWidth>(L"Width", 1);
}

TPen::TPen() : res_(std::make_shared<Resource>()) {}
TPen::~TPen() = default;

template <class Edit>
void TPen::Update(Edit edit) {
  auto next = std::make_shared<Resource>();
  next->color = res_->color;
  next->style = res_->style;
  next->width = res_->width;
  edit(*next);
  if (next->color == res_->color && next->style == res_->style && next->width == res_->width) return;
  auto old = std::exchange(res_, std::move(next));
  Changed();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* pen = dynamic_cast<TPen*>(Source)) {
    if (pen == this) return;
    auto old = std::exchange(res_, pen->res_);
    mode_ = pen->mode_;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HPEN TPen::Handle() const {
  if (!res_->handle) {
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    LOGPEN lp{};
    lp.lopnStyle = static_cast<UINT>(kStyles[static_cast<int>(res_->style)]);
    lp.lopnWidth.x = res_->width;
    lp.lopnColor = static_cast<COLORREF>(ColorToRGB(res_->color));
    res_->handle.reset(CreatePenIndirect(&lp));
  }
  return res_->handle.get();
}

void TPen::SetHandle(HPEN Value) {
  auto next = std::make_shared<Resource>();
  LOGPEN lp{};
  if (Value && GetObjectW(Value, sizeof(lp), &lp) == sizeof(lp)) {
    next->color = static_cast<TColor>(lp.lopnColor);
    next->width = lp.lopnWidth.x;
    const UINT style = lp.lopnStyle & PS_STYLE_MASK;
    next->style = style <= PS_INSIDEFRAME ? static_cast<TPenStyle>(style) : psSolid;
  }
  next->handle.reset(Value);
  auto old = std::exchange(res_, std::move(next));
  Changed();
}

TColor TPen::Color() const { return res_->color; }
void TPen::SetColor(TColor Value) {
  Update([&](Resource& r) { r.color = Value; });
}

void TPen::SetMode(TPenMode Value) {
  if (mode_ == Value) return;
  mode_ = Value;
  Changed();
}

TPenStyle TPen::Style() const { return res_->style; }
void TPen::SetStyle(TPenStyle Value) {
  Update([&](Resource& r) { r.style = Value; });
}

int TPen::Width() const { return res_->width; }
void TPen::SetWidth(int Value) {
  if (Value < 0) return;
  Update([&](Resource& r) { r.width = Value; });
}

}  // namespace vcl
