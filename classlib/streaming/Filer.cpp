// Form streaming in three steps: the text is parsed into a tree of objects and property
// values (FormText.cpp; a syntax error stops before anything is created), TReader builds
// the components from the tree, then fixes up references and handlers and calls Loaded.
#include "classlib/streaming/Filer.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "classlib/rtl/Collection.h"
#include "classlib/streaming/FormText.h"
#include "classlib/rtl/Streams.h"
#include "classlib/rtl/StringList.h"
#include "classlib/rtl/TypInfo.h"

namespace vcl {

static bool IsStrings(const TPersistent* instance);

namespace {

using filer::EFormError;
using filer::Located;
using filer::ObjectNode;
using filer::Property;
using filer::Value;
using Kind = Value::Kind;

// A problem in a value that lies on a line of its own (a list item, binary data).
class LineError : public EPropertyError {
 public:
  LineError(int line, String message) : EPropertyError(std::move(message)), line(line) {}
  int line;
};

std::string ValueText(const TObject* instance, const TPropInfo& p) {
  switch (PropKind(p)) {
    case TPropKind::pkInteger:
    case TPropKind::pkColor: {
      const int64_t n = GetOrdProp(instance, p);
      String ident;
      if (p.IntType && p.IntType->IntToIdent && p.IntType->IntToIdent(n, ident)) return WideToUtf8(ident);
      return std::to_string(n);
    }
    case TPropKind::pkBoolean:
    case TPropKind::pkEnumeration: return WideToUtf8(GetEnumProp(instance, p));
    case TPropKind::pkSet: {
      String out = L"[";
      for (const wchar_t c : GetSetProp(instance, p)) out += c == L',' ? String(L", ") : String(1, c);
      return WideToUtf8(out + L"]");
    }
    case TPropKind::pkString: return filer::QuoteString(GetStrProp(instance, p));
    case TPropKind::pkFloat: return filer::FormatFloat(GetFloatProp(instance, p));
    default: return {};
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TReader

VCL_CLASS_INFO(TFiler) {}
VCL_CLASS_INFO(TReader) {}
VCL_CLASS_INFO(TWriter) {}

struct TReader::Fixup {
  TPersistent* instance;
  const TPropInfo* prop;
  String name;  // of the component or the root's published method
  int line;
};

struct TReader::Created {
  TComponent* component;
  int line;
};

TReader::TReader(TComponent* Root, StringView SourceName) : TFiler(Root), source_(SourceName) {}
TReader::~TReader() = default;

void TReader::Error(int line, const String& problem) const { throw EFormError(Located(source_, line, problem)); }

void TReader::ReadRoot(const ObjectNode& node) {
  if (!SameText(node.className, root_->ClassName()))
    Error(node.line, L"The description is of class " + node.className + L", not " + root_->ClassName());
  created_.push_back({root_, node.line});
  root_->SetComponentState(csLoading, true);
  root_->SetComponentState(csReading, true);
  try {
    try {
      if (!node.name.empty()) root_->SetName(UniqueRootName(node.name));
    } catch (const Exception& e) {
      Error(node.line, e.Message());
    }
    context_ = node.name.empty() ? node.className : node.name;
    ReadBody(root_, node);
    ResolveFixups();
    for (const Created& c : created_) c.component->SetComponentState(csReading, false);
    for (const Created& c : created_) {
      try {
        c.component->Loaded();
      } catch (const EFormError&) {
        throw;
      } catch (const Exception& e) {
        Error(c.line, L"Error loading " + c.component->Name() + L": " + e.Message());
      }
      c.component->SetComponentState(csLoading, false);
    }
  } catch (...) {
    // Nothing half-built stays behind: what this read created goes, last first (children
    // before their parents). A component something else already freed has left the root.
    for (size_t i = created_.size(); i-- > 1;) {
      TComponent* c = created_[i].component;
      bool owned = false;
      for (int k = 0; k < root_->ComponentCount() && !owned; ++k) owned = root_->Components(k) == c;
      if (owned) TObject::Free(c);
    }
    created_.resize(1);
    root_->SetComponentState(csReading, false);
    root_->SetComponentState(csLoading, false);
    throw;
  }
}

void TReader::ReadBody(TComponent* component, const ObjectNode& node) {
  for (const Property& p : node.props) ReadProperty(component, p);
  TComponent* savedParent = parent_;
  parent_ = component;
  for (const ObjectNode& child : node.children) ReadChild(child);
  parent_ = savedParent;
}

// A root with an owner (a frame inside a form) may share its description's name with
// another of the owner's components: it takes the next free one (the enclosing description
// names it anyway).
String TReader::UniqueRootName(const String& Name) const {
  TComponent* owner = root_->Owner();
  if (!owner || root_->Name() == Name) return Name;
  auto taken = [&](const String& candidate) {
    TComponent* other = owner->FindComponent(candidate);
    return other && other != root_;
  };
  if (!taken(Name)) return Name;
  for (int i = 1;; ++i)
    if (String candidate = Name + L"_" + std::to_wstring(i); !taken(candidate)) return candidate;
}

// A component that a description read earlier made (inside an "inline" frame): its
// properties are read again, it is not created.
void TReader::ReadInherited(const ObjectNode& node) {
  // Owned by the frame (or a component of it) the enclosing object stands for.
  TComponent* found = nullptr;
  for (TComponent* c = parent_; c && !found; c = c->Owner()) found = c->FindComponent(node.name);
  if (!found || !SameText(found->ClassName(), node.className))
    Error(node.line, L"Ancestor for '" + node.name + L"' not found");
  created_.push_back({found, node.line});
  found->SetComponentState(csLoading, true);
  found->SetComponentState(csReading, true);
  const String savedContext = std::move(context_);
  context_ = node.name;
  ReadBody(found, node);
  context_ = savedContext;
}

void TReader::ReadChild(const ObjectNode& node) {
  if (node.kind == ObjectNode::Kind::Inherited) return ReadInherited(node);
  const TClassInfo* cls = FindClassInfo(node.className);
  if (!cls || !cls->Create || !cls->InheritsFrom(TComponent::StaticClass()))
    Error(node.line, L"Class " + node.className + L" not found");
  TComponent* component = nullptr;
  try {
    TObject* obj = cls->Create(root_);
    component = dynamic_cast<TComponent*>(obj);
    if (!component) TObject::Free(obj);
  } catch (const Exception& e) {
    Error(node.line, L"Error creating " + node.name + L": " + e.Message());
  }
  if (!component) Error(node.line, L"Class " + node.className + L" cannot be created");
  created_.push_back({component, node.line});
  component->SetComponentState(csLoading, true);
  component->SetComponentState(csReading, true);
  try {
    component->SetName(node.name);
    if (component->HasParent()) component->SetParentComponent(parent_);
  } catch (const Exception& e) {
    Error(node.line, L"Error reading " + node.name + L": " + e.Message());
  }
  const String savedContext = std::move(context_);
  context_ = node.name.empty() ? node.className : node.name;
  ReadBody(component, node);
  context_ = savedContext;
}

void TReader::ReadProperty(TPersistent* instance, const Property& prop) {
  try {
    // Every part of a path but the last names a nested persistent: "Font.Style".
    TPersistent* target = instance;
    StringView name = prop.name;
    for (size_t dot; (dot = name.find(L'.')) != StringView::npos; name = name.substr(dot + 1)) {
      const TPropInfo* p = GetPropInfo(target, name.substr(0, dot));
      TObject* nested = p && p->Kind == TTypeKind::tkClass && p->GetObj ? p->GetObj(target) : nullptr;
      target = dynamic_cast<TPersistent*>(nested);
      if (!target) throw EPropertyError(L"Property " + String(name.substr(0, dot)) + L" is not a nested object");
    }
    if (ReadDefinedProperty(target, name, prop.value)) return;
    if (SameText(name, L"Strings") && IsStrings(target)) return ReadStrings(target, prop.value);
    const TPropInfo* p = GetPropInfo(target, name);
    if (!p && target == instance && ReadDesignPosition(instance, name, prop.value)) return;
    if (!p) throw EPropertyError(L"Property " + String(name) + L" does not exist");
    SetPropValue(target, *p, prop.value);
  } catch (const EFormError&) {
    throw;
  } catch (const LineError& e) {
    Error(e.line, L"Error reading " + context_ + L"." + prop.name + L": " + e.Message());
  } catch (const Exception& e) {
    Error(prop.line, L"Error reading " + context_ + L"." + prop.name + L": " + e.Message());
  }
}

// Asks the instance for its defined properties; the one named `name` reads `value`.
bool TReader::ReadDefinedProperty(TPersistent* instance, StringView name, const Value& value) {
  wanted_ = name;
  value_ = &value;
  handled_ = false;
  value_taken_ = false;
  in_list_ = false;
  instance->DefineProperties(this);
  value_ = nullptr;
  return handled_;
}

// A component that is not a control keeps where a form designer placed it as Left and Top
// (controls publish their own): one word each of its design info.
bool TReader::ReadDesignPosition(TPersistent* instance, StringView name, const Value& value) {
  auto* component = dynamic_cast<TComponent*>(instance);
  const bool left = SameText(name, L"Left");
  if (!component || (!left && !SameText(name, L"Top"))) return false;
  if (value.kind != Kind::Integer) throw LineError(value.line, L"Invalid property value");
  if (value.integer < INT16_MIN || value.integer > UINT16_MAX) throw LineError(value.line, L"Integer out of range");
  const auto info = static_cast<uint32_t>(component->DesignInfo());
  const uint32_t word = static_cast<uint16_t>(value.integer);
  component->SetDesignInfo(static_cast<int32_t>(left ? (info & 0xFFFF0000u) | word : (info & 0xFFFFu) | (word << 16)));
  return true;
}

void TReader::DefineProperty(StringView Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
  if (handled_ || !value_ || !ReadData || !SameText(Name, wanted_)) return;
  handled_ = true;
  ReadData(this);
}

void TReader::DefineBinaryProperty(StringView Name, const TStreamProc& ReadData, const TStreamProc&, bool) {
  if (handled_ || !value_ || !ReadData || !SameText(Name, wanted_)) return;
  handled_ = true;
  if (value_->kind != Kind::Binary) throw LineError(value_->line, L"Binary data expected");
  TMemoryStream stream;
  stream.WriteBuffer(value_->bytes.data(), static_cast<int64_t>(value_->bytes.size()));
  stream.SetPosition(0);
  ReadData(&stream);
}

const Value& TReader::NextValue() {
  if (!value_) throw EReadError(L"No property value to read");
  if (in_list_) {
    if (list_pos_ >= value_->list.size()) throw LineError(value_->line, L"List ended too early");
    return value_->list[list_pos_++];
  }
  if (value_taken_) throw LineError(value_->line, L"Property value already read");
  value_taken_ = true;
  return *value_;
}

int64_t TReader::ReadInteger() {
  const Value& v = NextValue();
  if (v.kind != Kind::Integer) throw LineError(v.line, L"Integer expected");
  return v.integer;
}

bool TReader::ReadBoolean() {
  const Value& v = NextValue();
  const int b = v.kind == Kind::Ident ? BooleanTypeInfo().IndexOf(v.text) : -1;
  if (b < 0) throw LineError(v.line, L"True or False expected");
  return b == 1;
}

double TReader::ReadFloat() {
  const Value& v = NextValue();
  if (v.kind == Kind::Integer) return static_cast<double>(v.integer);
  if (v.kind != Kind::Float) throw LineError(v.line, L"Number expected");
  return v.real;
}

String TReader::ReadString() {
  const Value& v = NextValue();
  if (v.kind != Kind::Str) throw LineError(v.line, L"String expected");
  return v.text;
}

String TReader::ReadIdent() {
  const Value& v = NextValue();
  if (v.kind != Kind::Ident) throw LineError(v.line, L"Identifier expected");
  return v.text;
}

void TReader::ReadListBegin() {
  if (in_list_) throw LineError(value_ ? value_->line : 0, L"Nested lists are not supported");
  const Value& v = NextValue();
  if (v.kind != Kind::List) throw LineError(v.line, L"List expected");
  in_list_ = true;
  list_pos_ = 0;
}

bool TReader::EndOfList() const { return !in_list_ || list_pos_ >= value_->list.size(); }

void TReader::ReadListEnd() {
  if (!EndOfList()) throw LineError(value_->list[list_pos_].line, L"End of list expected");
  in_list_ = false;
}

void TReader::SetPropValue(TPersistent* instance, const TPropInfo& prop, const Value& v) {
  auto invalid = [&]() { throw LineError(v.line, L"Invalid property value"); };
  switch (PropKind(prop)) {
    case TPropKind::pkInteger:
    case TPropKind::pkColor: {
      int64_t n = v.integer;
      if (v.kind == Kind::Ident) {
        if (!prop.IntType || !prop.IntType->IdentToInt || !prop.IntType->IdentToInt(v.text, n)) invalid();
      } else if (v.kind != Kind::Integer) {
        invalid();
      }
      // 32-bit properties take signed values and unsigned ones written in hex ($FFFFFFFF).
      if (prop.Kind != TTypeKind::tkInt64 && (n < INT32_MIN || n > int64_t{UINT32_MAX}))
        throw LineError(v.line, L"Integer out of range");
      return SetOrdProp(instance, prop, n);
    }
    case TPropKind::pkBoolean:
    case TPropKind::pkEnumeration:
      if (v.kind != Kind::Ident) invalid();
      return SetEnumProp(instance, prop, v.text);
    case TPropKind::pkSet: {
      if (v.kind != Kind::Set) invalid();
      uint64_t bits = 0;
      for (const String& element : v.names) {
        const int i = prop.EnumType->IndexOf(element);
        if (i < 0 || i >= 64) throw LineError(v.line, L"Invalid property element: " + element);
        bits |= uint64_t{1} << i;
      }
      return SetOrdProp(instance, prop, static_cast<int64_t>(bits));
    }
    case TPropKind::pkString:
      if (v.kind != Kind::Str) invalid();
      return SetStrProp(instance, prop, v.text);
    case TPropKind::pkFloat:
      if (v.kind != Kind::Float && v.kind != Kind::Integer) invalid();
      return SetFloatProp(instance, prop, v.kind == Kind::Float ? v.real : static_cast<double>(v.integer));
    case TPropKind::pkComponent:
    case TPropKind::pkEvent:
      // Named things may come later in the text: set once the whole form is read.
      if (v.kind != Kind::Ident) invalid();
      if (prop.Kind == TTypeKind::tkMethod ? !prop.SetMethod : !prop.SetObj)
        throw EPropertyError(L"Property " + String(prop.Name) + L" is read-only");
      fixups_.push_back({instance, &prop, v.text, v.line});
      return;
    case TPropKind::pkStrings:
      return ReadStrings(dynamic_cast<TPersistent*>(GetObjectProp(instance, prop)), v);
    case TPropKind::pkCollection: {
      auto* collection = dynamic_cast<TCollection*>(GetObjectProp(instance, prop));
      if (!collection) invalid();
      return ReadCollection(collection, String(prop.Name), v);
    }
    default:
      invalid();
  }
}

void TReader::ReadCollection(TCollection* collection, const String& name, const Value& v) {
  if (v.kind != Kind::Collection) throw LineError(v.line, L"Collection items expected");
  // References waiting to be set on the items about to go would dangle.
  std::erase_if(fixups_, [&](const Fixup& f) {
    for (int i = 0; i < collection->Count(); ++i)
      if (f.instance == collection->Items(i)) return true;
    return false;
  });
  const String savedContext = context_;
  collection->BeginUpdate();
  try {
    collection->Clear();
    for (const auto& item : v.items) {
      context_ = savedContext + L"." + name + L"[" + std::to_wstring(collection->Count()) + L"]";
      TCollectionItem* made = collection->Add();
      for (const Property& p : item) ReadProperty(made, p);
    }
  } catch (...) {
    collection->EndUpdate();
    throw;
  }
  collection->EndUpdate();
  context_ = savedContext;
}

// Component references name a component of the root (or the root); handlers name a
// published method of the root's class. All are checked before any is set.
void TReader::ResolveFixups() {
  struct Target {
    TComponent* component = nullptr;
    TMethod method;
  };
  std::vector<Target> targets;
  for (const Fixup& f : fixups_) {
    Target t;
    if (f.prop->Kind == TTypeKind::tkMethod) {
      const TMethodInfo* m = root_->ClassType().FindMethod(f.name);
      if (!m) Error(f.line, L"Event handler " + f.name + L" not found in " + root_->ClassName());
      t.method = m->Bind(root_);
      if (!f.prop->EventType || *t.method.Signature != *f.prop->EventType)
        Error(f.line, L"Event handler " + f.name + L" does not fit " + String(f.prop->Name));
    } else {
      t.component = SameText(f.name, root_->Name()) ? root_ : root_->FindComponent(f.name);
      if (!t.component) Error(f.line, L"Component " + f.name + L" not found");
      if (f.prop->PropClass && !t.component->InheritsFrom(*f.prop->PropClass))
        Error(f.line, L"Component " + f.name + L" is not a " + String(f.prop->PropClass->Name));
    }
    targets.push_back(t);
  }
  for (size_t i = 0; i < fixups_.size(); ++i) {
    const Fixup& f = fixups_[i];
    try {
      if (f.prop->Kind == TTypeKind::tkMethod)
        SetMethodProp(f.instance, *f.prop, targets[i].method);
      else
        SetObjectProp(f.instance, *f.prop, targets[i].component);
    } catch (const Exception& e) {
      Error(f.line, L"Error setting " + String(f.prop->Name) + L" to " + f.name + L": " + e.Message());
    }
  }
  fixups_.clear();
}

// ---------------------------------------------------------------------------------------
// TWriter

void TWriter::WriteComponent(TComponent* component) {
  const std::string cls = WideToUtf8(component->ClassName());
  Line(component->Name().empty() ? "object " + cls : "object " + WideToUtf8(component->Name()) + ": " + cls);
  ++indent_;
  WriteProperties(component, L"");
  component->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
  --indent_;
  Line("end");
}

// Published properties that differ from their defaults, then the defined ones.
void TWriter::WriteProperties(TPersistent* instance, const String& prefix) {
  const bool isComponent = dynamic_cast<TComponent*>(instance) != nullptr;
  for (const TPropInfo* p : instance->ClassType().AllProps()) {
    if (isComponent && prefix.empty() && SameText(p->Name, L"Name")) continue;  // in the header
    if (IsStoredProp(instance, *p)) WriteProperty(instance, *p, prefix + String(p->Name));
  }
  if (isComponent && prefix.empty()) WriteDesignPosition(static_cast<TComponent*>(instance));
  const String savedPrefix = std::exchange(prefix_, prefix);
  auto savedDefined = std::exchange(defined_, {});
  instance->DefineProperties(this);
  const bool wroteStrings =
      std::any_of(defined_.begin(), defined_.end(), [](const String& n) { return SameText(n, L"Strings"); });
  if (IsStrings(instance) && !wroteStrings) WriteStrings(instance, prefix + L"Strings");
  prefix_ = savedPrefix;
  defined_ = std::move(savedDefined);
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& p, const String& name) {
  switch (PropKind(p)) {
    case TPropKind::pkPersistent:
    case TPropKind::pkStrings:
      if (auto* nested = dynamic_cast<TPersistent*>(GetObjectProp(instance, p))) WriteProperties(nested, name + L".");
      return;
    case TPropKind::pkCollection: {
      auto* collection = dynamic_cast<TCollection*>(GetObjectProp(instance, p));
      if (!collection || collection->Count() == 0) return;
      BeginValue(name);
      out_ += "<\n";
      ++indent_;
      for (int i = 0; i < collection->Count(); ++i) {
        Line("item");
        ++indent_;
        WriteProperties(collection->Items(i), L"");
        --indent_;
        Line(i + 1 == collection->Count() ? "end>" : "end");
      }
      --indent_;
      return;
    }
    case TPropKind::pkComponent: {
      auto* target = dynamic_cast<TComponent*>(GetObjectProp(instance, p));
      // Only what the reader can find again: the root and the components it owns.
      if (!p.SetObj || !target || (target != root_ && target->Owner() != root_) || target->Name().empty()) return;
      BeginValue(name);
      Token(WideToUtf8(target->Name()));
      return;
    }
    case TPropKind::pkEvent: {
      const TMethod m = GetMethodProp(instance, p);
      if (!p.SetMethod || !m || m.Data != root_) return;
      for (const TClassInfo* c = &root_->ClassType(); c; c = c->Parent)
        for (const TMethodInfo& method : c->OwnMethods)
          if (method.Bind(root_) == m) {
            BeginValue(name);
            Token(WideToUtf8(method.Name));
            return;
          }
      return;
    }
    case TPropKind::pkObject:
    case TPropKind::pkUnknown:
      return;
    default:
      // A read-only value could not be read back.
      if (!p.SetOrd && !p.SetStr && !p.SetFloat) return;
      if (IsDefaultPropValue(instance, p)) return;
      BeginValue(name);
      Token(ValueText(instance, p));
  }
}

// The design position of a component that is not a control, as the reader takes it back.
void TWriter::WriteDesignPosition(TComponent* component) {
  const TClassInfo& cls = component->ClassType();
  if (cls.FindProp(L"Left") || cls.FindProp(L"Top")) return;
  const auto info = static_cast<uint32_t>(component->DesignInfo());
  const auto left = static_cast<int16_t>(info & 0xFFFFu);
  const auto top = static_cast<int16_t>(info >> 16);
  if (left != 0) {
    BeginValue(L"Left");
    WriteInteger(left);
  }
  if (top != 0) {
    BeginValue(L"Top");
    WriteInteger(top);
  }
}

void TWriter::DefineProperty(StringView Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  defined_.emplace_back(Name);
  BeginValue(prefix_ + String(Name));
  WriteData(this);  // writes one value (or a list)
}

void TWriter::DefineBinaryProperty(StringView Name, const TStreamProc&, const TStreamProc& WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  defined_.emplace_back(Name);
  TMemoryStream stream;
  WriteData(&stream);
  BeginValue(prefix_ + String(Name));
  out_ += '{';
  static const char kHex[] = "0123456789ABCDEF";
  const uint8_t* bytes = stream.Memory();
  for (int64_t i = 0; i < stream.Size(); ++i) {
    if (i % 32 == 0) {
      out_ += '\n';
      out_.append(static_cast<size_t>(indent_ + 1) * 2, ' ');
    }
    out_ += kHex[bytes[i] >> 4];
    out_ += kHex[bytes[i] & 15];
  }
  out_ += "}\n";
}

void TWriter::WriteInteger(int64_t Value) { Token(std::to_string(Value)); }
void TWriter::WriteBoolean(bool Value) { Token(Value ? "True" : "False"); }
void TWriter::WriteFloat(double Value) { Token(filer::FormatFloat(Value)); }
void TWriter::WriteString(StringView Value) { Token(filer::QuoteString(Value)); }
void TWriter::WriteIdent(StringView Value) { Token(WideToUtf8(Value)); }

void TWriter::WriteListBegin() {
  out_ += '(';
  in_list_ = true;
}

void TWriter::WriteListEnd() {
  out_ += ")\n";
  in_list_ = false;
}

void TWriter::BeginValue(const String& name) {
  out_.append(static_cast<size_t>(indent_) * 2, ' ');
  out_ += WideToUtf8(name) + " = ";
}

// A value after "Name = ", or one more line of a list.
void TWriter::Token(const std::string& text) {
  if (in_list_) {
    out_ += '\n';
    out_.append(static_cast<size_t>(indent_ + 1) * 2, ' ');
    out_ += text;
  } else {
    out_ += text + "\n";
  }
}

void TWriter::Line(const std::string& text) {
  out_.append(static_cast<size_t>(indent_) * 2, ' ');
  out_ += text + "\n";
}

// ---------------------------------------------------------------------------------------
// String lists: "Lines.Strings = ( 'a' 'b' )".

static bool IsStrings(const TPersistent* instance) { return instance && instance->InheritsFrom<TStrings>(); }

void TReader::ReadStrings(TPersistent* target, const Value& v) {
  auto* strings = dynamic_cast<TStrings*>(target);
  if (!strings || v.kind != Kind::List) throw LineError(v.line, L"String list expected");
  for (const Value& item : v.list)
    if (item.kind != Kind::Str) throw LineError(item.line, L"String expected");
  strings->BeginUpdate();
  try {
    strings->Clear();
    for (const Value& item : v.list) strings->Add(item.text);
  } catch (...) {
    strings->EndUpdate();
    throw;
  }
  strings->EndUpdate();
}

void TWriter::WriteStrings(TPersistent* instance, const String& name) {
  auto* strings = dynamic_cast<TStrings*>(instance);
  if (!strings || strings->Count() == 0) return;
  BeginValue(name);
  WriteListBegin();
  for (int i = 0; i < strings->Count(); ++i) WriteString(strings->Strings(i));
  WriteListEnd();
}

// ---------------------------------------------------------------------------------------

void ReadComponentText(TComponent* Root, std::string_view Text, StringView SourceName) {
  const String source(SourceName);
  if (!Root) throw EReadError(Located(source, 1, L"No component to read into"));
  const ObjectNode tree = filer::ParseFormText(Text, source);
  TReader reader(Root, source);
  reader.ReadRoot(tree);
}

void ReadComponentResource(TComponent* Root, StringView ResourceName) {
  const String name(ResourceName);
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC res = FindResourceW(module, name.c_str(), RT_RCDATA);
  const HGLOBAL data = res ? LoadResource(module, res) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound(L"Resource " + name + L" not found");
  ReadComponentText(Root, std::string_view(static_cast<const char*>(bytes), SizeofResource(module, res)), name);
}

std::string WriteComponentText(TComponent* Root) {
  TWriter writer(Root);
  writer.WriteComponent(Root);
  return std::move(writer.out_);
}

}  // namespace vcl
