#include "framework/core/description_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include "framework/core/exception.h"

namespace {

[[noreturn]] void Fail(const std::string& source, int line, const std::string& message) {
  throw EReadError(source + ":" + std::to_string(line) + ": " + message);
}

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    size_t start = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

const std::map<std::string, PropertyKind>& KindNames() {
  static const std::map<std::string, PropertyKind> names = {
      {"integer", PropertyKind::Integer}, {"string", PropertyKind::String},
      {"boolean", PropertyKind::Boolean}, {"identifier", PropertyKind::Identifier},
      {"color", PropertyKind::Color},     {"set", PropertyKind::Set},
      {"binary", PropertyKind::Binary},   {"reference", PropertyKind::Reference},
      {"event", PropertyKind::Event}};
  return names;
}

// "MIN..MAX", two decimal 32-bit numbers with MIN <= MAX.
bool ReadRange(const std::string& word, int32_t& minimum, int32_t& maximum) {
  const size_t dots = word.find("..");
  if (dots == std::string::npos) return false;
  auto number = [](const std::string& text, int32_t& out) {
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, out);
    return error == std::errc() && last == end && !text.empty();
  };
  return number(word.substr(0, dots), minimum) && number(word.substr(dots + 2), maximum) &&
         minimum <= maximum;
}

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A small hand-written scanner over the description text.
class Parser {
 public:
  Parser(std::string_view text, const std::string& source, const ClassSchema& schema,
         const IncludeReader& include)
      : text_(text), source_(source), schema_(schema), include_(include) {}

  ObjectDescription Parse() {
    ObjectDescription root = ParseObject();
    SkipBlanks();
    if (pos_ != text_.size()) Error("text after the final 'end'");
    CheckReferences(root);
    return root;
  }

 private:
  [[noreturn]] void Error(const std::string& message) { Fail(source_, line_, message); }

  void SkipBlanks() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  bool PeekChar(char c) {
    SkipBlanks();
    return pos_ < text_.size() && text_[pos_] == c;
  }

  void Expect(char c) {
    if (!PeekChar(c)) Error(std::string("expected '") + c + "'");
    ++pos_;
  }

  // An identifier, possibly dotted (Font.Name, RgnBitmap.Data).
  std::string Name() {
    SkipBlanks();
    if (pos_ >= text_.size() || !IsIdentStart(text_[pos_])) Error("expected a name");
    size_t start = pos_;
    while (pos_ < text_.size() && (IsIdentChar(text_[pos_]) || text_[pos_] == '.')) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  bool PeekWord(std::string_view word) {
    SkipBlanks();
    if (text_.substr(pos_, word.size()) != word) return false;
    size_t after = pos_ + word.size();
    return after == text_.size() || !IsIdentChar(text_[after]);
  }

  std::string QuotedString() {
    Expect('\'');
    std::string s;
    for (;;) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') Error("unterminated string");
      char c = text_[pos_++];
      if (c != '\'') {
        s += c;
      } else if (pos_ < text_.size() && text_[pos_] == '\'') {
        s += '\'';
        ++pos_;
      } else {
        return s;
      }
    }
  }

  std::vector<uint8_t> IncludeFile(const std::string& path) {
    try {
      return include_(path);
    } catch (const std::exception& e) {
      Error("cannot read '" + path + "': " + e.what());
    }
  }

  Value ParseValue() {
    Value v;
    SkipBlanks();
    if (pos_ >= text_.size()) Error("expected a value");
    char c = text_[pos_];
    if (c == '\'') {
      v.Kind = ValueKind::String;
      v.Text = QuotedString();
      while (PeekChar('+')) {  // long texts may be split over lines
        ++pos_;
        SkipBlanks();
        v.Text += QuotedString();
      }
    } else if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      v.Kind = ValueKind::Integer;
      v.Integer = Integer();
    } else if (c == '[') {
      v.Kind = ValueKind::Set;
      ++pos_;
      while (!PeekChar(']')) {
        v.Items.push_back(Name());
        if (!PeekChar(']')) Expect(',');
      }
      ++pos_;
    } else if (c == '{') {
      v.Kind = ValueKind::Binary;
      ++pos_;
      std::string digits;
      while (!PeekChar('}')) {
        if (pos_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[pos_])))
          Error("expected hexadecimal digits or '}'");
        digits += text_[pos_++];
      }
      ++pos_;
      if (digits.size() % 2) Error("odd number of hexadecimal digits");
      for (size_t i = 0; i < digits.size(); i += 2)
        v.Bytes.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    } else if (PeekWord("file") || PeekWord("bitmap")) {
      bool bitmap = PeekWord("bitmap");
      Name();
      v.Kind = ValueKind::Binary;
      std::vector<uint8_t> bytes = IncludeFile(QuotedString());
      if (bitmap) {  // a picture property stores its length before the BMP file
        uint32_t n = static_cast<uint32_t>(bytes.size());
        for (int i = 0; i < 4; ++i) v.Bytes.push_back(static_cast<uint8_t>(n >> (8 * i)));
      }
      v.Bytes.insert(v.Bytes.end(), bytes.begin(), bytes.end());
    } else if (IsIdentStart(c)) {
      std::string word = Name();
      if (word == "True" || word == "False") {
        v.Kind = word == "True" ? ValueKind::True : ValueKind::False;
      } else {
        v.Kind = ValueKind::Identifier;
        v.Text = word;
      }
    } else {
      Error(std::string("unexpected '") + c + "'");
    }
    return v;
  }

  int32_t Integer() {
    SkipBlanks();
    bool negative = false;
    if (text_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    int base = 10;
    if (pos_ < text_.size() && text_[pos_] == '$') {
      base = 16;
      ++pos_;
    }
    size_t start = pos_;
    while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    std::string digits(text_.substr(start, pos_ - start));
    if (digits.empty()) Error("expected a number");
    int64_t value = 0;
    for (char d : digits) {
      int digit =
          std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : (std::tolower(d) - 'a' + 10);
      if (digit >= base) Error("bad digit in number '" + digits + "'");
      value = value * base + digit;
      if (value > 0xFFFFFFFFLL) Error("number out of range: " + digits);
    }
    if (negative) value = -value;
    if (value < INT32_MIN || (base == 10 && value > INT32_MAX))
      Error("number out of range: " + digits);
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }

  // Checks the value against the schema and gives identifiers their meaning.
  void Check(const std::string& className, const std::string& property, Value& v, int line) {
    auto Error = [&](const std::string& message) { Fail(source_, line, message); };
    const PropertySchema* p = schema_.FindProperty(className, property);
    if (!p) Error("class " + className + " has no property '" + property + "'");
    auto allowed = [&](const std::string& word) {
      return p->Allowed.empty() ||
             std::find(p->Allowed.begin(), p->Allowed.end(), word) != p->Allowed.end();
    };
    auto mismatch = [&](const char* expected) {
      Error("property '" + property + "' of " + className + " takes " + expected);
    };
    switch (p->Kind) {
      case PropertyKind::Integer:
        if (v.Kind != ValueKind::Integer) mismatch("a number");
        if (v.Integer < p->Minimum || v.Integer > p->Maximum)
          mismatch(
              ("a number from " + std::to_string(p->Minimum) + " to " + std::to_string(p->Maximum))
                  .c_str());
        break;
      case PropertyKind::String:
        if (v.Kind != ValueKind::String) mismatch("a quoted text");
        break;
      case PropertyKind::Boolean:
        if (v.Kind != ValueKind::True && v.Kind != ValueKind::False) mismatch("True or False");
        break;
      case PropertyKind::Color:
        if (v.Kind == ValueKind::Integer) break;
        [[fallthrough]];
      case PropertyKind::Identifier:
        if (v.Kind != ValueKind::Identifier) mismatch("an identifier");
        if (!allowed(v.Text)) Error("'" + v.Text + "' is not a value of '" + property + "'");
        break;
      case PropertyKind::Set:
        if (v.Kind != ValueKind::Set) mismatch("a set such as [a, b]");
        for (const auto& item : v.Items)
          if (!allowed(item)) Error("'" + item + "' is not a member of '" + property + "'");
        break;
      case PropertyKind::Binary:
        if (v.Kind != ValueKind::Binary) mismatch("bytes: {hex}, file '...' or bitmap '...'");
        break;
      case PropertyKind::Reference:
        if (v.Kind != ValueKind::Identifier) mismatch("the name of a component");
        v.Kind = ValueKind::Reference;
        references_.push_back({v.Text, line});
        break;
      case PropertyKind::Event:
        if (v.Kind != ValueKind::Identifier) mismatch("the name of an event handler");
        v.Kind = ValueKind::Event;
        break;
    }
  }

  ObjectDescription ParseObject() {
    ObjectDescription o;
    if (!PeekWord("object")) Error("expected 'object'");
    Name();
    o.Name = Name();
    Expect(':');
    o.ClassName = Name();
    if (!schema_.HasClass(o.ClassName)) Error("unknown class '" + o.ClassName + "'");
    if (!names_.insert(o.Name).second) Error("component name '" + o.Name + "' used twice");
    std::set<std::string> seen;
    for (;;) {
      if (PeekWord("end")) {
        Name();
        return o;
      }
      if (PeekWord("object")) {
        o.Children.push_back(ParseObject());
        continue;
      }
      if (pos_ >= text_.size()) Error("missing 'end' of object " + o.Name);
      PropertyValue p;
      p.Name = Name();
      int line = line_;
      if (!seen.insert(p.Name).second) Error("property '" + p.Name + "' given twice");
      Expect('=');
      p.Value = ParseValue();
      Check(o.ClassName, p.Name, p.Value, line);
      o.Properties.push_back(std::move(p));
    }
  }

  void CheckReferences(const ObjectDescription&) {
    for (const auto& [name, line] : references_)
      if (!names_.contains(name)) Fail(source_, line, "no component named '" + name + "'");
  }

  std::string_view text_;
  const std::string& source_;
  const ClassSchema& schema_;
  const IncludeReader& include_;
  size_t pos_ = 0;
  int line_ = 1;
  std::set<std::string> names_;
  std::vector<std::pair<std::string, int>> references_;
};

}  // namespace

void ClassSchema::Load(std::string_view text, const std::string& source) {
  ClassEntry* current = nullptr;
  int line = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    ++line;
    if (auto hash = raw.find('#'); hash != std::string_view::npos) raw = raw.substr(0, hash);
    auto words = Words(raw);
    if (words.empty()) continue;
    bool indented = std::isspace(static_cast<unsigned char>(raw[0]));
    if (!indented) {  // "TClass" or "TClass : TBase"
      if (!(words.size() == 1 || (words.size() == 3 && words[1] == ":")))
        Fail(source, line, "expected 'Class' or 'Class : Base'");
      if (classes_.contains(words[0]))
        Fail(source, line, "class '" + words[0] + "' declared twice");
      current = &classes_[words[0]];
      current->Base = words.size() == 3 ? words[2] : "";
      continue;
    }
    if (!current) Fail(source, line, "property outside a class");
    if (words.size() < 2) Fail(source, line, "expected 'Property kind [values...]'");
    auto kind = KindNames().find(words[1]);
    if (kind == KindNames().end()) Fail(source, line, "unknown kind '" + words[1] + "'");
    PropertySchema& p = current->Properties[words[0]];
    p.Kind = kind->second;
    if (p.Kind == PropertyKind::Integer) {
      if (words.size() > 3 || (words.size() == 3 && !ReadRange(words[2], p.Minimum, p.Maximum)))
        Fail(source, line, "expected 'Property integer [MIN..MAX]'");
    } else {
      p.Allowed.assign(words.begin() + 2, words.end());
    }
  }
}

void ClassSchema::CheckBases() const {
  for (const auto& [name, entry] : classes_)
    if (!entry.Base.empty() && !classes_.contains(entry.Base))
      throw EReadError("class " + name + ": unknown base class '" + entry.Base + "'");
}

const PropertySchema* ClassSchema::FindProperty(const std::string& className,
                                                const std::string& property) const {
  for (auto it = classes_.find(className); it != classes_.end();
       it = classes_.find(it->second.Base)) {
    auto p = it->second.Properties.find(property);
    if (p != it->second.Properties.end()) return &p->second;
    if (it->second.Base.empty()) break;
  }
  return nullptr;
}

ObjectDescription CompileDescription(std::string_view text, const std::string& source,
                                     const ClassSchema& schema, const IncludeReader& include) {
  return Parser(text, source, schema, include).Parse();
}
