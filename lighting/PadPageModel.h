// SPDX-License-Identifier: GPL-3.0-or-later
// The pad page's model: the pad's lighting from its model folder, the lighting panel over it,
// the brightness cap of the model, and the file commands of the page.
#pragma once

#include "common/Outcome.h"
#include "common/ViewRow.h"
#include "device/ParameterImage.h"
#include "lighting/LedPanelModel.h"
#include "lighting/PadImageBuilder.h"
#include "lighting/PadLighting.h"

#include <filesystem>
#include <string>

namespace varnix {

// Language keys of the pad page's messages.
namespace padpage {
inline constexpr const char* JsonWarn = "Json Warn";
inline constexpr const char* ExportErr = "ExportErr";
inline constexpr const char* SaveErr = "SaveErr";
} // namespace padpage

class PadPageModel {
public:
    // The default extension of the exchange file dialogs.
    static constexpr const char* ExchangeSuffix = "Config";

    PadPageModel();

    // Loads the pad of a model folder: its Padconfig.json, or the defaults written when there is
    // none; the brightness capped at the model's BrightMax. A file that does not read keeps the
    // lighting shown before and says so ("Json Warn").
    Outcome load(const std::filesystem::path& modelFolder, std::string padName);
    bool loaded() const { return !folder_.empty(); }
    const std::filesystem::path& folder() const { return folder_; }
    const std::string& padName() const { return padName_; }
    int brightMax() const { return brightMax_; }

    LedPanelModel& panel() { return panel_; }
    const LedPanelModel& panel() const { return panel_; }
    // Every control of the page's panel, the brightness slider's maximum included.
    ViewRows show() const { return panel_.show(); }

    // The lighting as the page shows it now (the response pairs as they were read).
    PadLighting lighting() const;
    // Writes Padconfig.json.
    Outcome save() const;
    // The image the apply writes: the device object filled from the lighting. The device keeps
    // its colour index when the colour type names neither single nor cycle.
    ParameterImage image();

    // An exchange file of this pad replaces Padconfig.json and is loaded; anything else is
    // refused with "Error"/"ImportErr" and changes nothing.
    Outcome importFrom(const std::filesystem::path& source);
    // The saved Padconfig.json (what the last Apply wrote) with the pad's name to a file; the
    // exchange extension is added
    // when the chosen name lacks it. `written` receives the file written.
    Outcome exportTo(const std::filesystem::path& target,
                     std::filesystem::path* written = nullptr) const;
    // The factory file over Padconfig.json, loaded.
    Outcome reset();

private:
    Outcome reload();

    std::filesystem::path folder_;
    std::string padName_;
    int brightMax_ = 7;
    LedPanelModel panel_;
    std::vector<PadResponsePair> response_;
    PadDeviceValues device_;
};

} // namespace varnix
