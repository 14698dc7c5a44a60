#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

#include "tests/export/TestSupport.h"

namespace qov::test {
namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr std::int64_t W = 60, H = 40;

// A solid 20 × 14 rectangle (x 10 to 29, y 8 to 21) and a 16-pixel line
// running down to the right from (35, 5) to (50, 20).
Color3 Drawing(std::int64_t x, std::int64_t y) {
  const bool rectangle = x >= 10 && x <= 29 && y >= 8 && y <= 21;
  const bool diagonal = x >= 35 && x <= 50 && y - 5 == x - 35;
  return rectangle || diagonal ? kBlack : kWhite;
}

class ExternalReader : public ViewTest {
 protected:
  void SetUp() override {
    if (std::system((std::string(kPython) + " -c 'import ezdxf' 2>/dev/null").c_str()) != 0) {
      GTEST_SKIP() << "ezdxf is not installed";
    }
    SetPicture(W, H, Drawing);
  }

  // Writes the export of command `id` and has ezdxf check it: every entity
  // a LINE, `count` of them, within the extents given in pixel units.
  void ExpectReadable(UINT id, int count, double xmin, double ymin, double xmax, double ymax) {
    const std::string path = dir.File("out.dxf");
    backend().QueueFileDialog(path);
    ASSERT_TRUE(Run(id));
    ASSERT_TRUE(backend().Messages().empty());
    const auto s = static_cast<double>(0.34f);
    std::ostringstream command;
    command.precision(17);
    command << kPython << " " << QOV_SOURCE_DIR << "/tests/export/check_dxf.py " << path << " "
            << count << " " << xmin * s << " " << ymin * s << " " << xmax * s << " " << ymax * s;
    const int status = std::system(command.str().c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << command.str();
  }

  TempDir dir;
};

TEST_F(ExternalReader, ReadsDotsToCrosses) {
  // Two lines per dark pixel, spanning the pixels' cells.
  ExpectReadable(ID_DOTS_TO_CROSSES, 2 * (20 * 14 + 16), 10, H - 21, 51, H - 5 + 1);
}

TEST_F(ExternalReader, ReadsDotToDotLines) {
  // Right and down joins fill the rectangle, the line has 15 diagonals.
  ExpectReadable(ID_DOTS_TO_LINES, 19 * 14 + 20 * 13 + 15, 10, H - 21, 50, H - 5);
}

TEST_F(ExternalReader, ReadsAutoTrace) {
  // The rectangle's four sides and four corner links, the line's 15 links.
  ExpectReadable(ID_AUTO_TRACE, 4 + 4 + 15, 10, H - 21, 50, H - 5);
}

TEST_F(ExternalReader, ReadsVectorizedDrawing) {
  // The filled rectangle as an outline, the diagonal as a centerline.
  const std::string path = dir.File("vector.dxf");
  backend().QueueDialogData([](CDialog&) {});
  backend().QueueFileDialog(path);
  ASSERT_TRUE(Run(ID_VECTORIZE));
  const std::string command = std::string(kPython) + " " + QOV_SOURCE_DIR +
                              "/tests/export/check_dxf.py " + path + " vector";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << command;
}

TEST_F(ExternalReader, ReadsPictureWithoutSegments) {
  doc.ReplaceDib(MakeDib24(W, H, Uniform(kWhite)));
  ExpectReadable(ID_DOTS_TO_CROSSES, 0, 0, 0, 0, 0);
}

}  // namespace
}  // namespace qov::test
