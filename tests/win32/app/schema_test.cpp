// The stored-description schema against the code: every class that a classes.txt declares is
// created through the class registry and takes a sample of every value its properties allow.
// (The test-only classes of tests/win32/forms/ are left out: some fail to build on purpose.)
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>

#include "framework/core/bmp_file.h"
#include "framework/core/description_text.h"
#include "framework/core/exception.h"
#include "framework/imglist.h"
#include "region/core/region_data.h"
#include "support/test_classes.h"

namespace {

ClassSchema LoadSchemas() {
  ClassSchema schema;
  std::stringstream files(TIVOLU_SCHEMAS);
  for (std::string path; std::getline(files, path, '|');) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::stringstream text;
    text << in.rdbuf();
    schema.Load(text.str(), path);
  }
  schema.CheckBases();
  return schema;
}

std::vector<uint8_t> ReadArt(const std::string& path) {
  std::ifstream in(std::string(TIVOLU_SOURCE_DIR) + "/build/art/" + path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Value Sample(ValueKind kind) {
  Value v;
  v.Kind = kind;
  return v;
}

std::vector<Value> Samples(const std::string& name, const PropertySchema& property) {
  std::vector<Value> samples;
  auto integer = [](int32_t n) {
    Value v = Sample(ValueKind::Integer);
    v.Integer = n;
    return v;
  };
  auto text = [](ValueKind kind, const std::string& t) {
    Value v = Sample(kind);
    v.Text = t;
    return v;
  };
  switch (property.Kind) {
    case PropertyKind::Integer:
      samples = {integer(std::clamp(0, property.Minimum, property.Maximum)),
                 integer(std::clamp(3, property.Minimum, property.Maximum))};
      break;
    case PropertyKind::String:
      samples = {text(ValueKind::String, ""), text(ValueKind::String, "値")};
      break;
    case PropertyKind::Boolean:
      samples = {Sample(ValueKind::True), Sample(ValueKind::False)};
      break;
    case PropertyKind::Color:
      samples.push_back(integer(0x123456));
      [[fallthrough]];
    case PropertyKind::Identifier:
      for (const auto& allowed : property.Allowed)
        samples.push_back(text(ValueKind::Identifier, allowed));
      break;
    case PropertyKind::Set: {
      samples.push_back(Sample(ValueKind::Set));
      for (const auto& allowed : property.Allowed) {
        Value v = Sample(ValueKind::Set);
        v.Items = {allowed};
        samples.push_back(v);
      }
      break;
    }
    case PropertyKind::Binary: {
      Value v = Sample(ValueKind::Binary);
      // An icon file ("Icon.Data"), a picture ("....Data"), else an outline.
      Image picture = Image::Create(2, 2, 8);
      picture.Palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
      picture.SetIndex(1, 0, 1);
      if (name == "Icon.Data")
        v.Bytes = ReadArt("pictures/TrayIcon.ico");
      else
        v.Bytes = name.ends_with(".Data") ? EncodeBitmapProperty(WriteBmpFile(picture))
                                          : WriteRegionData({{{0, 2}}, {{0, 1}}});
      samples.push_back(v);
      break;
    }
    case PropertyKind::Reference:
    case PropertyKind::Event:
      break;  // below
  }
  return samples;
}

// The properties a class declares, its bases' included.
std::map<std::string, PropertySchema> AllProperties(const ClassSchema& schema,
                                                    const std::string& name) {
  std::map<std::string, PropertySchema> all;
  for (std::string c = name; !c.empty(); c = schema.Classes().at(c).Base)
    for (const auto& [property, declared] : schema.Classes().at(c).Properties)
      all.emplace(property, declared);
  return all;
}

TEST(Schema, EveryDeclaredClassIsRegisteredAndTakesEveryValueItsPropertiesAllow) {
  const ClassSchema schema = LoadSchemas();
  // A class others derive from is tried through them.
  std::set<std::string> bases;
  for (const auto& [name, entry] : schema.Classes()) bases.insert(entry.Base);
  const std::vector<TEventHandler> handlers = {
      TNotifyEvent([](TObject*) {}),
      TMouseEvent([](TObject*, TMouseButton, TShiftState, int, int) {}),
      TMouseMoveEvent([](TObject*, TShiftState, int, int) {}),
      TKeyEvent([](TObject*, uint16_t&, TShiftState) {}),
      TKeyPressEvent([](TObject*, wchar_t&) {})};
  int classes = 0, values = 0;
  for (const auto& [name, entry] : schema.Classes()) {
    if (bases.contains(name)) continue;
    SCOPED_TRACE(name);
    ASSERT_TRUE(IsClassRegistered(name));
    // References name a popup menu, or an image list.
    auto menu = std::make_unique<TTestPopupMenu>(nullptr);
    auto images = std::make_unique<TImageList>(nullptr);
    std::unique_ptr<TComponent> component(CreateComponentOfClass(name, nullptr));
    component->BeginLoading();
    ++classes;
    for (const auto& [property, declared] : AllProperties(schema, name)) {
      SCOPED_TRACE(property);
      if (declared.Kind == PropertyKind::Reference) {
        TComponent* target = property == "ImageList" ? static_cast<TComponent*>(images.get())
                                                     : static_cast<TComponent*>(menu.get());
        EXPECT_NO_THROW(component->SetReference(property, target));
        ++values;
      } else if (declared.Kind == PropertyKind::Event) {
        // Exactly one of the event types fits.
        int fits = 0;
        for (const TEventHandler& handler : handlers) {
          try {
            component->SetEvent(property, handler);
            ++fits;
          } catch (const EReadError&) {
          }
        }
        EXPECT_EQ(fits, 1);
        ++values;
      } else {
        // A picture strip holds pictures of the list's size: the sample picture's.
        if (auto* list = dynamic_cast<TImageList*>(component.get());
            list && property == "Bitmap.Data") {
          list->SetWidth(2);
          list->SetHeight(2);
        }
        for (const Value& value : Samples(property, declared)) {
          EXPECT_NO_THROW(component->SetProperty(property, value)) << value.Text << value.Integer;
          ++values;
        }
      }
    }
  }
  EXPECT_GE(classes, 8);  // TTimer, the three region classes, the four character windows, ...
  EXPECT_GT(values, 100);
}

TEST(Schema, AnUndeclaredPropertyOrAWrongKindIsRefusedByTheCode) {
  std::unique_ptr<TComponent> timer(CreateComponentOfClass("TTimer", nullptr));
  EXPECT_THROW(timer->SetProperty("Colour", Sample(ValueKind::True)), EReadError);
  EXPECT_THROW(timer->SetProperty("Enabled", Sample(ValueKind::Integer)), EReadError);
  EXPECT_THROW(timer->SetEvent("OnTimer", TKeyPressEvent([](TObject*, wchar_t&) {})), EReadError);
}

}  // namespace
