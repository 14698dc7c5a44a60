#include "export/AutoTrace.h"

#include <array>

#include "export/DxfNumber.h"

namespace qov {
namespace {

constexpr int kCandidateBelow = 81;  // starts runs and links
constexpr int kBlackBelow = 60;      // sets a neighbour flag, ends a link

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

class RunPass {
 public:
  RunPass(CQOV_V2Doc& doc, CDxfWriter& writer, const PassAxes& axes, std::int32_t W, std::int32_t H)
      : m_doc(doc),
        m_writer(writer),
        m_axes(axes),
        m_H(H),
        m_uCount(axes.alongRows ? W : H),
        m_vCount(axes.alongRows ? H : W) {}

  void Run() {
    for (std::int64_t v = 1; v <= m_vCount - 2; ++v) {
      for (std::int64_t u = 1; u <= m_uCount - 2; ++u)
        u = TraceFrom(u, v);
    }
  }

 private:
  std::int64_t X(std::int64_t u, std::int64_t v) const { return m_axes.alongRows ? u : v; }
  std::int64_t Y(std::int64_t u, std::int64_t v) const { return m_axes.alongRows ? v : u; }

  int ReadBlue(std::int64_t u, std::int64_t v) {
    m_doc.LoadPixel(X(u, v), Y(u, v));
    return m_doc.m_curColor[0];
  }

  Flags ReadNeighbours(std::int64_t u, std::int64_t v) {
    Flags flags;
    for (Step s : m_axes.readOrder)
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
      m_doc.m_curColor = m_doc.m_whiteColor;
      m_doc.StorePixel(X(u, v), Y(u, v));
    }
  }

  // Examines the start candidate at u; returns the last u it dealt with.
  std::int64_t TraceFrom(std::int64_t u, std::int64_t v) {
    if (ReadBlue(u, v) >= kCandidateBelow)
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

  CQOV_V2Doc& m_doc;
  CDxfWriter& m_writer;
  const PassAxes& m_axes;
  std::int64_t m_H;
  std::int64_t m_uCount;
  std::int64_t m_vCount;
};

bool IsBlack(CQOV_V2Doc& doc, std::int64_t x, std::int64_t y) {
  doc.LoadPixel(x, y);
  return doc.m_curColor[0] < kBlackBelow;
}

void DiagonalPass(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H) {
  for (std::int64_t y = 1; y <= std::int64_t{H} - 2; ++y) {
    for (std::int64_t x = 1; x <= std::int64_t{W} - 2; ++x) {
      doc.LoadPixel(x, y);
      if (doc.m_curColor[0] >= kCandidateBelow)
        continue;
      const auto px = static_cast<double>(x);
      const auto py = static_cast<double>(H - y);
      if (IsBlack(doc, x + 1, y + 1)) {
        writer.WriteLine(kColourForeground, px, py, px + 1, py - 1, kDigitsJoin);
      }
      if (IsBlack(doc, x - 1, y + 1)) {
        writer.WriteLine(kColourForeground, px, py, px - 1, py - 1, kDigitsJoin);
      }
    }
  }
}

}  // namespace

void WriteAutoTrace(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H) {
  RunPass(doc, writer, kRowPass, W, H).Run();
  RunPass(doc, writer, kColumnPass, W, H).Run();
  DiagonalPass(doc, writer, W, H);
}

}  // namespace qov
