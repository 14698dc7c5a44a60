// Vectorizes a small picture made from arbitrary bytes: its size, the
// settings and the grey of each pixel. Nothing may crash, every coordinate
// must be finite and near the page (an arc's ends, a circle's centre), and
// the entities no more than the pixels could hold.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzCheck.h"
#include "image/DibBlock.h"
#include "platform/File.h"
#include "vector/VectorDxf.h"
#include "vector/Vectorizer.h"

namespace {

void Put32(std::byte* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::byte>(value >> (8 * i));
}

bool NearPage(const qov::Point2& p, const qov::VectorDrawing& drawing) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= 2 * drawing.width + 1 &&
         std::fabs(p.y) <= 2 * drawing.height + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4)
    return 0;
  const std::uint32_t width = 1u + data[0] % 96u;
  const std::uint32_t height = 1u + data[1] % 96u;
  qov::VectorizeParams params;
  params.threshold = data[2] % 101;
  params.dpi = data[3] % 4 == 0 ? 0 : 100.0 * (data[3] % 7);
  const std::uint64_t stride = qov::DibRowStride(24, width);
  const qov::CGlobalOwner block = qov::GlobalAllocOwned(qov::GHND, 40 + stride * height);
  const qov::CGlobalLock lock(block.get());
  std::byte* p = lock.get();
  Put32(p, 40);
  Put32(p + 4, width);
  Put32(p + 8, height);
  p[12] = std::byte{1};
  p[14] = std::byte{24};
  // The pixels' grey levels come from the rest of the input, repeated.
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::size_t at = 4 + (y * width + x) % (size - 4 > 0 ? size - 4 : 1);
      const std::byte grey = static_cast<std::byte>(at < size ? data[at] : 255);
      std::byte* pixel = p + 40 + y * stride + x * 3;
      pixel[0] = pixel[1] = pixel[2] = grey;
    }
  }
  const qov::VectorDrawing drawing = qov::Vectorize(p, params);
  qov::fuzz::Require(drawing.entities.size() <= std::size_t{width} * height);
  for (const qov::VectorEntity& e : drawing.entities) {
    for (const qov::Point2& point : e.points)
      qov::fuzz::Require(NearPage(point, drawing));
    if (e.kind == qov::VectorEntity::Circle)
      qov::fuzz::Require(std::isfinite(e.radius) && e.radius > 0 && NearPage(e.centre, drawing));
    if (e.kind == qov::VectorEntity::Arc) {
      // A flat arc's centre may lie far off the page; its ends may not.
      qov::fuzz::Require(std::isfinite(e.radius) && e.radius > 0);
      for (double degrees : {e.startDegrees, e.endDegrees}) {
        const double a = degrees * qov::kPi / 180;
        qov::fuzz::Require(NearPage(
            {e.centre.x + e.radius * std::cos(a), e.centre.y + e.radius * std::sin(a)}, drawing));
      }
    }
  }
  qov::CFile sink("/dev/null", qov::CFile::modeCreate | qov::CFile::modeWrite);
  qov::WriteVectorDxf(sink, drawing);
  return 0;
}
