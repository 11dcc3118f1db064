// A skinned form's glued forms and snapping (see FormGlue.h).
#include "skin_layered/forms/FormGlue.h"

#include <algorithm>

#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/GluedForms.h"

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

TqvGluedRecord* FindRecord(const vcl::TCustomForm* Master, const vcl::TCustomForm* Glued) {
  for (TqvGluedRecord& r : GluedList())
    if (r.Master == Master && r.Glued == Glued) return &r;
  return nullptr;
}

// How far V lies from the edge E when within Buffer of it; 0 otherwise.
int SnapCorrection(int V, int E, int Buffer) { return V >= E - Buffer && V <= E + Buffer ? V - E : 0; }

}  // namespace

TqvFormGlue::TqvFormGlue(TsSkinProviderBase& Provider, TGlueOf GlueOf)
    : provider_(Provider), glue_of_(GlueOf), names_(std::make_unique<vcl::TStringList>()) {}

vcl::TRect TqvFormGlue::OuterRect(vcl::TCustomForm* Other) const {
  const vcl::TRect r = WindowRectOf(Other);
  const TqvFormGlue* glue = glue_of_ ? glue_of_(Other) : nullptr;
  return glue ? glue->AdjustForBorderForm(r, true) : r;
}

vcl::TRect TqvFormGlue::AdjustForBorderForm(vcl::TRect R, bool Grow) const {
  const auto* border = dynamic_cast<const TqvBorderForm*>(provider_.BorderForm);
  if (!border) return R;
  const vcl::TRect ext = provider_.WindowImage().ShadowSize();
  const int x = BorderFormOffsetX(border), y = BorderFormOffsetY(border);
  const int sign = Grow ? 1 : -1;
  R.Left -= sign * (x + ext.Left);
  R.Top -= sign * (y + ext.Top);
  R.Right += sign * (x + ext.Right);
  R.Bottom += sign * (x + ext.Bottom);
  return R;
}

int TqvFormGlue::WorkAreaTop() const {
  vcl::TCustomForm* form = provider_.Form;
  return form->HandleAllocated() ? WorkAreaOf(form->Handle()).Top : 0;
}

void TqvFormGlue::Update() {
  vcl::TCustomForm* form = provider_.Form;
  if (names_->Count() == 0 || !form->HandleAllocated()) return;
  const vcl::TRect own = AdjustForBorderForm(WindowRectOf(form), true);
  for (int n = 0; n < names_->Count(); ++n) {
    const vcl::String name = names_->Strings(n);
    ForEachCandidate(form, [&](vcl::TCustomForm* other) {
      if (other->Name() != name) return;
      const vcl::TRect r = OuterRect(other);
      const bool touching = r.Top == own.Bottom || r.Left == own.Right || own.Top == r.Bottom || own.Left == r.Right;
      TqvGluedRecord* record = FindRecord(form, other);
      if (!touching) {
        // A form pulled away on its own no longer follows.
        if (record) {
          *record = GluedList().back();
          GluedList().pop_back();
        }
        return;
      }
      if (!record) {
        GluedList().push_back({form, other, 0, 0});
        record = &GluedList().back();
      }
      record->OffsetX = other->Left() - form->Left();
      record->OffsetY = other->Top() - form->Top();
    });
  }
}

void TqvFormGlue::MoveAlong(bool WithBorderForm) {
  vcl::TCustomForm* form = provider_.Form;
  if (names_->Count() == 0) return;
  vcl::TPoint origin(form->Left(), form->Top());
  const auto* borderForm = dynamic_cast<const TqvBorderForm*>(provider_.BorderForm);
  if (WithBorderForm && borderForm && borderForm->BorderWindow()) {
    // Where the border window stands, the form stands by its offsets.
    RECT border{};
    GetWindowRect(borderForm->BorderWindow(), &border);
    origin = vcl::TPoint(border.left + borderForm->ShadowOffsetX(), border.top + borderForm->ShadowOffsetY());
  }
  // A copy: a moved form's own handlers may change the list.
  const std::vector<TqvGluedRecord> records = GluedList();
  for (int n = 0; n < names_->Count(); ++n) {
    const vcl::String name = names_->Strings(n);
    for (const TqvGluedRecord& r : records) {
      if (r.Master != form || !r.Glued || r.Glued->Name() != name || !IsFormRegistered(r.Glued)) continue;
      vcl::TCustomForm* glued = r.Glued;
      const HWND wnd = glued->HandleAllocated() ? glued->Handle() : nullptr;
      if (wnd) SendMessageW(wnd, kSkinCmdMessage, SkinCommandWParam(scmSetGlued), 1);
      glued->SetBounds(origin.X + r.OffsetX, origin.Y + r.OffsetY, glued->Width(), glued->Height());
      if (wnd) SendMessageW(wnd, kSkinCmdMessage, SkinCommandWParam(scmSetGlued), 0);
    }
  }
}

void TqvFormGlue::Snap(int& X, int& Y) {
  vcl::TCustomForm* form = provider_.Form;
  if (!form->HandleAllocated()) return;
  // A form moved on its own stops following its master.
  RemoveFromGluedList(form);
  const HWND wnd = form->Handle();
  const vcl::TRect work = WorkAreaOf(wnd);
  const vcl::TRect own = WindowRectOf(form);
  const int w = own.Width(), h = own.Height();
  const int buffer = SnapBuffer;
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
  ForEachCandidate(form, [&](vcl::TCustomForm* other) {
    if ((foundX && foundY) || FindRecord(form, other)) return;
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
