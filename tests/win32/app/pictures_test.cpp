// The pictures the program carries, as the platform loads them: the check box glyph strip from
// the program's resources, the program's icon by its name, and the notification-area icon's
// picture from its icon file.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/winapi.h"

namespace {

class IconOwner {
 public:
  explicit IconOwner(HICON icon) : icon_(icon) {}
  ~IconOwner() {
    if (icon_) DestroyIcon(icon_);
  }
  IconOwner(const IconOwner&) = delete;
  IconOwner& operator=(const IconOwner&) = delete;
  HICON Get() const { return icon_; }

 private:
  HICON icon_;
};

std::vector<uint8_t> ReadPicture(const std::string& name) {
  const std::string path = std::string(TIVOLU_SOURCE_DIR) + "/build/art/pictures/" + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "missing " << path;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {0, 0};
  BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(colour ? colour.Get() : mask.Get(), sizeof bitmap, &bitmap);
  return {bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// The icon drawn at size x size over `background`, as top-down rows of COLORREF values.
std::vector<COLORREF> Drawn(HICON icon, int size, COLORREF background) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  BitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDC dc(CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.Get(), dib.Get());
  BrushHandle brush(CreateSolidBrush(background));
  const RECT all{0, 0, size, size};
  FillRect(dc.Get(), &all, brush.Get());
  EXPECT_TRUE(DrawIconEx(dc.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
  GdiFlush();
  std::vector<COLORREF> pixels;
  for (int i = 0; i < size * size; ++i) {
    const uint32_t bgr = static_cast<const uint32_t*>(bits)[i];
    pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
  }
  return pixels;
}

TEST(Pictures, GlyphStripIsABitmapResource) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC resource = FindResourceExW(module, MAKEINTRESOURCEW(2), L"CHECKBOX",
                                         MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  ASSERT_NE(resource, nullptr);
  EXPECT_EQ(SizeofResource(module, resource), 19208u);

  BitmapHandle strip(static_cast<HBITMAP>(
      LoadImageW(module, L"CHECKBOX", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  ASSERT_TRUE(strip);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(strip.Get(), sizeof section, &section), int(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 1008);
  EXPECT_EQ(section.dsBm.bmHeight, 18);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 8);
  MemoryDC dc(CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.Get(), strip.Get());
  for (int cell = 0; cell < 56; ++cell)
    EXPECT_EQ(GetPixel(dc.Get(), 18 * cell, 17), RGB(255, 0, 255)) << "cell " << cell;
  EXPECT_EQ(GetPixel(dc.Get(), 6, 8), RGB(255, 255, 255));       // style 1, unchecked: face
  EXPECT_EQ(GetPixel(dc.Get(), 18 + 15, 2), RGB(0, 0, 255));     // checked: the tick's end
  EXPECT_EQ(GetPixel(dc.Get(), 36 + 6, 8), RGB(160, 160, 164));  // unchecked, disabled: face

  // The form the program's bitmaps take when loaded without a section keeps the size.
  BitmapHandle device(LoadBitmapW(module, L"CHECKBOX"));
  BITMAP bitmap{};
  ASSERT_TRUE(device && GetObjectW(device.Get(), sizeof bitmap, &bitmap));
  EXPECT_EQ(bitmap.bmWidth, 1008);
  EXPECT_EQ(bitmap.bmHeight, 18);
}

TEST(Pictures, ProgramIconLoadsByNameAtEachSize) {
  const HMODULE module = GetModuleHandleW(nullptr);
  EXPECT_NE(LoadIconW(module, L"MAINICON"), nullptr);  // shared: not destroyed
  for (int size : {16, 32, 48}) {
    SCOPED_TRACE(std::to_string(size));
    IconOwner icon(static_cast<HICON>(LoadImageW(module, L"MAINICON", IMAGE_ICON, size, size, 0)));
    ASSERT_NE(icon.Get(), nullptr);
    const SIZE actual = IconSize(icon.Get());
    EXPECT_EQ(actual.cx, size);
    EXPECT_EQ(actual.cy, size);
    // Transparent around the face, opaque in its middle.
    const std::vector<COLORREF> onWhite = Drawn(icon.Get(), size, RGB(255, 255, 255));
    const std::vector<COLORREF> onBlack = Drawn(icon.Get(), size, RGB(0, 0, 0));
    EXPECT_EQ(onWhite.front(), RGB(255, 255, 255));
    EXPECT_EQ(onBlack.front(), RGB(0, 0, 0));
    const size_t middle = size_t(size / 2) * size + size / 2;
    EXPECT_EQ(onWhite[middle], onBlack[middle]);
    EXPECT_NE(onWhite[middle], RGB(255, 255, 255));
  }
}

// The task-bar button's icon comes with the button: the window is given it as it first shows.
TEST(Pictures, TheApplicationWindowShowsTheProgramIconOnceShown) {
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  ASSERT_NE(icon, nullptr);
  TApplication* const testApplication = Application;
  {
    TApplication application;
    EXPECT_EQ(SendMessageW(application.Handle(), WM_GETICON, ICON_BIG, 0), 0);
    for (int shown = 0; shown < 2; ++shown) {
      ShowWindow(application.Handle(), SW_SHOWNOACTIVATE);
      for (WPARAM kind : {ICON_BIG, ICON_SMALL})
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(application.Handle(), WM_GETICON, kind, 0)),
                  icon);
      ShowWindow(application.Handle(), SW_HIDE);
    }
  }
  Application = testApplication;
}

TEST(Pictures, TrayPictureIsOpaqueAtItsSizeAndAtSixteen) {
  const std::vector<uint8_t> file = ReadPicture("TrayIcon.ico");
  ASSERT_GE(file.size(), 22u);
  ASSERT_EQ(file[4], 1);  // one image
  const uint32_t size = file[14] | file[15] << 8 | file[16] << 16 | uint32_t(file[17]) << 24;
  const uint32_t offset = file[18] | file[19] << 8 | file[20] << 16 | uint32_t(file[21]) << 24;
  ASSERT_LE(uint64_t(offset) + size, file.size());
  IconOwner icon(CreateIconFromResourceEx(const_cast<uint8_t*>(file.data() + offset), size, TRUE,
                                          0x00030000, 0, 0, LR_DEFAULTCOLOR));
  ASSERT_NE(icon.Get(), nullptr);
  const SIZE actual = IconSize(icon.Get());
  EXPECT_EQ(actual.cx, 29);
  EXPECT_EQ(actual.cy, 29);
  for (int shown : {29, 16}) {
    SCOPED_TRACE(std::to_string(shown));
    EXPECT_EQ(Drawn(icon.Get(), shown, RGB(255, 255, 255)), Drawn(icon.Get(), shown, RGB(0, 0, 0)))
        << "no pixel lets the background through";
  }
}

}  // namespace
