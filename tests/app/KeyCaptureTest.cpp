// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyCapture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace varnix {
namespace {

constexpr int kXkbOffset = 8; // xkb key code = evdev code + 8

// A window with two buttons; the first has the focus.
struct CaptureWindow {
    QWidget window;
    QPushButton* first = new QPushButton("first");
    QPushButton* second = new QPushButton("second");
    CaptureWindow() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        window.activateWindow();
        first->setFocus();
        QApplication::setActiveWindow(&window);
    }
};

// A key event as the platform delivers it: Qt key, native (xkb) scan code.
void sendKey(QWidget* to, QEvent::Type type, Qt::Key key, int evdevCode, bool repeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, quint32(evdevCode + kXkbOffset), 0, 0, QString(),
                    repeat);
    QApplication::sendEvent(to, &event);
}

TEST(KeyCaptureTest, KeysArriveAsScanCodesAndNeverActOnTheWindow) {
    CaptureWindow ui;
    QSignalSpy firstClicked(ui.first, &QPushButton::clicked);
    KeyCapture capture;
    std::vector<CapturedKey> keys;
    capture.start(ui.first, [&](const CapturedKey& key) { keys.push_back(key); });
    ASSERT_TRUE(capture.active());
    EXPECT_EQ(QWidget::keyboardGrabber(), ui.first);

    struct Case {
        Qt::Key key;
        int evdev;
        int scanCode;
    };
    // Keys a focus chain or a button would otherwise take, a plain letter and an extended key.
    const std::vector<Case> cases = {
        {Qt::Key_Tab, 15, 0x0F},      {Qt::Key_Return, 28, 0x1C}, {Qt::Key_Space, 57, 0x39},
        {Qt::Key_Escape, 1, 0x01},    {Qt::Key_A, 30, 0x1E},      {Qt::Key_Control, 97, 0xE01D},
        {Qt::Key_Right, 106, 0xE04D},
    };
    for (const Case& c : cases) {
        sendKey(ui.first, QEvent::KeyPress, c.key, c.evdev);
        sendKey(ui.first, QEvent::KeyRelease, c.key, c.evdev);
    }
    ASSERT_EQ(keys.size(), cases.size() * 2);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].scanCode);
        EXPECT_EQ(keys[2 * i].scanCode, cases[i].scanCode);
        EXPECT_TRUE(keys[2 * i].pressed);
        EXPECT_EQ(keys[2 * i + 1].scanCode, cases[i].scanCode);
        EXPECT_FALSE(keys[2 * i + 1].pressed);
    }
    EXPECT_EQ(ui.window.focusWidget(), ui.first) << "Tab moved the focus while capturing";
    EXPECT_EQ(firstClicked.count(), 0) << "Space or Enter pressed the focused button";

    capture.stop();
    EXPECT_FALSE(capture.active());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    sendKey(ui.first, QEvent::KeyPress, Qt::Key_A, 30);
    EXPECT_EQ(keys.size(), cases.size() * 2) << "a key arrived after stop()";
}

TEST(KeyCaptureTest, RepeatsAreMarkedAndKeysWithoutScanCodeAreSwallowed) {
    CaptureWindow ui;
    KeyCapture capture;
    std::vector<CapturedKey> keys;
    capture.start(ui.second, [&](const CapturedKey& key) { keys.push_back(key); });
    sendKey(ui.second, QEvent::KeyPress, Qt::Key_B, 48);
    sendKey(ui.second, QEvent::KeyPress, Qt::Key_B, 48, true);
    sendKey(ui.second, QEvent::KeyPress, Qt::Key_unknown, 0x2FF); // no set-1 code
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_FALSE(keys[0].autoRepeat);
    EXPECT_TRUE(keys[1].autoRepeat);
}

TEST(KeyCaptureTest, HidingTheWindowEndsTheCaptureOnceAndReleasesTheKeyboard) {
    CaptureWindow ui;
    KeyCapture capture;
    int interrupted = 0;
    capture.start(
        ui.first, [](const CapturedKey&) {}, [&] { ++interrupted; });
    ui.window.hide();
    EXPECT_EQ(interrupted, 1);
    EXPECT_FALSE(capture.active());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    capture.stop();
    EXPECT_EQ(interrupted, 1) << "stop() after an interruption called the handler again";
}

TEST(KeyCaptureTest, AHandlerMayStopTheCaptureAndTheReceiverMayGoAway) {
    CaptureWindow ui;
    KeyCapture capture;
    int keys = 0;
    capture.start(ui.first, [&](const CapturedKey&) {
        ++keys;
        capture.stop(); // a limit reached on the first key
    });
    sendKey(ui.first, QEvent::KeyPress, Qt::Key_A, 30);
    sendKey(ui.first, QEvent::KeyPress, Qt::Key_A, 30);
    EXPECT_EQ(keys, 1);
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);

    int interrupted = 0;
    auto* transient = new QPushButton("transient", &ui.window);
    transient->show();
    capture.start(
        transient, [](const CapturedKey&) {}, [&] { ++interrupted; });
    delete transient;
    EXPECT_EQ(interrupted, 1);
    EXPECT_FALSE(capture.active());
}

} // namespace
} // namespace varnix
