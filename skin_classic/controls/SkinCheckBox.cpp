#include "skin_classic/controls/SkinCheckBox.h"

#include "skin_classic/controls/SkinButton.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// Images of 12 (check boxes) or 8 (radio buttons) frames keep the checked and disabled
// looks elsewhere: one lookup, so a frame moved once is not moved again.
int RemapFrame(int Frame) {
  switch (Frame) {
    case 2: return 5;
    case 3: return 4;
    case 4: return 8;
    default: return Frame;
  }
}

bool Contains(const vcl::String& Text, vcl::StringView Part) { return Text.find(Part) != vcl::String::npos; }

}  // namespace

int CheckBoxFrame(const TCheckFacts& f) {
  int index = f.CheckedBit ? 2 : 1;
  if (f.HasControl) {
    if (f.State) {
      const vcl::String state = vcl::LowerCase(*f.State);
      if (Contains(state, L"uncheck"))
        index = 1;
      else if (Contains(state, L"check"))
        index = 2;
      else if (Contains(state, L"gray"))
        index = 4;
    } else {
      // A control without "State" takes the third frame when not checked.
      index = vcl::LowerCase(f.Checked) == L"true" ? 2 : 3;
    }
  }
  if (f.HasDataField && f.CheckState != 0) index = f.CheckState == 3 ? 4 : f.CheckState;
  if (f.HasDataBinding) index = 1;
  if (f.Disabled) index += 2;
  if (f.IndeterminateBit) index = 4;
  if (f.Frames == 12) {
    index = RemapFrame(index);
    if (f.IndeterminateBit) index = f.Disabled ? 12 : 9;
  }
  return index;
}

int RadioButtonFrame(const TRadioFacts& f) {
  int index = f.CheckedBit ? 2 : 1;
  if (f.HasControl) index = vcl::LowerCase(f.Checked) == L"true" ? 2 : 1;
  if (f.Disabled) index += 2;
  if (f.Frames == 8) index = RemapFrame(index);
  return index;
}

int MouseFrame(int Frame, int Frames, int FullSet, bool Hot, bool Pressed) {
  if (Frames != FullSet || (Frame - 1) % 4 != 0) return Frame;
  return Frame + (Pressed ? 2 : Hot ? 1 : 0);
}

VCL_CLASS_INFO(TSkinMarkButton) {}
VCL_CLASS_INFO(TSkinCheckBox) {}
VCL_CLASS_INFO(TSkinRadioButton) {}

// ---------------------------------------------------------------------------------------
// TSkinMarkButton

void TSkinMarkButton::ReadParentBack() {
  FParentBack = (FControl && FControl->Tag() == kParentBackTag) ||
                (FSkinData && FSkinData->Options().Contains(xoTransparent));
}

void TSkinMarkButton::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  int frames = 0;
  FStyle = FControl && MarkImage(frames) ? 1 : 0;
  ReadParentBack();
}

bool TSkinMarkButton::HasPicture() const {
  int frames = 0;
  return HasSkin() && MarkImage(frames);
}

void TSkinMarkButton::UpdateSkin() {
  int frames = 0;
  FStyle = FControl && MarkImage(frames) ? 1 : 0;
  ReadParentBack();
  TSkinControl::UpdateSkin();
}

void TSkinMarkButton::AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachWindow(Handle, SkinData, Form, Canvas);
  FStyle = 0;
  ReadParentBack();
}

bool TSkinMarkButton::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
      if (FStyle != 1) return true;
      PaintHandler(Message);
      return false;
    case WM_ERASEBKGND:
      if (!FParentBack) return true;
      EraseBackground(Message);
      return false;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinMarkButton::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: WMMouseMove(); break;
    case WM_MOUSELEAVE: SetMouseBit(kMouseHot, false); Redraw(); break;
    case BM_SETCHECK:
    // The system paints the pushed look itself when the space key goes down.
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case vcl::CM_EXIT:
    case CM_SKINREDRAWCHECK: Redraw(); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

void TSkinMarkButton::WMMouseMove() {
  if (FHandle && IsWindowEnabled(FHandle) && !Hot()) {
    SetMouseBit(kMouseHot, true);
    Redraw();
  }
  if (FHandle) TrackMouseLeave(FHandle);
}

void TSkinMarkButton::DrawControl(HDC DC, const TRect& Rect) {
  int frames = 0;
  vcl::TBitmap* image = HasSkin() ? MarkImage(frames) : nullptr;
  if (!image) {
    FStyle = 0;
    return;
  }
  const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  FEnabled = !(style & WS_DISABLED);
  // The system marks a press on the button (mouse or space) as pushed.
  const bool pushed = (SendMessageW(FHandle, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  const int index = MouseFrame(MarkFrame(frames), frames, FullSet(), FEnabled && Hot(), FEnabled && pushed);
  const int w = image->Width() / std::max(frames, 1), h = image->Height();
  const vcl::TControl* source = PropertySource();
  const UINT reading = source && source->UseRightToLeftReading() ? DT_RTLREADING : 0;

  const int top = Rect.Top + (Rect.Height() - h) / 2;
  TRect mark, text;
  UINT flags = DT_WORDBREAK | DT_EXPANDTABS | reading;
  if (style & BS_LEFTTEXT) {
    mark = TRect(Rect.Right - w, top, Rect.Right, top + h);
    text = TRect(Rect.Left, Rect.Top, mark.Left - 2, Rect.Bottom);
    flags |= DT_RIGHT;
  } else {
    mark = TRect(Rect.Left, top, Rect.Left + w, top + h);
    text = TRect(mark.Right + 2, Rect.Top, Rect.Right, Rect.Bottom);
  }
  if (!FParentBack && FStyle == 1) FillSkinColor(DC, Rect);
  DrawImageFrame(DC, mark, frames, index, image, true);
  last_frame_ = index;
  if (FStyle != 1) return;

  FCaption = GetWindowTextWide(FHandle);
  if (FControl) FCaption = GetPropText(FControl, L"Caption");
  const TSavedDC keep(DC);
  vcl::TColor colour = TextColor();
  if (auto* font = GetObjectPropAs<vcl::TFont>(source, L"Font")) {
    SelectObject(DC, font->Handle());
    colour = font->Color();
  } else {
    SelectObject(DC, WindowFont(FHandle));
  }
  if (!FEnabled) colour = vcl::clBtnShadow;
  SetTextColor(DC, static_cast<COLORREF>(vcl::ColorToRGB(colour)));
  SetBkColor(DC, static_cast<COLORREF>(vcl::ColorToRGB(FaceColor())));
  SetBkMode(DC, TRANSPARENT);
  RECT measured{text.Left, text.Top, text.Right, text.Bottom};
  DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &measured, flags | DT_CALCRECT | DT_NOCLIP);
  const int textHeight = measured.bottom - measured.top;
  RECT at{text.Left, text.Top + (text.Height() - textHeight) / 2, text.Right, 0};
  at.bottom = at.top + textHeight;
  // The focus shows on every system: the skin's caption replaces the one the system would
  // have marked.
  FFocused = GetFocus() == FHandle;
  if (FFocused && !FCaption.empty()) DrawFocusAroundText(DC, flags, TRect(at.left, at.top, at.right, at.bottom));
  DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &at, flags);
}

// ---------------------------------------------------------------------------------------
// TSkinCheckBox

void TSkinCheckBox::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinMarkButton::AttachControl(Form, SkinData, SetColor, Canvas);
  FCheckState = 0;
}

void TSkinCheckBox::AfterProc(vcl::TMessage& Message) {
  if (Message.Msg == BM_SETCHECK) FCheckState = static_cast<int>(Message.WParam) + 1;
  TSkinMarkButton::AfterProc(Message);
}

vcl::TBitmap* TSkinCheckBox::MarkImage(int& Frames) const {
  if (!HasSkin()) return nullptr;
  TDataSkinButton* b = FSkinData->Skin()->Buttons();
  if (!b || !b->HasCheckPicture()) return nullptr;
  Frames = std::max(b->CheckButtonFrame, 1);
  return b->CheckBitmap.get();
}

int TSkinCheckBox::MarkFrame(int Frames) const {
  const LRESULT state = SendMessageW(FHandle, BM_GETSTATE, 0, 0);
  TCheckFacts f;
  f.CheckedBit = (state & 3) == BST_CHECKED;
  f.IndeterminateBit = (state & 3) == BST_INDETERMINATE;
  if (FControl) {
    f.HasControl = true;
    if (HasProp(FControl, L"State")) f.State = GetEnumPropName(FControl, L"State");
    f.Checked = GetEnumPropName(FControl, L"Checked");
    f.HasDataField = HasProp(FControl, L"DataField");
    f.HasDataBinding = HasProp(FControl, L"DataBinding");
  }
  f.CheckState = FCheckState;
  f.Disabled = GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED;
  f.Frames = Frames;
  return CheckBoxFrame(f);
}

// ---------------------------------------------------------------------------------------
// TSkinRadioButton

vcl::TBitmap* TSkinRadioButton::MarkImage(int& Frames) const {
  if (!HasSkin()) return nullptr;
  TDataSkinButton* b = FSkinData->Skin()->Buttons();
  if (!b || !b->HasRadioPicture()) return nullptr;
  Frames = std::max(b->RadioButtonFrame, 1);
  return b->RadioBitmap.get();
}

int TSkinRadioButton::MarkFrame(int Frames) const {
  TRadioFacts f;
  f.CheckedBit = SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (FControl) {
    f.HasControl = true;
    f.Checked = GetEnumPropName(FControl, L"Checked");
  }
  f.Disabled = GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED;
  f.Frames = Frames;
  return RadioButtonFrame(f);
}

}  // namespace winskin
