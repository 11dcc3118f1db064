// Form streaming in three steps: the text is parsed into a tree of objects and property
// values (so a syntax error stops before anything is created), TReader builds the
// components from the tree, then fixes up references and handlers and calls Loaded.
#include "classlib/Filer.h"

#include <windows.h>
#undef RegisterClass  // winuser.h's macro would rename vcl::RegisterClass in VCL_CLASS_INFO

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

#include "classlib/Collection.h"
#include "classlib/Streams.h"
#include "classlib/TypInfo.h"

#if __has_include("classlib/StringList.h")
#include "classlib/StringList.h"
#define VCL_FILER_HAS_STRINGS 1
#endif

namespace vcl {

static bool IsStrings(const TPersistent* instance);

namespace filer {

struct Value {
  enum class Kind { Integer, Float, Str, Ident, Set, List, Binary, Collection };
  Kind kind = Kind::Integer;
  int line = 0;
  int64_t integer = 0;
  double real = 0;
  String text;                                // Str, Ident
  std::vector<String> names;                  // Set
  std::vector<Value> list;                    // List
  std::vector<uint8_t> bytes;                 // Binary
  std::vector<std::vector<Property>> items;   // Collection: the properties of each item
};
using Kind = Value::Kind;

struct Property {
  String name;  // may be a path: "Font.Style"
  Value value;
  int line = 0;
};

struct ObjectNode {
  String name, className;
  int line = 0;
  std::vector<Property> props;
  std::vector<ObjectNode> children;
};

}  // namespace filer

namespace {

using filer::Kind;
using filer::ObjectNode;
using filer::Property;
using filer::Value;

// The reader's own errors already name the source and line; everything else raised while
// reading gets them added.
class FormError : public EReadError {
 public:
  using EReadError::EReadError;
};

// A problem in a value that lies on a line of its own (a list item, binary data).
class LineError : public EPropertyError {
 public:
  LineError(int line, String message) : EPropertyError(std::move(message)), line(line) {}
  int line;
};

String Located(const String& source, int line, const String& problem) {
  return source + L"(" + std::to_wstring(line) + L"): " + problem;
}

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// ---------------------------------------------------------------------------------------
// Tokens of the text. Symbols include dots ("Font.Style"); a string token is a whole run of
// quoted parts and #codes ('a'#13#10'b'); "+" between strings is the parser's business.

class Lexer {
 public:
  enum class Tok { End, Symbol, Str, Int, Float, Char };

  Lexer(std::string_view text, const String& source) : s_(text), source_(source) {
    if (s_.starts_with("\xEF\xBB\xBF")) pos_ = 3;  // UTF-8 byte-order mark
    Next();
  }

  Tok tok = Tok::End;
  String text;       // Symbol, Str
  int64_t integer = 0;
  double real = 0;
  char ch = 0;       // Char
  int line = 1;      // where the current token starts

  [[noreturn]] void Error(const String& problem) const { throw FormError(Located(source_, line, problem)); }
  bool IsChar(char c) const { return tok == Tok::Char && ch == c; }
  bool IsSymbol(StringView word) const { return tok == Tok::Symbol && SameText(text, word); }
  void Expect(char c) {
    if (!IsChar(c)) Error(L"'" + String(1, static_cast<wchar_t>(c)) + L"' expected");
    Next();
  }
  String ExpectSymbol(const wchar_t* what) {
    if (tok != Tok::Symbol) Error(String(what) + L" expected");
    String s = std::move(text);
    Next();
    return s;
  }

  void Next() {
    SkipBlanks();
    line = cur_line_;
    if (pos_ >= s_.size()) {
      tok = Tok::End;
      return;
    }
    const char c = s_[pos_];
    if (IsAlpha(c)) {
      ReadSymbol();
    } else if (IsDigit(c) || c == '-' || c == '$') {
      ReadNumber();
    } else if (c == '\'' || c == '#') {
      ReadString();
    } else {
      tok = Tok::Char;
      ch = c;
      ++pos_;
    }
  }

  // Binary data after "{": pairs of hex digits, blanks allowed anywhere, up to "}".
  std::vector<uint8_t> ReadHex() {
    std::vector<uint8_t> bytes;
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (pos_ >= s_.size()) Error(L"Unterminated binary data");
      const char c = s_[pos_++];
      if (c == '}') break;
      const int d = HexDigit(c);
      if (d < 0) {
        line = cur_line_;
        Error(L"Invalid binary data");
      }
      if (high < 0) {
        high = d;
      } else {
        bytes.push_back(static_cast<uint8_t>(high << 4 | d));
        high = -1;
      }
    }
    if (high >= 0) Error(L"Odd number of hex digits in binary data");
    Next();
    return bytes;
  }

 private:
  void SkipBlanks() {
    while (pos_ < s_.size() && static_cast<unsigned char>(s_[pos_]) <= ' ') {
      if (s_[pos_] == '\n') ++cur_line_;
      ++pos_;
    }
  }

  void ReadSymbol() {
    const size_t start = pos_;
    while (pos_ < s_.size() && (IsAlpha(s_[pos_]) || IsDigit(s_[pos_]) || s_[pos_] == '.')) ++pos_;
    text = Utf8ToWide(s_.substr(start, pos_ - start));
    tok = Tok::Symbol;
  }

  // -12, $FF00FF, 1.5, -2.5e-3. Hex is at most 16 digits; decimals must fit 64 bits.
  void ReadNumber() {
    const size_t start = pos_;
    const bool negative = s_[pos_] == '-';
    if (negative) ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '$') {
      ++pos_;
      uint64_t v = 0;
      int digits = 0;
      for (int d; pos_ < s_.size() && (d = HexDigit(s_[pos_])) >= 0; ++pos_, ++digits) v = v << 4 | d;
      if (digits == 0 || digits > 16) Error(L"Invalid hexadecimal number");
      tok = Tok::Int;
      integer = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
      return;
    }
    auto digits = [&] {
      const size_t from = pos_;
      while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
      return pos_ > from;
    };
    if (!digits()) Error(L"Invalid number");
    bool isFloat = false;
    if (pos_ + 1 < s_.size() && s_[pos_] == '.' && IsDigit(s_[pos_ + 1])) {
      ++pos_;
      digits();
      isFloat = true;
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (!digits()) Error(L"Invalid number");
      isFloat = true;
    }
    const char* first = s_.data() + start;
    const char* last = s_.data() + pos_;
    std::from_chars_result r;
    if (isFloat) {
      r = std::from_chars(first, last, real);
      tok = Tok::Float;
      if (r.ec == std::errc{} && !std::isfinite(real)) r.ec = std::errc::result_out_of_range;
    } else {
      r = std::from_chars(first, last, integer);
      tok = Tok::Int;
    }
    if (r.ec != std::errc{} || r.ptr != last) Error(L"Number out of range");
  }

  // 'It''s' and #nnnnn / #$hhhh codes (UTF-16 units), adjacent parts joined. Quoted text is UTF-8.
  void ReadString() {
    text.clear();
    while (pos_ < s_.size() && (s_[pos_] == '\'' || s_[pos_] == '#')) {
      if (s_[pos_++] == '\'') {
        std::string run;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r') Error(L"Unterminated string");
          const char c = s_[pos_++];
          if (c != '\'') {
            run += c;
          } else if (pos_ < s_.size() && s_[pos_] == '\'') {
            run += '\'';
            ++pos_;
          } else {
            break;
          }
        }
        text += Utf8ToWide(run);
      } else {
        const bool hex = pos_ < s_.size() && s_[pos_] == '$';
        if (hex) ++pos_;
        uint32_t code = 0;
        int digits = 0;
        for (int d; pos_ < s_.size() && (d = hex ? HexDigit(s_[pos_]) : (IsDigit(s_[pos_]) ? s_[pos_] - '0' : -1)) >= 0;
             ++pos_, ++digits) {
          code = code * (hex ? 16 : 10) + static_cast<uint32_t>(d);
          if (code > 0xFFFF) Error(L"Invalid character code");
        }
        if (digits == 0) Error(L"Invalid character code");
        text += static_cast<wchar_t>(code);
      }
    }
    tok = Tok::Str;
  }

  std::string_view s_;
  size_t pos_ = 0;
  int cur_line_ = 1;
  String source_;
};

using Tok = Lexer::Tok;

// ---------------------------------------------------------------------------------------
// The grammar:
//   object   = "object" [Name ":"] Class { property | object } "end"
//   property = Name "=" value
//   value    = integer | float | string {"+" string} | ident | "[" [ident {"," ident}] "]"
//            | "(" {value} ")" | "{" hex "}" | "<" {"item" {property} "end"} ">"

class Parser {
 public:
  Parser(std::string_view text, const String& source) : lex_(text, source) {}

  ObjectNode ParseRoot() {
    ObjectNode root = ParseObject(0);
    if (lex_.tok != Tok::End) lex_.Error(L"Text after the end of the description");
    return root;
  }

 private:
  // Nesting is bounded, so a hostile description cannot exhaust the stack.
  static constexpr int kMaxDepth = 100;
  void CheckDepth(int depth) const {
    if (depth > kMaxDepth) lex_.Error(L"Description nested too deeply");
  }

  ObjectNode ParseObject(int depth) {
    CheckDepth(depth);
    ObjectNode node;
    node.line = lex_.line;
    if (!lex_.IsSymbol(L"object")) lex_.Error(L"'object' expected");
    lex_.Next();
    String first = lex_.ExpectSymbol(L"Component name");
    if (lex_.IsChar(':')) {
      lex_.Next();
      node.name = std::move(first);
      node.className = lex_.ExpectSymbol(L"Class name");
    } else {
      node.className = std::move(first);
    }
    for (;;) {
      if (lex_.tok == Tok::End)
        lex_.Error(L"'end' expected: object " + node.name + L" begun on line " + std::to_wstring(node.line) +
                   L" is not closed");
      if (lex_.IsSymbol(L"end")) break;
      if (lex_.IsSymbol(L"object"))
        node.children.push_back(ParseObject(depth + 1));
      else
        node.props.push_back(ParseProperty(depth));
    }
    lex_.Next();
    return node;
  }

  Property ParseProperty(int depth) {
    Property p;
    p.line = lex_.line;
    p.name = lex_.ExpectSymbol(L"Property name");
    lex_.Expect('=');
    p.value = ParseValue(depth + 1);
    return p;
  }

  Value ParseValue(int depth) {
    CheckDepth(depth);
    Value v;
    v.line = lex_.line;
    switch (lex_.tok) {
      case Tok::Int:
        v.kind = Kind::Integer;
        v.integer = lex_.integer;
        lex_.Next();
        return v;
      case Tok::Float:
        v.kind = Kind::Float;
        v.real = lex_.real;
        lex_.Next();
        return v;
      case Tok::Str:
        v.kind = Kind::Str;
        v.text = std::move(lex_.text);
        lex_.Next();
        while (lex_.IsChar('+')) {
          lex_.Next();
          if (lex_.tok != Tok::Str) lex_.Error(L"String expected after '+'");
          v.text += lex_.text;
          lex_.Next();
        }
        return v;
      case Tok::Symbol:
        v.kind = Kind::Ident;
        v.text = std::move(lex_.text);
        lex_.Next();
        return v;
      case Tok::End:
        lex_.Error(L"Value expected");
      case Tok::Char:
        break;
    }
    const char open = lex_.ch;
    if (open == '{') {  // the hex digits follow the brace directly, not as tokens
      v.kind = Kind::Binary;
      v.bytes = lex_.ReadHex();
      return v;
    }
    if (open != '[' && open != '(' && open != '<') lex_.Error(L"Invalid property value");
    lex_.Next();
    switch (open) {
      case '[':
        v.kind = Kind::Set;
        while (!lex_.IsChar(']')) {
          v.names.push_back(lex_.ExpectSymbol(L"Set element"));
          if (lex_.IsChar(',')) lex_.Next();
          else if (!lex_.IsChar(']')) lex_.Error(L"',' or ']' expected");
        }
        lex_.Next();
        return v;
      case '(':
        v.kind = Kind::List;
        while (!lex_.IsChar(')')) {
          if (lex_.tok == Tok::End) lex_.Error(L"Unterminated list: ')' expected");
          v.list.push_back(ParseValue(depth + 1));
        }
        lex_.Next();
        return v;
      default:  // '<'
        v.kind = Kind::Collection;
        while (!lex_.IsChar('>')) {
          if (!lex_.IsSymbol(L"item")) lex_.Error(L"'item' or '>' expected");
          lex_.Next();
          auto& item = v.items.emplace_back();
          while (!lex_.IsSymbol(L"end")) {
            if (lex_.tok == Tok::End) lex_.Error(L"Unterminated collection item: 'end' expected");
            item.push_back(ParseProperty(depth + 1));
          }
          lex_.Next();
        }
        lex_.Next();
        return v;
    }
  }

  Lexer lex_;
};

// ---------------------------------------------------------------------------------------
// Writing values as text (ASCII only: other characters become #codes).

std::string QuoteString(StringView s) {
  std::string out;
  bool quoted = false;
  for (const wchar_t c : s) {
    if (c >= 32 && c < 127) {
      if (!quoted) out += '\'';
      quoted = true;
      if (c == L'\'') out += '\'';
      out += static_cast<char>(c);
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#' + std::to_string(static_cast<unsigned>(c));
    }
  }
  if (quoted) out += '\'';
  return out.empty() ? "''" : out;
}

std::string FormatFloat(double v) {
  if (!std::isfinite(v)) v = 0;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

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
    case TPropKind::pkString: return QuoteString(GetStrProp(instance, p));
    case TPropKind::pkFloat: return FormatFloat(GetFloatProp(instance, p));
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

void TReader::Error(int line, const String& problem) const { throw FormError(Located(source_, line, problem)); }

void TReader::ReadRoot(const ObjectNode& node) {
  if (!SameText(node.className, root_->ClassName()))
    Error(node.line, L"The description is of class " + node.className + L", not " + root_->ClassName());
  created_.push_back({root_, node.line});
  root_->SetComponentState(csLoading, true);
  root_->SetComponentState(csReading, true);
  try {
    try {
      if (!node.name.empty()) root_->SetName(node.name);
    } catch (const Exception& e) {
      Error(node.line, e.Message());
    }
    context_ = node.name;
    ReadBody(root_, node);
    ResolveFixups();
    for (const Created& c : created_) c.component->SetComponentState(csReading, false);
    for (const Created& c : created_) {
      try {
        c.component->Loaded();
      } catch (const FormError&) {
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

void TReader::ReadChild(const ObjectNode& node) {
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
  context_ = node.name;
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
    if (!p) throw EPropertyError(L"Property " + String(name) + L" does not exist");
    SetPropValue(target, *p, prop.value);
  } catch (const FormError&) {
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
void TWriter::WriteFloat(double Value) { Token(FormatFloat(Value)); }
void TWriter::WriteString(StringView Value) { Token(QuoteString(Value)); }
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

#ifdef VCL_FILER_HAS_STRINGS
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
#else
// TEMPORARY until the string lists land: no string-list properties.
static bool IsStrings(const TPersistent*) { return false; }
void TReader::ReadStrings(TPersistent*, const Value& v) { throw LineError(v.line, L"String lists are not available"); }
void TWriter::WriteStrings(TPersistent*, const String&) {}
#endif

// ---------------------------------------------------------------------------------------

void ReadComponentText(TComponent* Root, std::string_view Text, StringView SourceName) {
  const String source(SourceName);
  if (!Root) throw EReadError(Located(source, 1, L"No component to read into"));
  const ObjectNode tree = Parser(Text, source).ParseRoot();
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
