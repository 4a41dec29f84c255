// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard page's model: the keyboard's configuration, the macros its keys may play and the
// key function names, with the operations the user's clicks become and the rows the page's
// controls show.
#pragma once

#include "common/Outcome.h"
#include "common/ViewRow.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyboardConfig.h"
#include "lighting/LedPanelModel.h"
#include "macro/MacroStore.h"
#include "mouse/KeyFunctionCatalogue.h"

#include <filesystem>
#include <string>
#include <vector>

namespace varnix {

class KeyboardLayout;

// Language keys of the keyboard page's messages.
namespace kbpage {
inline constexpr const char* JsonWarn = "Json Warn";
inline constexpr const char* FullKeyWarn = "FullKeyWarn";
inline constexpr const char* MaxMacroWarn = "maxMacroWarn";
inline constexpr const char* ExportErr = "ExportErr";
inline constexpr const char* SaveErr = "SaveErr";
inline constexpr const char* MacroNull = "Macro_Null";
inline constexpr const char* MacroPrefix = "M:";
inline constexpr const char* ProfileRowPrefix = "KBProfile";
// Controls of the page.
inline constexpr const char* KeyPrefix = "btn_KBKey";
inline constexpr const char* KnobPrefix = "btn_scr";
inline constexpr const char* ProfileList = "btn_KB_SelProfile";
inline constexpr const char* FnKeyList = "btn_KB_SelFnKey";
inline constexpr const char* FnFunctionList = "btn_KB_SelFnFunc";
} // namespace kbpage

// What the key popup is opened with for one key.
struct KeyPopupRequest {
    std::string key;         // control name
    bool found = false;      // the key is in the current profile
    std::string caption;     // key-function text of the factory code, or "Unknown Key"
    std::string currentText; // the binding's display text
    int defaultCode = DisabledKeyCode;
    int code = DisabledKeyCode;
    int defaultScanCode = 0xFF; // usageToScanCode of the low bytes of the two codes
    int scanCode = 0xFF;
    std::string grpGuid;
    std::string macGuid;
    KeySetTab tab = KeySetTab::Default;
};

class KeyboardPageModel {
public:
    KeyboardPageModel();

    // Loads the model of a keyboard folder and the macro store under the resource root, and
    // names every key under the active layout. Failed reading steps are told as "Json Warn".
    Outcome load(const std::filesystem::path& modelFolder, std::string modelName,
                 const std::filesystem::path& resourceRoot);
    bool loaded() const { return !folder_.empty(); }
    const std::filesystem::path& folder() const { return folder_; }
    const std::string& modelName() const { return modelName_; }

    KeyboardConfig& config() { return config_; }
    const KeyboardConfig& config() const { return config_; }
    MacroStore& macros() { return macros_; }
    const MacroStore& macros() const { return macros_; }
    const KeyFunctionCatalogue& catalogue() const { return catalogue_; }
    LedPanelModel& panel() { return panel_; }
    int profile() const { return config_.currentProfile; }

    // The text of the lock switches (language text "btn_En").
    void setLockText(std::string text);

    // Names the keys again (under `layout`, or the active layout): the catalogue, every
    // binding's display text and the key legends follow it.
    void rebuildTexts();
    void rebuildTexts(const KeyboardLayout& layout);

    // The binding of a key or an extra setting in the current profile, or null.
    const KeyBinding* binding(const std::string& name) const;
    // The text a binding shows: "M:" and the macro's name (or "Macro_Null"), else the name of
    // its code (an unassigned key: of its factory code).
    std::string bindingText(const KeyBinding& binding) const;
    // The hover text of a key or knob; "Unknown Key" for a name the profile does not hold.
    std::string tooltip(const std::string& name) const;
    // The legend printed on a key's cap under the layout the texts were built for.
    std::string legend(const std::string& key) const;

    KeyPopupRequest popupRequest(const std::string& key) const;
    // The popup's Apply: stores the choice in the key's binding of the current profile, with
    // the macro slot codes and the bind counts of the macros.
    KeyAssignResult assignKey(const std::string& key, const KeyChoice& choice);
    const KeyAssignResult& lastAssignment() const { return lastAssignment_; }

    // --- what the user does on the page; each returns the rows to show ---
    ViewRows selectProfile(int profile, int fnKey = 1);
    // Fn+F`n` (1..12) gets the function an item name carries.
    ViewRows setFnFunction(int n, const std::string& itemName);
    // A knob direction ("btn_scr0", "btn_scr1") gets a scroll-function code.
    ViewRows setKnob(const std::string& knob, int scrollCode);
    // A lock switch was clicked while showing `wasOn`; true when the full-key lock was turned
    // on (the page warns then).
    bool toggleLock(const std::string& lock, bool wasOn);

    // --- pure view ---
    // Every key and extra setting: selected exactly when changed (an unassigned key carries
    // its factory code and is not changed).
    ViewRows markRows() const;
    ViewRows markRow(const std::string& name) const;
    // The profile, the marks, the Fn function of Fn+F`n`, the locks and the knobs.
    ViewRows showRows(int fnKey = 1) const;
    ViewRows fnFunctionRows(int n) const;
    // The legends of every key.
    ViewRows legendRows() const;
    // The scroll menu item of a knob's code ("rollup" ...), empty when none.
    std::string knobMenuItem(const std::string& knob) const;

    // --- files ---
    // The cross-reference of the macros to the keys that play them, handed to the macro store
    // and saved there.
    Outcome handCrossReference();
    // KBconfig.json with the lighting of the panel, then the cross-reference.
    Outcome save();
    // An exchange file of this model replaces KBconfig.json and the model is loaded again;
    // anything else is refused with "Error"/"ImportErr" and changes nothing.
    Outcome importFrom(const std::filesystem::path& source);
    Outcome exportTo(const std::filesystem::path& target, std::filesystem::path* written = nullptr);
    Outcome reset();

    // The configuration and macros an apply writes (the panel's lighting included).
    KeyboardConfig applyCopy() const;

private:
    void rebuildKeyTexts();
    void setOtherTexts();
    std::vector<KeyCodeSubstitution> substitutions() const;
    const MacroRecord* macroOf(const std::string& grpGuid, const std::string& macGuid) const;
    MacroRecord* macroAt(int group, int macro);
    void changeBindCount(const std::string& grpGuid, const std::string& macGuid, int delta);
    bool effectivelyChanged(const KeyBinding& binding) const;

    std::filesystem::path folder_;
    std::filesystem::path resourceRoot_;
    std::string modelName_;
    KeyboardConfig config_;
    MacroStore macros_;
    KeyFunctionCatalogue catalogue_;
    LedPanelModel panel_;
    std::string lockText_;
    KeyAssignResult lastAssignment_;
};

// The scroll menu item of each scroll-function code and back.
std::string scrollMenuItem(int scrollCode);
std::optional<int> scrollCodeOfMenuItem(const std::string& item);

} // namespace varnix
