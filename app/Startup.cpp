// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include "app/CMainWnd.h"
#include "app/PopupService.h"
#include "app/SingleInstance.h"
#include "app/skin/SkinImage.h"
#include "common/Diagnostics.h"
#include "common/ResourceRoot.h"
#include "device/BackendSelection.h"
#include "device/DeviceRecord.h"
#include "device/SimulatedBackend.h"
#include "device/SimulatedHotplugMonitor.h"
#include "device/UdevHotplugMonitor.h"
#include "macro/KeyNames.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <iostream>

namespace varnix {
namespace {

// How long after showing the window its picture is taken.
constexpr int ScreenshotDelayMs = 700;

bool familyDevicePresent(HidBackend& backend) {
    for (const HidInterfaceInfo& info : backend.enumerate())
        if (info.vendorId == FamilyVendorId)
            return true;
    return false;
}

// The backend the environment names; without a choice, real devices when one of the family is
// attached, else the simulated demo devices.
std::unique_ptr<HidBackend> chooseBackend(const std::filesystem::path& root) {
    const bool chosen = std::getenv("VARNIX_BACKEND") && *std::getenv("VARNIX_BACKEND");
    BackendChoice choice = backendChoiceFromEnvironment();
    std::unique_ptr<HidBackend> backend = makeBackend(choice, root);
    if (chosen || choice.kind != "hidapi" || familyDevicePresent(*backend))
        return backend;
    std::cout << "No device of the family found: using the simulated demo devices." << std::endl;
    choice.kind = "sim";
    return makeBackend(choice, root);
}

} // namespace

// The focus colour of the edits, combos and sliders is the skin controls' FocusRingColor.
const char* themeStyleSheet() {
    return R"(
QToolTip { color: #E6E8EC; background: #2A2F38; border: 1px solid #3A404C; padding: 4px; }
QMenu { background: #23272F; color: #E6E8EC; border: 1px solid #3A404C; padding: 4px; }
QMenu::item { padding: 6px 24px 6px 24px; border-radius: 4px; }
QMenu::item:selected { background: #3D8BFD; color: #FFFFFF; }
QMenu::item:disabled { color: #6C727C; }
QMenu::separator { height: 1px; background: #3A404C; margin: 4px 8px; }
QMenu::indicator { width: 12px; height: 12px; left: 6px; }
QMenu::indicator:checked { image: none; background: #3D8BFD; border-radius: 6px; }
QLineEdit { background: #15181D; color: #E6E8EC; border: 1px solid #3A404C; border-radius: 4px;
            padding: 2px 6px; selection-background-color: #3D8BFD; }
QLineEdit:focus { border: 2px solid #5A9DFF; padding: 1px 5px; }
QComboBox { background: #15181D; color: #E6E8EC; border: 1px solid #3A404C; border-radius: 4px;
            padding: 2px 8px; }
QComboBox:focus { border: 2px solid #5A9DFF; padding: 1px 7px; }
QComboBox::drop-down { border: none; width: 26px; subcontrol-origin: padding;
                       subcontrol-position: center right; }
QComboBox QAbstractItemView { background: #23272F; color: #E6E8EC;
                              selection-background-color: #3D8BFD; }
QSlider::groove:horizontal { height: 4px; background: #3A404C; border-radius: 2px; }
QSlider::sub-page:horizontal { background: #3D8BFD; border-radius: 2px; }
QSlider::handle:horizontal { background: #E6E8EC; width: 14px; margin: -5px 0; border-radius: 7px; }
QSlider::handle:horizontal:focus { background: #FFFFFF; border: 2px solid #5A9DFF; width: 10px; }
QSlider:focus { border: 1px solid #5A9DFF; border-radius: 4px; }
QScrollBar:vertical { background: transparent; width: 8px; }
QScrollBar::handle:vertical { background: #3A404C; border-radius: 4px; min-height: 24px; }
QScrollBar::add-line, QScrollBar::sub-line { height: 0; }
)";
}

QString themeStyleSheetWithImages() {
    return QString::fromLatin1(themeStyleSheet()) +
           QStringLiteral("QComboBox::down-arrow { image: url(%1); width: 12px; height: 12px; }\n")
               .arg(SkinImage::resolvePath(QStringLiteral("Skin/chevron_down.png")));
}

int runVarnix(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnix"));
    QApplication::setQuitOnLastWindowClosed(false);
    return runVarnixWindow(StartOptions{});
}

int runVarnixWindow(const StartOptions& startOptions) {
    SingleInstance instance(startOptions.instanceName);
    if (!instance.claim())
        return 0; // the running copy shows its window

    std::filesystem::path root;
    std::unique_ptr<HidBackend> backend;
    Outcome seeding;
    try {
        root = findResourceRoot({}, &seeding);
        backend = chooseBackend(root);
    } catch (const std::exception& error) {
        std::cerr << "varnix: " << error.what() << std::endl;
        return 2;
    }
    SkinImage::setResourceRoot(QString::fromStdString(root.string()));
    // Macro items name their keys under the desktop's keyboard layout.
    installMacroItemKeyNames();
    qApp->setStyleSheet(themeStyleSheetWithImages());

    std::unique_ptr<HotplugMonitor> hotplug;
    if (auto* simulated = dynamic_cast<SimulatedBackend*>(backend.get()))
        hotplug = std::make_unique<SimulatedHotplugMonitor>(*simulated);
    else
        hotplug = std::make_unique<UdevHotplugMonitor>();

    CMainWnd::Options options;
    options.resourceRoot = root;
    options.backend = backend.get();
    options.hotplug = hotplug.get();
    options.assumeTray = startOptions.assumeTray;
    auto window = std::make_unique<CMainWnd>(options);
    if (!window->createMainWindow()) {
        std::cerr << "varnix: " << window->skinError().toStdString() << std::endl;
        if (!seeding.ok()) {
            // Without its files the window cannot be drawn: say why in a plain box.
            PopupService::plainMessage(nullptr,
                                       QStringLiteral("Varnix cannot set up its files in %1:\n%2")
                                           .arg(QString::fromStdString(root.string()),
                                                QString::fromStdString(seeding.detail)));
        }
        return 1;
    }
    QObject::connect(&instance, &SingleInstance::showRequested, window.get(),
                     &CMainWnd::restoreWindow);
    // The window has closed for good when it asks to end; quit() would ask every window to close
    // once more, and a popup that hides instead of closing could refuse.
    QObject::connect(
        window.get(), &CMainWnd::exitRequested, qApp, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    window->show();
    if (!seeding.ok()) {
        PopupService::showOutcome(
            window.get(), seeding.shown(messagekey::Error, "SeedErr"),
            [&window](const QString& key) { return window->messageText(key); }, true);
    }
    if (startOptions.windowShown)
        startOptions.windowShown(*window);

    if (const char* shot = std::getenv("VARNIX_SCREENSHOT"); shot && *shot) {
        const QString file = QString::fromLocal8Bit(shot);
        QTimer::singleShot(ScreenshotDelayMs, window.get(), [&window, file] {
            if (window->grab().save(file))
                std::cout << "Saved a picture of the window to " << file.toStdString() << std::endl;
            else
                std::cerr << "varnix: cannot save " << file.toStdString() << std::endl;
            // The program's own way out: with a tray a plain quit only closes the window into the
            // tray and the program keeps running.
            window->exitProgram();
        });
    }
    const int code = QApplication::exec();
    window.reset();
    return code;
}

} // namespace varnix
