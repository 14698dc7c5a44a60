#pragma once
// Saving over a file so that a failed save loses nothing.

#include <functional>
#include <string>

#include "platform/File.h"

namespace qov {

// Writes a new version of the file at `path` through `write` and puts it in
// place of the old one. What the target is decides how:
//  - a regular file with no other link, in a folder that can take a new
//    file: the bytes go to a new file beside it that replaces the target by
//    a rename only once complete and on the disk, the folder synced after;
//    symbolic links are followed, the target's permissions and owner kept;
//  - a regular file with other hard links, or in a folder that cannot take a
//    new file: the target is written in place, its old bytes kept first and
//    put back when the save fails, so that every link sees one whole picture;
//  - anything else (a pipe, a terminal, a device, /dev/stdout): written as a
//    stream to what it is, never truncated or replaced; refused when only
//    regular files are allowed (CFile::SetRegularFilesOnly).
// A target that the user may not write is refused. No temporary file is left,
// even when a signal ends the program during the save.
// Returns false when `write` does (the old file is as it was); a file error
// propagates as CFileException, with m_bOldContentsLost set when the old
// bytes could not be put back.
bool ReplaceFile(const std::string& path, const std::function<bool(CFile&)>& write);

}  // namespace qov
