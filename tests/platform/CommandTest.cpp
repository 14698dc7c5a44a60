// Command routing through message maps, and the command boundary.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Document.h"
#include "platform/File.h"
#include "platform/FrameworkStrings.h"
#include "platform/View.h"
#include "platform/WaitCursor.h"
#include "platform/headless/HeadlessBackend.h"
#include "tests/platform/FakeResources.h"

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
  test::ScopedFakeResources resources;
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

constexpr auto kDone = CCommandResult::done;
constexpr auto kDisabled = CCommandResult::disabled;

TEST_F(CommandTest, ExecuteRunsTheFirstHandlerOnTheRoute) {
  EXPECT_EQ(ExecuteCommand(view, kViewOnly).m_status, kDone);
  EXPECT_EQ(ExecuteCommand(view, kDocOnly).m_status, kDone);
  EXPECT_EQ(ExecuteCommand(view, kBoth).m_status, kDone);
  EXPECT_EQ(view.ran, (std::vector<std::string>{"view:ViewOnly", "view:Both"}));
  EXPECT_EQ(doc.ran, (std::vector<std::string>{"doc:DocOnly"}));
}

TEST_F(CommandTest, ExecuteSkipsDisabledAndUnhandledCommands) {
  EXPECT_EQ(ExecuteCommand(view, kDisabledByView).m_status, kDisabled);
  EXPECT_EQ(ExecuteCommand(view, kNobody).m_status, kDisabled);
  EXPECT_TRUE(view.ran.empty());
  EXPECT_TRUE(backend().Messages().empty());
}

TEST_F(CommandTest, ViewWithoutDocumentHandlesOnlyItsOwnCommands) {
  TestView alone;
  EXPECT_EQ(ExecuteCommand(alone, kViewOnly).m_status, kDone);
  EXPECT_EQ(ExecuteCommand(alone, kDocOnly).m_status, kDisabled);
}

// The boundary itself shows nothing; the window shows the failure it returns.
TEST_F(CommandTest, WhatEscapesBecomesAFailureWithTheStandardMessage) {
  struct Case {
    UINT id;
    std::string text;
    UINT type;
    std::string reason;
  };
  const Case cases[] = {
      {kThrowBadAlloc, text::kOutOfMemory, MB_ICONEXCLAMATION, "out of memory"},
      {kThrowFileError, "/tmp/out.DXF へのアクセス中にディスクがいっぱいになりました。",
       MB_ICONSTOP, std::strerror(ENOSPC)},
      {kThrowUnnamedFileError, "無題のファイル が見つかりません。", MB_ICONSTOP,
       std::strerror(ENOENT)},
      {kThrowRuntimeError, text::kCommandFailed, MB_ICONSTOP, "the command failed"},
      {kThrowInt, text::kCommandFailed, MB_ICONSTOP, "the command failed"},
  };
  for (const Case& c : cases) {
    backend().ClearMessages();
    const CCommandResult result = ExecuteCommand(view, c.id);
    EXPECT_EQ(result.m_status, CCommandResult::failed) << c.id;
    EXPECT_EQ(result.m_strReason, c.reason) << c.id;
    EXPECT_TRUE(backend().Messages().empty()) << c.id;
    EXPECT_FALSE(ShowCommandResult(result));
    ASSERT_EQ(backend().Messages().size(), 1u) << c.id;
    EXPECT_EQ(backend().Messages()[0].text, c.text);
    EXPECT_EQ(backend().Messages()[0].caption, test::kFakeAppTitle);
    EXPECT_EQ(backend().Messages()[0].type, c.type);
  }
}

TEST_F(CommandTest, UserExceptionEscapesSilently) {
  EXPECT_FALSE(ShowCommandResult(ExecuteCommand(view, kThrowUserException)));
  EXPECT_TRUE(backend().Messages().empty());
}

TEST_F(CommandTest, WaitCursorOfAFailedCommandIsRestored) {
  ExecuteCommand(view, kThrowBadAlloc);
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
