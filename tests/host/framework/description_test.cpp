#include "framework/core/description.h"

#include <gtest/gtest.h>

#include "framework/core/description_text.h"
#include "framework/core/exception.h"

namespace {

const char* kSchema = R"(
TComponent
  Name string
  Tag integer
TControl : TComponent   # base classes lend their properties
  Left integer
  Width integer 0..99
  Caption string
  Visible boolean
  Color color clBtnFace clRed
  Style identifier bsNone bsSingle
  Icons set biSystemMenu biMinimize
  Menu reference
  Data binary
  Picture.Data binary
  OnClick event
TForm : TControl
)";

ClassSchema Schema() {
  ClassSchema s;
  s.Load(kSchema, "test.classes");
  return s;
}

std::vector<uint8_t> NoInclude(const std::string& path) { throw Exception("no file " + path); }

ObjectDescription Compile(std::string_view text, const IncludeReader& include = NoInclude) {
  return CompileDescription(text, "w.dfm", Schema(), include);
}

std::string CompileError(std::string_view text) {
  try {
    Compile(text);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "(accepted)";
}

TEST(Description, TextCompilesToTheValuesAndOrderWritten) {
  auto root = Compile(R"(
object Form1: TForm
  Left = -80
  Tag = $10
  Caption = 'Launcher Tivolu! ～Morvane～' + ' ok'
  Visible = False
  Color = clBtnFace
  Style = bsNone
  Icons = [biSystemMenu, biMinimize]
  OnClick = Form1Click
  object Child: TControl
    Color = 255   // a colour may also be a number
    Menu = Form1
    Data = {0aFF 01}
  end
end)");
  EXPECT_EQ(root.ClassName, "TForm");
  EXPECT_EQ(root.Name, "Form1");
  ASSERT_EQ(root.Properties.size(), 8u);
  EXPECT_EQ(root.Properties[0].Name, "Left");
  EXPECT_EQ(root.Properties[0].Value.Integer, -80);
  EXPECT_EQ(root.Properties[1].Value.Integer, 16);
  EXPECT_EQ(root.Properties[2].Value.Text, "Launcher Tivolu! ～Morvane～ ok");
  EXPECT_EQ(root.Properties[3].Value.Kind, ValueKind::False);
  EXPECT_EQ(root.Properties[4].Value.Kind, ValueKind::Identifier);
  EXPECT_EQ(root.Properties[6].Value.Items,
            (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
  EXPECT_EQ(root.Properties[7].Value.Kind, ValueKind::Event);
  ASSERT_EQ(root.Children.size(), 1u);
  const auto& child = root.Children[0];
  EXPECT_EQ(child.Properties[0].Value.Integer, 255);
  EXPECT_EQ(child.Properties[1].Value.Kind, ValueKind::Reference);
  EXPECT_EQ(child.Properties[2].Value.Bytes, (std::vector<uint8_t>{0x0a, 0xff, 0x01}));

  // The binary form gives back exactly the same description.
  const std::vector<uint8_t> stored = WriteDescription(root);
  EXPECT_EQ(ReadDescription(stored), root);
  // Read in place, the same description, its binary values left in the stored bytes.
  const ObjectDescription inPlace = ReadDescriptionInPlace(stored);
  EXPECT_EQ(inPlace, root);
  const Value& data = inPlace.Children[0].Properties[2].Value;
  EXPECT_TRUE(data.Bytes.empty());
  ASSERT_EQ(data.Binary().size(), 3u);
  EXPECT_GE(data.Binary().data(), stored.data());
  EXPECT_LE(data.Binary().data() + 3, stored.data() + stored.size());
  EXPECT_EQ(WriteDescription(inPlace), stored);
  // Binary values compare by their bytes.
  Value other = data;
  other.StoredBytes = {};
  other.Bytes = {0x0a, 0xff, 0x02};
  EXPECT_FALSE(other == data);
  other.Bytes.back() = 0x01;
  EXPECT_TRUE(other == data);
}

TEST(Description, IncludedFilesAndPictures) {
  auto include = [](const std::string& path) {
    EXPECT_EQ(path, "art/a.bin");
    return std::vector<uint8_t>{1, 2, 3};
  };
  auto root =
      Compile("object F: TForm\n Data = file 'art/a.bin'\n Picture.Data = bitmap 'art/a.bin'\nend",
              include);
  EXPECT_EQ(root.Properties[0].Value.Bytes, (std::vector<uint8_t>{1, 2, 3}));
  // A picture's stored value starts with its 32-bit length.
  EXPECT_EQ(root.Properties[1].Value.Bytes, (std::vector<uint8_t>{3, 0, 0, 0, 1, 2, 3}));
}

TEST(Description, UnknownNamesAndWrongValuesAreRejectedWithTheLine) {
  EXPECT_EQ(CompileError("object F: TForm\nend\n"), "(accepted)");
  EXPECT_EQ(CompileError("object F: TWidget\nend"), "w.dfm:1: unknown class 'TWidget'");
  EXPECT_EQ(CompileError("object F: TForm\n\n  Height = 3\nend"),
            "w.dfm:3: class TForm has no property 'Height'");
  EXPECT_EQ(CompileError("object F: TForm\n Left = 'x'\nend"),
            "w.dfm:2: property 'Left' of TForm takes a number");
  EXPECT_EQ(CompileError("object F: TForm\n Style = bsDialog\nend"),
            "w.dfm:2: 'bsDialog' is not a value of 'Style'");
  EXPECT_EQ(CompileError("object F: TForm\n Icons = [biHelp]\nend"),
            "w.dfm:2: 'biHelp' is not a member of 'Icons'");
  EXPECT_EQ(CompileError("object F: TForm\n Menu = Nowhere\nend"),
            "w.dfm:2: no component named 'Nowhere'");
  EXPECT_EQ(
      CompileError("object F: TForm\n object A: TControl\n end\n object A: TControl\n end\nend"),
      "w.dfm:4: component name 'A' used twice");
  EXPECT_EQ(CompileError("object F: TForm\n Left = 1\n Left = 2\nend"),
            "w.dfm:3: property 'Left' given twice");
  EXPECT_EQ(CompileError("object F: TForm\n Left = 99999999999\nend"),
            "w.dfm:2: number out of range: 99999999999");
  EXPECT_EQ(CompileError("object F: TForm\n Width = 99\nend"), "(accepted)");
  EXPECT_EQ(CompileError("object F: TForm\n Width = 100\nend"),
            "w.dfm:2: property 'Width' of TForm takes a number from 0 to 99");
  EXPECT_EQ(CompileError("object F: TForm\n Width = -1\nend"),
            "w.dfm:2: property 'Width' of TForm takes a number from 0 to 99");
  EXPECT_EQ(CompileError("object F: TForm\n Caption = 'open\nend"), "w.dfm:2: unterminated string");
  EXPECT_EQ(CompileError("object F: TForm\n Left = 1\n"), "w.dfm:3: missing 'end' of object F");
  EXPECT_EQ(CompileError("object F: TForm\n Data = file 'x.bin'\nend"),
            "w.dfm:2: cannot read 'x.bin': no file x.bin");
}

TEST(Description, SchemaErrorsNameTheLine) {
  ClassSchema s;
  s.Load("TA : TMissing\n", "s");  // bases may come from a later schema text
  EXPECT_THROW(s.CheckBases(), EReadError);
  try {
    ClassSchema other;
    other.Load("TA\n  Left whatever\n", "s.classes");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "s.classes:2: unknown kind 'whatever'");
  }
  for (const char* range : {"1", "5..1", "1..x", "..3", "1..2 3"}) {
    ClassSchema other;
    EXPECT_THROW(other.Load(std::string("TA\n  Left integer ") + range + "\n", "s"), EReadError)
        << range;
  }
}

TEST(Description, TruncatedOrForeignBinaryIsRefused) {
  auto root = Compile("object F: TForm\n Caption = 'abc'\n Data = {0102}\nend");
  auto bytes = WriteDescription(root);
  for (size_t n = 0; n < bytes.size(); ++n) {
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
    EXPECT_THROW(ReadDescription(cut), EReadError) << "cut at " << n;
  }
  bytes.push_back(0);
  EXPECT_THROW(ReadDescription(bytes), EReadError);
  bytes = WriteDescription(root);
  bytes[4 + (1 + 5) + (1 + 1) + (1 + 7)] = 99;  // the type tag of the first value
  EXPECT_THROW(ReadDescription(bytes), EReadError);
}

}  // namespace
