#pragma once
// The whole-pixel scale the program draws its 96-DPI design at: pixel art stays crisp only when
// every pixel becomes a whole block.

// The resolution the program's windows, pictures and distances are designed for.
inline constexpr int kDesignDpi = 96;

// DPI / 96 rounded to the nearest whole number, halves up, at least 1: 96 and 120 give 1, 144 to
// 239 give 2, 240 to 335 give 3.
constexpr int ScaleOfDpi(int dpi) {
  const int scale = (dpi + kDesignDpi / 2) / kDesignDpi;
  return scale < 1 ? 1 : scale;
}
