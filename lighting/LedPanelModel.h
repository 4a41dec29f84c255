// SPDX-License-Identifier: GPL-3.0-or-later
// A lighting panel's model: the effect record a page edits and the operations the user's clicks
// become, each returning the rows its controls must show afterwards.
#pragma once

#include "common/ViewRow.h"
#include "lighting/LedEffect.h"
#include "lighting/LedPanelRules.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace varnix {

// What a control of a panel is, found from its name.
enum class PanelControlKind {
    ModeList,         // btn_{P}_LedMode
    ColourButton,     // btn_{P}_ColVal{i}
    EnableBox,        // chk_{P}_ColEn{i}
    ColourSelect,     // opt_{P}_ColSel{i}
    ColourType,       // opt_{P}_SigleColor (0), opt_{P}_CycleColor (1)
    Direction,        // opt_{P}_BackwardVal (0) .. opt_{P}_CoverVal (3)
    Symmetry,         // Chk_{P}_SymnetryVal
    BrightnessSlider, // slider_{P}_BrightVal
    SpeedSlider,      // slider_{P}_SpeedVal
    ModeOption,       // opt_{P}_Mode{i} of a panel whose modes go by position
};

struct PanelControl {
    PanelControlKind kind;
    int index = 0; // slot, colour type, direction or mode position
    bool operator==(const PanelControl&) const = default;
};

// The control a name belongs to, or nothing for a name that is not one of the panel's.
std::optional<PanelControl> identifyPanelControl(const LedPanel& panel, std::string_view name);

// --- pure view functions ---

// Everything the panel shows for a record (Showing a record): group selections, slot colours,
// enables and their look, slider values and numbers, symmetry, the mode item, the mode layout
// and the direction.
ViewRows effectRows(const LedPanel& panel, const LedEffect& effect);
// The visibility of a mode's layout with its colour bar (no selection rows).
ViewRows layoutRows(const ModeLayout& layout, const LedPanel& panel);
// One slot's colour button background, enable box and look (colour button and selector greyed
// together when the slot is off).
ViewRows slotRows(const LedPanel& panel, const LedEffect& effect, int slot);
// The options of a group with the one at `index` selected (none for an index outside the group).
ViewRows groupRows(const std::vector<std::string>& options, int index);

class LedPanelModel {
public:
    explicit LedPanelModel(LedPanel panel);

    const LedPanel& panel() const { return panel_; }
    const LedEffect& effect() const { return effect_; }

    // The brightness slider's maximum (the pad's "BrightMax"); values above it are lowered.
    void setBrightnessLimit(std::optional<int> limit) { brightnessLimit_ = limit; }
    std::optional<int> brightnessLimit() const { return brightnessLimit_; }

    // Takes a record and shows it whole.
    ViewRows show(const LedEffect& effect);
    ViewRows show() const;

    // What the user does; each returns the rows to apply.
    // A mode item chosen in the list; an unknown name changes nothing and gives no rows.
    ViewRows chooseMode(std::string_view itemName);
    // A mode option chosen on a panel whose modes go by position: the position is the mode.
    ViewRows chooseModePosition(int position);
    ViewRows chooseColourType(int index);
    ViewRows chooseColourSlot(int slot);
    ViewRows chooseDirection(int position);
    // An enable box that now shows `checked` (after its own flip).
    ViewRows setSlotEnabled(int slot, bool checked);
    ViewRows setSymmetric(bool on);
    // A slider's value: 0 becomes 1, the brightness is capped at its limit.
    ViewRows setBrightness(int value);
    ViewRows setSpeed(int value);
    // A colour chosen for a slot in the colour picker.
    ViewRows setColour(int slot, std::uint32_t colour);

private:
    ViewRows sliderRows(const std::string& slider, const std::string& label, int shown,
                        int stored) const;
    ViewRows modeLayoutRows(const ModeLayout& layout) const;

    LedPanel panel_;
    LedEffect effect_;
    std::optional<int> brightnessLimit_;
};

} // namespace varnix
