// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse page's model: the shown mouse's configuration with its function texts, the page's
// copy of the macros, the lighting panel over the mouse's lighting, and the page's rules (one
// enabled DPI level, one enabled colour slot, one key with code 1 per profile) as operations
// that return the rows the controls show afterwards.
#pragma once

#include "common/Outcome.h"
#include "common/ViewRow.h"
#include "lighting/LedPanelModel.h"
#include "macro/MacroGroup.h"
#include "mouse/MouseConfigModel.h"
#include "mouse/MouseFunctionTable.h"
#include "mouse/MouseKeySelection.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace varnix {

class MouseFeatureProfile;

// Language keys of the mouse page's messages and the page's fixed texts.
namespace mousepage {
inline constexpr const char* JsonWarn = "Json Warn";
inline constexpr const char* OnlyOneKey = "OnlyOneKey";
inline constexpr const char* SaveErr = "MouseSaveErr";
inline constexpr const char* MacroNull = "Macro_Null";
inline constexpr const char* ProfileList = "btn_Mouse_SelProfile";
inline constexpr const char* ProfileItemPrefix = "Profile"; // + 1..4
inline constexpr const char* DpiGroup = "MouseDPIOption";
inline constexpr const char* RateGroup = "MouseUsbRate";
inline constexpr const char* DpiEnablePrefix = "chk_MouseAdv_PDIEn";
inline constexpr const char* DpiSelectPrefix = "chk_MouseAdv_SelDPI";
inline constexpr const char* DpiColourPrefix = "btn_MouseAdv_Color";
inline constexpr const char* RatePrefix = "opt_MouseAdv_Rate"; // + 0..3 (125 .. 1000 Hz)
inline constexpr const char* DpiSlider = "btn_MouseAdv_DpiSlider";
inline constexpr const char* DpiSliderValue = "lab_MouseAdv_DpiSliderValue";
inline constexpr const char* FireSlider = "btn_MouseAdv_FireCtrl";
inline constexpr const char* FireValue = "lab_MouseAdv_FireValue";
inline constexpr const char* KeyMarkPrefix = "btn_MouseKey_Mark";
inline constexpr int RateCount = 4;
inline constexpr int FirstDpiValue = 1; // the slider's range: dpiText's known indexes
inline constexpr int LastDpiValue = 23;
} // namespace mousepage

// What the DPI popup shows for a level the mouse switched to.
struct DpiPushInfo {
    int level = 0;       // the level index + 1
    std::string dpiText; // the level's DPI value
    std::string deviceName;
    int sliderValue = 0; // the level's value index
    bool operator==(const DpiPushInfo&) const = default;
};

// The DPI level index and the profile index a device report carries in its wParam.
inline int dpiLevelOfReport(std::uint64_t wParam) {
    return int(wParam & 0xFF);
}
inline int profileOfReport(std::uint64_t wParam) {
    return int(wParam & 3);
}
inline int keyOfReport(std::uint64_t wParam) {
    return int((wParam >> 8) & 0xFF);
}

// The mouse's own mode table: which lighting controls each mode shows (mode 11 like mode 1 with
// every enable box ticked and disabled). Modes outside the table change nothing.
ViewRows mouseLedModeRows(const LedEffect& effect);

class MousePageModel {
public:
    MousePageModel();

    // The function texts of the resource root's mouse language file.
    Outcome loadFunctionTable(const std::filesystem::path& resourceRoot);
    const MouseFunctionTable& functionTable() const { return table_; }

    // The full reload of a mouse: feature profile, MouseConfig.json (the factory file when there
    // is none yet), key texts, macro-bound keys against `macros` (a key whose macro is gone goes
    // back to its factory function). A file that does not read keeps the model shown before.
    Outcome load(const std::filesystem::path& modelFolder, std::string mouseName,
                 std::vector<MacroGroup> macros);
    Outcome reload();
    bool loaded() const { return !folder_.empty(); }
    const std::filesystem::path& folder() const { return folder_; }
    const std::string& mouseName() const { return mouseName_; }

    // The model with the lighting panel's record in it (what save and apply take).
    MouseConfigModel config() const;
    MouseConfigModel& model() { return model_; }
    std::vector<MacroGroup>& macros() { return macros_; }
    const std::vector<MacroGroup>& macros() const { return macros_; }
    LedPanelModel& panel() { return panel_; }
    int currentProfile() const { return int(model_.curporfile & 3); }

    // Writes MouseConfig.json and records which keys of this mouse play which macro.
    Outcome save();
    // Exchange files and the factory file; each reloads the model when it changed the file.
    Outcome importFrom(const std::filesystem::path& source);
    Outcome exportTo(const std::filesystem::path& target) const;
    Outcome reset();

    // --- pure view functions ---
    ViewRows show() const; // every control of the page
    ViewRows keyRows() const;
    ViewRows dpiRows() const;
    ViewRows ledRows() const;
    ViewRows profileRows() const;
    // The number of keys the model has (KeyNum; 13 when the profile names none).
    int keyCount() const;

    // --- what the user does ---
    // A DPI level's enable box now shows `checked`; the last enabled level stays on, and a
    // current level switched off hands the selection to the next enabled level.
    ViewRows setDpiLevelEnabled(int level, bool checked);
    ViewRows selectDpiLevel(int level);
    ViewRows setDpiValue(int valueIndex);
    ViewRows setDpiColour(int level, std::uint32_t colour);
    ViewRows setPollingRate(int option);
    ViewRows setFire(int value);
    ViewRows selectProfile(int profile);
    // The lighting panel's rows with the mouse's own mode layout after them.
    ViewRows withMouseLayout(ViewRows panelRows) const;

    // Whether the key popup may open for a key: the only key of its profile with code 1 keeps
    // it ("Tip"/"OnlyOneKey").
    Outcome canChangeKey(int key) const;
    KeyOpening openKey(int key) const;
    KeyAssignment assignKey(const KeyOpening& opening, const MouseKeyChoice& choice);

    // A level or profile the mouse reported while its page is shown. The DPI report answers what
    // the DPI popup shows when the reporting key switches the DPI level.
    ViewRows showDpiFromDevice(std::uint64_t wParam);
    std::optional<DpiPushInfo> dpiPushFor(std::uint64_t wParam,
                                          const std::string& deviceName) const;
    ViewRows showProfileFromDevice(std::uint64_t wParam);

    // The usage records of this mouse in a set of macro groups: every macro's entry for the
    // mouse is replaced by the keys (over the four profiles) that play it.
    // The settings of a mouse without readable files: its factory keys, six DPI levels.
    static MouseConfigModel defaultModel(const MouseFeatureProfile& feature);

    static void recordMacroUsage(std::vector<MacroGroup>& macros, const MouseConfigModel& model,
                                 const std::string& mouseName, const MouseFunctionTable& table);

private:
    void resolveMacroKeys();
    void takeLighting();

    std::filesystem::path folder_;
    std::string mouseName_;
    MouseConfigModel model_;
    MouseFunctionTable table_;
    std::vector<MacroGroup> macros_;
    LedPanelModel panel_;
};

} // namespace varnix
