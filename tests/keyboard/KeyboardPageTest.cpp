// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard page on the simulated keyboard: the key popup with its function lists, macros
// and key capture, Apply into the keyboard's memory, the macro limit, hidden keys and the
// page's refusals.
#include "keyboard/KeyboardPage.h"

#include "app/CPopTipWnd.h"
#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinOption.h"
#include "keyboard/CPopSetWnd.h"
#include "keyboard/KeyboardFiles.h"
#include "keyboard/KeyboardImageLayout.h"
#include "macro/KeyboardLayout.h"
#include "macro/XkbKeyboardLayout.h"
#include "tests/app/UiFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>

namespace varnix::test {
namespace {

namespace fs = std::filesystem;

constexpr int SimulatedKeyboard = 1; // the second demo device
constexpr int MatrixOffset = 72;     // the key matrix, column-major, from the base address 0

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

void clickWidget(SkinWindow& window, const QString& name) {
    SkinControl* control = window.findControl(name);
    ASSERT_NE(control, nullptr) << name.toStdString();
    QTest::mouseClick(control->widget(), Qt::LeftButton);
}

class KeyboardPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = &ui.open();
        click(QStringLiteral("btn_display1"));
        pumpEvents(20);
        ASSERT_GE(page().shownDevice(), 0);
    }
    void TearDown() override {
        CPopSetWnd::setResponder({});
        CPopSetWnd::setOpenedHook({});
        FileDialogService::setResponder({});
        setActiveKeyboardLayout({});
    }

    KeyboardPage& page() { return static_cast<KeyboardPage&>(window->keyboardPage()); }
    fs::path folder() { return page().model().folder(); }
    void click(const QString& name) { clickWidget(*window, name); }
    const KeyBinding& key(const std::string& name) {
        return page().model().config().keys[std::size_t(page().model().profile())].at(name);
    }
    // The keyboard's memory byte of a key's matrix cell.
    int matrixByte(const std::string& name) {
        const std::string& position = key(name).position;
        const int row = std::stoi(position.substr(0, position.find('_')));
        const int column = std::stoi(position.substr(position.find('_') + 1));
        return ui.backend.memory(SimulatedKeyboard)[std::size_t(MatrixOffset + 8 * column + row)];
    }
    // What varnixctl builds from the saved files, as (address, byte).
    std::vector<std::pair<int, int>> imageOfTheSavedFiles() {
        const CommandResult printed = runShellCommand(
            "env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_DEBUG '" VARNIXCTL_PATH "' --res '" +
            ui.root().string() + "' image keyboard --base 0 --device " +
            std::to_string(page().shownDevice()));
        EXPECT_EQ(printed.status, 0) << printed.err;
        std::vector<std::pair<int, int>> bytes;
        std::istringstream lines(printed.out);
        for (std::string address, byte; lines >> address >> byte;)
            bytes.emplace_back(std::stoi(address, nullptr, 16), std::stoi(byte, nullptr, 16));
        return bytes;
    }
    // Opens the popup of a key and lets `drive` work in it while it is shown.
    void inPopup(const QString& keyName, std::function<void(CPopSetWnd&)> drive) {
        bool opened = false;
        CPopSetWnd::setOpenedHook([&](CPopSetWnd& popup) {
            opened = true;
            drive(popup);
        });
        click(keyName);
        QTRY_VERIFY(opened);
        pumpEvents(20);
        CPopSetWnd::setOpenedHook({});
    }
    void chooseMedia(CPopSetWnd& popup, const char* item) {
        clickWidget(popup, QStringLiteral("opt_KBSet_Media"));
        auto* list = popup.find<SkinCombo>(QStringLiteral("btn_KBSet_MediaVal"));
        ASSERT_NE(list, nullptr);
        list->setCurrentIndex(list->findItem(QString::fromLatin1(item)));
    }

    UiFixture ui;
    CMainWnd* window = nullptr;
};

TEST_F(KeyboardPageTest, AMediaFunctionChosenInThePopupReachesTheKeyboardOnApply) {
    Popups popups;
    inPopup(QStringLiteral("btn_KBKey_Q"), [&](CPopSetWnd& popup) {
        EXPECT_EQ(popup.selectedTab(), KeySetTab::Default);
        chooseMedia(popup, "ItemValue0xCB_VolAdd");
        clickWidget(popup, QStringLiteral("btn_KBSet_Apply"));
    });
    EXPECT_EQ(key("btn_KBKey_Q").code, 0xCB);
    EXPECT_EQ(key("btn_KBKey_Q").displayText, "Volume Up");
    // The key shows as changed once its own click toggle is done.
    QTRY_VERIFY(window->find<SkinOption>(QStringLiteral("btn_KBKey_Q"))->isSelected());
    EXPECT_FALSE(window->find<SkinOption>(QStringLiteral("btn_KBKey_W"))->isSelected());

    click(QStringLiteral("btn_KB_apply"));
    pumpEvents(30);
    EXPECT_TRUE(popups.requests.empty()) << popups.requests.front().text.toStdString();
    EXPECT_EQ(matrixByte("btn_KBKey_Q"), 0xCB);
    EXPECT_EQ(ui.backend.activationCount(SimulatedKeyboard), 1);
    // Opened again, the popup starts on the media tab with the function chosen.
    inPopup(QStringLiteral("btn_KBKey_Q"), [&](CPopSetWnd& popup) {
        EXPECT_EQ(popup.selectedTab(), KeySetTab::Media);
        EXPECT_EQ(popup.find<SkinCombo>(QStringLiteral("btn_KBSet_MediaVal"))->currentText(),
                  QStringLiteral("Volume Up"));
        clickWidget(popup, QStringLiteral("btn_KBSet_Cancel"));
    });
    EXPECT_EQ(key("btn_KBKey_Q").code, 0xCB);
    QTRY_VERIFY(window->find<SkinOption>(QStringLiteral("btn_KBKey_Q"))->isSelected());
}

TEST_F(KeyboardPageTest, AMacroBoundAndAppliedIsInMemoryAsTheSavedFilesDescribeIt) {
    Popups popups;
    const MacroRecord& macro = page().model().macros().groups.at(0).macros.at(0);
    ASSERT_GT(macro.data.num, 0);
    inPopup(QStringLiteral("btn_KBKey_F5"), [&](CPopSetWnd& popup) {
        clickWidget(popup, QStringLiteral("opt_KBSet_Macro"));
        clickWidget(popup, QStringLiteral("btn_KBSet_Apply"));
    });
    EXPECT_EQ(key("btn_KBKey_F5").code, 165);
    EXPECT_EQ(key("btn_KBKey_F5").displayText, "M:" + macro.name);
    click(QStringLiteral("btn_KB_apply"));
    pumpEvents(30);
    EXPECT_TRUE(popups.requests.empty()) << popups.requests.front().text.toStdString();

    const std::vector<std::uint8_t> memory = ui.backend.memory(SimulatedKeyboard);
    const auto image = imageOfTheSavedFiles();
    ASSERT_FALSE(image.empty());
    int macroBytes = 0;
    for (const auto& [address, byte] : image) {
        EXPECT_EQ(memory[std::size_t(address)], byte) << "address " << address;
        macroBytes += address >= 248 ? 1 : 0;
    }
    EXPECT_GT(macroBytes, 100); // the directory and a body
    EXPECT_EQ(matrixByte("btn_KBKey_F5"), 165);
    // The macro store knows who plays the macro now.
    MacroStore saved(ui.root());
    ASSERT_TRUE(isOk(saved.LoadMacroFile()));
    EXPECT_EQ(saved.groups[0].macros[0].bindings.at(page().model().modelName()).size(), 1u);
}

TEST_F(KeyboardPageTest, ACapturedKeyIsAssignedTabIncludedAndTheKeyboardIsReleased) {
    auto press = [](int evdev) {
        QWidget* grabber = QWidget::keyboardGrabber();
        ASSERT_NE(grabber, nullptr);
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, quint32(evdev + 8), 0, 0);
            QApplication::sendEvent(grabber, &event);
        }
    };
    inPopup(QStringLiteral("btn_KBKey_Q"), [&](CPopSetWnd& popup) {
        clickWidget(popup, QStringLiteral("opt_KBSet_KeyBoard"));
        clickWidget(popup, QStringLiteral("btn_KBSet_KeyBoardVal"));
        EXPECT_TRUE(popup.capturing());
        press(30); // A
        EXPECT_EQ(popup.keyboardText(), "A");
        press(15); // Tab: captured, the focus stays
        EXPECT_EQ(popup.keyboardCode(), 0x2B);
        EXPECT_EQ(popup.find<SkinControl>(QStringLiteral("btn_KBSet_KeyBoardVal"))->text(),
                  QStringLiteral("Tab"));
        EXPECT_TRUE(popup.capturing());
        // Any other click ends listening and lets the keyboard go.
        clickWidget(popup, QStringLiteral("btn_KBSet_Apply"));
    });
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(key("btn_KBKey_Q").code, 0x2B);
    EXPECT_EQ(key("btn_KBKey_Q").displayText, "Tab");

    // Closing the popup while listening never leaves the keyboard grabbed.
    inPopup(QStringLiteral("btn_KBKey_W"), [&](CPopSetWnd& popup) {
        clickWidget(popup, QStringLiteral("opt_KBSet_KeyBoard"));
        clickWidget(popup, QStringLiteral("btn_KBSet_KeyBoardVal"));
        EXPECT_TRUE(popup.capturing());
        popup.closeWindow(0);
    });
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    EXPECT_EQ(key("btn_KBKey_W").code, key("btn_KBKey_W").defaultCode);
}

TEST_F(KeyboardPageTest, TheTwentyFirstMacroIsRefusedWithItsWarningAndChangesNothing) {
    Popups popups;
    CPopSetWnd::setResponder([](const KeyPopupRequest&) -> std::optional<KeyChoice> {
        KeyChoice choice;
        choice.tab = KeySetTab::Macro;
        choice.group = 0;
        choice.macro = 0;
        return choice;
    });
    std::vector<QString> names;
    for (const auto& [name, binding] : page().model().config().keys[0])
        if (name != "btn_KBKey_Calc" && names.size() < 21)
            names.push_back(QString::fromStdString(name));
    for (int i = 0; i < 20; ++i) {
        click(names[std::size_t(i)]);
        pumpEvents(5);
    }
    ASSERT_TRUE(popups.requests.empty());
    ASSERT_EQ(page().model().config().usedMacroCodes[0].size(), 20u);
    const KeyBinding before = key(names[20].toStdString());
    click(names[20]);
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].text, window->messageText(QStringLiteral("maxMacroWarn")));
    EXPECT_NE(popups.requests[0].text, QStringLiteral("maxMacroWarn"));
    EXPECT_EQ(key(names[20].toStdString()), before);
    QTRY_VERIFY(!window->find<SkinOption>(names[20])->isSelected());
    EXPECT_EQ(page().model().config().usedMacroCodes[0].size(), 20u);
}

TEST_F(KeyboardPageTest, AHiddenKeyShowsNoTipAndOpensNoPopup) {
    int asked = 0;
    CPopSetWnd::setResponder([&](const KeyPopupRequest&) -> std::optional<KeyChoice> {
        ++asked;
        return std::nullopt;
    });
    SkinControl* hidden = window->findControl(QStringLiteral("btn_KBKey_KeyPad7"));
    ASSERT_NE(hidden, nullptr);
    hidden->setControlVisible(false);
    for (const char* type : {notify::MouseEnter, notify::Click}) {
        SkinNotify message;
        message.type = QString::fromLatin1(type);
        message.senderName = hidden->name();
        message.sender = hidden;
        window->notify(message);
    }
    pumpEvents(10);
    EXPECT_FALSE(window->tipWindow()->isVisible());
    EXPECT_EQ(asked, 0);
    // A visible key shows its function above itself.
    SkinControl* shown = window->findControl(QStringLiteral("btn_KBKey_KeyPad8"));
    SkinNotify enter;
    enter.type = QString::fromLatin1(notify::MouseEnter);
    enter.senderName = shown->name();
    enter.sender = shown;
    window->notify(enter);
    EXPECT_TRUE(window->tipWindow()->isVisible());
    EXPECT_EQ(window->tipWindow()->findControl(QStringLiteral("displaytext"))->text(),
              QStringLiteral("Num 8"));
    EXPECT_LE(window->tipWindow()->geometry().bottom(),
              shown->widget()->mapToGlobal(QPoint(0, 0)).y());
}

TEST_F(KeyboardPageTest, LocksKnobsFnAndProfilesReachTheModel) {
    Popups popups;
    click(QStringLiteral("opt_KB_ViewKeys"));
    click(QString::fromLatin1(kbfiles::AllKeyLock));
    click(QString::fromLatin1(kbfiles::AllKeyLock));
    click(QString::fromLatin1(kbfiles::AllKeyLock));
    ASSERT_EQ(popups.requests.size(), 2u); // once per change to on
    EXPECT_EQ(popups.requests[0].text, window->messageText(QStringLiteral("FullKeyWarn")));
    EXPECT_EQ(page().model().config().otherKeys[0].at(kbfiles::AllKeyLock).code, 1);

    auto* functions = window->find<SkinCombo>(QString::fromLatin1(kbpage::FnFunctionList));
    functions->setCurrentIndex(functions->findItem(QStringLiteral("ItemValue0xB0_SysPower")));
    EXPECT_EQ(page().model().config().otherKeys[0].at("FN_F1").code, 0xB0);

    click(QStringLiteral("btn_scr0"));
    EXPECT_EQ(page().pendingKnob(), QStringLiteral("btn_scr0"));
    window->onMenuItem(QStringLiteral("brightup"));
    QTRY_VERIFY(window->find<SkinOption>(QStringLiteral("btn_scr0"))->isSelected());
    EXPECT_EQ(page().model().config().otherKeys[0].at("btn_scr0").code, 9);

    auto* profiles = window->find<SkinCombo>(QString::fromLatin1(kbpage::ProfileList));
    profiles->setCurrentIndex(2);
    EXPECT_EQ(page().model().profile(), 2);
    EXPECT_FALSE(window->find<SkinOption>(QStringLiteral("btn_scr0"))->isSelected());
    window->onMenuItem(QStringLiteral("btn_Cfg1"));
    EXPECT_EQ(page().model().profile(), 0);
    EXPECT_EQ(profiles->currentIndex(), 0);
    EXPECT_TRUE(window->find<SkinOption>(QStringLiteral("btn_scr0"))->isSelected());
}

TEST_F(KeyboardPageTest, LegendsFollowTheActiveLayout) {
    auto de = XkbKeyboardLayout::fromNames("de");
    ASSERT_TRUE(de);
    setActiveKeyboardLayout(std::shared_ptr<const KeyboardLayout>(std::move(*de)));
    page().model().rebuildTexts();
    page().deviceConfig(1);
    EXPECT_EQ(window->findControl(QStringLiteral("btn_KBKey_Y"))->text(), QStringLiteral("Z"));
    EXPECT_EQ(window->findControl(QStringLiteral("btn_KBKey_Z"))->text(), QStringLiteral("Y"));
}

TEST_F(KeyboardPageTest, ALayoutChangeRenamesTheKeysThePopupShows) {
    // The system layout is read again on a change: the environment's, with no X server asked.
    ScopedEnvironment display("DISPLAY", nullptr);
    ScopedEnvironment layout(XkbKeyboardLayout::kLayoutVariable, "de");
    inPopup(QStringLiteral("btn_KBKey_Y"), [&](CPopSetWnd& popup) {
        EXPECT_EQ(popup.findControl(QStringLiteral("lab_KBSet_DefultText"))->text(),
                  QStringLiteral("Y"));
        QEvent change(QEvent::KeyboardLayoutChange);
        QApplication::sendEvent(&popup, &change);
        EXPECT_EQ(popup.findControl(QStringLiteral("lab_KBSet_DefultText"))->text(),
                  QStringLiteral("Z"));
        EXPECT_EQ(popup.findControl(QStringLiteral("btn_KBSet_KeyBoardVal"))->text(),
                  QStringLiteral("Z"));
        clickWidget(popup, QStringLiteral("btn_KBSet_Cancel"));
    });
}

TEST_F(KeyboardPageTest, RefusalsAreShownAndChangeNothing) {
    Popups popups;
    // An exchange file of another keyboard.
    const fs::path file = ui.dir.path() / "other.KB.Config";
    writeTextFile(file, "{\"KBName\": [79, 116, 104], \"KBconfig\": {}}");
    const std::string before = readTextFile(folder() / kbfiles::UserJson);
    FileDialogService::setResponder([&](FileDialogKind, const FileDialogRequest&) {
        return QString::fromStdString(file.string());
    });
    window->onMenuItem(QStringLiteral("Import"));
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].title, window->messageText(QStringLiteral("Error")));
    EXPECT_EQ(popups.requests[0].text, window->messageText(QStringLiteral("ImportErr")));
    EXPECT_EQ(readTextFile(folder() / kbfiles::UserJson), before);

    // A popup answer for a key the model does not hold.
    popups.requests.clear();
    CPopSetWnd::setResponder([](const KeyPopupRequest& request) -> std::optional<KeyChoice> {
        EXPECT_FALSE(request.found);
        EXPECT_EQ(request.code, 255);
        EXPECT_EQ(request.caption, "Unknown Key");
        return KeyChoice{};
    });
    page().model().config().keys[0].erase("btn_KBKey_M");
    click(QStringLiteral("btn_KBKey_M"));
    pumpEvents(20);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].text, QStringLiteral("没有找到该控件"));
    QTRY_VERIFY(!window->find<SkinOption>(QStringLiteral("btn_KBKey_M"))->isSelected());

    // A keyboard that goes away during Apply ends it with a message.
    popups.requests.clear();
    ui.backend.setFaultHook(SimulatedKeyboard,
                            [](const std::vector<std::uint8_t>&) { return FrameFate::Vanish; });
    click(QStringLiteral("btn_KB_apply"));
    pumpEvents(30);
    ASSERT_FALSE(popups.requests.empty());
    EXPECT_EQ(popups.requests.back().title, window->messageText(QStringLiteral("Error")));
}

TEST_F(KeyboardPageTest, MissingPositionFilesWarnOnceAndKeepTheSkinLayout) {
    Popups popups;
    for (const char* name : {KeyboardPage::MainPositions, KeyboardPage::KeyPositions})
        fs::remove(folder() / name);
    const QRect before = window->findControl(QStringLiteral("btn_KBKey_Esc"))->posRect();
    page().deviceConfig(1);
    pumpEvents(10);
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].text, window->messageText(QStringLiteral("Json Warn")));
    EXPECT_EQ(window->findControl(QStringLiteral("btn_KBKey_Esc"))->posRect(), before);
}

} // namespace
} // namespace varnix::test
