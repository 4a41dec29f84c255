// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/BackendSelection.h"

#include "common/ResourceRoot.h"
#include "device/HidapiBackend.h"
#include "device/SimulatedBackend.h"

#include <cstdlib>
#include <stdexcept>

namespace varnix {

BackendChoice backendChoiceFromEnvironment() {
    BackendChoice choice;
    if (const char* kind = std::getenv("VARNIX_BACKEND"); kind && *kind)
        choice.kind = kind;
    if (const char* scenario = std::getenv("VARNIX_SIM"); scenario && *scenario)
        choice.scenarioFile = scenario;
    return choice;
}

std::unique_ptr<HidBackend> makeBackend(const BackendChoice& choice,
                                        const std::filesystem::path& resourceRoot, Clock& clock) {
    if (choice.kind == "hidapi")
        return std::make_unique<HidapiBackend>();
    if (choice.kind == "sim") {
        std::filesystem::path scenario = choice.scenarioFile;
        if (scenario.empty()) {
            // The source tree keeps the demo under res/sim; an installation among its examples.
            std::error_code ec;
            scenario = resourceRoot / "sim" / "demo.json";
            if (!std::filesystem::exists(scenario, ec))
                scenario = installedResourceTree().parent_path() / "examples" / "demo.json";
        }
        return std::make_unique<SimulatedBackend>(loadScenarioFile(scenario), clock);
    }
    throw std::runtime_error("unknown backend \"" + choice.kind + "\" (use hidapi or sim)");
}

} // namespace varnix
