#include "vector/Strokes.h"

#include <algorithm>
#include <cmath>

namespace qov {
namespace {

// An edge's end: edge × 2, plus 1 for its `to` end.
using EdgeEnd = int;
int EdgeOf(EdgeEnd end) {
  return end / 2;
}
bool IsToEnd(EdgeEnd end) {
  return end % 2 == 1;
}

class CStrokeJoiner {
 public:
  explicit CStrokeJoiner(SkeletonGraph& graph) : m_graph(graph) {}

  // The thinning leaves short forks, and loops round a pixel or two, where
  // a stroke ends, bends or meets another. A node loses every such spur
  // when a longer line leaves it; when none does, it keeps its longest.
  void PruneSpurs(double spurLength) {
    std::vector<std::vector<std::size_t>> spurs(m_graph.nodes.size());
    for (std::size_t e = 0; e < m_graph.edges.size(); ++e) {
      const SkeletonEdge& edge = m_graph.edges[e];
      const bool oneFree = (edge.from == kNoNode) != (edge.to == kNoNode);
      const bool loop = edge.from != kNoNode && edge.from == edge.to;
      if (edge.closed || !(oneFree || loop))
        continue;
      const int node = edge.from != kNoNode ? edge.from : edge.to;
      // A fork reaches from the middle of the ink to its edge: no longer
      // than the ink is wide there.
      const double width = 2 * m_graph.nodes[static_cast<std::size_t>(node)].halfWidth + 2;
      if (PathLength(edge.points) < std::max(spurLength, width))
        spurs[static_cast<std::size_t>(node)].push_back(e);
    }
    for (std::size_t n = 0; n < spurs.size(); ++n) {
      std::vector<std::size_t>& found = spurs[n];
      if (found.empty())
        continue;
      std::size_t others = 0;
      for (EdgeEnd end : LiveEnds(static_cast<int>(n))) {
        if (std::find(found.begin(), found.end(), EdgeOf(end)) == found.end())
          ++others;
      }
      if (others == 0) {
        const auto longest = std::max_element(found.begin(), found.end(), [this](auto a, auto b) {
          return PathLength(m_graph.edges[a].points) < PathLength(m_graph.edges[b].points);
        });
        found.erase(longest);
      }
      for (std::size_t e : found)
        m_graph.edges[e].removed = true;
    }
  }

  std::vector<StrokePath> Join() {
    m_link.assign(m_graph.edges.size() * 2, -1);
    for (std::size_t n = 0; n < m_graph.nodes.size(); ++n)
      PairAtNode(static_cast<int>(n));
    std::vector<bool> used(m_graph.edges.size(), false);
    std::vector<StrokePath> strokes;
    for (std::size_t e = 0; e < m_graph.edges.size(); ++e) {
      for (EdgeEnd start : {static_cast<int>(e) * 2, static_cast<int>(e) * 2 + 1}) {
        if (!m_graph.edges[e].removed && !used[e] && m_link[static_cast<std::size_t>(start)] < 0 &&
            !m_graph.edges[e].closed)
          strokes.push_back(Chain(start, used));
      }
    }
    for (std::size_t e = 0; e < m_graph.edges.size(); ++e) {
      if (!m_graph.edges[e].removed && !used[e]) {
        strokes.push_back(Chain(static_cast<int>(e) * 2, used));
        strokes.back().closed = true;
      }
    }
    return strokes;
  }

 private:
  int NodeAt(EdgeEnd end) const {
    const SkeletonEdge& edge = m_graph.edges[static_cast<std::size_t>(EdgeOf(end))];
    return IsToEnd(end) ? edge.to : edge.from;
  }

  std::vector<EdgeEnd> LiveEnds(int node) const {
    std::vector<EdgeEnd> ends;
    for (int e : m_graph.nodes[static_cast<std::size_t>(node)].edges) {
      const SkeletonEdge& edge = m_graph.edges[static_cast<std::size_t>(e)];
      if (edge.removed)
        continue;
      for (EdgeEnd end : {e * 2, e * 2 + 1}) {
        if (NodeAt(end) == node && std::find(ends.begin(), ends.end(), end) == ends.end())
          ends.push_back(end);
      }
    }
    return ends;
  }

  // How far from a junction's centre the lines are bent by the thinning.
  double BentRadius(int node) const {
    return 2.0 * m_graph.nodes[static_cast<std::size_t>(node)].halfWidth + 1.0;
  }

  // The unit direction in which the edge leaves the node at `end`.
  Point2 Direction(EdgeEnd end, int node) const {
    const SkeletonNode& n = m_graph.nodes[static_cast<std::size_t>(node)];
    const auto& points = m_graph.edges[static_cast<std::size_t>(EdgeOf(end))].points;
    const double inner = BentRadius(node);
    const double outer = inner + 4.0 * n.halfWidth + 4.0;
    Point2 sum;
    int count = 0;
    for (const Point2& p : points) {
      const double d = Distance(p, n.centre);
      if (d >= inner && d <= outer) {
        sum.x += p.x;
        sum.y += p.y;
        ++count;
      }
    }
    const Point2 far = IsToEnd(end) ? points.front() : points.back();
    const Point2 target = count ? Point2{sum.x / count, sum.y / count} : far;
    const double length = std::max(Distance(target, n.centre), 1e-9);
    return {(target.x - n.centre.x) / length, (target.y - n.centre.y) / length};
  }

  // Two ends go on through a node when they leave it in nearly opposite
  // directions; a node with two ends left joins them whatever the angle.
  void PairAtNode(int node) {
    const std::vector<EdgeEnd> ends = LiveEnds(node);
    if (ends.size() == 2) {
      Link(ends[0], ends[1]);
      return;
    }
    if (ends.size() < 3)
      return;
    struct Candidate {
      double cosine;
      EdgeEnd a, b;
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = 0; i < ends.size(); ++i) {
      const Point2 di = Direction(ends[i], node);
      for (std::size_t j = i + 1; j < ends.size(); ++j) {
        const Point2 dj = Direction(ends[j], node);
        const double cosine = di.x * dj.x + di.y * dj.y;
        if (cosine < -std::cos(25.0 * kPi / 180.0) && EdgeOf(ends[i]) != EdgeOf(ends[j]))
          candidates.push_back({cosine, ends[i], ends[j]});
      }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& x, const Candidate& y) { return x.cosine < y.cosine; });
    for (const Candidate& c : candidates) {
      if (m_link[static_cast<std::size_t>(c.a)] < 0 && m_link[static_cast<std::size_t>(c.b)] < 0)
        Link(c.a, c.b);
    }
    m_junction.resize(m_graph.nodes.size(), false);
    m_junction[static_cast<std::size_t>(node)] = true;
  }

  void Link(EdgeEnd a, EdgeEnd b) {
    m_link[static_cast<std::size_t>(a)] = b;
    m_link[static_cast<std::size_t>(b)] = a;
  }

  bool IsJunction(int node) const {
    return node != kNoNode && static_cast<std::size_t>(node) < m_junction.size() &&
           m_junction[static_cast<std::size_t>(node)];
  }

  // Appends the edge's points entered at `end`, leaving out those bent by a
  // junction at either end.
  void AppendEdge(EdgeEnd end, StrokePath& stroke) const {
    const SkeletonEdge& edge = m_graph.edges[static_cast<std::size_t>(EdgeOf(end))];
    std::vector<Point2> points = edge.points;
    if (IsToEnd(end))
      std::reverse(points.begin(), points.end());
    const int first = NodeAt(end);
    const int last = NodeAt(end ^ 1);
    for (const Point2& p : points) {
      if (IsJunction(first) && Distance(p, NodeCentre(first)) < BentRadius(first))
        continue;
      if (IsJunction(last) && Distance(p, NodeCentre(last)) < BentRadius(last))
        continue;
      if (!stroke.points.empty() && Distance(p, stroke.points.back()) < 1e-9)
        continue;
      stroke.points.push_back(p);
    }
  }

  Point2 NodeCentre(int node) const { return m_graph.nodes[static_cast<std::size_t>(node)].centre; }

  // The stroke that enters the graph at `start` and follows the links.
  StrokePath Chain(EdgeEnd start, std::vector<bool>& used) const {
    StrokePath stroke;
    stroke.startNode = IsJunction(NodeAt(start)) ? NodeAt(start) : kNoNode;
    EdgeEnd end = start;
    for (;;) {
      used[static_cast<std::size_t>(EdgeOf(end))] = true;
      AppendEdge(end, stroke);
      const EdgeEnd exit = end ^ 1;
      const EdgeEnd next = m_link[static_cast<std::size_t>(exit)];
      if (next < 0 || used[static_cast<std::size_t>(EdgeOf(next))]) {
        stroke.endNode = next < 0 && IsJunction(NodeAt(exit)) ? NodeAt(exit) : kNoNode;
        stroke.closed = m_graph.edges[static_cast<std::size_t>(EdgeOf(end))].closed;
        return stroke;
      }
      if (IsJunction(NodeAt(exit)))
        stroke.throughs.push_back(NodeAt(exit));
      end = next;
    }
  }

  SkeletonGraph& m_graph;
  std::vector<EdgeEnd> m_link;
  std::vector<bool> m_junction;
};

}  // namespace

std::vector<StrokePath> JoinStrokes(SkeletonGraph& graph, double spurLength) {
  CStrokeJoiner joiner(graph);
  joiner.PruneSpurs(spurLength);
  return joiner.Join();
}

}  // namespace qov
