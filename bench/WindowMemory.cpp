// window_memory PICTURE OUT.dxf [SCALE]: the desktop program, offscreen, opens
// PICTURE, thresholds it at 50, auto-traces it to OUT.dxf through its
// dialogs as a person would and undoes, printing after each step its peak
// resident set as the kernel counts it (VmHWM) beside the size of the
// picture's block. With SCALE (fit, half, quarter or eighth) the window is
// set to that scale (ウィンドウに合わせる, ×1/2, ×1/4, ×1/8) and painted after
// each step, so that the peaks hold what drawing the picture reduced takes.
// One run, no timing: bench/measure-memory.sh puts the figure beside
// qov-convert's.

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "res/Resource.h"
#include "res/SystemResources.h"
#include "tests/gui/GuiSupport.h"

namespace {

// The process's peak resident set in kB, 0 when the kernel does not say.
unsigned long long PeakResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0)
      return std::strtoull(line.c_str() + 6, nullptr, 10);
  }
  return 0;
}

// The scale command SCALE names; 0 for none, -1 for a name not known.
int ScaleCommand(int argc, char** argv) {
  if (argc < 4)
    return 0;
  const std::pair<const char*, int> kScales[] = {{"fit", qov::ID_SCALE_FIT},
                                                 {"half", qov::ID_SCALE_HALF},
                                                 {"quarter", qov::ID_SCALE_QUARTER},
                                                 {"eighth", qov::ID_SCALE_EIGHTH}};
  for (const auto& [name, id] : kScales) {
    if (std::strcmp(argv[3], name) == 0)
      return id;
  }
  return -1;
}

// Lets the window paint what the last step left, at `scale` when one is
// asked for.
void Settle(qov::CFrameWnd& frame, int scale) {
  if (scale > 0)
    frame.RunCommand(static_cast<qov::UINT>(scale));
  QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qov;
  using namespace qov::test;
  SetResources(&SystemResources());
  const int scale = ScaleCommand(argc, argv);
  if (argc < 3 || argc > 4 || scale < 0) {
    std::fprintf(stderr, "usage: window_memory PICTURE OUT.dxf [fit|half|quarter|eighth]\n");
    return 2;
  }
  const std::string picture = argv[1];
  const std::string dxf = std::filesystem::absolute(argv[2]).string();
  if (!std::filesystem::is_regular_file(picture)) {
    std::fprintf(stderr, "window_memory: %s is not a file\n", picture.c_str());
    return 1;
  }
  // The file dialog would ask before replacing an older drawing.
  std::filesystem::remove(dxf);
  // A window that waits for an answer nobody gives (a picture that fails to
  // open shows a message) ends the run instead of hanging it.
  alarm(600);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string why;
  if (!StartQApplication(&why)) {
    std::fprintf(stderr, "window_memory: %s\n", why.c_str());
    return 1;
  }
  Session session({picture});
  if (!session.Started() || !session.Doc().m_hDib) {
    std::fprintf(stderr, "window_memory: %s did not open\n", picture.c_str());
    return 1;
  }
  Settle(session.Frame(), scale);
  std::printf("block_bytes %zu\nreduction %d\nopen peak_kb %llu\n",
              GlobalSize(session.Doc().m_hDib), session.View().m_nReduction, PeakResidentKb());
  // The threshold dialog opens at 50.
  WhenModalShows([](QWidget* window) {
    qobject_cast<QAbstractButton*>(DialogControl(window, IDOK))->click();
  });
  session.Frame().RunCommand(ID_BINARIZE);
  Settle(session.Frame(), scale);
  std::printf("threshold peak_kb %llu\n", PeakResidentKb());
  AnswerFileDialog(QString::fromStdString(dxf));
  session.Frame().RunCommand(ID_AUTO_TRACE);
  Settle(session.Frame(), scale);
  if (!std::filesystem::exists(dxf) || std::filesystem::file_size(dxf) == 0) {
    std::fprintf(stderr, "window_memory: no drawing was written to %s\n", dxf.c_str());
    return 1;
  }
  std::printf("auto_trace peak_kb %llu\n", PeakResidentKb());
  // 元に戻す brings back the picture before the threshold from the
  // clipboard.
  session.Frame().RunCommand(ID_EDIT_UNDO);
  Settle(session.Frame(), scale);
  std::printf("undo peak_kb %llu\n", PeakResidentKb());
  return 0;
}
