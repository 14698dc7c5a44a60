#include "platform/qt/QtDC.h"

#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <limits>

#include "platform/qt/DibImage.h"

namespace qov {
namespace {

int ToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min() / 2,
                                                   std::numeric_limits<int>::max() / 2));
}

QRect ToRect(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h) {
  return QRect(ToInt(x), ToInt(y), ToInt(w), ToInt(h));
}

}  // namespace

QtDC::QtDC(QPainter& painter, bool printing)
    : m_painter(painter), m_base(painter.transform()), m_bPrinting(printing) {
  m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  // A printed picture must keep its exact pixels, not become a JPEG.
  m_painter.setRenderHint(QPainter::LosslessImageRendering, true);
}

int QtDC::SetStretchBltMode(int mode) {
  const int previous = m_nStretchMode;
  m_nStretchMode = mode;
  return previous;
}

void QtDC::SetViewportOrg(CPoint origin) {
  CDC::SetViewportOrg(origin);
  m_painter.setTransform(
      QTransform::fromTranslate(static_cast<qreal>(origin.x), static_cast<qreal>(origin.y)) *
      m_base);
}

int QtDC::SetDIBitsToDevice(std::int64_t xDest, std::int64_t yDest, std::int64_t width,
                            std::int64_t height, std::int64_t xSrc, std::int64_t ySrc,
                            std::int64_t startScan, std::int64_t scanLines, const void* bits,
                            const void* info, UINT /*colorUse*/) {
  return Draw(ToRect(xDest, yDest, width, height), ToRect(xSrc, ySrc, width, height), startScan,
              scanLines, bits, info);
}

int QtDC::StretchDIBits(std::int64_t xDest, std::int64_t yDest, std::int64_t destWidth,
                        std::int64_t destHeight, std::int64_t xSrc, std::int64_t ySrc,
                        std::int64_t srcWidth, std::int64_t srcHeight, const void* bits,
                        const void* info, UINT /*colorUse*/, DWORD /*rop*/) {
  return Draw(ToRect(xDest, yDest, destWidth, destHeight), ToRect(xSrc, ySrc, srcWidth, srcHeight),
              0, std::numeric_limits<int>::max(), bits, info);
}

// Only the part of the source that the bitmap has is drawn, into the
// matching part of the destination (exact for the integer scales).
int QtDC::Draw(const QRect& dest, const QRect& src, std::int64_t startScan, std::int64_t scanLines,
               const void* bits, const void* info) {
  if (dest.isEmpty() || src.isEmpty())
    return 0;
  QRect drawn;
  const QImage image = DibPartToImage({info, bits, startScan, scanLines}, src, &drawn);
  if (image.isNull())
    return 0;
  const qreal sx = static_cast<qreal>(dest.width()) / src.width();
  const qreal sy = static_cast<qreal>(dest.height()) / src.height();
  const QRectF target(dest.x() + drawn.x() * sx, dest.y() + drawn.y() * sy, drawn.width() * sx,
                      drawn.height() * sy);
  m_painter.drawImage(target, image);
  return drawn.height();
}

void QtDC::Polyline(const std::vector<CPoint>& points, std::uint32_t rgb) {
  QPolygonF line;
  line.reserve(static_cast<qsizetype>(points.size()));
  for (const CPoint& p : points)
    line << QPointF(static_cast<qreal>(p.x), static_cast<qreal>(p.y));
  const QPen before = m_painter.pen();
  // A cosmetic pen: one device pixel wide at any scale.
  m_painter.setPen(QPen(QColor::fromRgb(static_cast<QRgb>(rgb)), 0));
  m_painter.drawPolyline(line);
  m_painter.setPen(before);
}

}  // namespace qov
