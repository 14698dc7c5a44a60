// Command routing through message maps, and the command boundary.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Document.h"
#include "platform/File.h"
#include "platform/View.h"
#include "platform/WaitCursor.h"
#include "platform/headless/HeadlessBackend.h"
#include "res/Strings.h"

namespace qov {
namespace {

enum : UINT {
  kViewOnly = 100,
  kDocOnly,
  kBoth,
  kNobody,
  kDisabledByView,
  kChecked,
  kThrowBadAlloc,
  kThrowFileError,
  kThrowUnnamedFileError,
  kThrowRuntimeError,
  kThrowInt,
  kThrowUserException,
};

class TestDoc : public CDocument {
 public:
  void OnDocOnly() { ran.push_back("doc:DocOnly"); }
  void OnBoth() { ran.push_back("doc:Both"); }
  bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override {
    static constexpr MessageMapEntry<TestDoc> kMap[] = {
        OnCommand(kDocOnly, &TestDoc::OnDocOnly),
        OnCommand(kBoth, &TestDoc::OnBoth),
    };
    return DispatchMessageMap<TestDoc>(*this, kMap, nID, pCmdUI);
  }
  std::vector<std::string> ran;
};

class TestView : public CView {
 public:
  void OnDraw(CDC* /*pDC*/) override {}

  void OnViewOnly() { ran.push_back("view:ViewOnly"); }
  void OnBoth() { ran.push_back("view:Both"); }
  void OnDisabled() { ran.push_back("view:Disabled"); }
  void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(false); }
  void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
  void OnThrowBadAlloc() {
    CWaitCursor wait;
    throw std::bad_alloc();
  }
  void OnThrowFileError() { throw CFileException(CFileException::diskFull, "/tmp/out.DXF", 28); }
  void OnThrowUnnamedFileError() { throw CFileException(CFileException::fileNotFound, "", 2); }
  void OnThrowRuntimeError() { throw std::runtime_error("broken"); }
  void OnThrowInt() { throw 42; }
  void OnThrowUserException() { throw CUserException{}; }

  std::vector<std::string> ran;

 protected:
  bool OnViewCmdMsg(UINT nID, CCmdUI* pCmdUI) override {
    static constexpr MessageMapEntry<TestView> kMap[] = {
        OnCommand(kViewOnly, &TestView::OnViewOnly),
        OnCommand(kBoth, &TestView::OnBoth),
        OnCommand(kDisabledByView, &TestView::OnDisabled),
        OnUpdateCommandUI(kDisabledByView, &TestView::OnUpdateDisabled),
        OnUpdateCommandUI(kChecked, &TestView::OnUpdateChecked),
        OnCommand(kThrowBadAlloc, &TestView::OnThrowBadAlloc),
        OnCommand(kThrowFileError, &TestView::OnThrowFileError),
        OnCommand(kThrowUnnamedFileError, &TestView::OnThrowUnnamedFileError),
        OnCommand(kThrowRuntimeError, &TestView::OnThrowRuntimeError),
        OnCommand(kThrowInt, &TestView::OnThrowInt),
        OnCommand(kThrowUserException, &TestView::OnThrowUserException),
    };
    return DispatchMessageMap<TestView>(*this, kMap, nID, pCmdUI);
  }
};

class CommandTest : public ::testing::Test {
 protected:
  CommandTest() { view.SetDocument(&doc); }
  HeadlessBackend& backend() { return platform.backend(); }

  ScopedHeadlessPlatform platform;
  TestDoc doc;
  TestView view;
};

TEST_F(CommandTest, UpdateRoutesFromViewToDocumentAndDisablesUnhandledCommands) {
  struct Case {
    UINT id;
    bool enabled;
    int check;
  };
  const Case cases[] = {
      {kViewOnly, true, 0}, {kDocOnly, true, 0},         {kBoth, true, 0},
      {kNobody, false, 0},  {kDisabledByView, false, 0}, {kChecked, true, 1},
  };
  for (const Case& c : cases) {
    CCmdUI ui(c.id);
    UpdateCommandUI(view, ui);
    EXPECT_EQ(ui.m_bEnabled, c.enabled) << c.id;
    EXPECT_EQ(ui.m_nCheck, c.check) << c.id;
  }
}

TEST_F(CommandTest, ExecuteRunsTheFirstHandlerOnTheRoute) {
  EXPECT_TRUE(ExecuteCommand(view, kViewOnly));
  EXPECT_TRUE(ExecuteCommand(view, kDocOnly));
  EXPECT_TRUE(ExecuteCommand(view, kBoth));
  EXPECT_EQ(view.ran, (std::vector<std::string>{"view:ViewOnly", "view:Both"}));
  EXPECT_EQ(doc.ran, (std::vector<std::string>{"doc:DocOnly"}));
}

TEST_F(CommandTest, ExecuteSkipsDisabledAndUnhandledCommands) {
  EXPECT_FALSE(ExecuteCommand(view, kDisabledByView));
  EXPECT_FALSE(ExecuteCommand(view, kNobody));
  EXPECT_TRUE(view.ran.empty());
  EXPECT_TRUE(backend().Messages().empty());
}

TEST_F(CommandTest, ViewWithoutDocumentHandlesOnlyItsOwnCommands) {
  TestView alone;
  EXPECT_TRUE(ExecuteCommand(alone, kViewOnly));
  EXPECT_FALSE(ExecuteCommand(alone, kDocOnly));
}

TEST_F(CommandTest, BoundaryShowsTheStandardMessageForWhatEscapes) {
  struct Case {
    UINT id;
    std::string text;
    UINT type;
  };
  const Case cases[] = {
      {kThrowBadAlloc, text::kOutOfMemory, MB_ICONEXCLAMATION},
      {kThrowFileError, "/tmp/out.DXF へのアクセス中にディスクがいっぱいになりました。",
       MB_ICONSTOP},
      {kThrowUnnamedFileError, "無題のファイル が見つかりません。", MB_ICONSTOP},
      {kThrowRuntimeError, text::kCommandFailed, MB_ICONSTOP},
      {kThrowInt, text::kCommandFailed, MB_ICONSTOP},
  };
  for (const Case& c : cases) {
    backend().ClearMessages();
    EXPECT_FALSE(ExecuteCommand(view, c.id)) << c.id;
    ASSERT_EQ(backend().Messages().size(), 1u) << c.id;
    EXPECT_EQ(backend().Messages()[0].text, c.text);
    EXPECT_EQ(backend().Messages()[0].caption, "QOV_V2");
    EXPECT_EQ(backend().Messages()[0].type, c.type);
  }
}

TEST_F(CommandTest, UserExceptionEscapesSilently) {
  EXPECT_FALSE(ExecuteCommand(view, kThrowUserException));
  EXPECT_TRUE(backend().Messages().empty());
}

TEST_F(CommandTest, WaitCursorOfAFailedCommandIsRestored) {
  EXPECT_FALSE(ExecuteCommand(view, kThrowBadAlloc));
  EXPECT_EQ(backend().WaitCursorBegins(), 1);
  EXPECT_EQ(backend().WaitCursorDepth(), 0);
}

TEST(WaitCursor, GuardsNestAndEndOnce) {
  ScopedHeadlessPlatform platform;
  HeadlessBackend& backend = platform.backend();
  {
    CWaitCursor outer;
    {
      CWaitCursor inner;
      EXPECT_EQ(backend.WaitCursorDepth(), 2);
    }
    EXPECT_EQ(backend.WaitCursorDepth(), 1);
    outer.End();
    EXPECT_EQ(backend.WaitCursorDepth(), 0);
    outer.End();
  }
  EXPECT_EQ(backend.WaitCursorDepth(), 0);
  EXPECT_EQ(backend.WaitCursorBegins(), 2);
}

TEST(Platform, WithoutBackendIsALogicError) {
  IPlatformBackend* previous = SetPlatformBackend(nullptr);
  EXPECT_THROW(Platform(), std::logic_error);
  {
    ScopedHeadlessPlatform platform;
    EXPECT_EQ(&Platform(), &platform.backend());
  }
  EXPECT_THROW(Platform(), std::logic_error);
  SetPlatformBackend(previous);
}

}  // namespace
}  // namespace qov
