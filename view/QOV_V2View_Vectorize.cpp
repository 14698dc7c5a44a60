// The vectorizer's command: its settings dialog with its preview over the
// picture, then the DXF drawing of centerlines and outlines through the
// exports' file frame.

#include <algorithm>
#include <cmath>
#include <new>

#include "export/ExportFrame.h"
#include "platform/Dialog.h"
#include "platform/ScopeExit.h"
#include "res/Strings.h"
#include "vector/VectorDxf.h"
#include "vector/VectorizeDlg.h"
#include "vector/Vectorizer.h"
#include "view/QOV_V2View.h"

namespace qov {

void CQOV_V2View::OnVectorize() {
  if (!GetDocument()->m_hDib) {
    SetCommandResult(CCommandResult::Failed(text::kNoImage, reason::kNoImage));
    return;
  }
  ExportVectorize();
}

void CQOV_V2View::ExportVectorize() {
  CVectorizeDlg settings(m_vectorizeParams);
  settings.m_onPreview = [this](const VectorizeParams& params) { ShowVectorPreview(params); };
  const ScopeExit endPreview([this] {
    if (m_vectorPreview) {
      m_vectorPreview.reset();
      Invalidate();
    }
  });
  if (settings.DoModal() != IDOK) {
    SetCommandResult(CCommandResult(CCommandResult::cancelled));
    return;
  }
  m_vectorizeParams = settings.m_params;
  if (m_onVectorizeParamsChosen)
    m_onVectorizeParamsChosen(m_vectorizeParams);
  CQOV_V2Doc& doc = *GetDocument();
  SetCommandResult(RunFileExport(kDxfFileKind, ExportWaitCursor::shown, [this, &doc](CFile& file) {
    const CGlobalLock lock(doc.m_hDib);
    WriteVectorDxf(file, Vectorize(lock.get(), m_vectorizeParams));
  }));
}

void CQOV_V2View::ShowVectorPreview(const VectorizeParams& params) {
  const CQOV_V2Doc* doc = GetDocument();
  if (!doc->m_hDib)
    return;
  try {
    const CGlobalLock lock(doc->m_hDib);
    m_vectorPreview = Vectorize(lock.get(), params);
  } catch (const std::bad_alloc&) {
    // Without the memory for it there is no preview; the picture stays.
    m_vectorPreview.reset();
  } catch (const CUserException&) {
    // A preview the user stopped shows nothing, and the dialog stays open.
    m_vectorPreview.reset();
  }
  Invalidate();
}

namespace {

constexpr std::uint32_t kCenterlineRgb = 0xE00000;
constexpr std::uint32_t kOutlineRgb = 0x0060FF;

// The points of an entity in millimetres: an arc or circle as short chords
// of at most three degrees.
std::vector<Point2> EntityPoints(const VectorEntity& e) {
  if (e.kind == VectorEntity::Line || e.kind == VectorEntity::Polyline) {
    std::vector<Point2> points = e.points;
    if (e.closed && !points.empty())
      points.push_back(points.front());
    return points;
  }
  const double from = e.kind == VectorEntity::Circle ? 0 : e.startDegrees;
  double sweep = e.kind == VectorEntity::Circle ? 360 : std::fmod(e.endDegrees - from + 720, 360);
  const int steps = std::max(2, static_cast<int>(std::ceil(sweep / 3)));
  std::vector<Point2> points;
  for (int i = 0; i <= steps; ++i) {
    const double a = (from + sweep * i / steps) * kPi / 180;
    points.push_back({e.centre.x + e.radius * std::cos(a), e.centre.y + e.radius * std::sin(a)});
  }
  return points;
}

}  // namespace

// In the logical units the picture is drawn in: picture pixels times the
// scale, or divided by the reduction.
void CQOV_V2View::DrawVectorPreview(CDC* pDC, CSize size) const {
  if (!m_vectorPreview)
    return;
  const VectorDrawing& drawing = *m_vectorPreview;
  const double perPixel = m_nReduction > 1 ? 1.0 / m_nReduction : m_nScale;
  const auto logical = [&](const Point2& p) {
    const double x = p.x / drawing.mmPerPixelX;
    const double y = static_cast<double>(size.cy) - p.y / drawing.mmPerPixelY;
    return CPoint{std::llround(x * perPixel), std::llround(y * perPixel)};
  };
  for (const VectorEntity& e : drawing.entities) {
    std::vector<CPoint> points;
    for (const Point2& p : EntityPoints(e))
      points.push_back(logical(p));
    pDC->Polyline(points, e.layer == VectorLayer::Outline ? kOutlineRgb : kCenterlineRgb);
  }
}

}  // namespace qov
