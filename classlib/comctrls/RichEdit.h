// Rich edits: a memo on the system's rich edit class (RichEdit20W) whose window class is the
// library's class name ("TRichEdit"). Its text takes the control's font and colours; its
// lines are read and changed in the window's own character positions (a rich edit keeps one
// character per line break).
#pragma once

#include <memory>

#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

class TCustomRichEdit : public TCustomMemo {
  VCL_CLASS(TCustomRichEdit, TCustomMemo)
 public:
  explicit TCustomRichEdit(TComponent* AOwner);
  ~TCustomRichEdit() override;

  // The text's lines (the window is made when the control has a parent).
  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* Value) { lines_->Assign(Value); }
  // Characters the user may type; 0: as many as memory allows.
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int Value);

  void Dispatch(TMessage& Message) override;

  // The selection moved (or the text under it changed).
  TNotifyEvent OnSelectionChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void SelectionChange();

 private:
  class TRichEditStrings;

  void ApplyColor();
  void ApplyFont();
  void ApplyMaxLength();
  void CNNotify(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

  std::unique_ptr<TStrings> lines_;
  int max_length_ = 0;
};

class TRichEdit : public TCustomRichEdit {
  VCL_CLASS(TRichEdit, TCustomRichEdit)
 public:
  using TCustomRichEdit::TCustomRichEdit;
};

}  // namespace vcl
