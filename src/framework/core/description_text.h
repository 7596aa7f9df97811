#pragma once
// The readable text form of stored window descriptions and the class schema that checks it at
// build time. The syntax of both is described in src/framework/README.md.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/description.h"

enum class PropertyKind {
  Integer,
  String,
  Boolean,
  Identifier,
  Color,
  Set,
  Binary,
  Reference,
  Event
};

struct PropertySchema {
  PropertyKind Kind = PropertyKind::Integer;
  std::vector<std::string> Allowed;  // identifiers an Identifier, Color or Set value may use
  // The range of an Integer ("Interval integer 1..65535"); the whole 32-bit range if none is said.
  int32_t Minimum = INT32_MIN, Maximum = INT32_MAX;
};

struct ClassEntry {
  std::string Base;  // empty for a root class
  std::map<std::string, PropertySchema> Properties;
};

class ClassSchema {
 public:
  // Adds the classes of one schema text; throws EReadError naming SOURCE and the line.
  void Load(std::string_view text, const std::string& source);
  // Every base class named is declared (call once all schema texts are loaded).
  void CheckBases() const;
  bool HasClass(const std::string& name) const { return classes_.contains(name); }
  // The property as the class or one of its bases declares it; null if none does.
  const PropertySchema* FindProperty(const std::string& className,
                                     const std::string& property) const;
  const std::map<std::string, ClassEntry>& Classes() const { return classes_; }

 private:
  std::map<std::string, ClassEntry> classes_;
};

// Reads the bytes of a file named in a description (binary values `file '...'`, `bitmap '...'`).
using IncludeReader = std::function<std::vector<uint8_t>(const std::string& path)>;

// Parses and checks a description; throws EReadError as "SOURCE:LINE: message".
ObjectDescription CompileDescription(std::string_view text, const std::string& source,
                                     const ClassSchema& schema, const IncludeReader& include);
