// SPDX-License-Identifier: GPL-3.0-or-later
// Varnix: configures the family's mice, keyboards and pads.
#include "app/Startup.h"

int main(int argc, char** argv) {
    return varnix::runVarnix(argc, argv);
}
