// Start-up of the desktop program on an A4 picture until its first painted
// frame (a child process per run, from its start); on an A0 page at 400 dpi
// (13244 × 18732), one repaint of a 1920 × 1080 view at every scale, which
// must cost the same whatever the picture's size, reduced and fitted to the
// window;
// and a picture command, which must show the wait cursor while it works.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/QOV_V2App.h"
#include "image/QOV_V2Doc.h"
#include "platform/CmdTarget.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtViewWidget.h"
#include "res/Resource.h"
#include "res/SystemResources.h"
#include "shell/qt/QtAppBackend.h"
#include "view/QOV_V2View.h"

extern char** environ;

namespace qov {
namespace {

constexpr const char* kChildSwitch = "--first-paint-child";
std::string g_self;

void PutU32(char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<char>(v >> (8 * i));
}

// A 24-bit picture of width × height: a 40-byte header, then grey rows.
CGlobalOwner MakeDib(std::uint32_t width, std::uint32_t height) {
  const std::size_t stride = (std::size_t{width} * 3 + 3) & ~std::size_t{3};
  CGlobalOwner block = GlobalAllocOwned(GHND, 40 + stride * height);
  CGlobalLock lock(block.get());
  char* p = reinterpret_cast<char*>(lock.get());
  PutU32(p, 40);
  PutU32(p + 4, width);
  PutU32(p + 8, height);
  p[12] = 1;
  p[14] = 24;
  for (std::size_t i = 40; i < lock.size(); ++i)
    p[i] = static_cast<char>(i * 7 % 251);
  return block;
}

// The A4 page at 300 dpi as a .bmp file.
std::string A4Picture() {
  const auto path = std::filesystem::temp_directory_path() / "qov-bench-a4.bmp";
  if (std::filesystem::exists(path))
    return path.string();
  const std::uint32_t w = 2480, h = 3508;
  const CGlobalOwner dib = MakeDib(w, h);
  CGlobalLock lock(dib.get());
  std::string header(14, '\0');
  header[0] = 'B';
  header[1] = 'M';
  PutU32(header.data() + 2, static_cast<std::uint32_t>(14 + lock.size()));
  PutU32(header.data() + 10, 54);
  std::ofstream out(path, std::ios::binary);
  out.write(header.data(), 14);
  out.write(reinterpret_cast<const char*>(lock.get()), static_cast<std::streamsize>(lock.size()));
  return path.string();
}

// The child: the program as `qov FILE` runs, ending at its first paint.
int RunChild(int argc, char** argv) {
  CQOV_V2App app;
  return RunQtApplication(argc, argv, app, [](CWinApp&, QtAppBackend& windows) {
    windows.ViewWidget()->SetPaintedCallback([&windows] { windows.Quit(0); });
  });
}

void BM_StartToFirstPaint(benchmark::State& state) {
  const std::string picture = A4Picture();
  if (!std::getenv("DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The runs' recent-file entries go to a folder of their own.
  const auto config = std::filesystem::temp_directory_path() / "qov-bench-config";
  std::filesystem::create_directories(config);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  // So do the automation registration and the socket of the shown window: a
  // run must neither register itself nor hand its file to a window the user
  // has open.
  const auto data = std::filesystem::temp_directory_path() / "qov-bench-data";
  const auto runtime = std::filesystem::temp_directory_path() / "qov-bench-runtime";
  std::filesystem::create_directories(data);
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  for (auto _ : state) {
    std::string self = g_self, sw = kChildSwitch, file = picture;
    char* args[] = {self.data(), sw.data(), file.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, args, environ) != 0) {
      state.SkipWithError("cannot start the program");
      return;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the program failed");
      return;
    }
    state.SetIterationTime(took.count());
  }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The Qt backend, noting whether the wait cursor was up while a command ran.
class WatchedBackend : public QtBackend {
 public:
  void BeginWaitCursor() override {
    QtBackend::BeginWaitCursor();
    const QCursor* cursor = QApplication::overrideCursor();
    waitCursorShown = waitCursorShown || (cursor && cursor->shape() == Qt::WaitCursor);
  }
  bool waitCursorShown = false;
};

// A view of the A0 page in a 1920 × 1080 window.
struct BigView {
  static constexpr std::uint32_t kWidth = 13244;
  static constexpr std::uint32_t kHeight = 18732;

  BigView() {
    static int argc = 1;
    static char name[] = "bench_gui";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("DISPLAY"))
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!qApp)
      new QApplication(argc, argv);
    previous = SetPlatformBackend(&platform);
    doc.ReplaceDib(MakeDib(kWidth, kHeight));
    view.SetDocument(&doc);
    widget = std::make_unique<QtViewWidget>(view, nullptr);
    view.SetHost(widget.get());
    widget->resize(1920, 1080);
    widget->setAttribute(Qt::WA_DontShowOnScreen);
    widget->show();
    view.OnInitialUpdate();
  }
  ~BigView() {
    view.SetHost(nullptr);
    widget.reset();
    SetPlatformBackend(previous);
  }
  static BigView& Get() {
    static BigView big;
    return big;
  }
  WatchedBackend platform;
  IPlatformBackend* previous;
  CQOV_V2Doc doc;
  CQOV_V2View view;
  std::unique_ptr<QtViewWidget> widget;
};

enum class Pixels { same, changed };

// One full repaint of the view per iteration, the document's pixels
// changed before each when asked.
void RepaintRepeatedly(benchmark::State& state, BigView& big, Pixels pixels = Pixels::same) {
  const QSize client = big.widget->viewport()->size();
  QImage screen(client, QImage::Format_RGB32);
  for (auto _ : state) {
    if (pixels == Pixels::changed)
      big.doc.NotePixelsChanged();
    QPainter painter(&screen);
    big.widget->PaintView(painter, screen.rect());
  }
  state.counters["client_px"] = client.width() * client.height();
}

// The view scrolled to the middle of the page.
void BM_RepaintFullScreen(benchmark::State& state) {
  BigView& big = BigView::Get();
  big.view.SetScale(static_cast<int>(state.range(0)));
  const CSize total = big.view.GetTotalSize();
  big.view.ScrollToPosition({total.cx / 2, total.cy / 2});
  RepaintRepeatedly(state, big);
}
BENCHMARK(BM_RepaintFullScreen)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The whole page fitted to the window: the page reduced to the darkest of
// each block is kept from one repaint to the next.
void BM_RepaintFitted(benchmark::State& state) {
  BigView& big = BigView::Get();
  big.view.OnScaleFit();
  state.counters["reduction"] = big.view.m_nReduction;
  RepaintRepeatedly(state, big);
}
BENCHMARK(BM_RepaintFitted)->Unit(benchmark::kMillisecond);

// The first repaint at fit after a command: every pixel of the page is read
// to reduce it again.
void BM_RepaintFittedAfterChange(benchmark::State& state) {
  BigView& big = BigView::Get();
  big.view.OnScaleFit();
  RepaintRepeatedly(state, big, Pixels::changed);
}
BENCHMARK(BM_RepaintFittedAfterChange)->Unit(benchmark::kMillisecond);

// The page at ×1/2, ×1/4 and ×1/8, scrolled to its middle: larger than the
// window, so only its visible part is reduced and kept.
void RepaintReduced(benchmark::State& state, Pixels pixels) {
  BigView& big = BigView::Get();
  big.view.SetDisplayScale(1, static_cast<int>(state.range(0)));
  const CSize total = big.view.GetTotalSize();
  big.view.ScrollToPosition({total.cx / 2, total.cy / 2});
  RepaintRepeatedly(state, big, pixels);
}
void BM_RepaintReduced(benchmark::State& state) {
  RepaintReduced(state, Pixels::same);
}
// As the first repaint after a command or a scroll.
void BM_RepaintReducedAfterChange(benchmark::State& state) {
  RepaintReduced(state, Pixels::changed);
}
BENCHMARK(BM_RepaintReduced)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintReducedAfterChange)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// 誤差分散 (no dialog) on the whole page, through the window's command routing.
void BM_CommandOnA0(benchmark::State& state) {
  BigView& big = BigView::Get();
  big.platform.waitCursorShown = false;
  for (auto _ : state)
    benchmark::DoNotOptimize(ExecuteCommand(big.view, ID_ERROR_DIFFUSION));
  if (!big.platform.waitCursorShown)
    state.SkipWithError("the command showed no wait cursor");
  state.counters["wait_cursor"] = big.platform.waitCursorShown ? 1 : 0;
}
BENCHMARK(BM_CommandOnA0)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace qov

int main(int argc, char** argv) {
  qov::SetResources(&qov::SystemResources());
  if (argc == 3 && std::strcmp(argv[1], qov::kChildSwitch) == 0) {
    char* childArgv[] = {argv[0], argv[2], nullptr};
    return qov::RunChild(2, childArgv);
  }
  qov::g_self = std::filesystem::canonical("/proc/self/exe").string();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
