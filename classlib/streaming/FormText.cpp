#include "classlib/streaming/FormText.h"

#include <charconv>
#include <cmath>

namespace vcl::filer {

namespace {

using Kind = Value::Kind;

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

  [[noreturn]] void Error(const String& problem) const { throw EFormError(Located(source_, line, problem)); }
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
// The grammar (the root is an "object"):
//   object   = ("object" | "inline" | "inherited") [Name ":"] Class { property | object } "end"
//   property = Name "=" value
//   value    = integer | float | string {"+" string} | ident | "[" [ident {"," ident}] "]"
//            | "(" {value} ")" | "{" hex "}" | "<" {"item" {property} "end"} ">"

class Parser {
 public:
  Parser(std::string_view text, const String& source) : lex_(text, source) {}

  ObjectNode ParseRoot() {
    // The root is a component of its own (no description it could inherit from).
    if (!lex_.IsSymbol(L"object")) lex_.Error(L"'object' expected");
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
    if (lex_.IsSymbol(L"inline"))
      node.kind = ObjectNode::Kind::Inline;
    else if (lex_.IsSymbol(L"inherited"))
      node.kind = ObjectNode::Kind::Inherited;
    else if (!lex_.IsSymbol(L"object"))
      lex_.Error(L"'object' expected");
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
      if (lex_.IsSymbol(L"object") || lex_.IsSymbol(L"inline") || lex_.IsSymbol(L"inherited"))
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

}  // namespace

ObjectNode ParseFormText(std::string_view text, const String& source) { return Parser(text, source).ParseRoot(); }

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
  std::string text(buf, r.ptr);
  // A whole number stays a float (and one too long for an integer still reads back).
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}

}  // namespace vcl::filer
