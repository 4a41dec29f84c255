// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of a lighting panel as pure functions: which controls a mode shows, the colour bar,
// slot toggling and the sliders. A page applies the answers to its controls.
#pragma once

#include "lighting/LedEffect.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

// Panel prefixes of the control names.
inline constexpr std::string_view KeyboardLedPrefix = "KBLed";
inline constexpr std::string_view PadLedPrefix = "PadLed";
inline constexpr std::string_view MouseLedPrefix = "MouseLed";
inline constexpr std::string_view SharedLedPrefix = "PublicLed";
// The mouse's direction group does not follow the "{P}Dirtect" pattern.
inline constexpr std::string_view MouseDirectionGroup = "MouseDirect";

// Where the panels of the pages differ, as data.
struct LedPanelTraits {
    // The pad's column of the mode table: Constant shows the speed controls too.
    bool speedInConstant = false;
    // Wave checks all seven enable boxes and enables every slot (the pad leaves them alone).
    bool waveEnablesAllSlots = true;
    // Choosing a colour type lays the mode out again, which resets the direction (the pad).
    bool colourTypeRedoesModeLayout = false;
    // The shared page: the modes are the options of "{P}Mode" chosen by position, with their own
    // table (sharedModeParts); no colour type, no symmetry controls, a colour caption, and in
    // Constant slot 0's colour button stays enabled.
    bool modesByPosition = false;
    bool operator==(const LedPanelTraits&) const = default;
};

// One lighting panel: its prefix, the control and group names derived from it, and its traits.
class LedPanel {
public:
    // Nothing for a prefix other than the four above.
    static std::optional<LedPanel> fromPrefix(std::string_view prefix);

    const std::string& prefix() const { return prefix_; }
    const LedPanelTraits& traits() const { return traits_; }

    std::string colourButton(int slot) const;                                  // btn_{P}_ColVal{i}
    std::string enableBox(int slot) const;                                     // chk_{P}_ColEn{i}
    std::string colourSelect(int slot) const;                                  // opt_{P}_ColSel{i}
    std::string control(std::string_view kind, std::string_view suffix) const; // kind_{P}_suffix
    std::string directionGroup() const;                                        // {P}Dirtect
    std::string colourSelectGroup() const;                                     // {P}ColSel
    std::string colourTypeGroup() const;                                       // {P}ColType
    std::string modeList() const;                                              // btn_{P}_LedMode
    std::string modeGroup() const;                                             // {P}Mode
    // The mode options of a panel whose modes go by position (opt_{P}_Mode0 ..), else none.
    std::vector<std::string> modeOptions() const;
    // The options of the groups in their skin order: colour type (single, cycle), direction
    // (Backward, Positive, Twoway, Cover); a record stores the position in that order.
    std::vector<std::string> colourTypeOptions() const;
    std::vector<std::string> directionOptions() const;

    bool operator==(const LedPanel&) const = default;

private:
    LedPanel(std::string prefix, LedPanelTraits traits)
        : prefix_(std::move(prefix)), traits_(traits) {}
    std::string prefix_;
    LedPanelTraits traits_;
};

enum class ColourBarKind { SigleUI, CycleUI, SelUI, NullUI };
std::string_view colourBarName(ColourBarKind kind);
// Nothing for a name other than the four layout names (which changes nothing).
std::optional<ColourBarKind> colourBarFromName(std::string_view name);
// The bar a colour type gives: 0 "SigleUI", 1 "CycleUI", anything else none.
std::optional<ColourBarKind> colourBarForColourType(int colourType);

struct ControlVisibility {
    std::vector<std::string> shown;
    std::vector<std::string> hidden;
};

// The single/cycle pair and the colour selectors for a colour bar.
ControlVisibility colourBarLayout(const LedPanel& panel, ColourBarKind kind);

struct ModeLayout {
    // Always: option 0 of this group is selected (with notification, so direction becomes 0).
    std::string directionGroup;
    // False for a code outside the mode table: nothing but the direction reset happens.
    bool known = false;
    ControlVisibility controls;
    // The keyboard's Wave checks all seven enable boxes (and enables all slots).
    bool checkAllEnables = false;
    // The colour bar to show; none when the mode derives it from an unknown colour type.
    std::optional<ColourBarKind> colourBar;
};

// For a panel whose modes go by position, `mode` is the position.
ModeLayout modeLayout(const LedPanel& panel, int mode, int colourType);

// The shared page's mode positions, in option order: Breathing, Constant, Flow, Single,
// CometTail, Neon, Ambilight, Mute.
inline constexpr int PositionModeCount = 8;
inline constexpr int PositionModeConstant = 1;

// Whether a slot's colour button can be clicked: the slot is enabled, or, on the shared page in
// Constant, it is slot 0 (the Constant layout keeps it reachable).
bool colourButtonEnabled(const LedPanel& panel, const LedEffect& effect, int slot);

// A mode chosen in the list: stores the code, resets the direction to the first option and, on
// the keyboard's Wave, enables every slot. Returns the layout to apply.
ModeLayout chooseMode(LedEffect& effect, const LedPanel& panel, int mode);
// The same by item name; an unknown name leaves the record unchanged and gives nothing.
std::optional<ModeLayout> chooseModeByName(LedEffect& effect, const LedPanel& panel,
                                           std::string_view itemName);

struct SlotToggle {
    // The last enabled slot was clicked: it stays enabled, and the page unchecks the box so
    // that the box's own pending flip leaves it checked.
    bool keptLastSlot = false;
    int enabled = 0;                   // the slot's state afterwards
    std::optional<int> movedSelection; // the new single-colour slot, when it had to move
};

// A click on enable box `slot`; boxChecked is the box's state before its own flip.
SlotToggle toggleSlot(LedEffect& effect, int slot, bool boxChecked);

// A slider at 0 is set to 1; the value is what the record stores and the label shows.
int sliderValue(int value);

} // namespace varnix
