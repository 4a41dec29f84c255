// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedPanelRules.h"

#include "lighting/LedMode.h"

#include <array>
#include <cstdint>

namespace varnix {

namespace {

// Control groups a mode shows.
enum PanelPart : std::uint16_t {
    Colours = 1u << 0,
    Enables = 1u << 1,
    Brightness = 1u << 2,
    Speed = 1u << 3,
    Symmetry = 1u << 4,
    DirectionLabel = 1u << 5,
    Backward = 1u << 6,
    Positive = 1u << 7,
    Twoway = 1u << 8,
    Cover = 1u << 9,
    ColourCaption = 1u << 10,
};

constexpr std::uint16_t TwoDirections = DirectionLabel | Backward | Positive;
constexpr std::uint16_t ThreeDirections = TwoDirections | Twoway;
constexpr std::uint16_t FourDirections = ThreeDirections | Cover;

struct ModeRow {
    std::uint16_t parts;
    // Fixed bar, or none for the modes that derive it from the colour type.
    std::optional<ColourBarKind> bar;
};

// The keyboard panel's mode table, by code; the pad differs in Constant (speed shown).
const std::array<ModeRow, LedModeCount> ModeTable = {{
    {0, ColourBarKind::NullUI},                                             // Mute
    {Colours | Enables | Brightness | Speed, std::nullopt},                 // Breathing
    {Colours | Enables | Brightness, ColourBarKind::SelUI},                 // Constant
    {Brightness, ColourBarKind::NullUI},                                    // Response
    {Brightness | Speed, ColourBarKind::NullUI},                            // Neon
    {Brightness | Speed | Symmetry | TwoDirections, ColourBarKind::NullUI}, // Ambilight
    {Colours | Enables | Brightness | Speed | Symmetry | ThreeDirections,
     std::nullopt}, // CometTail
    {Colours | Enables | Brightness | Speed | Symmetry | ThreeDirections, std::nullopt}, // Single
    {Colours | Enables | Brightness | Speed | Symmetry | FourDirections, std::nullopt},  // Flow
    {Colours | Brightness | Speed, ColourBarKind::NullUI},                               // Flashing
    {Brightness | Speed | Symmetry | TwoDirections, ColourBarKind::NullUI},              // Wave
    {Brightness, ColourBarKind::NullUI}, // Partition
}};

// The shared page's modes by position; the colour selectors show in Constant only.
constexpr std::array<std::uint16_t, PositionModeCount> PositionModeTable = {{
    ColourCaption | Colours | Enables | Brightness | Speed,                   // Breathing
    ColourCaption | Colours | Enables | Brightness,                           // Constant
    ColourCaption | Colours | Enables | Brightness | Speed | FourDirections,  // Flow
    ColourCaption | Colours | Enables | Brightness | Speed | ThreeDirections, // Single
    ColourCaption | Colours | Enables | Brightness | Speed | ThreeDirections, // CometTail
    Brightness | Speed,                                                       // Neon
    Brightness | Speed | TwoDirections,                                       // Ambilight
    0,                                                                        // Mute
}};

void place(ControlVisibility& visibility, bool shown, std::string name) {
    (shown ? visibility.shown : visibility.hidden).push_back(std::move(name));
}

} // namespace

std::optional<LedPanel> LedPanel::fromPrefix(std::string_view prefix) {
    struct Row {
        std::string_view prefix;
        LedPanelTraits traits;
    };
    static constexpr Row Panels[] = {
        {KeyboardLedPrefix, {}},
        {PadLedPrefix,
         {.speedInConstant = true,
          .waveEnablesAllSlots = false,
          .colourTypeRedoesModeLayout = true}},
        {MouseLedPrefix, {}},
        {SharedLedPrefix, {.modesByPosition = true}},
    };
    for (const Row& row : Panels)
        if (row.prefix == prefix)
            return LedPanel(std::string(prefix), row.traits);
    return std::nullopt;
}

std::vector<std::string> LedPanel::colourTypeOptions() const {
    return {control("opt", "SigleColor"), control("opt", "CycleColor")};
}

std::vector<std::string> LedPanel::directionOptions() const {
    return {control("opt", "BackwardVal"), control("opt", "PositiveVal"),
            control("opt", "TwowayVal"), control("opt", "CoverVal")};
}

std::string LedPanel::control(std::string_view kind, std::string_view suffix) const {
    return std::string(kind) + "_" + prefix_ + "_" + std::string(suffix);
}
std::string LedPanel::colourButton(int slot) const {
    return control("btn", "ColVal" + std::to_string(slot));
}
std::string LedPanel::enableBox(int slot) const {
    return control("chk", "ColEn" + std::to_string(slot));
}
std::string LedPanel::colourSelect(int slot) const {
    return control("opt", "ColSel" + std::to_string(slot));
}
std::string LedPanel::directionGroup() const {
    return prefix_ == MouseLedPrefix ? std::string(MouseDirectionGroup) : prefix_ + "Dirtect";
}
std::string LedPanel::colourSelectGroup() const {
    return prefix_ + "ColSel";
}
std::string LedPanel::colourTypeGroup() const {
    return prefix_ + "ColType";
}
std::string LedPanel::modeList() const {
    return control("btn", "LedMode");
}
std::string LedPanel::modeGroup() const {
    return prefix_ + "Mode";
}
std::vector<std::string> LedPanel::modeOptions() const {
    std::vector<std::string> options;
    if (traits_.modesByPosition)
        for (int i = 0; i < PositionModeCount; ++i)
            options.push_back(control("opt", "Mode" + std::to_string(i)));
    return options;
}

std::string_view colourBarName(ColourBarKind kind) {
    switch (kind) {
    case ColourBarKind::SigleUI:
        return "SigleUI";
    case ColourBarKind::CycleUI:
        return "CycleUI";
    case ColourBarKind::SelUI:
        return "SelUI";
    case ColourBarKind::NullUI:
        break;
    }
    return "NullUI";
}

std::optional<ColourBarKind> colourBarFromName(std::string_view name) {
    for (ColourBarKind kind : {ColourBarKind::SigleUI, ColourBarKind::CycleUI, ColourBarKind::SelUI,
                               ColourBarKind::NullUI})
        if (colourBarName(kind) == name)
            return kind;
    return std::nullopt;
}

std::optional<ColourBarKind> colourBarForColourType(int colourType) {
    if (colourType == LedSingleColour)
        return ColourBarKind::SigleUI;
    if (colourType == LedCycleColours)
        return ColourBarKind::CycleUI;
    return std::nullopt;
}

ControlVisibility colourBarLayout(const LedPanel& panel, ColourBarKind kind) {
    const bool pair = kind == ColourBarKind::SigleUI || kind == ColourBarKind::CycleUI;
    const bool selectors = kind == ColourBarKind::SigleUI || kind == ColourBarKind::SelUI;
    ControlVisibility visibility;
    place(visibility, pair, panel.control("opt", "SigleCycleBar"));
    place(visibility, pair, panel.control("opt", "SigleColor"));
    place(visibility, pair, panel.control("opt", "CycleColor"));
    for (int i = 0; i < LedSlotCount; ++i)
        place(visibility, selectors, panel.colourSelect(i));
    return visibility;
}

ModeLayout modeLayout(const LedPanel& panel, int mode, int colourType) {
    ModeLayout layout;
    layout.directionGroup = panel.directionGroup();
    const bool byPosition = panel.traits().modesByPosition;
    if (mode < 0 || mode >= (byPosition ? PositionModeCount : LedModeCount))
        return layout;
    layout.known = true;
    std::uint16_t parts = 0;
    if (byPosition) {
        parts = PositionModeTable[static_cast<std::size_t>(mode)];
        layout.colourBar =
            mode == PositionModeConstant ? ColourBarKind::SelUI : ColourBarKind::NullUI;
    } else {
        const ModeRow& row = ModeTable[static_cast<std::size_t>(mode)];
        parts = row.parts;
        if (panel.traits().speedInConstant && mode == LedModeConstant)
            parts |= Speed;
        layout.checkAllEnables = panel.traits().waveEnablesAllSlots && mode == LedModeWave;
        layout.colourBar = row.bar ? row.bar : colourBarForColourType(colourType);
    }

    ControlVisibility& controls = layout.controls;
    if (byPosition)
        place(controls, (parts & ColourCaption) != 0, panel.control("label", "ColText"));
    for (int i = 0; i < LedSlotCount; ++i)
        place(controls, (parts & Colours) != 0, panel.colourButton(i));
    for (int i = 0; i < LedSlotCount; ++i)
        place(controls, (parts & Enables) != 0, panel.enableBox(i));
    for (const char* name : {"BrightText", "BrightValText"})
        place(controls, (parts & Brightness) != 0, panel.control("label", name));
    place(controls, (parts & Brightness) != 0, panel.control("slider", "BrightVal"));
    for (const char* name : {"SpeedText", "SpeedValText"})
        place(controls, (parts & Speed) != 0, panel.control("label", name));
    place(controls, (parts & Speed) != 0, panel.control("slider", "SpeedVal"));
    place(controls, (parts & Symmetry) != 0, panel.control("label", "SymmeText"));
    place(controls, (parts & Symmetry) != 0, panel.control("Chk", "SymnetryVal"));
    place(controls, (parts & DirectionLabel) != 0, panel.control("label", "DirtectText"));
    place(controls, (parts & Backward) != 0, panel.control("opt", "BackwardVal"));
    place(controls, (parts & Positive) != 0, panel.control("opt", "PositiveVal"));
    place(controls, (parts & Twoway) != 0, panel.control("opt", "TwowayVal"));
    place(controls, (parts & Cover) != 0, panel.control("opt", "CoverVal"));
    return layout;
}

ModeLayout chooseMode(LedEffect& effect, const LedPanel& panel, int mode) {
    effect.mode = mode;
    effect.direction = 0;
    ModeLayout layout = modeLayout(panel, mode, effect.colourType);
    if (layout.checkAllEnables)
        for (ColourSlot& slot : effect.slots)
            slot.enabled = 1;
    return layout;
}

std::optional<ModeLayout> chooseModeByName(LedEffect& effect, const LedPanel& panel,
                                           std::string_view itemName) {
    const std::optional<int> code = ledModeFromName(itemName);
    if (!code)
        return std::nullopt;
    return chooseMode(effect, panel, *code);
}

SlotToggle toggleSlot(LedEffect& effect, int slot, bool boxChecked) {
    SlotToggle result;
    if (slot < 0 || slot >= LedSlotCount)
        return result;
    ColourSlot& target = effect.slots[static_cast<std::size_t>(slot)];
    target.enabled = boxChecked ? 0 : 1;
    if (effect.firstEnabledSlot() < 0) {
        target.enabled = 1;
        result.keptLastSlot = true;
        result.enabled = 1;
        return result;
    }
    result.enabled = target.enabled;
    if (slot == effect.selectedSlot && target.enabled == 0) {
        int next = slot;
        do
            next = (next + 1) % LedSlotCount;
        while (effect.slots[static_cast<std::size_t>(next)].enabled == 0);
        effect.selectedSlot = next;
        result.movedSelection = next;
    }
    return result;
}

bool colourButtonEnabled(const LedPanel& panel, const LedEffect& effect, int slot) {
    if (slot < 0 || slot >= LedSlotCount)
        return false;
    if (panel.traits().modesByPosition && slot == 0 && effect.mode == PositionModeConstant)
        return true;
    return effect.slots[static_cast<std::size_t>(slot)].enabled != 0;
}

int sliderValue(int value) {
    return value == 0 ? 1 : value;
}

} // namespace varnix
