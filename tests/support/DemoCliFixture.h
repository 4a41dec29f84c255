// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl on the simulated demo devices, with a copy of the shipped resources as its root.
// The including test target defines VARNIXCTL_PATH.
#pragma once

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace varnix::test {

// Demo catalogue rows (res/Home/Icons/Ndevice.json) and their devices in res/sim/demo.json.
inline constexpr int DemoMouse = 0;
inline constexpr int UnpluggedMouse = 1;
inline constexpr int DemoKeyboard = 5;
inline constexpr int DemoPad = 8;

class DemoCliFixture : public ::testing::Test {
protected:
    DemoCliFixture() {
        std::filesystem::copy(sourceResDir(), res.path(),
                              std::filesystem::copy_options::recursive);
    }

    CommandResult run(const std::string& arguments) {
        return runShellCommand("env -u VARNIX_BACKEND -u VARNIX_SIM -u VARNIX_RES -u VARNIX_DEBUG '" VARNIXCTL_PATH
                               "' --res '" +
                               res.path().string() + "' --backend sim --sim '" +
                               (res / "sim/demo.json").string() + "' " + arguments);
    }

    TempDir res;
};

} // namespace varnix::test
