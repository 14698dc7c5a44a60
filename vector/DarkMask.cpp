#include "vector/DarkMask.h"

#include <array>
#include <numeric>
#include <vector>

#include "image/DibBlock.h"
#include "platform/Progress.h"

namespace qov {
namespace {

// A horizontal run of equal cells: row y, columns x0 to x1 − 1.
struct Run {
  std::int32_t y;
  std::int32_t x0;
  std::int32_t x1;
};

std::int32_t NextZero(const CPixelGrid& mask, std::int32_t x, std::int32_t y) {
  while (x < mask.Width() && mask.at(x, y))
    ++x;
  return x;
}

class CRunComponents {
 public:
  // The runs of cells equal to `value`, joined across rows 8-connected
  // (dark) or 4-connected (white).
  CRunComponents(const CPixelGrid& mask, std::uint8_t value, bool eightConnected) {
    const std::int32_t W = mask.Width();
    std::size_t previous = 0;
    for (std::int32_t y = 0; y < mask.Height(); ++y) {
      const std::size_t rowStart = m_runs.size();
      // Cells are 0 or 1 here: a run of 1s ends at the next 0, one of 0s at
      // the next cell that is not 0.
      for (std::int32_t x = 0; x < W;) {
        const std::int32_t start = value ? mask.NextNonZero(x, y) : x;
        const std::int32_t end = value ? NextZero(mask, start, y) : mask.NextNonZero(x, y);
        if (end > start)
          m_runs.push_back({y, start, end});
        x = value ? end : NextZero(mask, end, y);
      }
      m_parent.resize(m_runs.size());
      std::iota(m_parent.begin() + static_cast<std::ptrdiff_t>(rowStart), m_parent.end(),
                static_cast<std::uint32_t>(rowStart));
      JoinRows(previous, rowStart, eightConnected ? 1 : 0);
      previous = rowStart;
    }
  }

  // Calls paint(run) for every run of a component that `small` accepts
  // given its area and whether it touches the picture's edge.
  template <class Small, class Paint>
  void ForSmallComponents(std::int32_t width, std::int32_t height, Small small, Paint paint) {
    std::vector<std::int64_t> area(m_runs.size(), 0);
    std::vector<bool> edge(m_runs.size(), false);
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
      const Run& r = m_runs[i];
      const std::uint32_t root = Find(static_cast<std::uint32_t>(i));
      area[root] += r.x1 - r.x0;
      if (r.y == 0 || r.y == height - 1 || r.x0 == 0 || r.x1 == width)
        edge[root] = true;
    }
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
      const std::uint32_t root = Find(static_cast<std::uint32_t>(i));
      if (small(area[root], edge[root]))
        paint(m_runs[i]);
    }
  }

 private:
  // Joins the runs of one row with those of the row above that touch them;
  // `reach` 1 lets diagonal neighbours touch.
  void JoinRows(std::size_t above, std::size_t row, std::int32_t reach) {
    std::size_t a = above;
    for (std::size_t b = row; b < m_runs.size(); ++b) {
      while (a < row && m_runs[a].x1 + reach <= m_runs[b].x0)
        ++a;
      for (std::size_t k = a; k < row && m_runs[k].x0 < m_runs[b].x1 + reach; ++k)
        Union(static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(b));
    }
  }

  std::uint32_t Find(std::uint32_t i) {
    while (m_parent[i] != i) {
      m_parent[i] = m_parent[m_parent[i]];
      i = m_parent[i];
    }
    return i;
  }
  void Union(std::uint32_t a, std::uint32_t b) {
    a = Find(a);
    b = Find(b);
    if (a != b)
      m_parent[a < b ? b : a] = a < b ? a : b;
  }

  std::vector<Run> m_runs;
  std::vector<std::uint32_t> m_parent;
};

void PaintRun(CPixelGrid& mask, const Run& run, std::uint8_t value) {
  for (std::int32_t x = run.x0; x < run.x1; ++x)
    mask.at(x, run.y) = value;
}

}  // namespace

void MarkDarkPixels(const std::byte* block, int percent, CPixelGrid& mask) {
  // A pixel turns white when every byte lies above percent × 2.55.
  const double threshold = percent * 2.55;
  std::array<std::uint8_t, 256> above{};
  for (int v = 0; v < 256; ++v)
    above[static_cast<std::size_t>(v)] = v > threshold ? 1 : 0;
  const std::int32_t W = mask.Width();
  const std::int32_t H = mask.Height();
  const std::uint64_t stride = DibRowStride(24, W);
  const std::byte* bits = FindDibBits(block);
  CProgressWalk walk(H);
  for (std::int32_t y = 0; y < H; ++y) {
    walk.Step(y);
    const std::byte* row = bits + static_cast<std::uint64_t>(H - 1 - y) * stride;
    std::uint8_t* cell = mask.Row(y);
    for (std::int32_t x = 0; x < W; ++x, row += 3) {
      const bool white = above[static_cast<std::size_t>(row[0])] &
                         above[static_cast<std::size_t>(row[1])] &
                         above[static_cast<std::size_t>(row[2])];
      cell[x] = white ? 0 : 1;
    }
  }
}

void RemoveSpecksAndPinholes(CPixelGrid& mask, std::int64_t speckArea, std::int64_t pinholeArea) {
  const std::int32_t W = mask.Width();
  const std::int32_t H = mask.Height();
  {
    CRunComponents dark(mask, 1, true);
    dark.ForSmallComponents(
        W, H, [speckArea](std::int64_t area, bool) { return area < speckArea; },
        [&mask](const Run& run) { PaintRun(mask, run, 0); });
  }
  CRunComponents white(mask, 0, false);
  white.ForSmallComponents(
      W, H, [pinholeArea](std::int64_t area, bool edge) { return !edge && area < pinholeArea; },
      [&mask](const Run& run) { PaintRun(mask, run, 1); });
}

}  // namespace qov
