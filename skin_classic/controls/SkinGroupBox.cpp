#include "skin_classic/controls/SkinGroupBox.h"

#include "skin_classic/controls/SkinProps.h"

namespace winskin {

VCL_CLASS_INFO(TSkinGroupBox) {}
VCL_CLASS_INFO(TSkinBox) {}

// ---------------------------------------------------------------------------------------
// TSkinGroupBox

void TSkinGroupBox::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  FStyle = FControl ? 1 : 0;
}

bool TSkinGroupBox::BeforeProc(vcl::TMessage& Message) {
  if (Message.Msg == WM_PAINT && FStyle == 1) {
    PaintHandler(Message);
    return false;
  }
  return TSkinControl::BeforeProc(Message);
}

void TSkinGroupBox::DrawControl(HDC DC, const TRect& Rect) {
  if (!HasSkin()) return;
  FCaption = GetWindowTextWide(FHandle);
  if (FCaption.empty() && FControl) FCaption = GetPropText(FControl, L"Caption");
  {
    const TSavedDC keep(DC);
    vcl::TColor colour = TextColor();
    if (FControl) {
      FillSkinColor(DC, Rect);
      if (auto* font = GetObjectPropAs<vcl::TFont>(FControl, L"Font")) {
        SelectObject(DC, font->Handle());
        colour = font->Color();
      }
    } else {
      SelectObject(DC, WindowFont(FHandle));
    }
    const int h = TextHeight(DC, FCaption);
    const int w = Rect.Width(), height = Rect.Height();
    if (FStyle == 0) {
      // Over the system's own frame: two rings of the face colour around the whole box.
      RECT ring{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
      FrameRect(DC, &ring, FaceBrush());
      InflateRect(&ring, -1, -1);
      FrameRect(DC, &ring, FaceBrush());
    }
    {
      const vcl::UniquePen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(vcl::ColorToRGB(LineColor()))));
      const vcl::SelectGuard usePen(DC, pen.get());
      const vcl::SelectGuard useBrush(DC, GetStockObject(HOLLOW_BRUSH));
      RoundRect(DC, Rect.Left + 1, Rect.Top + h / 2 - 1, Rect.Left + w - 1, Rect.Top + height - 1, 5, 5);
    }
    if (!FCaption.empty()) {
      SetTextColor(DC, static_cast<COLORREF>(vcl::ColorToRGB(colour)));
      SetBkColor(DC, static_cast<COLORREF>(vcl::ColorToRGB(FaceColor())));
      SetBkMode(DC, OPAQUE);
      UINT flags = DT_EXPANDTABS;
      RECT at{Rect.Left + 8, Rect.Top, Rect.Right, Rect.Bottom};
      if (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) {
        at = RECT{Rect.Left, Rect.Top, Rect.Right - 8, Rect.Bottom};
        flags |= DT_RIGHT;
        if (FControl && FControl->UseRightToLeftReading()) flags |= DT_RTLREADING;
      }
      DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &at, flags);
    }
  }
  // The skin covered the group's controls without a window: they paint again on top.
  if (FControl) FControl->PaintControls(DC, nullptr);
}

// ---------------------------------------------------------------------------------------
// TSkinBox

void TSkinBox::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  auto* control = dynamic_cast<vcl::TWinControl*>(Owner());
  if (!control) return;
  FSkinData = SkinData;
  FSetColor = SetColor;
  FControl = control;
  FHandle = FControl->Handle();
  JoinForm(Form, Canvas);
  if (FSetColor) {
    FSavedColor = FControl->Color();
    saved_parent_color_ = FControl->ParentColor();
    FControl->SetColor(FaceColor());
  }
  FAttached = true;
  FStatus = kSkinnerAttached;
}

void TSkinBox::RestoreControl() {
  if (FStatus == 4) return;
  TSkinControl::RestoreControl();
  FStatus = kSkinnerRestored;
}

// ---------------------------------------------------------------------------------------

void DrawCenteredText(vcl::TCanvas* Canvas, const TRect& Rect, vcl::StringView Text, vcl::TAlignment Alignment,
                      bool Enabled) {
  if (!Canvas) return;
  UINT flags = DT_SINGLELINE | DT_EXPANDTABS;
  switch (Alignment) {
    case vcl::taRightJustify: flags |= DT_RIGHT; break;
    case vcl::taCenter: flags |= DT_CENTER; break;
    default: flags |= DT_LEFT; break;
  }
  Canvas->Brush()->SetStyle(vcl::bsClear);
  Canvas->Font()->SetStyle({});
  if (!Enabled) Canvas->Font()->SetColor(vcl::clBtnShadow);
  HDC dc = Canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT measured{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  DrawTextW(dc, Text.data(), static_cast<int>(Text.size()), &measured, flags | DT_CALCRECT);
  const int w = measured.right - measured.left, h = measured.bottom - measured.top;
  RECT at{Rect.Left + (Rect.Width() - w) / 2, Rect.Top + (Rect.Height() - h) / 2, 0, 0};
  at.right = at.left + w;
  at.bottom = at.top + h;
  DrawTextW(dc, Text.data(), static_cast<int>(Text.size()), &at, flags);
}

}  // namespace winskin
