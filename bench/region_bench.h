#pragma once
// Pictures and timing shared by the region benchmarks (host and Windows).
#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <numeric>
#include <random>
#include <vector>

#include "framework/core/bmp_file.h"

namespace region_bench {

// A standing figure in a `width` x `height` bitmap: head, body, arms, legs and two eye holes,
// drawn with palette index 1 on the key index 0.
inline Image Figure(int width, int height) {
  Image image = Image::Create(width, height, 8);
  image.Palette = {{255, 0, 255, 0}, {40, 80, 200, 0}, {0, 0, 0, 0}};
  auto ellipse = [](double x, double y, double cx, double cy, double rx, double ry) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1;
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = (x + 0.5) / width, v = (y + 0.5) / height;
      const bool head = ellipse(u, v, 0.5, 0.2, 0.22, 0.17);
      const bool eye =
          ellipse(u, v, 0.42, 0.19, 0.03, 0.03) || ellipse(u, v, 0.58, 0.19, 0.03, 0.03);
      const bool body = ellipse(u, v, 0.5, 0.55, 0.25, 0.22);
      const bool arms = v > 0.42 && v < 0.5 && u > 0.12 && u < 0.88;
      const bool legs = v > 0.7 && v < 0.97 && ((u > 0.33 && u < 0.45) || (u > 0.55 && u < 0.67));
      if ((head && !eye) || body || arms || legs) image.SetIndex(x, y, 1);
    }
  }
  return image;
}

// Every row but the last holds `runs` runs of random lengths at random places, different from
// row to row, so that no two rows merge into a band; 100 runs per row give the most rectangles a
// bitmap can have.
inline Image Noise(int width, int height, uint16_t bits, int runs) {
  Image image = Image::Create(width, height, bits);
  if (bits == 8) image.Palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  std::mt19937 random(5);
  std::vector<int> positions(width - 1);
  std::iota(positions.begin(), positions.end(), 1);
  for (int y = 0; y + 1 < height; ++y) {
    // 2 x runs distinct cuts make runs [cuts[i], cuts[i + 1]) with a key pixel between neighbours.
    std::vector<int> cuts;
    std::sample(positions.begin(), positions.end(), std::back_inserter(cuts), 2 * runs, random);
    for (size_t i = 0; i < cuts.size(); i += 2) {
      for (int x = cuts[i]; x < cuts[i + 1]; ++x) {
        if (bits == 8)
          image.SetIndex(x, y, 1);
        else
          image.SetColour(x, y, {uint8_t(x), uint8_t(y), 200, 0});
      }
    }
  }
  return image;
}

// The median time of `runs` calls of `work`, in microseconds.
inline double MedianMicroseconds(const std::function<void()>& work, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

}  // namespace region_bench
