// SPDX-License-Identifier: GPL-3.0-or-later
// The message box, the popup wrapper, the apply progress popup and position sheets on controls.
#include "UiFixture.h"
#include "app/About.h"
#include "app/ApplyPositionSheet.h"
#include "app/BuildInfo.h"
#include "app/CMsgWnd.h"
#include "app/CapplyProgressWnd.h"
#include "app/PopupService.h"
#include "app/skin/SkinProgress.h"
#include "device/KeyboardWriter.h"
#include "device/ParameterImage.h"
#include "kinds/DeviceKind.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

const DeviceKind& keyboardKind() {
    return *deviceKindOf(DevTypeKeyboard);
}

// Clicks a control of the first visible message box once it is up.
void clickLater(const QString& control) {
    QTimer::singleShot(30, [control] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = dynamic_cast<CMsgWnd*>(top); box && box->isVisible())
                if (SkinControl* target = box->findControl(control))
                    QTest::mouseClick(target->widget(), Qt::LeftButton);
    });
}

TEST(PopupTest, QuestionAnswersByItsButtons) {
    UiFixture ui;
    struct Case {
        const char* button;
        int answer;
    };
    for (const Case& c : {Case{"closebtn", 0}, Case{"cancel_btn", 0}, Case{"confirm_btn", 1}}) {
        clickLater(QString::fromLatin1(c.button));
        EXPECT_EQ(CMsgWnd::MessageBoxQuestion(nullptr, QStringLiteral("Delete"),
                                              QStringLiteral("Delete the macro?"), QString(),
                                              QString()),
                  c.answer)
            << c.button;
    }
}

TEST(PopupTest, EmptyTextsKeepTheSkinTexts) {
    UiFixture ui;
    CMsgWnd box(1);
    ASSERT_TRUE(box.create());
    const QString skinCancel = box.findControl(QStringLiteral("cancel_btn"))->text();
    box.setTexts(QStringLiteral("Title"), QStringLiteral("Body"), QStringLiteral("Yes"), QString());
    EXPECT_EQ(box.findControl(QStringLiteral("MessageTitle"))->text(), QStringLiteral("Title"));
    EXPECT_EQ(box.findControl(QStringLiteral("MessageText"))->text(), QStringLiteral("Body"));
    EXPECT_EQ(box.findControl(QStringLiteral("confirm_btn"))->text(), QStringLiteral("Yes"));
    EXPECT_FALSE(skinCancel.isEmpty());
    EXPECT_EQ(box.findControl(QStringLiteral("cancel_btn"))->text(), skinCancel);
}

// Answers every popup with a fixed value and keeps the requests.
class Answering {
public:
    explicit Answering(int answer) {
        PopupService::setResponder([this, answer](const PopupRequest& request) {
            requests.push_back(request);
            return answer;
        });
    }
    ~Answering() { PopupService::setResponder({}); }
    std::vector<PopupRequest> requests;
};

TEST(PopupTest, MaxDataWarningShowsTipAndOk) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    Answering popups(0);
    window.postMessage(2045);
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].kind, PopupKind::Information);
    EXPECT_EQ(popups.requests[0].title, QStringLiteral("Tip"));
    EXPECT_EQ(popups.requests[0].cancelText, QStringLiteral("OK"));
    EXPECT_TRUE(popups.requests[0].text.contains(QStringLiteral("memory")));
}

TEST(PopupTest, ProgressPopupWritesTheKeyboardAndReaches100) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    window.ClickDevice(1); // the keyboard: its write collection becomes the target
    ParameterImage image;
    for (int address = 0; address < 40; ++address)
        image.add(address, static_cast<std::uint8_t>(0xA0 + address));
    FindDev device(ui.backend);
    KeyboardWriter writer(device, image);
    Answering popups(0);
    const ApplyResult result = CapplyProgressWnd::RunApply(keyboardKind(), writer, &window, &window);
    EXPECT_TRUE(result.completed()) << result.detail;
    EXPECT_TRUE(popups.requests.empty());
    const std::vector<std::uint8_t> memory = ui.backend.memory(1);
    for (int address = 0; address < 40; ++address)
        EXPECT_EQ(memory[address], 0xA0 + address) << address;
    EXPECT_EQ(ui.backend.activationCount(1), 1);
}

TEST(PopupTest, ProgressPopupShowsEveryStepEndingAt100) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    window.ClickDevice(1);
    ParameterImage image;
    for (int address = 0; address < 64; ++address)
        image.add(address, 1);
    FindDev device(ui.backend);
    KeyboardWriter writer(device, image);
    CapplyProgressWnd popup(keyboardKind(), writer, &window, &window);
    ASSERT_TRUE(popup.create());
    popup.showModal();
    ASSERT_FALSE(popup.progressSeen().isEmpty());
    EXPECT_EQ(popup.progressSeen().last(), 100);
    EXPECT_TRUE(std::is_sorted(popup.progressSeen().begin(), popup.progressSeen().end()));
    EXPECT_EQ(popup.find<SkinProgress>(QStringLiteral("apply_progress"))->value(), 100);
}

TEST(PopupTest, ApplyTooLargeAsksTheMainWindowForTheWarning) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    window.ClickDevice(1);
    ParameterImage image;
    image.add(3000, 1); // beyond the default capacity
    FindDev device(ui.backend);
    KeyboardWriter writer(device, image);
    Answering popups(0);
    const ApplyResult result = CapplyProgressWnd::RunApply(keyboardKind(), writer, &window, &window);
    EXPECT_EQ(result.status, Status::TooLarge);
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].title, QStringLiteral("Tip"));
    EXPECT_TRUE(ui.backend.sentFrames(1).empty());
}

TEST(PopupTest, ApplyErrorIsShown) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    window.ClickDevice(1);
    ParameterImage image;
    for (int address = 0; address < 32; ++address)
        image.add(address, 1);
    FindDev device(ui.backend);
    KeyboardWriter writer(device, image);
    ui.backend.setFaultHook(1, [](const std::vector<std::uint8_t>&) { return FrameFate::Vanish; });
    Answering popups(0);
    const ApplyResult result = CapplyProgressWnd::RunApply(keyboardKind(), writer, &window, &window);
    EXPECT_FALSE(result.completed());
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].title, QStringLiteral("Error"));
}

TEST(PopupTest, AboutShowsTheBuildsVersionAndLinks) {
    struct Case {
        int language;
        QString version;
    };
    const QString number = QString::fromLatin1(buildinfo::Version);
    for (const Case& c : {Case{1, QStringLiteral("Version ") + number},
                          Case{0, QString::fromUtf8("版本 ") + number}}) {
        UiFixture ui(demoDevices(), "[Set]\nLanguage=" + std::to_string(c.language) + "\n");
        CMainWnd& window = ui.open();
        QStringList opened;
        About::setOpener([&](const QString& target) { opened << target; });
        About about(window.language());
        ASSERT_TRUE(about.create()) << about.skinError().toStdString();
        about.show();
        EXPECT_EQ(about.findControl(QStringLiteral("lab_version"))->text(), c.version);

        // The home page link is there only when the build names one.
        SkinControl* home = about.findControl(QStringLiteral("link_home"));
        const QString homepage = QString::fromUtf8(buildinfo::HomepageUrl);
        EXPECT_EQ(home->isControlVisible(), !homepage.isEmpty());
        QTest::mouseClick(about.findControl(QStringLiteral("link_licence"))->widget(),
                          Qt::LeftButton);
        EXPECT_EQ(opened, QStringList{QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html")});
        About::setOpener({});
    }
    EXPECT_EQ(About::versionText(QStringLiteral("Version")), QStringLiteral("Version ") + number);
    EXPECT_EQ(About::versionText(QStringLiteral("v%1 (build)")),
              QStringLiteral("v%1 (build)").arg(number));
}

} // namespace
} // namespace varnix::test
