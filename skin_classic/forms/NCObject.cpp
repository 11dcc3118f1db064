#include "skin_classic/forms/NCObject.h"

#include "skin_classic/core/SkinManage.h"
#include "skin_classic/forms/FormFrame.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {

VCL_CLASS_INFO(TNCObject) {}
VCL_CLASS_INFO(TWinSysButton) {}

// ---------------------------------------------------------------------------------------
// The state machine

void TNCObject::MouseDown() {
  if (Owner->HotObject && Owner->HotObject != this) Owner->HotObject->MouseLeave();
  if (!Visible) return;
  Owner->HotObject = this;
  State = TNCState::Pressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = TNCState::Hot;
  Paint();
}

void TNCObject::MouseHover() {
  if (Owner->HotObject == this) return;
  if (Owner->HotObject) Owner->HotObject->MouseLeave();
  if (!Visible) return;
  Owner->HotObject = this;
  State = TNCState::Hot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  if (Owner->HotObject == this) Owner->HotObject = nullptr;
  State = TNCState::Normal;
  Paint();
}

// ---------------------------------------------------------------------------------------
// Caption buttons

namespace {

// The system's caption button for an action, or -1 for an action it has none for.
int SystemCaptionKind(int Action, TShowState Show) {
  switch (Action) {
    case kActionClose:
    case kActionChildClose:
    case kActionChildClose2: return DFCS_CAPTIONCLOSE;
    case kActionMaximize:
    case kActionMaximize2: return Show == TShowState::Maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
    case kActionMinimize:
    case kActionMinimize2: return Show == TShowState::Minimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN;
    case kActionHelp: return DFCS_CAPTIONHELP;
    case kActionChildMinimize:
    case kActionChildMinimize2: return DFCS_CAPTIONMIN;
    case kActionChildRestore:
    case kActionChildRestore2: return DFCS_CAPTIONRESTORE;
    default: return -1;
  }
}

}  // namespace

bool TWinSysButton::SystemDrawn() const {
  return !IsIcon() && !Data->HasGlyphBitmap() && SystemCaptionKind(Data->Action, TShowState::Normal) >= 0;
}

TBitmap* TWinSysButton::Image() const { return IsIcon() ? Owner->IconBitmap() : Data->Bitmap.get(); }

int TWinSysButton::FrameCount() const {
  if (SystemDrawn()) return 4;  // normal, pressed, hot and inactive are all the system's
  return IsIcon() ? 1 : std::max(Data->Frame, 1);
}

int TWinSysButton::FrameWidth() const {
  if (SystemDrawn()) return std::max(GetSystemMetrics(SM_CXSIZE) - 2, 1);
  TBitmap* image = Image();
  return image && !image->Empty() ? FrameExtent(image->Width(), FrameCount()) : 0;
}

int TWinSysButton::FrameHeight() const {
  if (SystemDrawn()) return std::max(GetSystemMetrics(SM_CYSIZE) - 4, 1);
  TBitmap* image = Image();
  return image && !image->Empty() ? image->Height() : 0;
}

// One of the skin's two conditions (the table of condition codes).
bool TWinSysButton::ConditionHolds(int Code, bool First) const {
  const TFormFrame& f = *Owner;
  const bool maximized = f.ShowState == TShowState::Maximized;
  const bool minBox = f.StyleBits & kHasMinimizeBox, maxBox = f.StyleBits & kHasMaximizeBox;
  const bool sysMenu = f.StyleBits & kHasSystemMenu, help = f.StyleBits & kHasContextHelp;
  switch (Code) {
    case kShowAlways: return true;
    case kShowMaximized: return maximized;
    case kShowNotMaximized: return !maximized;
    case kShowActive: return f.Active;
    case kShowInactive: return !f.Active;
    case kShowWithBoxes:
    case kShowWithBoxes2: return First ? (minBox || maxBox) && sysMenu : minBox || maxBox;
    case kShowWithoutMaximizeBox: return !maxBox;
    case kShowWithoutMinimizeBox: return !minBox;
    case kShowContextHelp: return First ? help && !minBox && !maxBox : help;
    case kShowOnMenuBand: {
      if (f.FormKind != TFormKind::MDIParent || !f.MenuBar() || !f.MDIClient) return false;
      BOOL childMaximized = FALSE;
      const auto child =
          reinterpret_cast<HWND>(SendMessageW(f.MDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&childMaximized)));
      return child && childMaximized;
    }
    case kShowOnDialog: return f.BorderKind == TBorderKind::Dialog && !f.IsDialog;
    default: break;
  }
  if (Code > kShowOnDialog && Code < kShowAskedFirst) return true;
  if (Code >= kShowAskedFirst && Code <= kShowAskedLast)
    return !First || SendMessageW(f.HostWindow(), SKM_CAPTIONVISIBLE, static_cast<WPARAM>(Code), Data->Action) >= 1;
  return false;  // -1, 5, 11-99 and any other code
}

void TWinSysButton::UpdateVisibility() {
  const bool first = ConditionHolds(Data->Visibility, true);
  // The second condition of the menu band's code is the first's value.
  const bool second = Data->Visibility1 == kShowOnMenuBand ? first : ConditionHolds(Data->Visibility1, false);
  bool visible = first && second;
  const int sysBits = Owner->StyleBits;
  switch (Data->Action) {
    case kActionClose: visible = visible && (sysBits & kHasSystemMenu); break;
    case kActionMaximize: Enabled = (sysBits & kHasMaximizeBox) && (sysBits & kHasSystemMenu); break;
    case kActionMinimize: Enabled = (sysBits & kHasMinimizeBox) && (sysBits & kHasSystemMenu); break;
    case kActionIcon:
    case kActionIcon2:
    case kActionSystemMenu: visible = visible && Owner->BorderKind != TBorderKind::Dialog; break;
    default: break;
  }
  Visible = visible;
}

int TWinSysButton::PaintFrame(bool TitlePaint) const {
  const bool hasDisabled = FrameCount() >= 4;
  if (!Enabled) return hasDisabled ? 4 : 1;
  if (TitlePaint) return Owner->Active || !hasDisabled ? 1 : 4;
  if (OnMenuBand() && State == TNCState::Hot && hasDisabled) return 4;
  return std::min(static_cast<int>(State), FrameCount());
}

void TWinSysButton::PaintTo(HDC DC, int Frame, TPoint Origin) const {
  if (BoundsRect.IsEmpty()) return;
  const int x = BoundsRect.Left - Origin.X, y = BoundsRect.Top - Origin.Y;
  if (IsIcon()) {
    if (HICON icon = Owner->Icon())
      DrawIconEx(DC, x, y, icon, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL);
    return;
  }
  if (SystemDrawn()) {
    UINT kind = static_cast<UINT>(SystemCaptionKind(Data->Action, Owner->ShowState));
    if (Frame == 2) kind |= DFCS_PUSHED;
    if (Frame == 3) kind |= DFCS_HOT;
    if (Frame == 4) kind |= DFCS_INACTIVE;
    RECT r{x, y, x + BoundsRect.Width(), y + BoundsRect.Height()};
    DrawFrameControl(DC, &r, DFC_CAPTION, kind);
    return;
  }
  DrawImageFrameAt(DC, x, y, FrameCount(), Frame, Image(), true);
}

void TWinSysButton::Paint() { Owner->PaintButton(this); }

}  // namespace winskin
