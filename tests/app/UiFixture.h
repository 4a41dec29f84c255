// SPDX-License-Identifier: GPL-3.0-or-later
// A copy of the resource tree in a temporary folder, a simulated backend and a main window.
#pragma once

#include "app/CMainWnd.h"
#include "app/skin/SkinImage.h"
#include "device/SimulatedBackend.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace varnix::test {

inline VirtualDeviceSetup simDevice(std::uint16_t pid, const char* product, bool plugged = true) {
    VirtualDeviceSetup setup;
    setup.vid = FamilyVendorId;
    setup.pid = pid;
    setup.product = product;
    setup.plugged = plugged;
    return setup;
}

// The demo trio: one mouse, one keyboard, one pad.
inline std::vector<VirtualDeviceSetup> demoDevices() {
    return {simDevice(0x1441, "Tavro_Quenra-Rum1"), simDevice(0x2351, "Tavro_Quenra-Sel1"),
            simDevice(0x3031, "Tavro_Quenra-Wel1")};
}

// Lets queued events run for a while.
inline void pumpEvents(int ms = 50) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class UiFixture {
public:
    explicit UiFixture(std::vector<VirtualDeviceSetup> devices = demoDevices(),
                       const std::string& settings = "[Set]\nLanguage=1\nDpiPopEn=0\n")
        : backend(std::move(devices)) {
        namespace fs = std::filesystem;
        fs::copy(sourceResDir(), dir.path() / "res", fs::copy_options::recursive);
        writeTextFile(root() / "Set.ini", settings);
        SkinImage::setResourceRoot(QString::fromStdString(root().string()));
    }

    std::filesystem::path root() const { return dir.path() / "res"; }

    CMainWnd& open(bool tray = false) {
        CMainWnd::Options options;
        options.resourceRoot = root();
        options.backend = &backend;
        options.useTray = tray;
        options.assumeTray = tray;
        options.programFolder = programFolder;
        window = std::make_unique<CMainWnd>(options);
        EXPECT_TRUE(window->createMainWindow()) << window->skinError().toStdString();
        window->show();
        pumpEvents(20);
        return *window;
    }

    TempDir dir;
    // Where the window looks for the updaters and version files; empty: the test program's
    // folder.
    std::filesystem::path programFolder;
    SimulatedBackend backend;
    std::unique_ptr<CMainWnd> window;
};

} // namespace varnix::test
