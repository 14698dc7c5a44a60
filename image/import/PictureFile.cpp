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

PictureReadResult ReadKind(PictureKind kind, CFile& file, const PictureReadOptions& options,
                           CMemoryBudget& budget) {
  import::CSourceFile in(file);
  PictureReadResult read;
  switch (kind) {
    case PictureKind::Bmp:
      return ReadDibFile(file, &budget);
    case PictureKind::Tiff:
      read = import::ReadTiffPicture(in, options, budget);
      break;
    case PictureKind::Png:
      read = import::ReadPngPicture(in, budget);
      break;
    case PictureKind::Jpeg:
      read = import::ReadJpegPicture(in, budget);
      break;
    case PictureKind::Pnm:
      read = import::ReadPnmPicture(in, budget);
      break;
    case PictureKind::Unknown:
      read.failure.reason = DibReadError::NotAPicture;
      break;
  }
  if (!read)
    in.RethrowFileError();
  return read;
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

PictureReadResult ReadPictureFile(CFile& file, const PictureReadOptions& options) {
  CMemoryBudget budget = options.maxMegapixels > 0
                             ? CMemoryBudget::Megapixels(options.maxMegapixels)
                             : CMemoryBudget();
  PictureReadResult read;
  try {
    read = ReadKind(PeekPictureKind(file), file, options, budget);
  } catch (const std::bad_alloc&) {
    read.failure.reason = DibReadError::OutOfMemory;
  }
  PictureReadFailure& failure = read.failure;
  if (read) {
    const DibReadError warning = failure.warning;
    failure = {};
    failure.warning = warning;
  } else if (failure.reason == DibReadError::None) {
    failure.reason = DibReadError::CorruptPicture;
  } else if (failure.reason == DibReadError::OverBudget) {
    failure.refusal = budget;
  }
  return read;
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
