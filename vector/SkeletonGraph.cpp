#include "vector/SkeletonGraph.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <unordered_map>

#include "platform/Progress.h"
#include "vector/DistanceMap.h"
#include "vector/Thinning.h"

namespace qov {
namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

class CSkeletonTracer {
 public:
  CSkeletonTracer(CPixelGrid& grid, const CPixelGrid& distance)
      : m_grid(grid), m_distance(distance) {}

  SkeletonGraph Trace() {
    std::vector<std::size_t> ends;
    std::vector<std::size_t> lines;
    CProgressWalk walk(m_grid.Height());
    for (std::int32_t y = 0; y < m_grid.Height(); ++y) {
      walk.Step(y);
      for (std::int32_t x = m_grid.NextNonZero(0, y); x < m_grid.Width();
           x = m_grid.NextNonZero(x + 1, y)) {
        const std::size_t i = m_grid.Index(x, y);
        if (!(m_grid[i] & kStrokeBit))
          continue;
        const int count = NeighbourCount(i);
        if (count >= 3 && !m_nodeOf.count(i))
          AddNode(i);
        else if (count == 1)
          ends.push_back(i);
        else if (count == 2)
          lines.push_back(i);
      }
    }
    for (std::size_t n = 0; n < m_graph.nodes.size(); ++n)
      TraceFromNode(static_cast<int>(n));
    for (std::size_t e : ends) {
      if (!(m_grid[e] & kVisitedBit))
        Follow(kNone, e, NewEdge(kNoNode));
    }
    for (std::size_t s : lines) {
      if (!(m_grid[s] & kVisitedBit))
        TraceLoop(s);
    }
    return std::move(m_graph);
  }

 private:
  int NeighbourCount(std::size_t i) const {
    return std::popcount(m_grid.NeighbourBits(i, kStrokeBit));
  }
  std::size_t Neighbour(std::size_t i, int k) const {
    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + m_grid.NeighbourOffset(k));
  }
  Point2 Centre(std::size_t i) const {
    const PixelPos p = m_grid.Position(i);
    return {p.x + 0.5, p.y + 0.5};
  }

  // Gathers the junction pixels joined to `seed` into one node.
  void AddNode(std::size_t seed) {
    const int id = static_cast<int>(m_graph.nodes.size());
    std::vector<std::size_t> cluster{seed};
    m_nodeOf[seed] = id;
    for (std::size_t k = 0; k < cluster.size(); ++k) {
      for (int d = 0; d < 8; ++d) {
        const std::size_t n = Neighbour(cluster[k], d);
        if ((m_grid[n] & kStrokeBit) && NeighbourCount(n) >= 3 && !m_nodeOf.count(n)) {
          m_nodeOf[n] = id;
          cluster.push_back(n);
        }
      }
    }
    SkeletonNode node;
    int deepest = 0;
    for (std::size_t i : cluster) {
      const Point2 c = Centre(i);
      node.centre.x += c.x / static_cast<double>(cluster.size());
      node.centre.y += c.y / static_cast<double>(cluster.size());
      deepest = std::max<int>(deepest, m_distance[i]);
      m_grid[i] |= kVisitedBit;
    }
    node.halfWidth = static_cast<double>(deepest) / kChamferStep;
    m_graph.nodes.push_back(node);
    m_clusters.push_back(std::move(cluster));
  }

  SkeletonEdge& NewEdge(int from) {
    m_graph.edges.emplace_back();
    m_graph.edges.back().from = from;
    return m_graph.edges.back();
  }

  void TraceFromNode(int node) {
    for (std::size_t p : m_clusters[static_cast<std::size_t>(node)]) {
      for (int d = 0; d < 8; ++d) {
        const std::size_t q = Neighbour(p, d);
        if (!(m_grid[q] & kStrokeBit) || (m_grid[q] & kVisitedBit))
          continue;
        SkeletonEdge& edge = NewEdge(node);
        edge.points.push_back(Centre(p));
        Follow(p, q, edge);
      }
    }
  }

  void TraceLoop(std::size_t start) {
    SkeletonEdge& edge = NewEdge(kNoNode);
    edge.points.push_back(Centre(start));
    m_grid[start] |= kVisitedBit;
    for (int d = 0; d < 8; ++d) {
      const std::size_t q = Neighbour(start, d);
      if (m_grid[q] & kStrokeBit) {
        Follow(start, q, edge);
        break;
      }
    }
    edge.closed = edge.points.size() > 2 && edge.points.front().x == edge.points.back().x &&
                  edge.points.front().y == edge.points.back().y;
  }

  // Walks on from `cur`, entered from `prev`, to a node, a free end or a
  // pixel already taken (the start of a loop), adding each pixel.
  void Follow(std::size_t prev, std::size_t cur, SkeletonEdge& edge) {
    for (;;) {
      edge.points.push_back(Centre(cur));
      if (auto node = m_nodeOf.find(cur); node != m_nodeOf.end()) {
        edge.to = node->second;
        return;
      }
      if (m_grid[cur] & kVisitedBit)
        return;
      m_grid[cur] |= kVisitedBit;
      std::size_t next = kNone;
      for (int d = 0; d < 8 && next == kNone; ++d) {
        const std::size_t n = Neighbour(cur, d);
        if ((m_grid[n] & kStrokeBit) && n != prev)
          next = n;
      }
      if (next == kNone)
        return;
      prev = cur;
      cur = next;
    }
  }

  CPixelGrid& m_grid;
  const CPixelGrid& m_distance;
  SkeletonGraph m_graph;
  std::unordered_map<std::size_t, int> m_nodeOf;
  std::vector<std::vector<std::size_t>> m_clusters;
};

}  // namespace

SkeletonGraph TraceSkeleton(CPixelGrid& grid, const CPixelGrid& distance) {
  SkeletonGraph graph = CSkeletonTracer(grid, distance).Trace();
  for (std::size_t e = 0; e < graph.edges.size(); ++e) {
    const SkeletonEdge& edge = graph.edges[e];
    for (int node : {edge.from, edge.to}) {
      if (node != kNoNode)
        graph.nodes[static_cast<std::size_t>(node)].edges.push_back(static_cast<int>(e));
    }
  }
  return graph;
}

}  // namespace qov
