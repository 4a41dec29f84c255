// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start: single instance, resource root, device backend, main window, event loop.
#pragma once

namespace varnix {

// Runs the program; returns the process exit code. VARNIX_SCREENSHOT=<file> saves a picture of
// the main window once it is shown and ends the program.
int runVarnix(int argc, char** argv);

// The look shared by the Qt-drawn parts (menus, edits, combos, sliders, scroll bars).
const char* themeStyleSheet();

} // namespace varnix
