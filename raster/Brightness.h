#pragma once
// The brightness weighting shared by dithering and error diffusion.

#include "image/QOV_V2Doc.h"

namespace qov {

// Adds the brightness 0.8 × blue + 1.2 × green + red to `sum`, before the
// truncation toward zero. Each step is one rounded double operation in
// exactly this order (the build forbids fused multiply-adds): the truncated
// result differs for some colours when the running sum joins earlier or
// later, so the order is part of the result. `Real` is double, or a vector
// of doubles (GCC's vector extension) whose every lane is rounded as a
// double alone, so that blocks summed side by side take the same steps.
// Always inlined: a routine built for AVX2 would pass such vectors to a
// plain-built one in registers where it looks for them in memory.
template <class Real>
[[gnu::always_inline]] inline Real AddBrightness(Real sum, Real blue, Real green, Real red) {
  Real t = 0.8 * blue;
  t = t + 1.2 * green;
  t = t + sum;
  return t + red;
}

// Adds the brightness of `color` to `sum` and truncates.
inline int AccumulateBrightness(int sum, const Color3& color) {
  return static_cast<int>(AddBrightness<double>(sum, color[0], color[1], color[2]));
}

// Brightness of one pixel, 0 to 765. Adding a sum of 0 is exact, so this is
// 0.8 × blue + 1.2 × green + red rounded step by step and truncated.
inline int Brightness(const Color3& color) {
  return AccumulateBrightness(0, color);
}

}  // namespace qov
