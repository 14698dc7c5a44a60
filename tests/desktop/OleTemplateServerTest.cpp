// The automation side of start-up without the bus: the class factory's
// registration, the document it makes for a client and which interfaces
// that answers, single use, and the application ending when the last
// client object goes.

#include <gtest/gtest.h>

#include <vector>

#include "image/QOV_V2Doc.h"
#include "platform/Document.h"
#include "platform/OleLock.h"
#include "platform/View.h"
#include "res/AutomationIds.h"
#include "res/Resource.h"
#include "shell/AppBackend.h"
#include "shell/AutomationBackend.h"
#include "shell/DocTemplate.h"
#include "shell/FrameWnd.h"
#include "shell/OleTemplateServer.h"
#include "shell/Settings.h"

namespace qov {
namespace {

class FakeAutomation : public IAutomationBackend {
 public:
  bool RegisterClassObject(COleObjectFactory& factory, std::string* reason) override {
    if (!refuse.empty()) {
      *reason = refuse;
      return false;
    }
    registered.push_back(&factory);
    return true;
  }
  void RevokeClassObject(COleObjectFactory& factory) override { revoked.push_back(&factory); }
  bool RegisterServer(const CLSID& clsid, std::string*) override {
    servers.push_back(clsid);
    return true;
  }

  std::string refuse;
  std::vector<COleObjectFactory*> registered;
  std::vector<COleObjectFactory*> revoked;
  std::vector<CLSID> servers;
};

// Only the end of the message loop matters here.
class QuitRecorder : public IAppBackend {
 public:
  std::unique_ptr<ISettings> OpenSettings(const std::string&, const std::string&) override {
    return nullptr;
  }
  std::unique_ptr<IFrameHost> CreateFrameHost(CFrameWnd&) override { return nullptr; }
  std::unique_ptr<IViewHost> CreateViewHost(CView&, IFrameHost&) override { return nullptr; }
  PrintResult PrintView(CView&, CPrintInfo&, const std::string&, std::string*) override {
    return PrintResult::Failed;
  }
  void PrintSetup() override {}
  int Run() override { return 0; }
  void Quit(int exitCode) override { quits.push_back(exitCode); }

  std::vector<int> quits;
};

class OleTemplateServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousAutomation = SetAutomationBackend(&automation);
    previousApp = SetAppBackend(&app);
    server.ConnectTemplate(CLSID_QOV_V2Document, docTemplate, true);
  }
  void TearDown() override {
    AfxOleSetUserCtrl(true);
    SetAppBackend(previousApp);
    SetAutomationBackend(previousAutomation);
  }

  FakeAutomation automation;
  QuitRecorder app;
  IAutomationBackend* previousAutomation = nullptr;
  IAppBackend* previousApp = nullptr;
  // Frames and views are never made: a client's document has none.
  CSingleDocTemplate docTemplate{IDR_MAINFRAME, [] { return std::make_unique<CQOV_V2Doc>(); },
                                 [] { return std::unique_ptr<CFrameWnd>(); },
                                 [] { return std::unique_ptr<CView>(); }};
  COleTemplateServer server;
};

TEST_F(OleTemplateServerTest, RegisterAllPutsTheProgramInTheClientsHands) {
  ASSERT_TRUE(COleTemplateServer::RegisterAll());
  EXPECT_TRUE(server.IsRegistered());
  EXPECT_EQ(automation.registered, std::vector<COleObjectFactory*>{&server});
  EXPECT_FALSE(AfxOleGetUserCtrl());
}

TEST_F(OleTemplateServerTest, RegistrationFailureIsReportedWithItsReason) {
  automation.refuse = "no session bus";
  std::string reason;
  EXPECT_FALSE(COleTemplateServer::RegisterAll(&reason));
  EXPECT_EQ(reason, "no session bus");
  EXPECT_FALSE(server.IsRegistered());

  SetAutomationBackend(nullptr);
  reason.clear();
  EXPECT_FALSE(COleTemplateServer::RegisterAll(&reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(server.UpdateRegistry(OAT_DISPATCH_OBJECT));
}

TEST_F(OleTemplateServerTest, UpdateRegistryRecordsTheClassForStartingTheProgram) {
  EXPECT_TRUE(server.UpdateRegistry(OAT_DISPATCH_OBJECT));
  EXPECT_TRUE(COleObjectFactory::UpdateRegistryAll());
  EXPECT_EQ(automation.servers, (std::vector<CLSID>{CLSID_QOV_V2Document, CLSID_QOV_V2Document}));
}

TEST_F(OleTemplateServerTest, DocumentAnswersItsDispatchInterfaceAndTheStandardOnes) {
  struct Case {
    IID iid;
    bool answers;
  };
  const Case cases[] = {
      {IID_IUnknown, true},
      {IID_IDispatch, true},
      {IID_IQOV_V2, true},
      {CLSID_QOV_V2Document, false},
      {GUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, false},
  };
  for (const Case& c : cases) {
    COleObjectFactory::CreateError error = COleObjectFactory::CreateError::None;
    std::unique_ptr<CCmdTarget> object = server.CreateInstance(c.iid, &error);
    EXPECT_EQ(object != nullptr, c.answers) << StringFromGUID(c.iid);
    EXPECT_EQ(error, c.answers ? COleObjectFactory::CreateError::None
                               : COleObjectFactory::CreateError::NoInterface);
    if (object) {
      auto* doc = dynamic_cast<CQOV_V2Doc*>(object.get());
      ASSERT_NE(doc, nullptr);
      EXPECT_EQ(doc->m_hDib, nullptr);
      EXPECT_EQ(doc->GetTitle(), "無題");
      EXPECT_FALSE(doc->IsModified());
    }
  }
}

TEST_F(OleTemplateServerTest, SingleUseFactoryIsRevokedAfterItsFirstObject) {
  ASSERT_TRUE(COleTemplateServer::RegisterAll());
  COleObjectFactory::CreateError error;
  auto refused = server.CreateInstance(CLSID_QOV_V2Document, &error);
  EXPECT_TRUE(server.IsRegistered()) << "a refused request makes no object";
  auto object = server.CreateInstance(IID_IQOV_V2, &error);
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(server.IsRegistered());
  EXPECT_EQ(automation.revoked, std::vector<COleObjectFactory*>{&server});
}

TEST_F(OleTemplateServerTest, ProgramEndsWhenTheLastObjectGoesUnlessTheUserControlsIt) {
  COleObjectFactory::CreateError error;
  {
    auto object = server.CreateInstance(IID_IQOV_V2, &error);
    EXPECT_FALSE(AfxOleCanExitApp());
  }
  EXPECT_TRUE(AfxOleCanExitApp());
  EXPECT_TRUE(app.quits.empty()) << "the user controls a program that was not started for clients";

  ASSERT_TRUE(COleTemplateServer::RegisterAll());
  auto first = server.CreateInstance(IID_IQOV_V2, &error);
  auto second = server.CreateInstance(IID_IDispatch, &error);
  first.reset();
  EXPECT_TRUE(app.quits.empty()) << "a document still exists";
  second.reset();
  EXPECT_EQ(app.quits, std::vector<int>{0});
}

TEST_F(OleTemplateServerTest, RequestRefusedForTheInterfaceEndsAProgramStartedForIt) {
  ASSERT_TRUE(COleTemplateServer::RegisterAll());
  COleObjectFactory::CreateError error;
  EXPECT_EQ(server.CreateInstance(CLSID_QOV_V2Document, &error), nullptr);
  EXPECT_EQ(error, COleObjectFactory::CreateError::NoInterface);
  EXPECT_EQ(app.quits, std::vector<int>{0});
}

}  // namespace
}  // namespace qov
