// Form streaming: forms and their components are built from form descriptions, the
// Pascal-style text kept readable in resources/ and compiled into the executable as RCDATA
// named after the form class ("TFRMMAIN"):
//
//   object frmmain: Tfrmmain
//     Caption = 'Scrivane '#22825#29483      <- quoted runs and #nnnnn UTF-16 codes
//     Font.Style = [fsBold]                   <- nested persistent, set
//     PopupMenu = pm1                         <- component reference, fixed up at the end
//     OnClick = btn2Click                     <- published method of the root class
//     object lv1: TListView                   <- owned by the root, parented by the enclosing object
//       Items.Strings = ( 'a' 'b' )           <- string list
//       SkinStream = { 00000000 }             <- binary property (DefineBinaryProperty)
//       Columns = < item Width = 40 end >     <- collection items
//     end
//   end
//
// The text is UTF-8. Values: identifiers, integers (-12, $FF00FF), floats (1.5, "." always),
// strings joined with "+" across lines, sets, lists, binary data and collections.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/rtl/Component.h"

namespace vcl {

class TStream;
class TReader;
class TWriter;
class TCollection;

namespace filer {
struct Value;
struct Property;
struct ObjectNode;
}  // namespace filer

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// What TPersistent::DefineProperties talks to: the reader or the writer at hand.
class TFiler : public TObject {
  VCL_CLASS(TFiler, TObject)

 public:
  // A stored property that is not published; ReadData reads its value through the reader,
  // WriteData writes it when HasData.
  virtual void DefineProperty(StringView Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                              bool HasData) = 0;
  // Binary data, `{ hex }` in the text: ReadData gets a stream holding exactly the stored
  // bytes, positioned at 0 (a component's own length fields in it are its to check);
  // WriteData writes the bytes to store when HasData.
  virtual void DefineBinaryProperty(StringView Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                                    bool HasData) = 0;

  TComponent* Root() const { return root_; }

 protected:
  explicit TFiler(TComponent* Root) : root_(Root) {}
  TComponent* root_;
};

// Builds components from a parsed form description. Made by ReadComponentText; components
// see it only inside DefineProperties, where a defined property's value is read with the
// Read* calls below.
class TReader : public TFiler {
  VCL_CLASS(TReader, TFiler)

 public:
  void DefineProperty(StringView Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(StringView Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  int64_t ReadInteger();
  bool ReadBoolean();
  double ReadFloat();
  String ReadString();
  String ReadIdent();
  void ReadListBegin();
  bool EndOfList() const;
  void ReadListEnd();

  TComponent* Owner() const { return root_; }
  TComponent* Parent() const { return parent_; }

 private:
  friend void ReadComponentText(TComponent*, std::string_view, StringView);
  struct Fixup;
  struct Created;

  TReader(TComponent* Root, StringView SourceName);
  ~TReader() override;
  void ReadRoot(const filer::ObjectNode& node);
  void ReadBody(TComponent* component, const filer::ObjectNode& node);
  void ReadChild(const filer::ObjectNode& node);
  void ReadInherited(const filer::ObjectNode& node);
  String UniqueRootName(const String& Name) const;
  void ReadProperty(TPersistent* instance, const filer::Property& prop);
  bool ReadDefinedProperty(TPersistent* instance, StringView name, const filer::Value& value);
  bool ReadDesignPosition(TPersistent* instance, StringView name, const filer::Value& value);
  void SetPropValue(TPersistent* instance, const TPropInfo& prop, const filer::Value& value);
  void ReadCollection(TCollection* collection, const String& name, const filer::Value& value);
  void ReadStrings(TPersistent* strings, const filer::Value& value);
  void ResolveFixups();
  const filer::Value& NextValue();
  [[noreturn]] void Error(int line, const String& problem) const;

  String source_;
  String context_;  // name of the component being read, for messages
  TComponent* parent_ = nullptr;
  std::vector<Created> created_;  // the root first, then every component read, in order
  std::vector<Fixup> fixups_;
  // The defined property being looked for and its value (see ReadDefinedProperty).
  StringView wanted_;
  const filer::Value* value_ = nullptr;
  bool handled_ = false;
  bool value_taken_ = false;
  size_t list_pos_ = 0;
  bool in_list_ = false;
};

// Writes components as form descriptions (used to round-trip components in tests).
class TWriter : public TFiler {
  VCL_CLASS(TWriter, TFiler)

 public:
  void DefineProperty(StringView Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(StringView Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                            bool HasData) override;

  void WriteInteger(int64_t Value);
  void WriteBoolean(bool Value);
  void WriteFloat(double Value);
  void WriteString(StringView Value);
  void WriteIdent(StringView Value);
  void WriteListBegin();
  void WriteListEnd();

 private:
  friend std::string WriteComponentText(TComponent*);

  explicit TWriter(TComponent* Root) : TFiler(Root) {}
  void WriteComponent(TComponent* component);
  void WriteProperties(TPersistent* instance, const String& prefix);
  void WriteProperty(TPersistent* instance, const TPropInfo& prop, const String& name);
  void WriteDesignPosition(TComponent* component);
  void WriteStrings(TPersistent* strings, const String& name);
  void BeginValue(const String& name);
  void Line(const std::string& text);
  void Token(const std::string& text);

  std::string out_;
  int indent_ = 0;
  String prefix_;            // path of the object whose defined properties are written
  std::vector<String> defined_;  // defined properties written for that object
  bool in_list_ = false;
};

// Reads a form description into an existing root (the form): the description's root class
// must be the root's class; its components are created owned by the root. On any error
// everything created is freed and EReadError "<SourceName>(<line>): <problem>" is raised.
void ReadComponentText(TComponent* Root, std::string_view Text, StringView SourceName);
// The same for RCDATA resource ResourceName of the executable (EResNotFound when missing).
void ReadComponentResource(TComponent* Root, StringView ResourceName);
// The description of Root and the components it owns (UTF-8, non-ASCII text as #codes).
std::string WriteComponentText(TComponent* Root);

}  // namespace vcl
