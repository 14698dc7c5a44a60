#pragma once
// The language of a reason: the window shows Japanese texts only, the batch
// converter writes English ones.

namespace qov {

enum class Language { English, Japanese };

}  // namespace qov
