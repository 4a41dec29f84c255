// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting panel on a page: turns the notifications of the panel's controls into operations
// of its model and shows the rows they return. One controller serves every page's panel.
#pragma once

#include "app/skin/SkinNotify.h"
#include "lighting/LedPanelModel.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace varnix {

class SkinManager;

class LedPanelController {
public:
    // Asked to open the colour picker for a slot, with the slot's colour; the answer arrives
    // later through colourChosen() (the picker's result is routed through the main window).
    using ColourRequest = std::function<void(int slot, std::uint32_t current)>;

    LedPanelController(SkinManager& manager, LedPanelModel& model, ColourRequest requestColour);

    // Shows the model's record on every control of the panel.
    void show();
    // Handles a notification of one of the panel's controls; false for anything else.
    bool handle(const SkinNotify& message);
    // The colour picker's answer for the pending slot ("popcolor_ok"); none pending: nothing.
    void colourChosen(std::uint32_t colour);
    std::optional<int> pendingSlot() const { return pendingSlot_; }

    LedPanelModel& model() { return model_; }

private:
    void apply(const ViewRows& rows);
    bool isSelected(const SkinNotify& message) const;

    SkinManager& manager_;
    LedPanelModel& model_;
    ColourRequest requestColour_;
    std::optional<int> pendingSlot_;
};

} // namespace varnix
