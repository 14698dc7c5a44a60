#include "export/AutoTrace.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "export/DarkLevels.h"
#include "export/DxfNumber.h"
#include "image/DibRows.h"
#include "platform/Progress.h"

namespace qov {
namespace {

// The row pass and the column pass are one pass in the frame of its runs:
// u runs along the run (x for rows, y for columns), v across it. A neighbour
// is the step (du, dv) from the pixel examined; (1, 0) is the pixel ahead.
struct Step {
  int du;
  int dv;
};

struct PassAxes {
  bool alongRows;
  // The passes read the same seven neighbours (all but the one behind) in
  // different orders, which shows wherever a read falls outside the picture.
  std::array<Step, 7> readOrder;
};

// right, below, below-right, above-left, below-left, above-right, above
constexpr PassAxes kRowPass{true, {{{1, 0}, {0, 1}, {1, 1}, {-1, -1}, {-1, 1}, {1, -1}, {0, -1}}}};
// right, below, below-right, left, above-left, below-left, above-right
constexpr PassAxes kColumnPass{false,
                               {{{0, 1}, {1, 0}, {1, 1}, {0, -1}, {-1, -1}, {1, -1}, {-1, 1}}}};

class Flags {
 public:
  bool operator()(int du, int dv) const { return m_set[Index(du, dv)]; }
  void Set(Step s, bool black) { m_set[Index(s.du, s.dv)] = black; }

 private:
  static std::size_t Index(int du, int dv) {
    return static_cast<std::size_t>((du + 1) * 3 + dv + 1);
  }
  std::array<bool, 9> m_set{};
};

// The picture's blue bytes as the row pass reads them: straight from its rows.
class RowPlane {
 public:
  explicit RowPlane(const CDibRows& rows) : m_rows(rows) {}
  void Prepare(std::int64_t /*y*/) {}
  int Blue(std::int64_t x, std::int64_t y) const { return m_rows.At(x, y)[0]; }
  // Pixels of row y from x on, of `count`, with no dot.
  std::int64_t LightRun(std::int64_t x, std::int64_t y, std::int64_t count) const {
    return PixelsNotBelow(kDotBelow, m_rows.At(x, y), count);
  }
  void SetWhite(std::int64_t /*x*/, std::int64_t /*y*/) {}

 private:
  const CDibRows& m_rows;
};

// The column pass reads down columns. Straight from the picture every read
// would fall in another row, far apart in memory; instead the blue bytes of
// a strip of columns are copied into column order first. The strip is taken
// again from the picture for the next columns, so the marks made on its
// columns so far are in it.
class ColumnStripPlane {
 public:
  static constexpr std::int64_t kColumns = 256;
  static constexpr std::int64_t kPrefetchRows = 4;
  static constexpr std::int64_t kCacheLine = 64;

  explicit ColumnStripPlane(const CDibRows& rows)
      : m_rows(rows), m_strip(static_cast<std::size_t>((kColumns + 2) * rows.Height())) {}

  // Makes columns x − 1 to x + 1 readable.
  void Prepare(std::int64_t x) {
    if (m_loaded && x - 1 >= m_first && x + 1 <= m_first + kColumns + 1)
      return;
    m_loaded = true;
    m_first = x - 1;
    const std::int64_t last = std::min(m_first + kColumns + 1, m_rows.Width() - 1);
    for (std::int64_t y = 1; y < m_rows.Height(); ++y) {
      const std::uint8_t* p = m_rows.At(m_first, y);
      // The rows are far apart: ask for a row a few ahead while this one is copied.
      if (y + kPrefetchRows < m_rows.Height()) {
        const std::uint8_t* ahead = m_rows.At(m_first, y + kPrefetchRows);
        for (std::int64_t c = 0; c <= 3 * (last - m_first); c += kCacheLine)
          __builtin_prefetch(ahead + c);
      }
      for (std::int64_t c = 0; c <= last - m_first; ++c)
        m_strip[Index(m_first + c, y)] = p[3 * c];
    }
  }
  int Blue(std::int64_t x, std::int64_t y) const { return m_strip[Index(x, y)]; }
  // Pixels of column x from y on, of `count`, with no dot.
  std::int64_t LightRun(std::int64_t x, std::int64_t y, std::int64_t count) const {
    return PixelsNotBelow<1>(kDotBelow, &m_strip[Index(x, y)], count);
  }
  void SetWhite(std::int64_t x, std::int64_t y) { m_strip[Index(x, y)] = 255; }

 private:
  std::size_t Index(std::int64_t x, std::int64_t y) const {
    return static_cast<std::size_t>((x - m_first) * m_rows.Height() + y);
  }

  const CDibRows& m_rows;
  std::vector<std::uint8_t> m_strip;
  std::int64_t m_first = 0;
  bool m_loaded = false;
};

// The axes are part of the type, so that the neighbour reads of each pass
// are laid out at compile time.
template <class Plane, const PassAxes& kAxes>
class RunPass {
 public:
  // `lastBlue` is the blue byte read last before the pass, and after it.
  RunPass(const CQOV_V2Doc& doc, const CDibRows& rows, CDxfWriter& writer, std::int32_t W,
          std::int32_t H, int& lastBlue)
      : m_white(doc.m_whiteColor),
        m_lastBlue(lastBlue),
        m_rows(rows),
        m_plane(rows),
        m_writer(writer),
        m_H(H),
        m_uCount(kAxes.alongRows ? W : H),
        m_vCount(kAxes.alongRows ? H : W) {}

  void Run() {
    CProgressWalk walk(m_vCount);
    for (std::int64_t v = 1; v <= m_vCount - 2; ++v) {
      walk.Step(v);
      m_plane.Prepare(v);
      for (std::int64_t u = SkipLight(1, v); u <= m_uCount - 2; u = SkipLight(u + 1, v))
        u = TraceFrom(u, v);
    }
  }

 private:
  std::int64_t X(std::int64_t u, std::int64_t v) const { return kAxes.alongRows ? u : v; }
  std::int64_t Y(std::int64_t u, std::int64_t v) const { return kAxes.alongRows ? v : u; }

  // A read outside the picture leaves the colour read before, as LoadPixel
  // does, so it repeats the previous result.
  int ReadBlue(std::int64_t u, std::int64_t v) {
    const std::int64_t x = X(u, v);
    const std::int64_t y = Y(u, v);
    if (m_rows.Contains(x, y))
      m_lastBlue = m_plane.Blue(x, y);
    return m_lastBlue;
  }

  // The first u from `u` on that may start a run. Every pixel passed over
  // would only have been read and found too light, so the pass carries on
  // as if it had: the last of them is the last blue byte read.
  std::int64_t SkipLight(std::int64_t u, std::int64_t v) {
    const std::int64_t x = X(u, v);
    const std::int64_t y = Y(u, v);
    if (!m_rows.Contains(x, y))
      return u;
    const std::int64_t end = kAxes.alongRows ? std::min(m_uCount - 1, m_rows.Width())
                                             : std::min(m_uCount - 1, m_rows.Height());
    const std::int64_t light = m_plane.LightRun(x, y, end - u);
    if (light == 0)
      return u;
    ReadBlue(u + light - 1, v);
    return u + light;
  }

  Flags ReadNeighbours(std::int64_t u, std::int64_t v) {
    Flags flags;
    for (Step s : kAxes.readOrder)
      flags.Set(s, ReadBlue(u + s.du, v + s.dv) < kBlackBelow);
    return flags;
  }

  // A marked pixel reads white from then on, out of every later pass: one
  // with no black neighbour on either side of its run, and one whose three
  // neighbours on the far side (below a row, right of a column) are black.
  void MarkIfDone(std::int64_t u, std::int64_t v, const Flags& f) {
    const bool besideClear =
        !f(-1, -1) && !f(0, -1) && !f(1, -1) && !f(-1, 1) && !f(0, 1) && !f(1, 1);
    if (besideClear || (f(-1, 1) && f(0, 1) && f(1, 1))) {
      const std::int64_t x = X(u, v);
      const std::int64_t y = Y(u, v);
      if (!m_rows.Contains(x, y))
        return;
      std::memcpy(m_rows.At(x, y), m_white.data(), 3);
      m_plane.SetWhite(x, y);
    }
  }

  // Examines the start candidate at u; returns the last u it dealt with.
  std::int64_t TraceFrom(std::int64_t u, std::int64_t v) {
    if (ReadBlue(u, v) >= kDotBelow)
      return u;
    Flags f = ReadNeighbours(u, v);
    MarkIfDone(u, v, f);
    // A pixel whose whole side ahead is black sits on the edge of a solid
    // block: a run from it would cross the block, so none starts.
    bool goesOn = f(1, 0) && !(f(0, -1) && f(1, -1) && f(1, 1) && f(0, 1));
    std::int64_t e = u;
    while (goesOn && e < m_uCount - 1) {
      ++e;
      ReadBlue(e, v);
      f = ReadNeighbours(e, v);
      MarkIfDone(e, v, f);
      goesOn = f(1, 0);
    }
    if (e == u)
      return u;
    m_writer.WriteLine(kColourForeground, static_cast<double>(X(u, v)),
                       static_cast<double>(m_H - Y(u, v)), static_cast<double>(X(e, v)),
                       static_cast<double>(m_H - Y(e, v)), kDigitsRun);
    return e;
  }

  const Color3& m_white;
  int& m_lastBlue;
  const CDibRows& m_rows;
  Plane m_plane;
  CDxfWriter& m_writer;
  std::int64_t m_H;
  std::int64_t m_uCount;
  std::int64_t m_vCount;
};

// Reads no pixel outside the picture and writes none. m_curColor ends with
// the last pixel read, as the pixel operations leave it.
void DiagonalPass(CQOV_V2Doc& doc, const CDibRows& rows, CDxfWriter& writer, std::int32_t W,
                  std::int32_t H) {
  const std::uint8_t* last = nullptr;
  auto isBlack = [&](std::int64_t x, std::int64_t y) {
    last = rows.At(x, y);
    return last[0] < kBlackBelow;
  };
  const std::int64_t right = std::min<std::int64_t>(W, rows.Width()) - 2;
  const std::int64_t bottom = std::min<std::int64_t>(H, rows.Height()) - 2;
  CProgressWalk walk(bottom);
  for (std::int64_t y = 1; y <= bottom; ++y) {
    walk.Step(y);
    const std::uint8_t* row = rows.Row(y);
    for (std::int64_t x = 1; x <= right; ++x) {
      const std::int64_t light = PixelsNotBelow(kDotBelow, row + 3 * x, right + 1 - x);
      x += light > 0 ? light - 1 : 0;
      last = row + 3 * x;
      if (light > 0 || last[0] >= kDotBelow)
        continue;
      const auto px = static_cast<double>(x);
      const auto py = static_cast<double>(H - y);
      if (isBlack(x + 1, y + 1)) {
        writer.WriteLine(kColourForeground, px, py, px + 1, py - 1, kDigitsJoin);
      }
      if (isBlack(x - 1, y + 1)) {
        writer.WriteLine(kColourForeground, px, py, px - 1, py - 1, kDigitsJoin);
      }
    }
  }
  if (last)
    std::memcpy(doc.m_curColor.data(), last, 3);
}

}  // namespace

void WriteAutoTrace(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H) {
  const CDibRows rows(doc);
  int lastBlue = doc.m_curColor[0];
  RunPass<RowPlane, kRowPass>(doc, rows, writer, W, H, lastBlue).Run();
  RunPass<ColumnStripPlane, kColumnPass>(doc, rows, writer, W, H, lastBlue).Run();
  DiagonalPass(doc, rows, writer, W, H);
}

}  // namespace qov
