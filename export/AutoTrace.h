#pragma once
// Auto trace: the outline picture scanned into horizontal runs, vertical runs
// and single-step diagonal links of dark pixels.

#include <cstdint>

#include "export/DxfWriter.h"
#include "image/QOV_V2Doc.h"

namespace qov {

// Runs the row pass, the column pass and the diagonal pass over the centres
// of rows 1 to H − 2 and columns 1 to W − 2, writing each segment at once in
// colour 7 (5 digits for runs, 6 for links). A pixel with a blue byte below
// 81 starts runs and links; a neighbour counts as black below 60. Pixels that
// the row and column passes are done with are marked white in the picture,
// so that no later pass sees them again: the caller restores the picture.
// Every pixel makes its reads in one fixed order, and a read outside the
// picture repeats the one before it.
void WriteAutoTrace(CQOV_V2Doc& doc, CDxfWriter& writer, std::int32_t W, std::int32_t H);

}  // namespace qov
