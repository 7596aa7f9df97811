// Time to make the region data blob of a bitmap with the Windows-free scanner and writer, and to
// read it back into a region (what start-up does per frame). Prints the median of several runs.
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/bmp_file.h"
#include "region/core/region_data.h"
#include "region_bench.h"

namespace {

using region_bench::Figure;
using region_bench::MedianMicroseconds;
using region_bench::Noise;

void Measure(const std::string& name, Image image, int runs) {
  volatile size_t sink = 0;
  std::vector<uint8_t> blob = BmpToRgnData(image);
  const RowRuns rows = ScanRuns(image);
  const double whole = MedianMicroseconds([&] { sink = sink + BmpToRgnData(image).size(); }, runs);
  const double scan = MedianMicroseconds([&] { sink = sink + ScanRuns(image).size(); }, runs);
  const double write =
      MedianMicroseconds([&] { sink = sink + WriteRegionData(rows).size(); }, runs);
  const double read =
      MedianMicroseconds([&] { sink = sink + Region::FromBlob(blob).Rects().size(); }, runs);
  std::printf(
      "%-34s %7zu rects %9zu bytes | BmpToRgnData %9.1f us | ScanRuns %9.1f us | "
      "WriteRegionData %9.1f us | Region::FromBlob %9.1f us\n",
      name.c_str(), (blob.size() - 32) / 16, blob.size(), whole, scan, write, read);
}

}  // namespace

int main() {
  std::printf("Region blob from bitmap, median of runs, microseconds\n");
  Measure("46 x 56 frame, 8 bits", Figure(46, 56), 201);
  Measure("1024 x 1024 figure, 8 bits", Figure(1024, 1024), 21);
  Measure("1024 x 1024 noise (100 runs/row), 8", Noise(1024, 1024, 8, 100), 21);
  Measure("1024 x 1024 noise (100 runs/row), 24", Noise(1024, 1024, 24, 100), 21);
  return 0;
}
