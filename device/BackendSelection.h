// SPDX-License-Identifier: GPL-3.0-or-later
// Chooses the HID backend (real or simulated) from options and the environment.
#pragma once

#include "common/Clock.h"
#include "device/HidBackend.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace varnix {

struct BackendChoice {
    std::string kind = "hidapi"; // "hidapi" or "sim"
    std::string scenarioFile;    // for "sim"; empty: <resource root>/sim/demo.json
};

// VARNIX_BACKEND and VARNIX_SIM, over the defaults.
BackendChoice backendChoiceFromEnvironment();

// Builds the backend; throws std::runtime_error (ScenarioError for a bad scenario) with a message
// fit for the user.
std::unique_ptr<HidBackend> makeBackend(const BackendChoice& choice,
                                        const std::filesystem::path& resourceRoot,
                                        Clock& clock = systemClock());

} // namespace varnix
