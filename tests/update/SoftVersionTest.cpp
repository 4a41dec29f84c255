// SPDX-License-Identifier: GPL-3.0-or-later
// The version window: every button, the download of the server's version file from a real
// local HTTP server, and its opening from the main window.
#include "update/SoftVersion.h"

#include "app/PopupService.h"
#include "app/skin/SkinControl.h"
#include "tests/app/UiFixture.h"
#include "tests/update/FakeUpdater.h"
#include "tests/update/TestHttpServer.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace varnix {
namespace {

namespace fs = std::filesystem;

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

class SoftVersionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()); }
    void TearDown() override {
        SoftVersion::setReachabilityProbe({});
        SoftVersion::setOpener({});
        SoftVersion::setDownloadLimits(downloadLimits());
    }

    LanguageFile language(const char* file = "lan_en.ini") {
        return LanguageFile::read(test::sourceResDir() / "Language" / file);
    }
    QString text(const char* key, const char* file = "lan_en.ini") {
        return QString::fromStdString(language(file).text("OthersUI", key).value_or(key));
    }
    void localVersion(const std::string& url, const std::string& current = "1.2.0") {
        fs::create_directories(folder / "Version");
        test::writeTextFile(folder / "Version" / "LocalVersion.json",
                            "{\"LocalVersion\": {\"CurVersion\": \"" + current +
                                "\", \"SeverCenterURL\": \"" + url + "\"}}");
    }
    SoftVersion& open(const char* languageFile = "lan_en.ini") {
        window = std::make_unique<SoftVersion>(language(languageFile), folder.path());
        EXPECT_TRUE(window->create(QStringLiteral("SoftVersion")))
            << window->skinError().toStdString();
        window->show();
        return *window;
    }
    void click(const char* name) {
        SkinControl* control = window->findControl(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        QTest::mouseClick(control->widget(), Qt::LeftButton);
    }
    QString label() { return window->findControl(QStringLiteral("lab_IndexVersion"))->text(); }

    test::TestHttpServer server;
    test::UiFixture ui; // the skin root and images
    test::TempDir folder;
    Popups popups;
    std::unique_ptr<SoftVersion> window;
};

TEST_F(SoftVersionTest, OnlineButtonSaysWhatTheSystemReports) {
    struct Case {
        std::optional<bool> online;
        const char* key;
    };
    open("lan_cn.ini");
    for (const Case& c : {Case{true, "SoftVersion_Online"}, Case{false, "SoftVersion_Offline"},
                          Case{std::nullopt, "SoftVersion_OnlineUnknown"}}) {
        SoftVersion::setReachabilityProbe([&] { return c.online; });
        click("btn_Online");
        ASSERT_FALSE(popups.requests.empty());
        EXPECT_EQ(popups.requests.back().title, QStringLiteral("提示框"));
        EXPECT_EQ(popups.requests.back().text, text(c.key, "lan_cn.ini"));
    }
    EXPECT_EQ(popups.requests[0].text, QStringLiteral("有网"));
    EXPECT_EQ(popups.requests[1].text, QStringLiteral("无网"));
    // The system's own backend (or its absence) gives one of the three answers.
    SoftVersion::setReachabilityProbe({});
    click("btn_Online");
    const QStringList answers = {QStringLiteral("有网"), QStringLiteral("无网"),
                                 text("SoftVersion_OnlineUnknown", "lan_cn.ini")};
    EXPECT_TRUE(answers.contains(popups.requests.back().text));
}

TEST_F(SoftVersionTest, DownloadThenIndexShowsTheCurrentAndLatestVersion) {
    localVersion(server.url("/serverversion/1.3.1/SeverVersion.json"));
    open("lan_cn.ini");
    EXPECT_EQ(label(), QStringLiteral("当前版本1.2.0，最新版本："));
    QSignalSpy finished(window.get(), &SoftVersion::downloadFinished);
    click("btn_DownVersion");
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_TRUE(fs::exists(folder / "SeverVersion.json"));
    click("btn_IndexVersion");
    EXPECT_EQ(label(), QStringLiteral("当前版本1.2.0，最新版本：1.3.1"));
    EXPECT_TRUE(popups.requests.empty());
    EXPECT_EQ(window->record().serverUrl, server.url("/serverversion/1.3.1/SeverVersion.json"));
}

TEST_F(SoftVersionTest, MissingFilesAreSaidAndTheLabelShowsWhatIsKnown) {
    open("lan_cn.ini");
    click("btn_IndexVersion");
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].text, QStringLiteral("文件不存在"));
    EXPECT_EQ(label(), QStringLiteral("当前版本，最新版本："));
    // No local version file: nothing to download from.
    click("btn_DownVersion");
    ASSERT_EQ(popups.requests.size(), 2u);
    EXPECT_TRUE(popups.requests[1].text.startsWith(QStringLiteral("文件不存在")));
    EXPECT_FALSE(window->downloading());
}

TEST_F(SoftVersionTest, BrokenDownloadKeepsNoFileAndSaysSo) {
    localVersion(server.url("/drop/200000/SeverVersion.json"));
    open();
    QSignalSpy finished(window.get(), &SoftVersion::downloadFinished);
    click("btn_DownVersion");
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_FALSE(finished.at(0).at(0).toBool());
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_TRUE(popups.requests[0].text.startsWith(text("SoftVersion_DownFailed")));
    EXPECT_FALSE(fs::exists(folder / "SeverVersion.json"));
    EXPECT_TRUE(window->findControl(QStringLiteral("btn_DownVersion"))->isControlEnabled());
}

TEST_F(SoftVersionTest, RunningDownloadShowsProgressAndEndsWithTheWindow) {
    localVersion(server.url("/hang/SeverVersion.json"));
    open();
    click("btn_DownVersion");
    EXPECT_TRUE(window->downloading());
    // A second click while it runs starts nothing: the button is off.
    EXPECT_FALSE(window->findControl(QStringLiteral("btn_DownVersion"))->isControlEnabled());
    EXPECT_TRUE(window->findControl(QStringLiteral("progress_DownVersion"))->isControlVisible());
    EXPECT_EQ(window->findControl(QStringLiteral("lab_DownState"))->text(),
              text("SoftVersion_Downloading"));
    QTRY_COMPARE(server.requests().size(), std::size_t(1));
    window.reset(); // cancels the transfer
    for (const auto& entry : fs::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename(), "Version"); // no temporary file left
}

TEST_F(SoftVersionTest, StartUpgradeRunsUpgradeAndEndsOrSaysItIsMissing) {
    open("lan_cn.ini");
    click("btn_StartUpdata");
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].text, QStringLiteral("找不到 Upgrade"));
    EXPECT_FALSE(window->upgradeStarted());

    test::FakeUpdater fake("Upgrade");
    window = std::make_unique<SoftVersion>(language(), fake.folder());
    ASSERT_TRUE(window->create(QStringLiteral("SoftVersion")));
    window->show();
    QSignalSpy closed(window.get(), &SkinWindow::windowClosed);
    click("btn_StartUpdata");
    EXPECT_TRUE(window->upgradeStarted());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(fake.waitForStarts(1));
}

TEST_F(SoftVersionTest, ManualButtonOpensTheFileItsTextNames) {
    open();
    QStringList opened;
    SoftVersion::setOpener([&](const QString& file) {
        opened.append(file);
        return true;
    });
    const QString name = window->findControl(QStringLiteral("btn_OpenPdf"))->text();
    ASSERT_FALSE(name.isEmpty());
    click("btn_OpenPdf");
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_TRUE(popups.requests[0].text.startsWith(text("SoftVersion_NoFile")));
    test::writeTextFile(folder / name.toStdString(), "%PDF-1.4\n");
    click("btn_OpenPdf");
    EXPECT_EQ(opened, QStringList{QString::fromStdString((folder / name.toStdString()).string())});
}

TEST_F(SoftVersionTest, MainWindowOpensItModalAndCentred) {
    CMainWnd& main = ui.open();
    QRect shown;
    bool modal = false;
    QString className;
    QTimer::singleShot(0, [&] {
        auto* version = dynamic_cast<SoftVersion*>(QApplication::activeModalWidget());
        if (!version)
            return;
        className = version->windowClassName();
        shown = version->geometry();
        modal = version->isModalRunning() && version->windowModality() == Qt::ApplicationModal;
        QTest::mouseClick(version->findControl(QStringLiteral("closebtn"))->widget(),
                          Qt::LeftButton);
    });
    SkinControl* button = main.findControl(QStringLiteral("modal_popwnd_btn"));
    ASSERT_TRUE(button && button->widget()->isVisible());
    QTest::mouseClick(button->widget(), Qt::LeftButton);
    EXPECT_EQ(className, QStringLiteral("SoftVersion"));
    EXPECT_TRUE(modal);
    EXPECT_EQ(shown.size(), QSize(SoftVersion::Width, SoftVersion::Height));
    EXPECT_LE(std::abs(shown.center().x() - main.frameGeometry().center().x()), 1);
    EXPECT_LE(std::abs(shown.center().y() - main.frameGeometry().center().y()), 1);
}

} // namespace
} // namespace varnix
