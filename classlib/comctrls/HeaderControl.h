// Header controls: a superclass of the system's SysHeader32 whose window class is the
// library's class name ("THeaderControl"). Its sections are a collection kept by the control
// and put into every window it gets; the user's dragging of a divider comes back as the
// section's new width.
#pragma once

#include <memory>

#include "classlib/rtl/Collection.h"
#include "classlib/controls/Controls.h"
#include "classlib/graphics/ImgList.h"

namespace vcl {

class THeaderControl;

VCL_ENUM(THeaderSectionStyle, hsText, hsOwnerDraw)
using enum THeaderSectionStyle;

// Sections that look like buttons, or flat ones.
VCL_ENUM(THeaderStyle, hsButtons, hsFlat)
using enum THeaderStyle;

enum class TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };
using enum TSectionTrackState;

class THeaderSection : public TCollectionItem {
  VCL_CLASS(THeaderSection, TCollectionItem)
 public:
  explicit THeaderSection(TCollection* Collection);

  const String& Text() const { return text_; }
  void SetText(const String& Value);
  // Kept between MinWidth and MaxWidth, also when the user drags the divider.
  int Width() const { return width_; }
  void SetWidth(int Value);
  int MinWidth() const { return min_width_; }
  void SetMinWidth(int Value);
  int MaxWidth() const { return max_width_; }
  void SetMaxWidth(int Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int Value);
  THeaderSectionStyle Style() const { return style_; }
  void SetStyle(THeaderSectionStyle Value);
  // Clicks on the section reach OnSectionClick.
  bool AllowClick() const { return allow_click_; }
  void SetAllowClick(bool Value) { allow_click_ = Value; }
  // The section's horizontal extent in the control.
  int Left() const;
  int Right() const { return Left() + width_; }

  THeaderControl* HeaderControl() const;
  void Assign(TPersistent* Source) override;
  String DisplayName() const override;

 private:
  friend class THeaderControl;

  String text_;
  int width_ = 50;
  int min_width_ = 0;
  int max_width_ = 10000;
  TAlignment alignment_ = taLeftJustify;
  int image_index_ = -1;
  THeaderSectionStyle style_ = hsText;
  bool allow_click_ = true;
};

class THeaderSections : public TCollection {
  VCL_CLASS(THeaderSections, TCollection)
 public:
  explicit THeaderSections(THeaderControl* AOwner);

  THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }
  THeaderSection* Items(int Index) const { return static_cast<THeaderSection*>(TCollection::Items(Index)); }
  THeaderSection* operator[](int Index) const { return Items(Index); }
  THeaderControl* Owner() const { return owner_; }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  THeaderControl* owner_;
};

using TSectionNotifyEvent = Event<void(THeaderControl* HeaderControl, THeaderSection* Section)>;
using TSectionTrackEvent =
    Event<void(THeaderControl* HeaderControl, THeaderSection* Section, int Width, TSectionTrackState State)>;
using TDrawSectionEvent =
    Event<void(THeaderControl* HeaderControl, THeaderSection* Section, const TRect& Rect, bool Pressed)>;

class THeaderControl : public TWinControl {
  VCL_CLASS(THeaderControl, TWinControl)
 public:
  explicit THeaderControl(TComponent* AOwner);
  ~THeaderControl() override;

  THeaderSections* Sections() const { return sections_.get(); }
  void SetSections(THeaderSections* Value) { sections_->Assign(Value); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* Value);
  // The section under the mouse is highlighted.
  bool HotTrack() const { return hot_track_; }
  void SetHotTrack(bool Value);
  THeaderStyle Style() const { return style_; }
  void SetStyle(THeaderStyle Value);
  // The sections' widths follow a dragged divider at once, not only when it is let go.
  bool FullDrag() const { return full_drag_; }
  void SetFullDrag(bool Value);

  // The canvas OnDrawSection paints on (the system's paint DC while it runs).
  TCanvas* Canvas() const { return canvas_.get(); }

  void Dispatch(TMessage& Message) override;

  TSectionNotifyEvent OnSectionClick;
  // After a section's width changed by the user's drag.
  TSectionNotifyEvent OnSectionResize;
  TSectionTrackEvent OnSectionTrack;
  TDrawSectionEvent OnDrawSection;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void DrawSection(THeaderSection* Section, const TRect& Rect, bool Pressed);

 private:
  friend class THeaderSection;
  friend class THeaderSections;

  THeaderSection* SectionAt(int Index) const;
  void WindowSetSection(int Index, bool Insert);
  void PutSectionsInWindow();
  void HandleNotify(TMessage& Message);
  void HandleDrawItem(TMessage& Message);
  void TrackNotify(const NMHEADERW& Info, TSectionTrackState State);
  void WidthChanged(int Index, int Width);

  std::unique_ptr<THeaderSections> sections_;
  TCustomImageList* images_ = nullptr;
  bool hot_track_ = false;
  THeaderStyle style_ = hsButtons;
  bool full_drag_ = true;
  // A width put back into the window is not the user's change.
  int quiet_ = 0;
  std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace vcl
