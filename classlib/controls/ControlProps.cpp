// Published properties of controls, declared once here so that every class publishing one of
// them declares it with the same name, type and default.
#include "classlib/controls/Controls.h"

namespace vcl::publish {

namespace {

// Colour, font, hint and text flags are stored only where they are the control's own.
bool ColorStored(const TObject* o) { return !static_cast<const TControl*>(o)->ParentColor(); }
bool FontStored(const TObject* o) { return !static_cast<const TControl*>(o)->ParentFont(); }
bool ShowHintStored(const TObject* o) { return !static_cast<const TControl*>(o)->ParentShowHint(); }
bool BiDiModeStored(const TObject* o) { return !static_cast<const TControl*>(o)->ParentBiDiMode(); }

}  // namespace

void Align(TPropertyList& p) { p.Enum<&TControl::Align, &TControl::SetAlign>(L"Align", 0); }

void Anchors(TPropertyList& p) {
  p.Set<&TControl::Anchors, &TControl::SetAnchors>(L"Anchors", TAnchors{akLeft, akTop}.ToInt());
}

void Constraints(TPropertyList& p) {
  p.Object<&TControl::Constraints, &TControl::SetConstraints>(L"Constraints", TSizeConstraints::StaticClass());
}

void Bounds(TPropertyList& p) {
  p.Integer<&TControl::Left, &TControl::SetLeft>(L"Left");
  p.Integer<&TControl::Top, &TControl::SetTop>(L"Top");
  p.Integer<&TControl::Width, &TControl::SetWidth>(L"Width");
  p.Integer<&TControl::Height, &TControl::SetHeight>(L"Height");
}

void Caption(TPropertyList& p) { p.String<&TControl::Caption, &TControl::SetCaption>(L"Caption"); }

void Text(TPropertyList& p) { p.String<&TControl::Text, &TControl::SetText>(L"Text"); }

void Color(TPropertyList& p, std::optional<int64_t> Default) {
  TPropInfo& info = p.Integer<&TControl::Color, &TControl::SetColor>(L"Color", Default, &ColorTypeInfo());
  info.Stored = &ColorStored;
}

void Font(TPropertyList& p) {
  TPropInfo& font = p.Object<&TControl::Font, &TControl::SetFont>(L"Font", TFont::StaticClass());
  font.Stored = &FontStored;
  p.Bool<&TControl::ParentFont, &TControl::SetParentFont>(L"ParentFont", true);
}

void ParentColor(TPropertyList& p, bool Default) {
  p.Bool<&TControl::ParentColor, &TControl::SetParentColor>(L"ParentColor", Default);
}

void Visible(TPropertyList& p) { p.Bool<&TControl::Visible, &TControl::SetVisible>(L"Visible", true); }

void Enabled(TPropertyList& p) { p.Bool<&TControl::Enabled, &TControl::SetEnabled>(L"Enabled", true); }

void Hints(TPropertyList& p) {
  p.String<&TControl::Hint, &TControl::SetHint>(L"Hint");
  TPropInfo& show = p.Bool<&TControl::ShowHint, &TControl::SetShowHint>(L"ShowHint");
  show.Stored = &ShowHintStored;
  p.Bool<&TControl::ParentShowHint, &TControl::SetParentShowHint>(L"ParentShowHint", true);
}

void PopupMenu(TPropertyList& p) {
  p.Object<&TControl::PopupMenu, &TControl::SetPopupMenu>(L"PopupMenu", TComponent::StaticClass());
}

void Cursor(TPropertyList& p) {
  p.Integer<&TControl::Cursor, &TControl::SetCursor>(L"Cursor", crDefault, &CursorTypeInfo());
}

void BiDiMode(TPropertyList& p) {
  TPropInfo& mode = p.Enum<&TControl::BiDiMode, &TControl::SetBiDiMode>(L"BiDiMode", 0);
  mode.Stored = &BiDiModeStored;
  p.Bool<&TControl::ParentBiDiMode, &TControl::SetParentBiDiMode>(L"ParentBiDiMode", true);
}

void Bevels(TPropertyList& p) {
  p.Set<&TWinControl::BevelEdges, &TWinControl::SetBevelEdges>(
      L"BevelEdges", TBevelEdges{beLeft, beTop, beRight, beBottom}.ToInt());
  p.Enum<&TWinControl::BevelInner, &TWinControl::SetBevelInner>(L"BevelInner", static_cast<int64_t>(bvRaised));
  p.Enum<&TWinControl::BevelKind, &TWinControl::SetBevelKind>(L"BevelKind", static_cast<int64_t>(bkNone));
  p.Enum<&TWinControl::BevelOuter, &TWinControl::SetBevelOuter>(L"BevelOuter", static_cast<int64_t>(bvLowered));
}

void BevelWidth(TPropertyList& p) {
  p.Integer<&TWinControl::BevelWidth, &TWinControl::SetBevelWidth>(L"BevelWidth", 1);
}

void BorderWidth(TPropertyList& p) {
  p.Integer<&TWinControl::BorderWidth, &TWinControl::SetBorderWidth>(L"BorderWidth", 0);
}

void TabStop(TPropertyList& p, bool Default) {
  p.Bool<&TWinControl::TabStop, &TWinControl::SetTabStop>(L"TabStop", Default);
}

void TabOrder(TPropertyList& p) {
  p.Integer<&TWinControl::TabOrder, &TWinControl::SetTabOrder>(L"TabOrder", -1);
}

void MouseEvents(TPropertyList& p) {
  p.Event<&TControl::OnClick>(L"OnClick");
  p.Event<&TControl::OnDblClick>(L"OnDblClick");
  p.Event<&TControl::OnMouseDown>(L"OnMouseDown");
  p.Event<&TControl::OnMouseEnter>(L"OnMouseEnter");
  p.Event<&TControl::OnMouseLeave>(L"OnMouseLeave");
  p.Event<&TControl::OnMouseMove>(L"OnMouseMove");
  p.Event<&TControl::OnMouseUp>(L"OnMouseUp");
}

void KeyEvents(TPropertyList& p) {
  p.Event<&TWinControl::OnEnter>(L"OnEnter");
  p.Event<&TWinControl::OnExit>(L"OnExit");
  p.Event<&TWinControl::OnKeyDown>(L"OnKeyDown");
  p.Event<&TWinControl::OnKeyPress>(L"OnKeyPress");
  p.Event<&TWinControl::OnKeyUp>(L"OnKeyUp");
}

void OnResize(TPropertyList& p) { p.Event<&TControl::OnResize>(L"OnResize"); }

void OnContextPopup(TPropertyList& p) { p.Event<&TControl::OnContextPopup>(L"OnContextPopup"); }

}  // namespace vcl::publish
