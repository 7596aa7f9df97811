// formc: compiles a stored window description from its text form into the binary form the
// program carries as a resource. Rejects unknown classes, properties and values.
//   formc --schema CLASSES.txt [--schema ...] [--include DIR] INPUT.dfm OUTPUT.bin
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "framework/core/description_text.h"
#include "framework/core/exception.h"

namespace fs = std::filesystem;

static std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Exception("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int main(int argc, char** argv) {
  std::vector<std::string> schemas;
  std::vector<fs::path> includes;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if ((arg == "--schema" || arg == "--include") && i + 1 < argc) {
      if (arg == "--schema")
        schemas.push_back(argv[++i]);
      else
        includes.emplace_back(argv[++i]);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) {
    std::cerr << "usage: formc --schema CLASSES.txt [--include DIR] INPUT.dfm OUTPUT.bin\n";
    return 2;
  }
  try {
    ClassSchema schema;
    for (const auto& s : schemas) {
      auto text = ReadFile(s);
      schema.Load({reinterpret_cast<const char*>(text.data()), text.size()}, s);
    }
    schema.CheckBases();
    auto include = [&](const std::string& name) {
      for (const auto& dir : includes)
        if (fs::exists(dir / name)) return ReadFile(dir / name);
      return ReadFile(fs::path(files[0]).parent_path() / name);
    };
    auto text = ReadFile(files[0]);
    ObjectDescription root = CompileDescription(
        {reinterpret_cast<const char*>(text.data()), text.size()}, files[0], schema, include);
    std::vector<uint8_t> binary = WriteDescription(root);
    fs::path tmp = files[1] + ".tmp";
    {
      std::ofstream out(tmp, std::ios::binary);
      out.write(reinterpret_cast<const char*>(binary.data()),
                static_cast<std::streamsize>(binary.size()));
      if (!out) throw Exception("cannot write " + tmp.string());
    }
    fs::rename(tmp, files[1]);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "formc: " << e.what() << "\n";
    return 1;
  }
}
