// The resources in force, and the lookups that read them.

#include "platform/Resources.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/StringTable.h"

namespace qov {
namespace {

const CResources* g_pResources = nullptr;

// The entry of `table` with this id, or null.
template <typename Entry>
const Entry* FindEntry(std::span<const Entry> table, UINT id) {
  const auto found =
      std::find_if(table.begin(), table.end(), [id](const Entry& e) { return e.id == id; });
  return found == table.end() ? nullptr : &*found;
}

}  // namespace

const CResources* SetResources(const CResources* resources) {
  return std::exchange(g_pResources, resources);
}

const CResources& Resources() {
  if (!g_pResources)
    throw std::logic_error("no resources installed");
  return *g_pResources;
}

const std::string& LoadString(UINT id) {
  static const std::string kEmpty;
  const StringResource* found = FindEntry(Resources().strings, id);
  return found ? found->text : kEmpty;
}

const std::vector<MenuItem>& LoadMenu(UINT id) {
  static const std::vector<MenuItem> kNone;
  const MenuResource* found = FindEntry(Resources().menus, id);
  return found ? found->popups : kNone;
}

std::span<const Accelerator> LoadAccelerators(UINT id) {
  const AcceleratorTable* found = FindEntry(Resources().accelerators, id);
  return found ? found->entries : std::span<const Accelerator>();
}

const DialogTemplate* FindDialogTemplate(UINT id) {
  const std::span<const DialogTemplate* const> dialogs = Resources().dialogs;
  const auto found = std::find_if(dialogs.begin(), dialogs.end(),
                                  [id](const DialogTemplate* t) { return t->id == id; });
  return found == dialogs.end() ? nullptr : *found;
}

}  // namespace qov
