// The window's ベクトル化 command: its preview draws the vectors over the
// picture before anything is written, and it writes the same bytes as
// qov-convert's --dxf-vectorize with the same settings.

#include <map>

#include "tests/cli/RunConvert.h"
#include "tests/support/RecordingDC.h"
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

// The polylines an OnDraw draws, by colour.
std::map<std::uint32_t, int> DrawnPolylines(CQOV_V2View& view) {
  RecordingDC dc;
  view.OnDraw(&dc);
  std::map<std::uint32_t, int> count;
  for (const RecordingDC::Call& call : dc.Calls()) {
    if (call.kind == RecordingDC::Call::Polyline)
      ++count[call.rgb];
  }
  return count;
}

TEST_F(VectorizeCommand, PreviewDrawsTheVectorsByKindAndFollowsTheSettings) {
  SetPicture(120, 90, [](std::int64_t x, std::int64_t y) {
    const bool line = y >= 10 && y <= 13 && x >= 10 && x <= 100;
    const bool box = x >= 60 && x <= 100 && y >= 40 && y <= 80;
    return line || box ? Color3{0, 0, 0} : Color3{255, 255, 255};
  });
  std::map<std::uint32_t, int> withPen, narrowPen, afterwards;
  backend().QueueDialog([&](CDialog& dlg) {
    dlg.UserSetText(IDC_EDIT_DPI, "254");
    dlg.UserClick(IDC_PREVIEW);
    withPen = DrawnPolylines(view);
    // A widest pen of 5 mm takes the 4 mm box for a stroke.
    dlg.UserSetText(IDC_EDIT_MAX_PEN, "5");
    narrowPen = DrawnPolylines(view);
    dlg.UserClick(IDCANCEL);
  });
  EXPECT_FALSE(Run(ID_VECTORIZE));
  afterwards = DrawnPolylines(view);
  EXPECT_EQ(withPen.size(), 2u) << "centerlines and outlines in their own colours";
  EXPECT_EQ(narrowPen.size(), 1u) << "only centerlines";
  EXPECT_TRUE(afterwards.empty()) << "the preview ends with the dialog";
}

}  // namespace
}  // namespace qov::test
