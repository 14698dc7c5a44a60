// libtiff over the picture file: client procedures and message handlers.

#include "image/import/TiffFile.h"

#include <cstdarg>
#include <cstdio>

namespace qov::import {

namespace {

CSourceFile& Source(thandle_t handle) {
  return *static_cast<CSourceFile*>(handle);
}

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size) {
  return size < 0
             ? -1
             : static_cast<tmsize_t>(Source(handle).Read(buffer, static_cast<std::size_t>(size)));
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) {
  return -1;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  const std::int64_t to = Source(handle).Seek(static_cast<std::int64_t>(offset),
                                              static_cast<CFile::SeekPosition>(whence));
  return static_cast<toff_t>(to);
}

int CloseProc(thandle_t) {
  return 0;
}

toff_t SizeProc(thandle_t handle) {
  return Source(handle).Length();
}

int MapProc(thandle_t, void**, toff_t*) {
  return 0;
}

void UnmapProc(thandle_t, void*, toff_t) {}

// Frees the options however the open ends.
struct OpenOptions {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  ~OpenOptions() { TIFFOpenOptionsFree(options); }
};

}  // namespace

CTiffFile::CTiffFile(CSourceFile& in, tmsize_t maxAllocation) {
  const OpenOptions open;
  TIFFOpenOptionsSetMaxSingleMemAlloc(open.options, maxAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(open.options, &CTiffFile::OnError, this);
  TIFFOpenOptionsSetWarningHandlerExtR(open.options, &CTiffFile::OnWarning, this);
  // "m": never map the file, it is read through the procedures only.
  m_tif = TIFFClientOpenExt("picture", "rm", &in, ReadProc, WriteProc, SeekProc, CloseProc,
                            SizeProc, MapProc, UnmapProc, open.options);
}

CTiffFile::~CTiffFile() {
  if (m_tif)
    TIFFClose(m_tif);
}

// Called from C: keeps the first message and never throws.
int CTiffFile::OnError(TIFF*, void* user, const char* module, const char* format, va_list args) {
  auto* self = static_cast<CTiffFile*>(user);
  if (!self->m_error.empty())
    return 1;
  char text[256];
  std::vsnprintf(text, sizeof text, format, args);
  try {
    self->m_error = module ? std::string(module) + ": " + text : std::string(text);
  } catch (...) {
    self->m_error.clear();
  }
  return 1;
}

// Warnings (unknown tags, odd but readable fields) do not stop the reading;
// they are kept from standard error.
int CTiffFile::OnWarning(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

}  // namespace qov::import
