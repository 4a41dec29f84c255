// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/LedPanelController.h"

#include "app/ViewRowsApply.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinManager.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinSlider.h"

namespace varnix {

LedPanelController::LedPanelController(SkinManager& manager, LedPanelModel& model,
                                       ColourRequest requestColour)
    : manager_(manager), model_(model), requestColour_(std::move(requestColour)) {}

void LedPanelController::show() {
    apply(model_.show());
}

void LedPanelController::apply(const ViewRows& rows) {
    applyViewRows(manager_, rows);
}

bool LedPanelController::isSelected(const SkinNotify& message) const {
    auto* option = dynamic_cast<SkinOption*>(message.sender);
    if (!option)
        option = manager_.find<SkinOption>(message.senderName);
    return option && option->isSelected();
}

bool LedPanelController::handle(const SkinNotify& message) {
    const std::optional<PanelControl> control =
        identifyPanelControl(model_.panel(), message.senderName.toStdString());
    if (!control)
        return false;
    const QString& type = message.type;
    const bool changed = type == QLatin1String(notify::SelectChanged);
    using Kind = PanelControlKind;
    switch (control->kind) {
    case Kind::ModeList:
        if (type == QLatin1String(notify::ItemSelect))
            if (auto* list = manager_.find<SkinCombo>(message.senderName))
                apply(model_.chooseMode(list->itemName(int(message.wParam)).toStdString()));
        break;
    // An option of a group reports both its own selection and the clearing of the others;
    // only the one now selected counts.
    case Kind::ModeOption:
        if (changed && isSelected(message))
            apply(model_.chooseModePosition(control->index));
        break;
    case Kind::ColourType:
        if (changed && isSelected(message))
            apply(model_.chooseColourType(control->index));
        break;
    case Kind::ColourSelect:
        if (changed && isSelected(message))
            apply(model_.chooseColourSlot(control->index));
        break;
    case Kind::Direction:
        if (changed && isSelected(message))
            apply(model_.chooseDirection(control->index));
        break;
    // Check boxes report after their flip: the state is the one the user asked for.
    case Kind::EnableBox:
        if (changed)
            apply(model_.setSlotEnabled(control->index, isSelected(message)));
        break;
    case Kind::Symmetry:
        if (changed)
            apply(model_.setSymmetric(isSelected(message)));
        break;
    case Kind::BrightnessSlider:
    case Kind::SpeedSlider:
        if (type == QLatin1String(notify::ValueChanged) ||
            type == QLatin1String(notify::MoveValueChanged)) {
            if (auto* slider = manager_.find<SkinSlider>(message.senderName))
                apply(control->kind == Kind::BrightnessSlider
                          ? model_.setBrightness(slider->value())
                          : model_.setSpeed(slider->value()));
        }
        break;
    // The picker opens on a click (mouse, Enter or Space), not on the focus itself, so that the
    // Tab key can walk past the colour buttons, and the focus stays on the button afterwards.
    case Kind::ColourButton:
        if (type == QLatin1String(notify::Click)) {
            pendingSlot_ = control->index;
            if (requestColour_)
                requestColour_(control->index,
                               model_.effect().slots[std::size_t(control->index)].colour);
        }
        break;
    }
    return true;
}

void LedPanelController::colourChosen(std::uint32_t colour) {
    if (!pendingSlot_)
        return;
    apply(model_.setColour(*pendingSlot_, colour));
}

} // namespace varnix
