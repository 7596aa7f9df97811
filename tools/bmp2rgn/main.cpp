// bmp2rgn INPUT.bmp OUTPUT.bin: writes the canonical region data blob of the bitmap's outline
// (every pixel that differs from the bottom-left one). On an unreadable input or a bitmap that
// cannot be used it prints the reason to stderr, leaves OUTPUT untouched and exits 1; wrong usage
// exits 2.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "framework/core/exception.h"
#include "framework/core/bmp_file.h"
#include "region/core/region_data.h"

namespace {

struct ToolError {
  std::string message;
};

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ToolError{"cannot open " + path.string()};
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (in.bad()) throw ToolError{"cannot read " + path.string()};
  return bytes;
}

// Writes a sibling temporary file and renames it over the output, so that a failure never leaves
// a partial file behind.
void WriteWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::filesystem::path temporary = path;
  temporary += ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (out) out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw ToolError{"cannot write " + path.string()};
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    throw ToolError{"cannot write " + path.string()};
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: bmp2rgn INPUT.bmp OUTPUT.bin\n"
                 "Writes the region data blob of the bitmap's outline (pixels that differ from "
                 "the bottom-left one).\n";
    return 2;
  }
  try {
    const std::vector<uint8_t> file = ReadWholeFile(argv[1]);
    Image image = ReadBmpFile(file);
    WriteWholeFile(argv[2], BmpToRgnData(image));
    return 0;
  } catch (const ToolError& e) {
    std::cerr << "bmp2rgn: " << e.message << '\n';
  } catch (const Exception& e) {
    std::cerr << "bmp2rgn: " << argv[1] << ": " << e.Message() << '\n';
  } catch (const std::exception& e) {
    std::cerr << "bmp2rgn: " << argv[1] << ": " << e.what() << '\n';
  }
  return 1;
}
