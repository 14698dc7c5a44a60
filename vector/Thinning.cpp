#include "vector/Thinning.h"

#include <array>
#include <bit>
#include <utility>
#include <vector>

#include "platform/Progress.h"

namespace qov {
namespace {

// Neighbour bits: 0 N, 1 NE, 2 E, 3 SE, 4 S, 5 SW, 6 W, 7 NW.
bool Has(unsigned bits, int k) {
  return (bits >> k) & 1u;
}

int Transitions(unsigned bits) {
  int count = 0;
  for (int k = 0; k < 8; ++k) {
    if (!Has(bits, k) && Has(bits, (k + 1) % 8))
      ++count;
  }
  return count;
}

// Whether a border pixel with these neighbours goes in the first (south-east)
// or second (north-west) step: it has three to six neighbours in one arc,
// and is not the last link of the side the step works on. With only two
// neighbours it stays: it may be the end of a line two pixels thick along
// a diagonal, which would otherwise wear away from its end.
std::array<std::array<bool, 256>, 2> MakeThinningTables() {
  std::array<std::array<bool, 256>, 2> tables{};
  for (unsigned bits = 0; bits < 256; ++bits) {
    const int count = std::popcount(bits);
    if (count < 3 || count > 6 || Transitions(bits) != 1)
      continue;
    const bool n = Has(bits, 0), e = Has(bits, 2), s = Has(bits, 4), w = Has(bits, 6);
    tables[0][bits] = !(n && e && s) && !(e && s && w);
    tables[1][bits] = !(n && e && w) && !(n && s && w);
  }
  return tables;
}

// A pixel whose neighbours stay joined without it, that two or three of
// its straight neighbours lean on (with all four it would leave a hole): the
// corner of a staircase step, or a pixel of a staircase two pixels thick
// that the thinning leaves along a diagonal.
std::array<bool, 256> MakeStaircaseTable() {
  std::array<bool, 256> table{};
  for (unsigned bits = 0; bits < 256; ++bits) {
    const int straight = std::popcount(bits & 0x55u);
    if (straight < 2 || straight == 4)
      continue;
    // Flood the neighbours from one of them along the ring and across the
    // corners between straight neighbours.
    unsigned reached = 1u << std::countr_zero(bits);
    for (int round = 0; round < 8; ++round) {
      for (int k = 0; k < 8; ++k) {
        if (!Has(reached, k))
          continue;
        const int step = k % 2 == 0 ? 2 : 1;
        for (int j : {(k + 1) % 8, (k + 7) % 8, (k + step) % 8, (k + 8 - step) % 8}) {
          if (Has(bits, j))
            reached |= 1u << j;
        }
      }
    }
    table[bits] = reached == bits;
  }
  return table;
}

std::vector<std::size_t> BorderPixels(CPixelGrid& grid) {
  std::vector<std::size_t> border;
  const std::ptrdiff_t s = grid.Stride();
  for (std::int32_t y = 0; y < grid.Height(); ++y) {
    for (std::int32_t x = grid.NextNonZero(0, y); x < grid.Width();
         x = grid.NextNonZero(x + 1, y)) {
      const std::size_t i = grid.Index(x, y);
      if (!(grid[i] & kStrokeBit))
        continue;
      const std::uint8_t* p = &grid[i];
      if (!(p[-s] & p[s] & p[-1] & p[1] & kStrokeBit)) {
        grid[i] |= kQueuedBit;
        border.push_back(i);
      }
    }
  }
  return border;
}

void RemoveStaircases(CPixelGrid& grid, const std::vector<std::size_t>& pixels) {
  static const std::array<bool, 256> kStaircase = MakeStaircaseTable();
  for (std::size_t i : pixels) {
    if ((grid[i] & kStrokeBit) && kStaircase[grid.NeighbourBits(i, kStrokeBit)])
      grid[i] &= static_cast<std::uint8_t>(~kStrokeBit);
  }
}

}  // namespace

void ThinStrokes(CPixelGrid& grid) {
  static const auto kTables = MakeThinningTables();
  std::vector<std::size_t> candidates = BorderPixels(grid);
  std::vector<std::size_t> deleted;
  std::vector<std::size_t> next;
  int idle = 0;
  // The pixels still to be asked shrink as the strokes thin: the share
  // gone is the step reported.
  const auto border = static_cast<std::int64_t>(candidates.size());
  CProgressWalk walk(border);
  for (int step = 0; idle < 2; step ^= 1) {
    walk.Step(border - static_cast<std::int64_t>(candidates.size()));
    deleted.clear();
    for (std::size_t i : candidates) {
      if (kTables[static_cast<std::size_t>(step)][grid.NeighbourBits(i, kStrokeBit)])
        deleted.push_back(i);
    }
    next.clear();
    // Each pixel is asked again just before it goes: two neighbours that
    // could each go alone may not both go, or a line two pixels thick
    // along a diagonal would vanish.
    std::size_t kept = 0;
    for (std::size_t i : deleted) {
      if (kTables[static_cast<std::size_t>(step)][grid.NeighbourBits(i, kStrokeBit)]) {
        grid[i] = static_cast<std::uint8_t>(grid[i] & ~(kStrokeBit | kQueuedBit));
        deleted[kept++] = i;
      }
    }
    deleted.resize(kept);
    for (std::size_t i : candidates) {
      if (grid[i] & kStrokeBit)
        next.push_back(i);
    }
    for (std::size_t i : deleted) {
      for (int k = 0; k < 8; ++k) {
        const std::size_t n =
            static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + grid.NeighbourOffset(k));
        if ((grid[n] & (kStrokeBit | kQueuedBit)) == kStrokeBit) {
          grid[n] |= kQueuedBit;
          next.push_back(n);
        }
      }
    }
    std::swap(candidates, next);
    idle = deleted.empty() ? idle + 1 : 0;
  }
  for (std::size_t i : candidates)
    grid[i] &= static_cast<std::uint8_t>(~kQueuedBit);
  RemoveStaircases(grid, candidates);
}

}  // namespace qov
