// The one entry point through which every picture comes in.

#include "image/PictureFile.h"

#include <array>
#include <cstring>
#include <new>

#include "image/DibFile.h"
#include "image/import/PictureBlock.h"

namespace qov {

namespace {

bool StartsWith(const std::byte* head, std::size_t size, const char* magic, std::size_t length) {
  return size >= length && std::memcmp(head, magic, length) == 0;
}

HGLOBAL ReadKind(PictureKind kind, CFile& file, const PictureReadOptions& options,
                 CMemoryBudget& budget, PictureReadFailure& failure) {
  import::CSourceFile in(file);
  HGLOBAL h = nullptr;
  switch (kind) {
    case PictureKind::Bmp:
      return ReadDibFile(file, &failure.reason, &budget, &failure.warning);
    case PictureKind::Tiff:
      h = import::ReadTiffPicture(in, options, budget, failure);
      break;
    case PictureKind::Png:
      h = import::ReadPngPicture(in, budget, failure);
      break;
    case PictureKind::Jpeg:
      h = import::ReadJpegPicture(in, budget, failure);
      break;
    case PictureKind::Pnm:
      h = import::ReadPnmPicture(in, budget, failure);
      break;
    case PictureKind::Unknown:
      failure.reason = DibReadError::NotAPicture;
      break;
  }
  if (!h)
    in.RethrowFileError();
  return h;
}

// The kind the file's first bytes name; the file is left where it was.
PictureKind PeekPictureKind(CFile& file) {
  const std::uint64_t start = file.Seek(0, CFile::current);
  std::array<std::byte, 8> head{};
  const std::size_t got = file.Read(head.data(), head.size());
  file.Seek(static_cast<std::int64_t>(start), CFile::begin);
  return DetectPictureKind(head.data(), got);
}

}  // namespace

PictureKind DetectPictureKind(const std::byte* head, std::size_t size) {
  if (StartsWith(head, size, "BM", 2))
    return PictureKind::Bmp;
  // Classic and big TIFF, in either byte order.
  if (StartsWith(head, size, "II*\0", 4) || StartsWith(head, size, "MM\0*", 4) ||
      StartsWith(head, size, "II+\0", 4) || StartsWith(head, size, "MM\0+", 4))
    return PictureKind::Tiff;
  if (StartsWith(head, size, "\x89PNG\r\n\x1a\n", 8))
    return PictureKind::Png;
  if (StartsWith(head, size, "\xff\xd8\xff", 3))
    return PictureKind::Jpeg;
  // P1 to P6: plain and raw PBM, PGM, PPM. Not P7 (PAM): libnetpbm's
  // reader of its header leaks what it took when it gives up on a bad one.
  if (size >= 2 && head[0] == std::byte{'P'} && head[1] >= std::byte{'1'} &&
      head[1] <= std::byte{'6'})
    return PictureKind::Pnm;
  return PictureKind::Unknown;
}

HGLOBAL ReadPictureFile(CFile& file, const PictureReadOptions& options,
                        PictureReadFailure* failure) {
  CMemoryBudget budget = options.maxMegapixels > 0
                             ? CMemoryBudget::Megapixels(options.maxMegapixels)
                             : CMemoryBudget();
  PictureReadFailure local;
  PictureReadFailure& result = failure ? *failure : local;
  result = {};
  HGLOBAL h = nullptr;
  try {
    h = ReadKind(PeekPictureKind(file), file, options, budget, result);
  } catch (const std::bad_alloc&) {
    result.reason = DibReadError::OutOfMemory;
  }
  if (h) {
    const DibReadError warning = result.warning;
    result = {};
    result.warning = warning;
  } else if (result.reason == DibReadError::None) {
    result.reason = DibReadError::CorruptPicture;
  } else if (result.reason == DibReadError::OverBudget) {
    result.refusal = budget;
  }
  return h;
}

std::vector<PicturePageSize> ListPictureFilePages(CFile& file) {
  if (PeekPictureKind(file) != PictureKind::Tiff)
    return {};
  import::CSourceFile in(file);
  std::vector<PicturePageSize> pages = import::ListTiffPages(in);
  in.RethrowFileError();
  return pages;
}

}  // namespace qov
