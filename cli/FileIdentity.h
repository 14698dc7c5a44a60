#pragma once
// Which file a name reaches, so that two names of one file are seen to be
// one, whatever links, "." or ".." they go through.

#include <string>

namespace qov {

// A key that every name of one file shares: the device and inode of a file
// that exists; of one that does not, those of its folder with its name, or the
// canonical path of what exists of it when the folder is missing too.
std::string FileIdentity(const std::string& path);

}  // namespace qov
