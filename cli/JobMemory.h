#pragma once
// How much memory converting one input will take, so that a run keeps no
// more pictures in flight than the machine can hold.

#include <cstdint>
#include <string>

namespace qov {

// What converting `input` needs at most: the picture's 24-bit block twice
// (the picture and its undo copy) and a working margin, from the size the
// file declares; the margin alone when the size cannot be told.
std::uint64_t EstimateJobBytes(const std::string& input);

}  // namespace qov
