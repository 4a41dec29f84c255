// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start: single instance, resource root, device backend, main window, event loop.
#pragma once

#include <QString>
#include <functional>

namespace varnix {

class CMainWnd;

// What a start inside a test or a benchmark changes; the program itself takes the defaults.
struct StartOptions {
    // Name of the single-instance socket (with the user id appended).
    QString instanceName = QStringLiteral("Quenra_Tavro");
    // Make the tray icon even when the desktop reports no tray.
    bool assumeTray = false;
    // Called once the main window has been shown, before the event loop runs.
    std::function<void(CMainWnd&)> windowShown;
};

// Runs the program; returns the process exit code. VARNIX_SCREENSHOT=<file> saves a picture of
// the main window once it is shown and ends the program.
int runVarnix(int argc, char** argv);
// Everything after the QApplication: single instance, resource root, backend, main window and
// the event loop. The caller owns the QApplication.
int runVarnixWindow(const StartOptions& options);

// The look shared by the Qt-drawn parts (menus, edits, combos, sliders, scroll bars), with the
// same keyboard focus mark as the skin-drawn controls.
const char* themeStyleSheet();
// The same with the images it names taken from the skin's resource root (set it first).
QString themeStyleSheetWithImages();

} // namespace varnix
