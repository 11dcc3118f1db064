// Small components with one published property of every kind, shared by the property
// registry, collection and form streaming tests.
#pragma once

#include <cstdint>
#include <vector>

#include "classlib/rtl/Collection.h"
#include "classlib/rtl/Component.h"
#include "classlib/streaming/Filer.h"
#include "classlib/rtl/StringList.h"
#include "classlib/rtl/TypInfo.h"
#include "support/message_of.h"

namespace vcl::test {

enum class TTestFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TTestFontStyles = Set<TTestFontStyle>;
const TEnumTypeInfo& TestFontStyleInfo();
enum class TTestAlign { taLeftJustify, taRightJustify, taCenter };
const TEnumTypeInfo& TestAlignInfo();
// An integer type named TColor with the identifiers clBlack, clRed and clWindow.
const TIntegerTypeInfo& TestColorInfo();
inline constexpr int64_t kClWindow = -16777211;  // 0xFF000005 as a signed 32-bit value

class TTestFont : public TPersistent {
  VCL_CLASS(TTestFont, TPersistent)
 public:
  TTestFont() = default;
  void Assign(TPersistent* Source) override;

  String name = L"Tahoma";
  int size = 8;
  TTestFontStyles style;
  int color = 0;
};

// Binary data stored as the library's components store theirs: a 32-bit length, then the bytes.
void ReadLengthPrefixed(TStream* Stream, std::vector<uint8_t>& Bytes);
void WriteLengthPrefixed(TStream* Stream, const std::vector<uint8_t>& Bytes);

class TTestItem : public TCollectionItem {
  VCL_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;
  void Touch() { Changed(false); }

  String caption;
  int width = 50;
  TComponent* target = nullptr;
  std::vector<uint8_t> data;
};

class TTestItems : public TOwnedCollection {
  VCL_CLASS(TTestItems, TOwnedCollection)
 public:
  explicit TTestItems(TPersistent* AOwner) : TOwnedCollection(AOwner, TCollectionItemClass::Of<TTestItem>()) {}
  TTestItem* Item(int i) const { return static_cast<TTestItem*>(Items(i)); }

  std::vector<TCollectionItem*> updates;  // nullptr: the whole list changed
  std::vector<TCollectionNotification> notes;

 protected:
  void Update(TCollectionItem* Item) override { updates.push_back(Item); }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    (void)Item;
    notes.push_back(Action);
  }
};

// A component without a parent (a menu, a timer).
class TTestMenu : public TComponent {
  VCL_CLASS(TTestMenu, TComponent)
 public:
  using TComponent::TComponent;
};

// What every Loaded call saw, in call order.
struct LoadedRecord {
  String name;
  bool loading;
  bool reading;
};
std::vector<LoadedRecord>& LoadedLog();

// Stands in for a control: parented by the enclosing object of a description.
class TTestControl : public TComponent {
  VCL_CLASS(TTestControl, TComponent)
 public:
  explicit TTestControl(TComponent* AOwner);
  ~TTestControl() override;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& v);
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  TTestFont* Font() const { return font_.get(); }
  void SetFont(TTestFont* v) { font_->Assign(v); }
  TStringList* Lines() const { return lines_.get(); }
  void SetLines(TStringList* v) { lines_->Assign(v); }
  TTestItems* ItemList() const { return items_.get(); }
  void SetItemList(TTestItems* v) { items_->Assign(v); }
  TTestMenu* PopupMenu() const { return popup_; }
  void SetPopupMenu(TTestMenu* v);
  int ChildCount() const { return static_cast<int>(children_.size()); }
  TTestControl* Child(int i) const { return children_[static_cast<size_t>(i)]; }
  int ReadOnlyValue() const { return 7; }

  int left = 0;
  bool visible = true;
  TTestAlign alignment = TTestAlign::taLeftJustify;
  int64_t color = kClWindow;
  double ratio = 0;
  int64_t big = 0;
  std::vector<uint8_t> skin;    // "SkinStream", a binary property
  std::vector<int64_t> extra;   // "Extra", a defined list of integers
  bool caption_set_while_reading = false;
  TNotifyEvent OnClick;
  Event<void(TObject*, int)> OnResize;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  String caption_;
  int width_ = 10;
  std::unique_ptr<TTestFont> font_ = std::make_unique<TTestFont>();
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
  std::unique_ptr<TTestItems> items_;
  TTestMenu* popup_ = nullptr;
  TTestControl* parent_ = nullptr;
  std::vector<TTestControl*> children_;
};

// The root of the descriptions (a form): its published methods are the event handlers.
class TTestForm : public TTestControl {
  VCL_CLASS(TTestForm, TTestControl)
 public:
  using TTestControl::TTestControl;
  bool HasParent() const override { return false; }

  void btn2Click(TObject* Sender) {
    ++clicks;
    last_sender = Sender;
  }
  void FormResize(TObject*, int) {}
  int clicks = 0;
  TObject* last_sender = nullptr;
};

// Fails in Loaded, after the whole form has been read.
class TTestFailingLoad : public TTestControl {
  VCL_CLASS(TTestFailingLoad, TTestControl)
 public:
  using TTestControl::TTestControl;
  void Loaded() override;
};

// Makes the classes known by name to the reader.
void RegisterTestClasses();

}  // namespace vcl::test
