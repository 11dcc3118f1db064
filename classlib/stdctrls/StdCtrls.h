// Standard controls: labels (painted by their parent), push buttons, check boxes and radio
// buttons (superclasses of BUTTON), edits and memos (EDIT), combo boxes (COMBOBOX) and group
// boxes (painted by the library). Every windowed one lives in a window whose class name is
// the library's class name ("TEdit", "TMemo", "TButton", ...), so that skin engines find it.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/StringList.h"

namespace vcl {

// ---------------------------------------------------------------------------------------
// Enumerations

VCL_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
using enum TTextLayout;

// The two alignments of a check box's or radio button's caption (taLeftJustify puts the text
// left of the mark).
const TEnumTypeInfo& LeftRightTypeInfo();

VCL_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
using enum TCheckBoxState;

VCL_ENUM(TEditCharCase, ecNormal, ecUpperCase, ecLowerCase)
using enum TEditCharCase;

VCL_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
using enum TScrollStyle;

// The owner-drawn styles are drop-down lists whose items (and the chosen item shown in the
// field) are painted by DrawItem (OnDrawItem), all ItemHeight high or each measured by
// MeasureItem (OnMeasureItem).
VCL_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
using enum TComboBoxStyle;

// Owner-drawn items of list and combo boxes: Rect in the control's client coordinates, the
// control's Canvas ready on the device context to draw on.
using TDrawItemEvent = Event<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = Event<void(TWinControl* Control, int Index, int& Height)>;

// ---------------------------------------------------------------------------------------
// Labels: text painted by the parent, sized to the text while AutoSize is on.

class TCustomLabel : public TGraphicControl {
  VCL_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool Value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool Value);
  // A transparent label leaves its background to the parent.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  // "&" marks the next character as an accelerator (drawn underlined) unless this is off.
  bool ShowAccelChar() const { return show_accel_char_; }
  void SetShowAccelChar(bool Value);

  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void Loaded() override;
  // Draws the caption into Rect, or measures it into Rect when Flags has DT_CALCRECT.
  void DoDrawText(TCanvas* Canvas, TRect& Rect, UINT Flags);
  // Resizes the label to its text (AutoSize), keeping the edge its alignment holds.
  void AdjustBounds();

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool auto_size_ = true;
  bool word_wrap_ = false;
  bool transparent_ = false;
  bool show_accel_char_ = true;
};

class TLabel : public TCustomLabel {
  VCL_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

// ---------------------------------------------------------------------------------------
// Buttons on the system BUTTON class

class TButtonControl : public TWinControl {
  VCL_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* AOwner);

  virtual bool Checked() const { return false; }
  virtual void SetChecked(bool Value) { (void)Value; }

 protected:
  // While set, changing the check state in code fires no click.
  bool ClicksDisabled() const { return clicks_disabled_; }
  void SetClicksDisabled(bool Value) { clicks_disabled_ = Value; }
  void CreateParams(TCreateParams& Params) override;

 private:
  bool clicks_disabled_ = false;
};

class TButton : public TButtonControl {
  VCL_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* AOwner);

  // The default button answers Enter (and is drawn so) unless another button has the focus;
  // the cancel button answers Escape.
  bool Default() const { return default_; }
  void SetDefault(bool Value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool Value) { cancel_ = Value; }
  // Given to the parent form when the button is clicked (ends a modal form).
  TModalResult ModalResult() const { return modal_result_; }
  void SetModalResult(TModalResult Value) { modal_result_ = Value; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // Shows the button as the one that answers Enter (or not).
  virtual void SetButtonStyle(bool ADefault);

 private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  TModalResult modal_result_ = mrNone;
};

class TCustomCheckBox : public TButtonControl {
  VCL_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* AOwner);

  // taRightJustify (the default) puts the text right of the mark.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool Value) { allow_grayed_ = Value; }
  // Changing the state, by the user or in code, fires OnClick.
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState Value);
  bool Checked() const override { return state_ == cbChecked; }
  void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }

  void Dispatch(TMessage& Message) override;

 protected:
  // A click: unchecked -> checked (grayed when allowed) -> unchecked; grayed -> checked.
  virtual void Toggle();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  TAlignment alignment_ = taRightJustify;
  TCheckBoxState state_ = cbUnchecked;
  bool allow_grayed_ = false;
};

class TCheckBox : public TCustomCheckBox {
  VCL_CLASS(TCheckBox, TCustomCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TRadioButton : public TButtonControl {
  VCL_CLASS(TRadioButton, TButtonControl)
 public:
  explicit TRadioButton(TComponent* AOwner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  // Checking a radio button unchecks the radio buttons beside it and fires OnClick;
  // unchecking fires nothing.
  bool Checked() const override { return checked_; }
  void SetChecked(bool Value) override;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  TAlignment alignment_ = taRightJustify;
  bool checked_ = false;
};

// ---------------------------------------------------------------------------------------
// Edits and memos on the system EDIT class

class TCustomEdit : public TWinControl {
  VCL_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* AOwner);

  // Entering a single-line edit with the keyboard selects its text.
  bool AutoSelect() const { return auto_select_; }
  void SetAutoSelect(bool Value) { auto_select_ = Value; }
  // The height follows the font (single-line edits with a border).
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool Value);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);
  TEditCharCase CharCase() const { return char_case_; }
  void SetCharCase(TEditCharCase Value);
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool Value);
  // Characters the user may type; 0: no limit.
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int Value);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool Value);
  // Shown instead of every character; L'\0': the text itself.
  wchar_t PasswordChar() const { return password_char_; }
  void SetPasswordChar(wchar_t Value);
  bool Modified() const;
  void SetModified(bool Value);

  // The selection (the window is made when needed).
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  String SelText();
  void SetSelText(const String& Value);

  void Clear();
  void ClearSelection();
  // Through the edit control's own clipboard commands (WM_COPY, WM_CUT, WM_PASTE).
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void SelectAll();
  void Undo();

  TNotifyEvent OnChange;

  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Change();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void DestroyWnd() override;
  void DoEnter() override;

 private:
  void UpdateHeight();
  void AdjustHeight();

  bool auto_select_ = true;
  bool auto_size_ = true;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  TEditCharCase char_case_ = ecNormal;
  bool hide_selection_ = true;
  int max_length_ = 0;
  bool read_only_ = false;
  wchar_t password_char_ = L'\0';
  bool modified_ = false;
  bool creating_ = false;
};

class TEdit : public TCustomEdit {
  VCL_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

class TCustomMemo : public TCustomEdit {
  VCL_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;

  // The text's lines (broken at CR LF, LF or CR), never the wrapped lines on screen. Adding
  // a line to text that does not end with a line break starts a new line first.
  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* Value) { lines_->Assign(Value); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);
  TScrollStyle ScrollBars() const { return scroll_bars_; }
  void SetScrollBars(TScrollStyle Value);
  bool WantReturns() const { return want_returns_; }
  void SetWantReturns(bool Value) { want_returns_ = Value; }
  bool WantTabs() const { return want_tabs_; }
  void SetWantTabs(bool Value) { want_tabs_ = Value; }
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool Value);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // Without WantReturns, Enter is left to the form (its default button).
  void KeyPress(wchar_t& Key) override;

 private:
  std::unique_ptr<TStrings> lines_;
  TAlignment alignment_ = taLeftJustify;
  TScrollStyle scroll_bars_ = ssNone;
  bool want_returns_ = true;
  bool want_tabs_ = false;
  bool word_wrap_ = true;
};

class TMemo : public TCustomMemo {
  VCL_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// ---------------------------------------------------------------------------------------
// Combo boxes on the system COMBOBOX class

class TItemStrings;

class TCustomComboBox : public TWinControl {
  VCL_CLASS(TCustomComboBox, TWinControl)
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;

  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle Value);
  // The items, kept by the control whether or not its window exists.
  TStrings* Items() const;
  // Draws on the control; lent a DC by whoever paints the items (owner-drawn styles, engines
  // painting the control in its place).
  TCanvas* Canvas() const { return canvas_.get(); }
  void SetItems(TStrings* Value);
  // -1: none. A drop-down combo box shows the chosen item's text in its edit field.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  // Items shown at once in the dropped list.
  int DropDownCount() const { return drop_down_count_; }
  void SetDropDownCount(int Value) { drop_down_count_ = Value; }
  // Kept in order (by the user's locale, without case).
  bool Sorted() const;
  void SetSorted(bool Value);
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int Value);
  TEditCharCase CharCase() const { return char_case_; }
  void SetCharCase(TEditCharCase Value);
  // The height of the list's items; for the owner-drawn styles also the field's.
  int ItemHeight() const { return item_height_; }
  void SetItemHeight(int Value);
  bool DroppedDown() const;
  void SetDroppedDown(bool Value);
  // Empties the items and the text.
  void Clear();

  // The system's edit field of a drop-down or simple combo box (nil for the list styles) and
  // its list window; both made with the window.
  HWND EditHandle();
  HWND ListHandle();

  TNotifyEvent OnChange;     // the text was edited, or (without OnSelect) an item chosen
  TNotifyEvent OnSelect;     // the user chose an item
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TDrawItemEvent OnDrawItem;
  TMeasureItemEvent OnMeasureItem;

  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Change();
  virtual void Select();
  virtual void DropDown();
  virtual void CloseUp();
  // Paints one item with OnDrawItem, or as its text.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  // csOwnerDrawVariable: the height of one item, ItemHeight unless OnMeasureItem changes it.
  virtual void MeasureItem(int Index, int& Height);
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;

 private:
  void AdjustDropDown();
  bool IsOwnerDraw() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
  bool HasEditField() const { return style_ == csDropDown || style_ == csSimple; }
  void CNCommand(TMessage& Message);
  void CNDrawItem(TMessage& Message);
  void CNMeasureItem(TMessage& Message);

  std::unique_ptr<TItemStrings> items_;
  std::unique_ptr<TControlCanvas> canvas_;
  TComboBoxStyle style_ = csDropDown;
  int item_index_ = -1;  // while there is no window, and while loading
  int drop_down_count_ = 8;
  int max_length_ = 0;
  TEditCharCase char_case_ = ecNormal;
  int item_height_ = 16;
};

class TComboBox : public TCustomComboBox {
  VCL_CLASS(TComboBox, TCustomComboBox)
 public:
  using TCustomComboBox::TCustomComboBox;
};

// ---------------------------------------------------------------------------------------
// Group boxes: a frame with the caption in its top edge, painted by the library.

class TCustomGroupBox : public TCustomControl {
  VCL_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* AOwner);

  void Dispatch(TMessage& Message) override;

 protected:
  void AdjustClientRect(TRect& Rect) const override;
  void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
  VCL_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// The unit's start-up makes its classes known to form descriptions (registered in its source
// file, which every program linking the library links).
namespace detail {
void InitStdCtrlsUnit();
}  // namespace detail

}  // namespace vcl
