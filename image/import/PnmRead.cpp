// PBM, PGM and PPM pictures, plain and raw, through libnetpbm. Its error exit is a longjmp to a
// buffer that the library holds globally, and its messages go to global handlers: one picture at a
// time, and the frames it may jump over hold nothing with a destructor.

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>
// The library's headers declare C functions without a C++ guard of their own.
extern "C" {
#include <netpbm/pam.h>
}

#include "image/import/PackedRow.h"
#include "image/import/PictureBlock.h"
#include "platform/Progress.h"
#include "platform/ScopeExit.h"

namespace qov::import {

namespace {

std::mutex g_libraryLock;
char g_error[256];

void OnError(const char* message) {
  std::snprintf(g_error, sizeof g_error, "%s", message);
}

// Informational messages leave the pixels intact and are not printed.
void OnMessage(const char*) {}

void PrepareLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    pm_init("qov", 0);
    pm_setusererrormsgfn(OnError);
    pm_setusermessagefn(OnMessage);
  });
  g_error[0] = '\0';
}

// The picture file as a C stream for the library.
ssize_t ReadCookie(void* cookie, char* buffer, std::size_t size) {
  return static_cast<ssize_t>(static_cast<CSourceFile*>(cookie)->Read(buffer, size));
}

// Raw rows are read a row at a time: a large buffer makes that a few large
// reads of the file instead of one per few rows.
constexpr std::size_t kStreamBuffer = std::size_t{1} << 20;

struct CookieStream {
  FILE* stream;
  explicit CookieStream(CSourceFile& in)
      : stream(fopencookie(&in, "rb", {ReadCookie, nullptr, nullptr, nullptr})) {
    if (stream)
      std::setvbuf(stream, nullptr, _IOFBF, kStreamBuffer);
  }
  ~CookieStream() {
    if (stream)
      std::fclose(stream);
  }
  CookieStream(const CookieStream&) = delete;
  CookieStream& operator=(const CookieStream&) = delete;
};

struct PamRow {
  tuple* row = nullptr;
  ~PamRow() {
    if (row)
      pnm_freepamrow(row);
  }
};

bool ReadHeader(FILE* stream, pam& header, PamRow& row) {
  jmp_buf jump;
  jmp_buf* previous = nullptr;
  pm_setjmpbufsave(&jump, &previous);
  if (setjmp(jump)) {
    pm_setjmpbuf(previous);
    return false;
  }
  // The library's own size macro takes a member of a null pointer.
  constexpr auto kHeaderSize = offsetof(pam, tuple_type) + sizeof(pam::tuple_type);
  pnm_readpaminit(stream, &header, static_cast<int>(kHeaderSize));
  row.row = pnm_allocpamrow(&header);
  pm_setjmpbuf(previous);
  return true;
}

// Every sample value from 0..maxval scaled to 0..255, rounded: a lookup per
// sample instead of a division.
std::vector<std::uint8_t> ScaleTable(sample maxval) {
  std::vector<std::uint8_t> table(maxval + 1);
  for (sample value = 0; value <= maxval; ++value)
    table[value] = static_cast<std::uint8_t>((value * 255 + maxval / 2) / maxval);
  return table;
}

// Grey (one plane: PBM, PGM) or red, green, blue (three: PPM).
void ConvertRow(const pam& header, const tuple* row, const std::uint8_t* scale, std::uint8_t* bgr) {
  const bool colour = header.depth >= 3;
  for (int x = 0; x < header.width; ++x) {
    const tuple t = row[x];
    std::uint8_t* out = bgr + 3 * static_cast<std::size_t>(x);
    // The library refuses samples above maxval; the bound keeps the lookup
    // inside the table whatever it lets through.
    for (unsigned c = 0; c < 3; ++c)
      out[2 - c] = scale[std::min(t[colour ? c : 0], header.maxval)];
  }
}

// What the rows are read into. PBM rows stay packed, 8 pixels a byte,
// and go through a table; the others come as the library's samples.
struct PnmRows {
  PamRow samples;
  std::vector<std::uint8_t> scale;
  std::optional<CPackedRow> packed;
  std::vector<std::uint8_t> bits;
  std::vector<std::uint8_t> bgr;
};

void PrepareRows(const pam& header, PnmRows& rows) {
  const auto width = static_cast<std::size_t>(header.width);
  rows.bgr.resize(3 * width);
  if (PBM_FORMAT_TYPE(header.format) == PBM_TYPE) {
    // A set bit is black.
    const CPackedRow::Colour colours[2] = {{255, 255, 255}, {0, 0, 0}};
    rows.packed.emplace(1, colours);
    rows.bits.resize((width + 7) / 8);
  } else {
    rows.scale = ScaleTable(header.maxval);
  }
}

// netpbm reports a damaged file by jumping to the innermost buffer
// registered. No object with a destructor may live between the jump and its
// target, so the walk and the restoring of the caller's buffer are outside.
bool ReadRowsUnderJump(pam& header, PnmRows& pnm, const COrientedRows& rows, CProgressWalk& walk,
                       jmp_buf*& previous) {
  jmp_buf jump;
  pm_setjmpbufsave(&jump, &previous);
  if (setjmp(jump))
    return false;
  const auto width = static_cast<std::uint64_t>(header.width);
  for (int y = 0; y < header.height; ++y) {
    walk.Step(y);
    if (pnm.packed)
      pbm_readpbmrow_packed(header.file, pnm.bits.data(), header.width, header.format);
    else
      pnm_readpamrow(&header, pnm.samples.row);
    rows.FillRow(static_cast<std::uint64_t>(y), pnm.bgr.data(), [&](std::uint8_t* out) {
      if (pnm.packed)
        pnm.packed->Convert(pnm.bits.data(), width, out);
      else
        ConvertRow(header, pnm.samples.row, pnm.scale.data(), out);
    });
  }
  return true;
}

bool ReadRows(pam& header, PnmRows& pnm, const COrientedRows& rows) {
  CProgressWalk walk(header.height);
  jmp_buf* previous = nullptr;
  const ScopeExit restore([&previous] { pm_setjmpbuf(previous); });
  return ReadRowsUnderJump(header, pnm, rows, walk, previous);
}

}  // namespace

PictureReadResult ReadPnmPicture(CSourceFile& in, CMemoryBudget& budget) {
  PictureReadResult read;
  PictureReadFailure& failure = read.failure;
  const std::lock_guard<std::mutex> lock(g_libraryLock);
  PrepareLibrary();
  const CookieStream file(in);
  if (!file.stream) {
    failure.reason = DibReadError::OutOfMemory;
    return read;
  }
  pam header{};
  PnmRows pnm;
  if (!ReadHeader(file.stream, header, pnm.samples) || header.maxval == 0 || header.depth < 1) {
    failure.reason = DibReadError::CorruptPicture;
    failure.detail = g_error;
    return read;
  }
  const auto width = static_cast<std::uint64_t>(header.width);
  const auto height = static_cast<std::uint64_t>(header.height);
  CGlobalOwner block = NewPictureBlock(width, height, DibResolution{}, budget, failure);
  if (!block)
    return read;
  PrepareRows(header, pnm);
  {
    const CGlobalLock blockLock(block.get());
    const COrientedRows rows(blockLock.get(), kOrientationTopLeft, width, height);
    if (ReadRows(header, pnm, rows)) {
      read.block = std::move(block);
      return read;
    }
  }
  failure.reason = DibReadError::CorruptPicture;
  failure.detail = g_error;
  return read;
}

}  // namespace qov::import
