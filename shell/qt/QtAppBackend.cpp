#include "shell/qt/QtAppBackend.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>
#include <cstdio>
#include <stdexcept>

#include "platform/qt/DialogUnits.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtViewWidget.h"
#include "shell/FrameWnd.h"
#include "shell/WinApp.h"
#include "shell/qt/QtAutomationServer.h"
#include "shell/qt/QtMainWindow.h"
#include "shell/qt/QtSettings.h"
#include "shell/qt/QtSingleInstance.h"

// Resources of a static library must be pulled in by name.
static void InitIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace qov {
namespace {

// A window that was never shown has not laid out its children: the view
// would print with a size it never had. Laying it out off screen gives it
// the size it will have when it shows.
void LayOutHidden(QWidget* window) {
  if (!window || window->isVisible())
    return;
  window->setAttribute(Qt::WA_DontShowOnScreen, true);
  window->show();
  window->hide();
  window->setAttribute(Qt::WA_DontShowOnScreen, false);
}

}  // namespace

QtAppBackend::QtAppBackend() {
  InitIconResources();
}

QtAppBackend::~QtAppBackend() = default;

void QtAppBackend::PrepareApplication() {
  auto* translator = new QTranslator(qApp);
  if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator);
  }
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setFont(DialogFont("ＭＳ Ｐゴシック", 9));
  InitIconResources();
}

std::unique_ptr<ISettings> QtAppBackend::OpenSettings(const std::string& registryKey,
                                                      const std::string& appName) {
  return std::make_unique<QtSettings>(registryKey, appName);
}

std::unique_ptr<IFrameHost> QtAppBackend::CreateFrameHost(CFrameWnd& frame) {
  auto window = std::make_unique<QtMainWindow>(frame);
  m_pMainWindow = window.get();
  return window;
}

std::unique_ptr<IViewHost> QtAppBackend::CreateViewHost(CView& view, IFrameHost& frame) {
  auto* window = dynamic_cast<QtMainWindow*>(&frame);
  if (!window)
    throw std::logic_error("the view's frame is not a Qt window");
  auto widget = std::make_unique<QtViewWidget>(view, window);
  window->setCentralWidget(widget.get());
  m_pViewWidget = widget.get();
  return widget;
}

PrintResult QtAppBackend::PrintView(CView& view, CPrintInfo& info, const std::string& printerName,
                                    std::string* reason) {
  LayOutHidden(m_pMainWindow);
  return m_printing.Print(view, info, printerName, reason);
}

void QtAppBackend::PrintSetup() {
  m_printing.Setup();
}

int QtAppBackend::Run() {
  if (m_bQuit)
    return m_nExitCode;
  return QApplication::exec();
}

void QtAppBackend::Quit(int exitCode) {
  m_bQuit = true;
  m_nExitCode = exitCode;
  if (m_pMainWindow)
    m_pMainWindow->hide();
  QCoreApplication::exit(exitCode);
}

int RunQtApplication(int argc, char** argv, CWinApp& app, const StartedHook& started) {
  QApplication qapp(argc, argv);
  QtAppBackend::PrepareApplication();
  QtBackend platform;
  QtAppBackend windows;
  IPlatformBackend* previousPlatform = SetPlatformBackend(&platform);
  IAppBackend* previousWindows = SetAppBackend(&windows);
  QtAutomationServer automation;
  IAutomationBackend* previousAutomation = SetAutomationBackend(&automation);

  const std::vector<std::string> args(argv, argv + argc);
  app.SetCommandLine(args);
  int exitCode = 1;
  try {
    if (QtSingleInstance::HandOver(args)) {
      exitCode = 0;
    } else if (!app.InitInstance()) {
      exitCode = app.ExitInstance();
    } else {
      if (started)
        started(app, windows);
      QtSingleInstance shellOpen;
      if (app.m_pMainWnd && windows.MainWindow() && windows.MainWindow()->isVisible())
        shellOpen.Listen(*app.m_pMainWnd, *windows.MainWindow());
      exitCode = app.Run();
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argc > 0 ? argv[0] : "qov", e.what());
    app.ExitInstance();
  }
  SetAutomationBackend(previousAutomation);
  SetAppBackend(previousWindows);
  SetPlatformBackend(previousPlatform);
  return exitCode;
}

}  // namespace qov
