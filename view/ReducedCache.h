#pragma once
// The picture as the window shows it below ×1, kept from one repaint to the
// next: a repaint then reads the reduced pixels, not the picture's. Fitted
// to the window, an A0 sheet is 744 MB to read and its reduced picture a
// few.

#include <cstdint>

#include "image/QOV_V2Doc.h"
#include "platform/DC.h"
#include "platform/GlobalMemory.h"

namespace qov {

class CReducedCache {
 public:
  // Draws `visible`, a rectangle of the document's picture reduced by
  // `factor` (as ReduceDib reduces it) in the reduced picture's pixels, at
  // the same place in dc; `picture` is the picture's size. The reduced
  // pixels kept serve when they cover `visible` and were made from the same
  // pixels (the document's GetPixelsVersion) at the same factor; otherwise
  // the old ones are let go and new ones made: the whole reduced picture
  // when it has at most `allowance` pixels, else `visible` alone. Returns
  // the scan lines drawn; 0 without a picture or the memory for it.
  int Paint(CDC* dc, const CQOV_V2Doc& doc, CSize picture, const CRect& visible, int factor,
            std::int64_t allowance);
  // Lets go of the reduced pixels kept.
  void Drop();

 private:
  void Make(const CQOV_V2Doc& doc, CSize picture, const CRect& rect, int factor);

  CGlobalOwner m_hReduced;
  // The part of the reduced picture that m_hReduced holds.
  CRect m_rectHeld;
  int m_nFactor = 0;
  std::uint64_t m_nVersion = 0;
};

}  // namespace qov
