#pragma once
// The vectorizer's DXF drawing: a plain ASCII file of the oldest version
// every reader knows, in millimetres, with its extents, its units and one
// layer for centerlines and one for outlines declared in its tables.

#include "platform/File.h"
#include "vector/VectorDrawing.h"

namespace qov {

inline constexpr const char* kCenterlineLayer = "CENTERLINES";
inline constexpr const char* kOutlineLayer = "OUTLINES";

// Writes the drawing to `file`, open for writing. Throws CFileException.
void WriteVectorDxf(CFile& file, const VectorDrawing& drawing);

}  // namespace qov
