// SPDX-License-Identifier: GPL-3.0-or-later
// The home page's model: the shared lighting shown in the PublicLed panel, its file and factory
// file, and the pure view of the page's device picture and its quiet status line.
#pragma once

#include "common/Outcome.h"
#include "common/ViewRow.h"
#include "lighting/LedPanelModel.h"
#include "lighting/SharedLighting.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace varnix {

namespace homepage {
// Relative to the resource root.
inline constexpr const char* LayoutFile = "Home/LightShow/PublicLed.json";
inline constexpr const char* PictureFolder = "Home/LightShow/";
inline constexpr const char* PictureName = "PublicLed";
inline constexpr const char* PictureControl = "btn_PublicLed_DevShow";
inline constexpr const char* StatusControl = "label_PublicLed_Status";
// Language keys of the page's messages and of its status line.
inline constexpr const char* JsonWarn = "Json Warn";
inline constexpr const char* SaveErr = "SaveErr";
inline constexpr const char* StatusNoDevice = "PublicLed_StatusNoDevice";
inline constexpr const char* StatusIdle = "PublicLed_StatusIdle";
inline constexpr const char* StatusWriting = "PublicLed_StatusWriting";
inline constexpr const char* StatusWritingOne = "PublicLed_StatusWritingOne";
inline constexpr const char* StatusOnce = "PublicLed_StatusOnce";
inline constexpr const char* StatusOnceOne = "PublicLed_StatusOnceOne";
inline constexpr const char* StatusInStep = "PublicLed_StatusInStep";
inline constexpr const char* StatusInStepOne = "PublicLed_StatusInStepOne";
inline constexpr const char* StatusMissed = "PublicLed_StatusMissed";
inline constexpr const char* StatusStopped = "PublicLed_StatusStopped";
} // namespace homepage

// What the shared effect is doing, as the page knows it.
struct SharedRunState {
    bool applied = false;   // the effect was applied since the program started
    bool repeating = false; // timer 1 writes it again at its interval
    bool stopped = false;   // a device page's Apply stopped the repeat
    bool writing = false;   // a write to the devices is on its way
    std::optional<std::int64_t> intervalMs;
    int connected = 0; // devices connected now
    int written = 0;   // devices the last write reached completely
    int missed = 0;    // devices the last write did not reach
    bool operator==(const SharedRunState&) const = default;
};

// One language text with the values of its %1, %2 in order.
struct StatusText {
    std::string key;
    std::vector<std::string> args;
    bool operator==(const StatusText&) const = default;
};

// The status line as texts, shown one after the other with " · " between them.
std::vector<StatusText> statusLine(const SharedRunState& state);
// An interval in whole seconds as the status line shows it (at least 1).
std::int64_t intervalSeconds(std::int64_t intervalMs);

// The device picture: "_NULL" without a device, "_2" while the effect keeps the devices in step,
// "_1" otherwise; a path under the resource root.
std::string devicePicture(int connected, bool inStep);
ViewRows devicePictureRows(int connected, bool inStep);

// Writes PublicLedconfig.json under a resource root ("SaveErr" when it cannot be written); safe on
// any thread.
Outcome saveSharedLighting(const std::filesystem::path& resourceRoot,
                           const SharedLighting& lighting);

class HomePageModel {
public:
    HomePageModel();

    // Reads PublicLedconfig.json under the resource root into the panel; when the file is missing
    // the factory file is shown (nothing is written until Apply). A file that does not read keeps
    // what was shown and says so ("Json Warn").
    Outcome load(const std::filesystem::path& resourceRoot);
    // The factory effect into the panel; nothing is saved or written.
    Outcome cancel();

    LedPanelModel& panel() { return panel_; }
    const LedPanelModel& panel() const { return panel_; }
    ViewRows show() const { return panel_.show(); }

    // The record as the panel shows it, with the LED count and symmetry read from the file.
    SharedLighting lighting() const;
    // How often Apply repeats the write; nothing when it writes once.
    std::optional<std::int64_t> repeatIntervalMs() const { return lighting().repeatIntervalMs(); }
    // Writes PublicLedconfig.json ("SaveErr" when it cannot be written).
    Outcome save() const { return saveSharedLighting(root_, lighting()); }
    const std::filesystem::path& resourceRoot() const { return root_; }

private:
    Outcome read(const std::filesystem::path& file);

    std::filesystem::path root_;
    LedPanelModel panel_;
    SharedLighting base_;
};

} // namespace varnix
