#pragma once
// The vectorizer's settings, as the dialog and qov-convert give them. A zero
// stands for the value measured from the picture.

namespace qov {

struct VectorizeParams {
  int threshold = 50;      // percent: dark is what the threshold command makes black
  double maxPenMm = 2.0;   // dark regions wider than this are areas; 0: 2 mm
  double toleranceMm = 0;  // 0: a quarter of the measured pen width, at least half a pixel
  double speckMm2 = 0;     // 0: the measured pen width squared
  double dpi = 0;          // 0: the picture's own resolution

  friend bool operator==(const VectorizeParams&, const VectorizeParams&) = default;
};

// The millimetres of one pixel when the picture gives no resolution: the
// same step the other DXF exports take.
inline constexpr double kAssumedMmPerPixel = 0.34;

}  // namespace qov
