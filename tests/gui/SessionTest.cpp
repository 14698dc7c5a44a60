// A person's session in the window: the File, Edit and tools commands with
// their dialogs answered, the caption, the save prompt, the recent-file list
// in the settings, dropped files, and a failed open or save.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "platform/File.h"
#include "res/Resource.h"
#include "shell/DocManager.h"
#include "tests/gui/GuiSupport.h"

namespace qov::test {
namespace {

Bgr Gradient(std::int64_t x, std::int64_t y) {
  return {static_cast<std::uint8_t>(x * 20), static_cast<std::uint8_t>(y * 25),
          static_cast<std::uint8_t>(100 + x + y)};
}

// The names that the file dialog lists once `atLeast` have come, sorted.
QStringList ListedFiles(QFileDialog* dialog, int atLeast) {
  QStringList listed;
  auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
  if (!view)
    return listed;
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= atLeast; }, 5000));
  for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
    listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
  }
  listed.sort();
  return listed;
}

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QOV_REQUIRE_QT();
    WriteBmp(picture, MakePicture(12, 10, Gradient));
  }
  TempDir tmp;
  std::string dir = tmp.path().string();
  std::string picture = tmp.File("gradient.bmp");
};

TEST_F(SessionTest, OpenBinarizeUndoExportAndSave) {
  Session s;
  ASSERT_TRUE(s.Started());
  EXPECT_EQ(s.Frame().GetWindowText(), "無題 - QOV");

  AnswerFileDialog(QString::fromStdString(picture));
  s.Frame().RunCommand(ID_FILE_OPEN);
  ASSERT_NE(s.Doc().m_hDib, nullptr);
  EXPECT_EQ(s.Frame().GetWindowText(), "gradient.bmp - QOV");
  const Picture before = PictureOfBlock(s.Doc().m_hDib);

  WhenModalShows(
      [](QWidget* window) { qobject_cast<QPushButton*>(DialogControl(window, IDOK))->click(); });
  s.Frame().RunCommand(ID_BINARIZE);
  EXPECT_EQ(PictureOfBlock(s.Doc().m_hDib).At(5, 5), (Bgr{0, 0, 0}));
  EXPECT_TRUE(s.Doc().IsModified());

  s.Frame().RunCommand(ID_EDIT_UNDO);
  EXPECT_EQ(PictureOfBlock(s.Doc().m_hDib), before);

  const std::string script = dir + "/out.TXT";
  WhenModalShows([&](QWidget* window) {
    AnswerFileDialog(QString::fromStdString(script));
    qobject_cast<QPushButton*>(DialogControl(window, IDOK))->click();
  });
  s.Frame().RunCommand(ID_SAVE_VECTORSCRIPT);
  EXPECT_EQ(ReadFileBytes(script).rfind("NameClass('", 0), 0u);

  const std::string saved = dir + "/saved";
  AnswerFileDialog(QString::fromStdString(saved));
  s.Frame().RunCommand(ID_FILE_SAVE_AS);
  EXPECT_TRUE(std::filesystem::exists(saved + ".bmp"));
  EXPECT_FALSE(s.Doc().IsModified());
  EXPECT_EQ(s.Frame().GetWindowText(), "saved.bmp - QOV");
}

TEST_F(SessionTest, PasteTakesAPngThatAnotherProgramOffers) {
  Session s;
  ASSERT_TRUE(s.Started());
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(qRgb(10, 20, 30));
  image.setPixel(2, 1, qRgba(200, 100, 50, 255));
  image.setPixel(0, 1, qRgba(0, 0, 0, 0));  // transparent: white
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  auto* mime = new QMimeData;
  mime->setData(QStringLiteral("image/png"), png);
  QGuiApplication::clipboard()->setMimeData(mime);

  s.Frame().RunCommand(ID_EDIT_PASTE);
  ASSERT_NE(s.Doc().m_hDib, nullptr);
  EXPECT_TRUE(s.Doc().IsModified());
  EXPECT_EQ(PictureOfBlock(s.Doc().m_hDib).At(0, 0), (Bgr{30, 20, 10}));
  EXPECT_EQ(PictureOfBlock(s.Doc().m_hDib).At(2, 1), (Bgr{50, 100, 200}));
  EXPECT_EQ(PictureOfBlock(s.Doc().m_hDib).At(0, 1), (Bgr{255, 255, 255}));
  EXPECT_EQ(s.View().GetTotalSize(), (CSize{3, 2}));
}

TEST_F(SessionTest, SavePromptOnNewKeepsThePictureOnCancelAndDropsItOnNo) {
  struct Case {
    int answer;
    bool keepsPicture;
  };
  for (const Case& c : {Case{QMessageBox::Cancel, true}, Case{QMessageBox::No, false}}) {
    Session s({picture});
    ASSERT_TRUE(s.Started());
    s.Doc().SetModifiedFlag(true);
    QString prompt;
    AnswerMessageBox(c.answer, &prompt);
    s.Frame().RunCommand(ID_FILE_NEW);
    EXPECT_EQ(prompt, QStringLiteral("gradient.bmp への変更を保存しますか?"));
    EXPECT_EQ(s.Doc().m_hDib != nullptr, c.keepsPicture);
    EXPECT_EQ(s.Frame().GetWindowText(), c.keepsPicture ? "gradient.bmp - QOV" : "無題 - QOV");
  }
}

TEST_F(SessionTest, SaveWithoutAPictureSaysThereIsNothingToSave) {
  Session s;
  ASSERT_TRUE(s.Started());
  QString message;
  AnswerMessageBox(QMessageBox::Ok, &message);
  s.Frame().RunCommand(ID_FILE_SAVE);
  EXPECT_EQ(message, QStringLiteral("保存する画像がありません。"));
}

// The window names the file and says why in Japanese; the picture stays.
TEST_F(SessionTest, FailedOpenOrSaveNamesTheFileAndSaysWhyInJapanese) {
  const std::string bogus = dir + "/random.bmp";
  std::ofstream(bogus, std::ios::binary) << "\x9e\x41\xf3\x07\xc2\x58\x11\xbd";
  // Not even root may make a file in /sys.
  const std::string unwritable = "/sys/qov-session.bmp";
  const struct {
    const char* name;
    std::string path;
    bool save;
    QString message;
  } cases[] = {
      {"random bytes", bogus, false,
       QStringLiteral("ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。\n\n%1\n"
                      "画像ファイル (.bmp、TIFF、PNG、JPEG、PNM) ではありません。")},
      {"JPEG inside", std::string(QOV_TEST_DATA_DIR) + "/bmpsuite/q/rgb24jpeg.bmp", false,
       QStringLiteral("ﾄﾞｷｭﾒﾝﾄを開くことに失敗しました。\n\n%1\n"
                      "この圧縮形式には対応していません。")},
      {"unwritable folder", unwritable, true,
       QStringLiteral("ﾄﾞｷｭﾒﾝﾄの保存に失敗しました。\n\n%1\n%1 へのアクセスは拒否されました。")},
  };
  Session s({picture});
  ASSERT_TRUE(s.Started());
  for (const auto& c : cases) {
    QString message;
    AnswerMessageBox(QMessageBox::Ok, &message);
    if (c.save)
      EXPECT_FALSE(DoSave(s.Doc(), &c.path)) << c.name;
    else
      EXPECT_EQ(s.App().OpenDocumentFile(c.path), nullptr) << c.name;
    EXPECT_EQ(message.toStdString(), c.message.arg(QString::fromStdString(c.path)).toStdString())
        << c.name;
    EXPECT_NE(s.Doc().m_hDib, nullptr) << c.name;
    EXPECT_EQ(s.Doc().GetPathName(), picture) << c.name;
  }
}

// Runs `operation`; should it still wait in open() for the other end of
// `fifo` after a few seconds, gives it one so that it can go on. False then.
bool FinishesAlone(const std::string& fifo, const std::function<void()>& operation) {
  std::mutex mutex;
  std::condition_variable finishedChanged;
  bool finished = false;
  int otherEnd = -1;
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    if (!finishedChanged.wait_for(lock, std::chrono::seconds(5), [&] { return finished; }))
      otherEnd = ::open(fifo.c_str(), O_RDWR);
  });
  operation();
  {
    std::lock_guard lock(mutex);
    finished = true;
  }
  finishedChanged.notify_one();
  watchdog.join();
  if (otherEnd >= 0)
    ::close(otherEnd);
  return otherEnd < 0;
}

// The window would freeze in open() on a pipe until another program acts.
TEST_F(SessionTest, PipeIsRefusedAtOnceWhereAFileIsExpected) {
  const std::string fifo = dir + "/fifo.bmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Session s({picture});
  ASSERT_TRUE(s.Started());
  const struct {
    const char* name;
    std::function<bool()> fails;
  } cases[] = {
      {"open", [&] { return s.App().OpenDocumentFile(fifo) == nullptr; }},
      {"save", [&] { return !s.Doc().OnSaveDocument(fifo); }},
      {"export",
       [&] {
         try {
           CFile file(fifo, CFile::modeCreate | CFile::modeWrite);
           return false;
         } catch (const CFileException&) {
           return true;
         }
       }},
  };
  for (const auto& c : cases) {
    if (std::string(c.name) == "open")
      AnswerMessageBox(QMessageBox::Ok);
    bool failed = false;
    EXPECT_TRUE(FinishesAlone(fifo, [&] { failed = c.fails(); })) << c.name;
    EXPECT_TRUE(failed) << c.name;
  }
  EXPECT_EQ(s.Doc().GetPathName(), picture);
}

TEST_F(SessionTest, FileOnTheCommandLineThatCannotBeOpenedIsReportedAndEndsTheProgram) {
  QString message;
  AnswerMessageBox(QMessageBox::Ok, &message);
  Session s({dir + "/missing.bmp"});
  EXPECT_FALSE(s.Started());
  EXPECT_TRUE(message.contains(QStringLiteral("missing.bmp")));
  EXPECT_EQ(s.App().m_nExitCode, 1);
}

TEST_F(SessionTest, DropDuringADialogWaitsUntilTheCommandHasEnded) {
  const std::string other = dir + "/other.bmp";
  WriteBmp(other, MakePicture(4, 4, Gradient));
  Session s({picture});
  ASSERT_TRUE(s.Started());
  std::string pathDuringDialog;
  WhenModalShows([&](QWidget* window) {
    s.Frame().OnDropFiles({other});
    pathDuringDialog = s.Doc().GetPathName();
    window->close();
  });
  s.Frame().RunCommand(ID_BINARIZE);
  EXPECT_EQ(pathDuringDialog, picture);
  EXPECT_EQ(s.Doc().GetPathName(), other);
}

TEST_F(SessionTest, ALongCommandShowsItsProgressAndEscapeStopsItLeavingThePicture) {
  const std::string large = dir + "/large.bmp";
  WriteBmp(large, MakePicture(300, 200, Gradient));
  Session s({large});
  ASSERT_TRUE(s.Started());
  const Picture before = PictureOfBlock(s.Doc().m_hDib);
  s.Platform().SetProgressDelay(std::chrono::milliseconds(0));
  QString label, button;
  // Runs at the first moment the command lets the window answer: the
  // dialog has just shown.
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    label = dialog->labelText();
    button = dialog->findChild<QPushButton*>()->text();
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  s.Frame().RunCommand(ID_ERROR_DIFFUSION);
  EXPECT_EQ(label, QString::fromUtf8("処理中です..."));
  EXPECT_EQ(button, QString::fromUtf8("キャンセル"));
  EXPECT_EQ(PictureOfBlock(s.Doc().m_hDib), before);
  EXPECT_FALSE(s.Doc().IsModified());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog goes with the command";
}

TEST_F(SessionTest, AStoppedPreviewLeavesTheVectorizerFreeToWrite) {
  Session s({picture});
  ASSERT_TRUE(s.Started());
  s.Platform().SetProgressDelay(std::chrono::milliseconds(0));
  const std::string dxf = dir + "/vectors.DXF";
  bool previewStopped = false;
  WhenModalShows([&](QWidget* dialog) {
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    qobject_cast<QPushButton*>(DialogControl(dialog, IDC_PREVIEW))->click();
    previewStopped = !s.View().m_vectorPreview;
    AnswerFileDialog(QString::fromStdString(dxf));
    qobject_cast<QPushButton*>(DialogControl(dialog, IDOK))->click();
  });
  s.Frame().RunCommand(ID_VECTORIZE);
  EXPECT_TRUE(previewStopped);
  EXPECT_TRUE(std::filesystem::exists(dxf));
}

TEST_F(SessionTest, RecentFileListIsKeptInTheSettings) {
  const std::string second = dir + "/second.bmp";
  WriteBmp(second, MakePicture(4, 4, Gradient));
  {
    Session s({picture});
    ASSERT_TRUE(s.Started());
    ASSERT_NE(s.App().OpenDocumentFile(second), nullptr);
  }
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                     QStringLiteral("Local AppWizard-Generated Applications"),
                     QStringLiteral("QOV_V2"));
  EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File1")).toString().toStdString(),
            second);
  EXPECT_EQ(settings.value(QStringLiteral("Recent File List/File2")).toString().toStdString(),
            picture);

  Session again;
  ASSERT_TRUE(again.Started());
  again.Frame().RunCommand(ID_FILE_MRU_FILE1 + 1);
  EXPECT_EQ(again.Doc().GetPathName(), picture);
}

TEST_F(SessionTest, TheMemoryLimitSetInTheSettingsRefusesLargerPictures) {
  QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                     QStringLiteral("Local AppWizard-Generated Applications"),
                     QStringLiteral("QOV_V2"));
  settings.setValue(QStringLiteral("Settings/MaxMegapixels"), QStringLiteral("0.000001"));
  settings.sync();
  Session s;
  ASSERT_TRUE(s.Started());
  QString shown;
  AnswerMessageBox(QMessageBox::Ok, &shown);
  EXPECT_EQ(s.App().OpenDocumentFile(picture), nullptr);
  EXPECT_FALSE(shown.isEmpty());
  settings.remove(QStringLiteral("Settings/MaxMegapixels"));
  settings.sync();
}

TEST_F(SessionTest, ExportDialogListsFilesWhateverTheCaseOfTheirExtension) {
  const std::string folder = tmp.Folder("cases");
  for (const char* name : {"lower.txt", "UPPER.TXT", "Mixed.Txt", "other.bmp"}) {
    std::ofstream(folder + "/" + name) << "x";
  }
  Session s({picture});
  ASSERT_TRUE(s.Started());
  QStringList listed;
  WhenModalShows([&](QWidget* options) {
    WhenModalShows([&](QWidget* window) {
      auto* dialog = qobject_cast<QFileDialog*>(window);
      ASSERT_NE(dialog, nullptr);
      dialog->setDirectory(QString::fromStdString(folder));
      listed = ListedFiles(dialog, 3);
      dialog->reject();
    });
    qobject_cast<QPushButton*>(DialogControl(options, IDOK))->click();
  });
  s.Frame().RunCommand(ID_SAVE_VECTORSCRIPT);
  EXPECT_EQ(listed, (QStringList{QStringLiteral("Mixed.Txt"), QStringLiteral("UPPER.TXT"),
                                 QStringLiteral("lower.txt")}));
}

// Names without a dot are files too.
TEST_F(SessionTest, AllFilesFilterShowsEveryFile) {
  const std::string folder = tmp.Folder("all");
  for (const char* name : {"noext", "a.bmp", "b.txt"}) {
    std::ofstream(folder + "/" + name) << "x";
  }
  Session s;
  ASSERT_TRUE(s.Started());
  QStringList filters;
  QStringList listed;
  WhenModalShows([&](QWidget* window) {
    auto* dialog = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(dialog, nullptr);
    dialog->setDirectory(QString::fromStdString(folder));
    auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(combo, nullptr);
    for (int i = 0; i < combo->count(); ++i)
      filters << combo->itemText(i);
    combo->setCurrentIndex(combo->count() - 1);
    emit combo->activated(combo->count() - 1);
    listed = ListedFiles(dialog, 3);
    dialog->reject();
  });
  s.Frame().RunCommand(ID_FILE_OPEN);
  EXPECT_EQ(filters,
            (QStringList{QStringLiteral("画像ファイル (*.bmp *.dib *.tif *.tiff *.png *.jpg "
                                        "*.jpeg *.jpe *.pbm *.pgm *.ppm *.pnm)"),
                         QStringLiteral("BMPﾌｧｲﾙ (*.bmp)"), QStringLiteral("すべてのﾌｧｲﾙ (*.*)")}));
  EXPECT_EQ(listed, (QStringList{QStringLiteral("a.bmp"), QStringLiteral("b.txt"),
                                 QStringLiteral("noext")}));
}

}  // namespace
}  // namespace qov::test
