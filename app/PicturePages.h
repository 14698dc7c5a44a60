#pragma once
// Which page of a picture file the template opens: the pages a TIFF file
// holds, and the page the picture document reads.

#include "shell/DocTemplate.h"

namespace qov {

// Gives `tmpl`, whose documents are CQOV_V2Doc, its page handlers.
void ConnectPicturePages(CSingleDocTemplate& tmpl);

}  // namespace qov
