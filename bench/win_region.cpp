// Under Windows (or Wine): the time to make a bitmap's outline blob with the Windows-free writer,
// beside uniting the same row runs with the platform's regions (CreateRectRgn + CombineRgn) and
// exporting them (GetRegionData); and the time to turn a stored blob into a region
// (ExtCreateRegion), which is what start-up does per frame. Prints medians, asserts nothing.
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/bmp_file.h"
#include "framework/winapi.h"
#include "region/core/region_data.h"
#include "region_bench.h"
#include "win_bench.h"

namespace {

using region_bench::Figure;
using region_bench::MedianMicroseconds;
using region_bench::Noise;

std::vector<uint8_t> UniteAndExport(const RowRuns& rows) {
  RegionHandle outline(CreateRectRgn(0, 0, 0, 0));
  for (size_t y = 0; y < rows.size(); ++y) {
    const int top = static_cast<int>(y);
    for (const Run& run : rows[y]) {
      RegionHandle rect(CreateRectRgn(run.Left, top, run.Right, top + 1));
      CombineRgn(outline.Get(), outline.Get(), rect.Get(), RGN_OR);
    }
  }
  std::vector<uint8_t> blob(GetRegionData(outline.Get(), 0, nullptr));
  GetRegionData(outline.Get(), static_cast<DWORD>(blob.size()),
                reinterpret_cast<RGNDATA*>(blob.data()));
  return blob;
}

void Measure(const std::string& name, Image image, int runs) {
  volatile size_t sink = 0;
  const std::vector<uint8_t> blob = BmpToRgnData(image);
  const RowRuns rows = ScanRuns(image);
  const std::vector<uint8_t> platformBlob = UniteAndExport(rows);
  const double whole = MedianMicroseconds([&] { sink = sink + BmpToRgnData(image).size(); }, runs);
  const double scan = MedianMicroseconds([&] { sink = sink + ScanRuns(image).size(); }, runs);
  const double write =
      MedianMicroseconds([&] { sink = sink + WriteRegionData(rows).size(); }, runs);
  const double platform =
      MedianMicroseconds([&] { sink = sink + UniteAndExport(rows).size(); }, runs);
  const XFORM identity{1, 0, 0, 1, 0, 0};
  const double load = MedianMicroseconds(
      [&] {
        RegionHandle region(ExtCreateRegion(&identity, static_cast<DWORD>(blob.size()),
                                            reinterpret_cast<const RGNDATA*>(blob.data())));
        sink = sink + (region ? 1 : 0);
      },
      runs);
  size_t runCount = 0;
  for (const auto& row : rows) runCount += row.size();
  std::printf(
      "%-30s %6zu runs %6zu rects | BmpToRgnData %10.1f us = ScanRuns %9.1f + WriteRegionData "
      "%9.1f | platform union + export %11.1f us | same blob: %-3s | ExtCreateRegion %8.1f us\n",
      name.c_str(), runCount, (blob.size() - 32) / 16, whole, scan, write, platform,
      blob == platformBlob ? "yes" : "NO", load);
  std::fflush(stdout);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  UseParentConsole();
  std::printf(
      "Region blob from bitmap: Windows-free writer against the platform's regions, "
      "median of runs\n");
  Measure("46 x 56 frame figure, 8 bits", Figure(46, 56), 201);
  Measure("1024 x 1024 figure, 8 bits", Figure(1024, 1024), 11);
  Measure("1024 x 1024 noise, 10 runs/row", Noise(1024, 1024, 8, 10), 5);
  Measure("1024 x 1024 noise, 30 runs/row", Noise(1024, 1024, 8, 30), 1);
  return 0;
}
