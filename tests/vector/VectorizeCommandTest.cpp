// The window's ベクトル化 command and qov-convert's --dxf-vectorize run the
// same view command: with the same settings they write the same bytes.

#include "tests/cli/RunConvert.h"
#include "tests/support/TempDir.h"
#include "tests/vector/PenDrawing.h"
#include "tests/view/ViewTestSupport.h"
#include "vector/VectorizeDlg.h"

namespace qov::test {
namespace {

class VectorizeCommand : public ViewTest {};

TEST_F(VectorizeCommand, WindowAndConverterWriteTheSameBytes) {
  TempDir dir;
  const Picture page = DrawWithPen(120, 90, 4.5,
                                   {{PenStroke::Line, {10, 10}, {110, 15}},
                                    {PenStroke::Arc, {60, 50}, {}, 25, 0, 360},
                                    {PenStroke::Box, {90, 60}, {115, 85}}});
  const std::string picture = dir.File("page.bmp");
  WriteBmp(picture, page);
  ASSERT_TRUE(doc.OnOpenDocument(picture));
  view.OnInitialUpdate();

  const std::string window = dir.File("window.dxf");
  backend().QueueDialogData([](CDialog& dlg) {
    VectorizeParams& params = dynamic_cast<CVectorizeDlg&>(dlg).m_params;
    params.dpi = 254;
    params.maxPenMm = 1;
    params.toleranceMm = 0.05;
  });
  backend().QueueFileDialog(window);
  ASSERT_TRUE(Run(ID_VECTORIZE));

  const std::string converter = dir.File("converter.dxf");
  const ProgramResult result = RunConvert({picture, "--dpi", "254", "--max-pen", "1", "--tolerance",
                                           "0.05", "--dxf-vectorize", converter});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const Bytes written = ReadBytes(window);
  const std::string text(written.begin(), written.end());
  EXPECT_NE(text.find("\nCIRCLE\n"), std::string::npos) << text;
  EXPECT_EQ(written, ReadBytes(converter));
}

}  // namespace
}  // namespace qov::test
