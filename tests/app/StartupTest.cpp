// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start on the simulated demo devices, inside the test's QApplication.
#include "app/Startup.h"

#include "app/CMainWnd.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

namespace varnix::test {
namespace {

TEST(StartupTest, PictureOfTheWindowEndsTheProgramEvenWithATray) {
    namespace fs = std::filesystem;
    TempDir dir;
    fs::copy(sourceResDir(), dir.path() / "res", fs::copy_options::recursive);
    const fs::path picture = dir.path() / "window.png";
    ScopedEnvironment res("VARNIX_RES", (dir.path() / "res").string());
    ScopedEnvironment backend("VARNIX_BACKEND", "sim");
    ScopedEnvironment scenario("VARNIX_SIM", (dir.path() / "res" / "sim" / "demo.json").string());
    ScopedEnvironment screenshot("VARNIX_SCREENSHOT", picture.string());

    StartOptions options;
    options.instanceName = QStringLiteral("varnix-startup-test-%1").arg(getpid());
    options.assumeTray = true;
    bool hadTray = false;
    int exits = 0;
    options.windowShown = [&](CMainWnd& window) {
        hadTray = window.hasTray();
        QObject::connect(&window, &CMainWnd::exitRequested, [&] { ++exits; });
    };
    // A start that does not end by itself is ended here with a code of its own.
    QTimer stuck;
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    stuck.start(15000);

    const int code = runVarnixWindow(options);
    qApp->setStyleSheet(QString());
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(hadTray);
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(fs::exists(picture));
}

} // namespace
} // namespace varnix::test
