#include "res/SystemResources.h"

namespace qov {

const CResources& SystemResources() {
  static const CResources resources{SystemStrings(), SystemMenus(), SystemAccelerators(),
                                    SystemDialogTemplates()};
  return resources;
}

}  // namespace qov
