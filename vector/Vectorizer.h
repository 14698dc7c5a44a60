#pragma once
// The vectorizer: the dark pixels of the picture as the lines a CAD drawing
// is made of. Strokes no wider than the widest pen become centerlines, one
// line for one stroke, split into the fewest straight and circular pieces
// within the tolerance; wider areas become their closed outlines.

#include <cstddef>

#include "image/DibResolution.h"
#include "vector/VectorDrawing.h"
#include "vector/VectorizeParams.h"

namespace qov {

// Vectorizes the locked 24-bit block at `block`. The size comes from the
// caller's resolution when params.dpi is set, else from the picture's own,
// else kAssumedMmPerPixel. Throws std::bad_alloc when the working memory (two
// bytes a pixel and the paths) cannot be had.
VectorDrawing Vectorize(const std::byte* block, const VectorizeParams& params);

}  // namespace qov
