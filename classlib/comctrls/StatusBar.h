// Status bars: a superclass of the system's msctls_statusbar32 whose window class is the
// library's class name ("TStatusBar"). Its panels are a collection kept by the control and
// put into every window it gets: one part per panel, the last one reaching to the right end.
// Owner-drawn panels are painted by OnDrawPanel on the control's canvas.
#pragma once

#include <memory>

#include "classlib/rtl/Collection.h"
#include "classlib/controls/Controls.h"

namespace vcl {

class TStatusBar;

VCL_ENUM(TStatusPanelStyle, psText, psOwnerDraw)
using enum TStatusPanelStyle;

VCL_ENUM(TStatusPanelBevel, pbNone, pbLowered, pbRaised)
using enum TStatusPanelBevel;

class TStatusPanel : public TCollectionItem {
  VCL_CLASS(TStatusPanel, TCollectionItem)
 public:
  explicit TStatusPanel(TCollection* Collection);

  const String& Text() const { return text_; }
  void SetText(const String& Value);
  int Width() const { return width_; }
  void SetWidth(int Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel Value);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle Value);
  // Right-to-left reading; its alignment is then mirrored.
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode Value);
  bool UseRightToLeftReading() const { return bidi_mode_ != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return bidi_mode_ == bdRightToLeft; }

  TStatusBar* StatusBar() const;
  void Assign(TPersistent* Source) override;
  String DisplayName() const override;

 private:
  String text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TStatusPanelStyle style_ = psText;
  TBiDiMode bidi_mode_ = bdLeftToRight;
};

class TStatusPanels : public TCollection {
  VCL_CLASS(TStatusPanels, TCollection)
 public:
  explicit TStatusPanels(TStatusBar* AOwner);

  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(int Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }
  TStatusPanel* operator[](int Index) const { return Items(Index); }
  TStatusBar* Owner() const { return owner_; }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TStatusBar* owner_;
};

using TDrawPanelEvent = Event<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TWinControl {
  VCL_CLASS(TStatusBar, TWinControl)
 public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;

  TStatusPanels* Panels() const { return panels_.get(); }
  void SetPanels(TStatusPanels* Value) { panels_->Assign(Value); }
  // One panel over the whole bar showing SimpleText instead of the panels.
  bool SimplePanel() const { return simple_panel_; }
  void SetSimplePanel(bool Value);
  // Shown in simple mode, and in the one part of a bar without panels.
  const String& SimpleText() const { return simple_text_; }
  void SetSimpleText(const String& Value);
  bool SizeGrip() const { return size_grip_; }
  void SetSizeGrip(bool Value);
  // A frame of this width around the panels, outside the client area.
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int Value);

  // The canvas OnDrawPanel paints on (the system's paint DC while it runs).
  TCanvas* Canvas() const { return canvas_.get(); }

  void Dispatch(TMessage& Message) override;

  TDrawPanelEvent OnDrawPanel;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);

 private:
  friend class TStatusPanels;

  // The window's parts and texts again from the panels.
  void UpdatePanels();
  void UpdateSimpleText();
  void ApplyColor();
  void HandleDrawItem(TMessage& Message);
  void WMNcCalcSize(TMessage& Message);
  // The parts' edges from the panels' widths, the last part to LastEdge (-1: the bar's end).
  void SetParts(int LastEdge = -1);
  void WMSize(TMessage& Message);
  void CMColorChanged(TMessage& Message);

  std::unique_ptr<TStatusPanels> panels_;
  bool simple_panel_ = false;
  String simple_text_;
  bool size_grip_ = true;
  int border_width_ = 0;
  std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace vcl
