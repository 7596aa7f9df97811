#pragma once
// Stored window descriptions: a window's components and their property values as data.
// Written as readable text under assets/ (see src/framework/README.md), checked against the
// class schema and compiled at build time into a compact binary form that the program reads back.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class ValueKind : uint8_t {
  Integer = 4,     // 32-bit signed
  Identifier = 7,  // an enumeration value such as fsStayOnTop
  False = 8,
  True = 9,
  Binary = 10,     // raw bytes
  Set = 11,        // a set of identifiers
  String = 20,     // UTF-8 text
  Reference = 21,  // the name of another component of the same window, resolved after loading
  Event = 22,      // the name of an event handler of the window
};

struct Value {
  ValueKind Kind = ValueKind::Integer;
  int32_t Integer = 0;
  std::string Text;                // String, Identifier, Reference, Event
  std::vector<std::string> Items;  // Set
  std::vector<uint8_t> Bytes;      // Binary, held by the value
  // Binary, left where the value was read (ReadDescriptionInPlace) when Bytes is empty.
  std::span<const uint8_t> StoredBytes;

  bool Boolean() const { return Kind == ValueKind::True; }
  std::span<const uint8_t> Binary() const {
    return Bytes.empty() ? StoredBytes : std::span<const uint8_t>(Bytes);
  }
  // Whether Binary() lies where the value was read (ReadDescriptionInPlace), for as long as the
  // components read from it.
  bool InPlace() const { return Bytes.empty() && !StoredBytes.empty(); }
  // Binary values are equal when their bytes are, wherever they are held.
  bool operator==(const Value& other) const;
};

struct PropertyValue {
  std::string Name;  // may be a path such as Font.Name or RgnBitmap.Data
  ::Value Value;
  bool operator==(const PropertyValue&) const = default;
};

struct ObjectDescription {
  std::string ClassName;
  std::string Name;
  std::vector<PropertyValue> Properties;  // in stored order
  std::vector<ObjectDescription> Children;
  bool operator==(const ObjectDescription&) const = default;
};

// The binary form. Throws EReadError on a malformed or truncated input.
std::vector<uint8_t> WriteDescription(const ObjectDescription& root);
ObjectDescription ReadDescription(std::span<const uint8_t> data);
// The same, its binary values (pictures, outlines) left in DATA, which must outlive the
// description and the components read from it (the program's resources, which stay loaded): a
// description read from them holds no copy of its pictures, nor need its components.
ObjectDescription ReadDescriptionInPlace(std::span<const uint8_t> data);
