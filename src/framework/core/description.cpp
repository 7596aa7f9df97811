#include "framework/core/description.h"

#include "framework/core/exception.h"

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

class Writer {
 public:
  std::vector<uint8_t> Out;

  void Byte(uint8_t b) { Out.push_back(b); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void ShortString(const std::string& s) {
    if (s.size() > 255) throw EReadError("名前が長すぎます: " + s.substr(0, 40) + "...");
    Byte(static_cast<uint8_t>(s.size()));
    Out.insert(Out.end(), s.begin(), s.end());
  }
  void LongBytes(std::span<const uint8_t> bytes) {
    U32(static_cast<uint32_t>(bytes.size()));
    Out.insert(Out.end(), bytes.begin(), bytes.end());
  }

  void WriteValue(const Value& v) {
    Byte(static_cast<uint8_t>(v.Kind));
    switch (v.Kind) {
      case ValueKind::Integer:
        U32(static_cast<uint32_t>(v.Integer));
        break;
      case ValueKind::Identifier:
      case ValueKind::Reference:
      case ValueKind::Event:
        ShortString(v.Text);
        break;
      case ValueKind::False:
      case ValueKind::True:
        break;
      case ValueKind::Binary:
        LongBytes(v.Binary());
        break;
      case ValueKind::Set:
        for (const auto& item : v.Items) ShortString(item);
        Byte(0);
        break;
      case ValueKind::String:
        LongBytes({reinterpret_cast<const uint8_t*>(v.Text.data()), v.Text.size()});
        break;
    }
  }

  void WriteObject(const ObjectDescription& o) {
    ShortString(o.ClassName);
    ShortString(o.Name);
    for (const auto& p : o.Properties) {
      if (p.Name.empty()) throw EReadError("プロパティ名が空です");
      ShortString(p.Name);
      WriteValue(p.Value);
    }
    Byte(0);
    for (const auto& child : o.Children) WriteObject(child);
    Byte(0);
  }
};

class Reader {
 public:
  Reader(std::span<const uint8_t> data, bool inPlace) : data_(data), inPlace_(inPlace) {}

  bool AtEnd() const { return pos_ == data_.size(); }
  uint8_t Peek() const {
    Need(1);
    return data_[pos_];
  }
  uint8_t Byte() {
    Need(1);
    return data_[pos_++];
  }
  uint32_t U32() {
    Need(4);
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(data_[pos_++]) << (8 * i);
    return v;
  }
  std::string ShortString() {
    size_t n = Byte();
    Need(n);
    std::string s(reinterpret_cast<const char*>(data_.data() + pos_), n);
    pos_ += n;
    return s;
  }
  std::span<const uint8_t> LongBytes() {
    size_t n = U32();
    Need(n);
    auto bytes = data_.subspan(pos_, n);
    pos_ += n;
    return bytes;
  }

  Value ReadValue() {
    Value v;
    v.Kind = static_cast<ValueKind>(Byte());
    switch (v.Kind) {
      case ValueKind::Integer:
        v.Integer = static_cast<int32_t>(U32());
        break;
      case ValueKind::Identifier:
      case ValueKind::Reference:
      case ValueKind::Event:
        v.Text = ShortString();
        break;
      case ValueKind::False:
      case ValueKind::True:
        break;
      case ValueKind::Binary: {
        auto bytes = LongBytes();
        if (inPlace_)
          v.StoredBytes = bytes;
        else
          v.Bytes.assign(bytes.begin(), bytes.end());
        break;
      }
      case ValueKind::Set:
        while (Peek() != 0) v.Items.push_back(ShortString());
        Byte();
        break;
      case ValueKind::String: {
        auto bytes = LongBytes();
        v.Text.assign(bytes.begin(), bytes.end());
        break;
      }
      default:
        throw EReadError("ウィンドウ記述の値の型が不正です: " +
                         std::to_string(static_cast<int>(v.Kind)));
    }
    return v;
  }

  ObjectDescription ReadObject(int depth) {
    if (depth > 64) throw EReadError("ウィンドウ記述の入れ子が深すぎます");
    ObjectDescription o;
    o.ClassName = ShortString();
    if (o.ClassName.empty()) throw EReadError("ウィンドウ記述のクラス名が空です");
    o.Name = ShortString();
    while (Peek() != 0) {
      PropertyValue p;
      p.Name = ShortString();
      p.Value = ReadValue();
      o.Properties.push_back(std::move(p));
    }
    Byte();
    while (Peek() != 0) o.Children.push_back(ReadObject(depth + 1));
    Byte();
    return o;
  }

 private:
  void Need(size_t n) const {
    if (data_.size() - pos_ < n) throw EReadError("ウィンドウ記述が途中で切れています");
  }
  std::span<const uint8_t> data_;
  bool inPlace_;
  size_t pos_ = 0;
};

ObjectDescription Read(std::span<const uint8_t> data, bool inPlace) {
  if (data.size() < 4 || !std::equal(std::begin(kSignature), std::end(kSignature), data.begin()))
    throw EReadError("ウィンドウ記述ではありません");
  Reader r(data.subspan(4), inPlace);
  ObjectDescription root = r.ReadObject(0);
  if (!r.AtEnd()) throw EReadError("ウィンドウ記述の後に余分なデータがあります");
  return root;
}

}  // namespace

bool Value::operator==(const Value& other) const {
  const std::span<const uint8_t> bytes = Binary(), otherBytes = other.Binary();
  return Kind == other.Kind && Integer == other.Integer && Text == other.Text &&
         Items == other.Items && std::equal(bytes.begin(), bytes.end(), otherBytes.begin(),
                                            otherBytes.end());
}

std::vector<uint8_t> WriteDescription(const ObjectDescription& root) {
  Writer w;
  w.Out.assign(std::begin(kSignature), std::end(kSignature));
  w.WriteObject(root);
  return std::move(w.Out);
}

ObjectDescription ReadDescription(std::span<const uint8_t> data) { return Read(data, false); }

ObjectDescription ReadDescriptionInPlace(std::span<const uint8_t> data) {
  return Read(data, true);
}
