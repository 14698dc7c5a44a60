// The resolution fields of a block's header: read only from a 40-byte (or
// larger) header and only when both make sense.

#include <cstring>

#include "image/DibResolution.h"
#include "tests/image/ImageTestSupport.h"

namespace qov::test {
namespace {

struct HeaderCase {
  const char* name;
  std::uint32_t headerSize;
  DibResolution written;
  DibResolution expected;
};

// The fields written with SetDibResolution, then read back; a core header
// has none, and its pixels are left as they were.
TEST(DibResolution, ReadsBackWhatAHeaderHoldsWhenItMakesSense) {
  for (const HeaderCase& c : {
           HeaderCase{"info header", 40, {11811, 5906}, {11811, 5906}},
           HeaderCase{"version 5 header", 124, {3780, 3780}, {3780, 3780}},
           HeaderCase{"across only", 40, {3780, 0}, {}},
           HeaderCase{"negative", 40, {0xFFFFFFFF, 3780}, {}},
           HeaderCase{"over the limit", 40, {3780, kMaxPelsPerMeter + 1}, {}},
           HeaderCase{"core header", 12, {3780, 3780}, {}},
       }) {
    SCOPED_TRACE(c.name);
    DibFields fields;
    fields.headerSize = c.headerSize;
    fields.width = 8;
    fields.pixels = Bytes(24, 0x55);
    const Bytes dib = MakeDib(fields);
    const CGlobalOwner block(BlockOf(dib));
    {
      const CGlobalLock lock(block.get());
      SetDibResolution(lock.get(), c.written);
      EXPECT_EQ(std::memcmp(lock.get() + c.headerSize, dib.data() + c.headerSize, 24), 0);
    }
    EXPECT_TRUE(GetDibResolution(block.get()) == c.expected);
  }
  EXPECT_FALSE(GetDibResolution(HGLOBAL{}).Known());
}

}  // namespace
}  // namespace qov::test
