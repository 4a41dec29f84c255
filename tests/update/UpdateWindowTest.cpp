// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's version check at start and its hand-over to the updater, against a real
// local HTTP server and a fake "AutoUpdate".
#include "app/PopupService.h"
#include "app/skin/SkinControl.h"
#include "tests/app/UiFixture.h"
#include "tests/update/FakeUpdater.h"
#include "tests/update/TestHttpServer.h"
#include "update/ProcessScan.h"
#include "update/UpdateController.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace varnix {
namespace {

struct Popups {
    Popups() {
        PopupService::setResponder([this](const PopupRequest& request) {
            requests.push_back(request);
            return 0;
        });
    }
    ~Popups() { PopupService::setResponder({}); }
    std::vector<PopupRequest> requests;
};

class UpdateWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.running());
        ui.programFolder = emptyFolder.path();
    }
    void TearDown() override { UpdateController::setQueryLimits(versionQueryLimits()); }

    // The shipped VersionInfo.json pointed at the test server.
    void serveFrom(const std::string& base) {
        test::writeTextFile(ui.root() / "version" / "VersionInfo.json",
                            "{\"product_name\": \"Varnix\", \"version\": \"0.1.0\", "
                            "\"update_url\": \"" +
                                server.url(base) + "\"}");
    }
    // Opens the window and waits for the check it runs at start.
    CMainWnd& openAndWaitForCheck() {
        CMainWnd& window = ui.open();
        QElapsedTimer waited;
        waited.start();
        while (window.updates().checksFinished() == 0 && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(window.updates().checksFinished(), 1);
        return window;
    }
    void click(CMainWnd& window, const char* name) {
        SkinControl* control = window.findControl(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        ASSERT_TRUE(control->widget()->isVisible()) << name;
        QTest::mouseClick(control->widget(), Qt::LeftButton);
    }

    test::TestHttpServer server;
    test::TempDir emptyFolder;
    test::UiFixture ui;
    Popups popups;
};

TEST_F(UpdateWindowTest, NewerReleaseStartsTheUpdaterOnceAndASecondStartFindsIt) {
    test::FakeUpdater fake("AutoUpdate");
    ASSERT_TRUE(findProcessesByName("AutoUpdate").empty());
    ui.programFolder = fake.folder();
    serveFrom("/total3/");
    CMainWnd& window = openAndWaitForCheck();
    EXPECT_EQ(server.requests(), std::vector<std::string>{"/total3/Varnix/0.1.0"});
    EXPECT_TRUE(bool(window.updates().lastCheck()));
    ASSERT_TRUE(fake.waitForStarts(1));

    // "btn_update" and a second check both find the running updater.
    click(window, "btn_update");
    QSignalSpy finished(&window.updates(), &UpdateController::checkFinished);
    window.postMessage(WM_UpdateCheck);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(fake.startedIds().size(), 1u);
    EXPECT_TRUE(popups.requests.empty());
}

TEST_F(UpdateWindowTest, WithoutAnUpdaterTheUserIsToldOfTheNewerRelease) {
    serveFrom("/total3/");
    CMainWnd& window = openAndWaitForCheck();
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].kind, PopupKind::Information);
    EXPECT_EQ(popups.requests[0].text, window.messageText(QStringLiteral("Update_Newer")));
    EXPECT_NE(popups.requests[0].text, QStringLiteral("Update_Newer")); // the language has it
    // Once a newer release is known the caption offers the updater; without one it says so.
    click(window, "btn_update");
    ASSERT_EQ(popups.requests.size(), 2u);
    EXPECT_EQ(popups.requests[1].text, window.messageText(QStringLiteral("Update_NotInstalled")));
}

TEST_F(UpdateWindowTest, NoNewerReleaseOrUnusableAnswerShowsNothing) {
    for (const char* base : {"/total0/", "/status404/", "/notjson/", "/nodata/"}) {
        SCOPED_TRACE(base);
        serveFrom(base);
        CMainWnd& window = openAndWaitForCheck();
        EXPECT_FALSE(bool(window.updates().lastCheck()));
        EXPECT_TRUE(popups.requests.empty());
        // No updater and nothing newer: the caption does not offer one.
        EXPECT_FALSE(window.findControl(QStringLiteral("btn_update"))->isControlVisible());
        ui.window.reset();
    }
    EXPECT_EQ(server.requests().size(), 4u);
}

TEST_F(UpdateWindowTest, ServerThatNeverAnswersLeavesTheWindowWorkingUntilTheTimeOut) {
    TransferLimits limits;
    limits.totalTimeoutMs = 1500;
    UpdateController::setQueryLimits(limits);
    serveFrom("/hang/");
    CMainWnd& window = ui.open();
    QSignalSpy finished(&window.updates(), &UpdateController::checkFinished);
    QTRY_COMPARE(server.requests().size(), std::size_t(1));
    // The request hangs, and the window goes on: its events and clicks are served.
    bool served = false;
    QTimer::singleShot(0, &window, [&] { served = true; });
    QTRY_VERIFY(served);
    click(window, "btn_Mac");
    EXPECT_TRUE(window.updates().checking());
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(window.updates().lastCheck().answer, UpdateCheckAnswer::Failed);
    EXPECT_EQ(window.updates().lastCheck().transfer.error, TransferError::TimedOut);
    EXPECT_TRUE(popups.requests.empty());
}

TEST_F(UpdateWindowTest, ClosingDuringACheckDoesNotWaitForTheServer) {
    serveFrom("/hang/"); // the default 15 s limit
    ui.open();
    QTRY_COMPARE(server.requests().size(), std::size_t(1));
    ui.window.reset(); // cancels the transfer and joins its worker
    SUCCEED();
}

TEST_F(UpdateWindowTest, TurnedOffInTheSettingsMenuNothingIsAsked) {
    test::writeTextFile(ui.root() / "Set.ini", "[Set]\nLanguage=1\nUpdateCheck=0\n");
    serveFrom("/total3/");
    CMainWnd& window = ui.open();
    test::pumpEvents(100);
    EXPECT_FALSE(window.updates().checking());
    EXPECT_TRUE(server.requests().empty());

    auto itemChecked = [&] {
        std::unique_ptr<QMenu> menu = window.buildSettingsMenu();
        for (QAction* action : menu->findChildren<QAction*>())
            if (action->objectName() == QLatin1String("updatecheck"))
                return std::optional<bool>(action->isChecked());
        return std::optional<bool>();
    };
    EXPECT_EQ(itemChecked(), false);
    window.onMenuItem(QStringLiteral("updatecheck"));
    EXPECT_EQ(itemChecked(), true);
    EXPECT_NE(test::readTextFile(ui.root() / "Set.ini").find("UpdateCheck=1"), std::string::npos);
    EXPECT_TRUE(window.updates().runCheck());
}

TEST_F(UpdateWindowTest, ShippedVersionInfoNamesNoServiceSoNothingIsAsked) {
    // The tree as shipped (copied by the fixture) has no update_url.
    CMainWnd& window = openAndWaitForCheck();
    EXPECT_EQ(window.updates().lastCheck().answer, UpdateCheckAnswer::NoQuery);
    EXPECT_TRUE(popups.requests.empty());
}

} // namespace
} // namespace varnix
