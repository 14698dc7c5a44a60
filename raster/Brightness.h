#pragma once
// The brightness weighting shared by dithering and error diffusion.

#include "image/QOV_V2Doc.h"

namespace qov {

// Adds the brightness 0.8 × blue + 1.2 × green + red of `color` to `sum`
// and truncates toward zero. Each step is one rounded double operation in
// exactly this order (the build forbids fused multiply-adds): the truncated
// result differs for some colours when the running sum joins earlier or
// later, so the order is part of the result.
inline int AccumulateBrightness(int sum, const Color3& color) {
  double t = 0.8 * color[0];
  t = t + 1.2 * color[1];
  t = t + sum;
  t = t + color[2];
  return static_cast<int>(t);
}

// Brightness of one pixel, 0 to 765. Adding a sum of 0 is exact, so this is
// 0.8 × blue + 1.2 × green + red rounded step by step and truncated.
inline int Brightness(const Color3& color) {
  return AccumulateBrightness(0, color);
}

}  // namespace qov
