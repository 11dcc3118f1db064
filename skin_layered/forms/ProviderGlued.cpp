// Glued forms and snapping. The forms named in a provider's GluedForms follow its form while
// they touch it (the process-wide glued list, GluedForms.h, keeps who drags whom at what
// offset), and with ScreenSnap a form being moved snaps to the edges of the other skinned
// forms and of the work area within SnapBuffer pixels.
#include <algorithm>

#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/GluedForms.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

vcl::TRect WindowRectOf(vcl::TCustomForm* Form) {
  RECT r{};
  if (Form->HandleAllocated()) GetWindowRect(Form->Handle(), &r);
  return vcl::TRect(r);
}

vcl::TRect WorkAreaOf(HWND Wnd) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST), &monitor);
  return vcl::TRect(monitor.rcWork);
}

// The other visible skinned forms.
template <class F>
void ForEachCandidate(vcl::TCustomForm* Own, F f) {
  const std::vector<vcl::TCustomForm*> forms = RegisteredForms();
  for (vcl::TCustomForm* form : forms)
    if (form && form != Own && form->HandleAllocated() && IsWindowVisible(form->Handle())) f(form);
}

// A form's outer rectangle through its own provider.
vcl::TRect OuterRect(vcl::TCustomForm* Form) {
  const vcl::TRect r = WindowRectOf(Form);
  TsSkinProvider* provider = GetSkinProvider(Form);
  return provider ? provider->AdjustForBorderForm(r, true) : r;
}

TqvGluedRecord* FindRecord(const vcl::TCustomForm* Master, const vcl::TCustomForm* Glued) {
  for (TqvGluedRecord& r : GluedList())
    if (r.Master == Master && r.Glued == Glued) return &r;
  return nullptr;
}

// How far V lies from the edge E when within Buffer of it; 0 otherwise.
int SnapCorrection(int V, int E, int Buffer) { return V >= E - Buffer && V <= E + Buffer ? V - E : 0; }

}  // namespace

vcl::TRect TsSkinProvider::AdjustForBorderForm(vcl::TRect R, bool Grow) {
  TqvBorderForm* border = ExtBorderForm();
  if (!border) return R;
  const vcl::TRect ext = ShadowSize();
  const int x = BorderFormOffsetX(border), y = BorderFormOffsetY(border);
  const int sign = Grow ? 1 : -1;
  R.Left -= sign * (x + ext.Left);
  R.Top -= sign * (y + ext.Top);
  R.Right += sign * (x + ext.Right);
  R.Bottom += sign * (x + ext.Bottom);
  return R;
}

int TsSkinProvider::WorkAreaTop() {
  return Form->HandleAllocated() ? WorkAreaOf(Form->Handle()).Top : 0;
}

void TsSkinProvider::UpdateGluedForms() {
  if (!glued_forms_ || glued_forms_->Count() == 0 || !Form->HandleAllocated()) return;
  const vcl::TRect own = AdjustForBorderForm(WindowRectOf(Form), true);
  for (int n = 0; n < glued_forms_->Count(); ++n) {
    const vcl::String name = glued_forms_->Strings(n);
    ForEachCandidate(Form, [&](vcl::TCustomForm* other) {
      if (other->Name() != name) return;
      const vcl::TRect r = OuterRect(other);
      const bool touching = r.Top == own.Bottom || r.Left == own.Right || own.Top == r.Bottom || own.Left == r.Right;
      TqvGluedRecord* record = FindRecord(Form, other);
      if (!touching) {
        // A form pulled away on its own no longer follows.
        if (record) {
          *record = GluedList().back();
          GluedList().pop_back();
        }
        return;
      }
      if (!record) {
        GluedList().push_back({Form, other, 0, 0});
        record = &GluedList().back();
      }
      record->OffsetX = other->Left() - Form->Left();
      record->OffsetY = other->Top() - Form->Top();
    });
  }
}

void TsSkinProvider::MoveGluedForms(bool WithBorderForm) {
  if ((ExtFlags & kExtGlued) || !glued_forms_ || glued_forms_->Count() == 0) return;
  vcl::TPoint origin(Form->Left(), Form->Top());
  if (WithBorderForm && ExtBorderForm() && ExtBorderForm()->BorderWindow()) {
    // Where the border window stands, the form stands by its offsets.
    RECT border{};
    GetWindowRect(ExtBorderForm()->BorderWindow(), &border);
    origin = vcl::TPoint(border.left + ExtBorderForm()->ShadowOffsetX(), border.top + ExtBorderForm()->ShadowOffsetY());
  }
  // A copy: a moved form's own handlers may change the list.
  const std::vector<TqvGluedRecord> records = GluedList();
  for (int n = 0; n < glued_forms_->Count(); ++n) {
    const vcl::String name = glued_forms_->Strings(n);
    for (const TqvGluedRecord& r : records) {
      if (r.Master != Form || !r.Glued || r.Glued->Name() != name || !IsFormRegistered(r.Glued)) continue;
      vcl::TCustomForm* glued = r.Glued;
      const HWND wnd = glued->HandleAllocated() ? glued->Handle() : nullptr;
      if (wnd) SendMessageW(wnd, kSkinCmdMessage, SkinCommandWParam(scmSetGlued), 1);
      glued->SetBounds(origin.X + r.OffsetX, origin.Y + r.OffsetY, glued->Width(), glued->Height());
      if (wnd) SendMessageW(wnd, kSkinCmdMessage, SkinCommandWParam(scmSetGlued), 0);
    }
  }
}

void TsSkinProvider::SnapToForms(int& X, int& Y) {
  if ((ExtFlags & kExtGlued) || !Form->HandleAllocated()) return;
  // A form moved on its own stops following its master.
  RemoveFromGluedList(Form);
  const HWND wnd = Form->Handle();
  const vcl::TRect work = WorkAreaOf(wnd);
  const vcl::TRect own = WindowRectOf(Form);
  const int w = own.Width(), h = own.Height();
  const int buffer = snap_buffer_;
  int dx = 0, dy = 0;
  bool foundX = false, foundY = false;
  auto apply = [&](const vcl::TRect& t, bool axisX, bool axisY) {
    int cx = SnapCorrection(X, t.Left, buffer);
    int cy = SnapCorrection(Y, t.Top, buffer);
    if (cx == 0) cx = SnapCorrection(X + w, t.Right, buffer);
    if (cy == 0) cy = SnapCorrection(Y + h, t.Bottom, buffer);
    if (axisX && !foundX && cx != 0) {
      dx = cx;
      foundX = true;
    }
    if (axisY && !foundY && cy != 0) {
      dy = cy;
      foundY = true;
    }
  };
  ForEachCandidate(Form, [&](vcl::TCustomForm* other) {
    if ((foundX && foundY) || FindRecord(Form, other)) return;
    const vcl::TRect o = OuterRect(other);
    const bool vertical = Y < o.Bottom && Y + h > o.Top;
    const bool horizontal = X < o.Right && X + w > o.Left;
    if (vertical) {
      apply(AdjustForBorderForm(vcl::Rect(work.Left, o.Top, o.Left, o.Bottom), false), true, true);
      apply(AdjustForBorderForm(vcl::Rect(o.Right, o.Top, work.Right, o.Bottom), false), true, true);
    }
    if (horizontal) {
      apply(AdjustForBorderForm(vcl::Rect(o.Left, work.Top, o.Right, o.Top), false), true, true);
      apply(AdjustForBorderForm(vcl::Rect(o.Left, o.Bottom, o.Right, work.Bottom), false), true, true);
    }
  });
  if (!foundX || !foundY) apply(AdjustForBorderForm(work, true), !foundX, !foundY);
  X -= dx;
  Y -= dy;
}

}  // namespace skin_layered
