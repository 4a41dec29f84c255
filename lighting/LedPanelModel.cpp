// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedPanelModel.h"

#include "lighting/LedMode.h"

#include <algorithm>

namespace varnix {
namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < LedSlotCount;
}

std::vector<std::string> colourSelectOptions(const LedPanel& panel) {
    std::vector<std::string> options;
    for (int i = 0; i < LedSlotCount; ++i)
        options.push_back(panel.colourSelect(i));
    return options;
}

void visibility(ViewRows& rows, const ControlVisibility& controls) {
    for (const std::string& name : controls.shown)
        rows.push_back({name, viewattr::Visible, viewBool(true)});
    for (const std::string& name : controls.hidden)
        rows.push_back({name, viewattr::Visible, viewBool(false)});
}

} // namespace

std::optional<PanelControl> identifyPanelControl(const LedPanel& panel, std::string_view name) {
    if (name == panel.modeList())
        return PanelControl{PanelControlKind::ModeList};
    const std::vector<std::string> modes = panel.modeOptions();
    for (std::size_t i = 0; i < modes.size(); ++i)
        if (name == modes[i])
            return PanelControl{PanelControlKind::ModeOption, static_cast<int>(i)};
    for (int i = 0; i < LedSlotCount; ++i) {
        if (name == panel.colourButton(i))
            return PanelControl{PanelControlKind::ColourButton, i};
        if (name == panel.enableBox(i))
            return PanelControl{PanelControlKind::EnableBox, i};
        if (name == panel.colourSelect(i))
            return PanelControl{PanelControlKind::ColourSelect, i};
    }
    const std::vector<std::string> types = panel.colourTypeOptions();
    for (std::size_t i = 0; i < types.size(); ++i)
        if (name == types[i])
            return PanelControl{PanelControlKind::ColourType, static_cast<int>(i)};
    const std::vector<std::string> directions = panel.directionOptions();
    for (std::size_t i = 0; i < directions.size(); ++i)
        if (name == directions[i])
            return PanelControl{PanelControlKind::Direction, static_cast<int>(i)};
    if (name == panel.control("Chk", "SymnetryVal"))
        return PanelControl{PanelControlKind::Symmetry};
    if (name == panel.control("slider", "BrightVal"))
        return PanelControl{PanelControlKind::BrightnessSlider};
    if (name == panel.control("slider", "SpeedVal"))
        return PanelControl{PanelControlKind::SpeedSlider};
    return std::nullopt;
}

ViewRows groupRows(const std::vector<std::string>& options, int index) {
    ViewRows rows;
    // Clearing first, then selecting, leaves exactly one option of the group selected.
    for (std::size_t i = 0; i < options.size(); ++i)
        if (static_cast<int>(i) != index)
            rows.push_back({options[i], viewattr::Selected, viewBool(false)});
    if (index >= 0 && index < static_cast<int>(options.size()))
        rows.push_back(
            {options[static_cast<std::size_t>(index)], viewattr::Selected, viewBool(true)});
    return rows;
}

ViewRows layoutRows(const ModeLayout& layout, const LedPanel& panel) {
    ViewRows rows;
    visibility(rows, layout.controls);
    if (layout.colourBar)
        visibility(rows, colourBarLayout(panel, *layout.colourBar));
    return rows;
}

ViewRows slotRows(const LedPanel& panel, const LedEffect& effect, int slot) {
    if (!validSlot(slot))
        return {};
    const ColourSlot& colour = effect.slots[static_cast<std::size_t>(slot)];
    const std::string on = viewBool(colour.enabled != 0);
    return {
        {panel.colourButton(slot), viewattr::BkColor, viewColour(colour.colour)},
        {panel.enableBox(slot), viewattr::Selected, on},
        {panel.colourButton(slot), viewattr::Enabled,
         viewBool(colourButtonEnabled(panel, effect, slot))},
        {panel.colourSelect(slot), viewattr::Enabled, on},
    };
}

ViewRows effectRows(const LedPanel& panel, const LedEffect& effect) {
    const bool byPosition = panel.traits().modesByPosition;
    // A panel whose modes go by position has no colour type and no symmetry controls.
    ViewRows rows =
        byPosition ? ViewRows{} : groupRows(panel.colourTypeOptions(), effect.colourType);
    appendRows(rows, groupRows(colourSelectOptions(panel), effect.selectedSlot));
    for (int i = 0; i < LedSlotCount; ++i)
        appendRows(rows, slotRows(panel, effect, i));
    rows.push_back(
        {panel.control("slider", "BrightVal"), viewattr::Value, std::to_string(effect.brightness)});
    rows.push_back({panel.control("label", "BrightValText"), viewattr::Text,
                    std::to_string(effect.brightness)});
    rows.push_back(
        {panel.control("slider", "SpeedVal"), viewattr::Value, std::to_string(effect.speed)});
    rows.push_back(
        {panel.control("label", "SpeedValText"), viewattr::Text, std::to_string(effect.speed)});
    if (byPosition) {
        appendRows(rows, groupRows(panel.modeOptions(), effect.mode));
    } else {
        rows.push_back(
            {panel.control("Chk", "SymnetryVal"), viewattr::Selected, viewBool(effect.symmetric)});
        if (const std::optional<std::string_view> item = ledModeName(effect.mode))
            rows.push_back({panel.modeList(), viewattr::SelectedItem, std::string(*item)});
    }
    // The layout of the record's mode; the record keeps its own direction.
    appendRows(rows, layoutRows(modeLayout(panel, effect.mode, effect.colourType), panel));
    appendRows(rows, groupRows(panel.directionOptions(), effect.direction));
    return rows;
}

LedPanelModel::LedPanelModel(LedPanel panel) : panel_(std::move(panel)) {}

ViewRows LedPanelModel::show(const LedEffect& effect) {
    effect_ = effect;
    if (brightnessLimit_)
        effect_.brightness = std::min(effect_.brightness, *brightnessLimit_);
    return show();
}

ViewRows LedPanelModel::show() const {
    ViewRows rows;
    if (brightnessLimit_)
        rows.push_back({panel_.control("slider", "BrightVal"), viewattr::Max,
                        std::to_string(*brightnessLimit_)});
    appendRows(rows, effectRows(panel_, effect_));
    return rows;
}

ViewRows LedPanelModel::modeLayoutRows(const ModeLayout& layout) const {
    ViewRows rows = layoutRows(layout, panel_);
    // Every mode change starts with the first direction.
    appendRows(rows, groupRows(panel_.directionOptions(), 0));
    if (layout.checkAllEnables)
        for (int i = 0; i < LedSlotCount; ++i)
            appendRows(rows, slotRows(panel_, effect_, i));
    return rows;
}

ViewRows LedPanelModel::chooseMode(std::string_view itemName) {
    const std::optional<ModeLayout> layout = chooseModeByName(effect_, panel_, itemName);
    if (!layout)
        return {};
    return modeLayoutRows(*layout);
}

ViewRows LedPanelModel::chooseModePosition(int position) {
    if (!panel_.traits().modesByPosition)
        return {};
    effect_.mode = position;
    effect_.direction = 0;
    ViewRows rows = modeLayoutRows(modeLayout(panel_, position, effect_.colourType));
    // Slot 0's colour button follows its enable box, except in Constant.
    if (position >= 0 && position < PositionModeCount)
        rows.push_back({panel_.colourButton(0), viewattr::Enabled,
                        viewBool(colourButtonEnabled(panel_, effect_, 0))});
    return rows;
}

ViewRows LedPanelModel::chooseColourType(int index) {
    effect_.colourType = index;
    ViewRows rows;
    if (const std::optional<ColourBarKind> bar = colourBarForColourType(index))
        visibility(rows, colourBarLayout(panel_, *bar));
    if (panel_.traits().colourTypeRedoesModeLayout) {
        effect_.direction = 0;
        appendRows(rows, modeLayoutRows(modeLayout(panel_, effect_.mode, effect_.colourType)));
    }
    return rows;
}

ViewRows LedPanelModel::chooseColourSlot(int slot) {
    if (!validSlot(slot) || effect_.slots[static_cast<std::size_t>(slot)].enabled == 0)
        return groupRows(colourSelectOptions(panel_), effect_.selectedSlot);
    effect_.selectedSlot = slot;
    return {};
}

ViewRows LedPanelModel::chooseDirection(int position) {
    effect_.direction = position;
    return {};
}

ViewRows LedPanelModel::setSlotEnabled(int slot, bool checked) {
    if (!validSlot(slot))
        return {};
    // The rules take the box's state before its flip.
    const SlotToggle toggle = toggleSlot(effect_, slot, !checked);
    ViewRows rows = slotRows(panel_, effect_, slot);
    if (toggle.movedSelection)
        appendRows(rows, groupRows(colourSelectOptions(panel_), *toggle.movedSelection));
    return rows;
}

ViewRows LedPanelModel::setSymmetric(bool on) {
    effect_.symmetric = on;
    return {};
}

ViewRows LedPanelModel::sliderRows(const std::string& slider, const std::string& label, int shown,
                                   int stored) const {
    ViewRows rows;
    if (shown != stored)
        rows.push_back({slider, viewattr::Value, std::to_string(stored)});
    rows.push_back({label, viewattr::Text, std::to_string(stored)});
    return rows;
}

ViewRows LedPanelModel::setBrightness(int value) {
    int stored = sliderValue(value);
    if (brightnessLimit_)
        stored = std::min(stored, *brightnessLimit_);
    effect_.brightness = stored;
    return sliderRows(panel_.control("slider", "BrightVal"),
                      panel_.control("label", "BrightValText"), value, stored);
}

ViewRows LedPanelModel::setSpeed(int value) {
    const int stored = sliderValue(value);
    effect_.speed = stored;
    return sliderRows(panel_.control("slider", "SpeedVal"), panel_.control("label", "SpeedValText"),
                      value, stored);
}

ViewRows LedPanelModel::setColour(int slot, std::uint32_t colour) {
    if (!validSlot(slot))
        return {};
    effect_.slots[static_cast<std::size_t>(slot)].colour = colour;
    return {{panel_.colourButton(slot), viewattr::BkColor, viewColour(colour)}};
}

} // namespace varnix
