// SPDX-License-Identifier: GPL-3.0-or-later
// The colour picker through a real window (offscreen) and the main window's routing of 2025.
#include "tests/app/UiFixture.h"

#include <QCoreApplication>
#include <array>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

struct PageCounts {
    explicit PageCounts(CMainWnd& window)
        : counts{window.mousePage().notificationCount(), window.keyboardPage().notificationCount(),
                 window.padPage().notificationCount(), window.homePage().notificationCount(),
                 window.macroPage().notificationCount()} {}
    bool operator==(const PageCounts&) const = default;
    std::array<int, 5> counts;
};

ShellPage* pageOfCode(CMainWnd& window, int code) {
    switch (code) {
    case PageCodeMouse:
        return &window.mousePage();
    case PageCodeKeyboard:
        return &window.keyboardPage();
    case PageCodePad:
        return &window.padPage();
    case PageCodeHome:
        return &window.homePage();
    default:
        return nullptr;
    }
}

// Delivers what is posted to the main window now; 2025 is posted, never sent.
void deliverPosted(CMainWnd& window) {
    QCoreApplication::sendPostedEvents(&window, 0);
}

TEST(ColorPickerTest, MainWindowRoutesPopColorOkByCallerCode) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    const std::uint32_t colour = 0xFF336699;
    // Pages in the order PageCounts holds them; codes 1..4 name the first four.
    for (int code = 0; code <= 5; ++code) {
        const PageCounts before(window);
        window.postMessage(WM_PopColorOk, code, qintptr(colour));
        deliverPosted(window);
        std::array<int, 5> expected = before.counts;
        if (code >= PageCodeMouse && code <= PageCodeHome)
            ++expected[std::size_t(code - 1)];
        EXPECT_EQ(PageCounts(window).counts, expected) << "code " << code;
        if (ShellPage* target = pageOfCode(window, code)) {
            EXPECT_EQ(target->lastNotification().type, QStringLiteral("popcolor_ok")) << code;
            EXPECT_EQ(std::uint32_t(target->lastNotification().wParam), colour) << code;
            EXPECT_EQ(target->lastNotification().lParam, code);
        }
        // Consumed whatever the code.
        EXPECT_TRUE(window.handleMessage(WM_PopColorOk, code, qintptr(colour))) << code;
    }
}

} // namespace
} // namespace varnix::test
