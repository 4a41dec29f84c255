// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplyPositionSheet.h"

#include "app/PositionSheet.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinImage.h"
#include "app/skin/SkinManager.h"
#include "common/Diagnostics.h"

namespace varnix {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// The control an assignment names: the control itself, or a control inside it.
SkinControl* target(SkinManager& manager, const AttributeAssignment& assignment) {
    SkinControl* control = manager.findControl(qt(assignment.control));
    if (!control || assignment.child.empty())
        return control;
    auto* container = dynamic_cast<SkinContainer*>(control);
    return container ? container->findSubControl(qt(assignment.child)) : nullptr;
}

} // namespace

bool ApplyPositionSheet(const PositionSheet& sheet, SkinManager& manager) {
    const AttributeAssignment background = sheet.containerAssignment();
    SkinControl* container = manager.findControl(qt(background.control));
    if (!container) {
        debugOutput(std::string(positionfile::ContainerNotFoundText));
        return false;
    }
    container->setAttribute(qt(background.attribute), qt(background.value));
    const SkinPaths skins = sheet.skinPaths();
    for (const auto& record : sheet.controls) {
        if (!manager.findControl(qt(record->name())))
            continue; // a control the skin does not have is skipped
        for (const AttributeAssignment& assignment : record->attributePairs(skins))
            if (SkinControl* control = target(manager, assignment))
                control->setAttribute(qt(assignment.attribute), qt(assignment.value));
    }
    return true;
}

bool LoadAndApplyPositionSheet(const QString& file, SkinManager& manager, QStringList& positioned,
                               bool* opened) {
    PositionSheet sheet;
    const Outcome loaded = LoadPositionSheet(SkinImage::resolvePath(file).toStdString(), sheet);
    const bool fileOpened = loaded.status != Status::Missing;
    if (opened)
        *opened = fileOpened;
    const bool applied = ApplyPositionSheet(sheet, manager);
    for (const std::string& name : PositionedControlNames(sheet))
        positioned << qt(name);
    return applied && fileOpened;
}

} // namespace varnix
