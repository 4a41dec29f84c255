// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ViewRowsApply.h"

#include "app/skin/SkinControl.h"
#include "app/skin/SkinManager.h"
#include "common/Diagnostics.h"

namespace varnix {

int applyViewRows(SkinManager& manager, const ViewRows& rows) {
    int applied = 0;
    for (const ViewRow& row : rows) {
        SkinControl* control = manager.findControl(QString::fromStdString(row.control));
        if (!control)
            continue;
        ++applied;
        if (!control->setAttribute(QString::fromStdString(row.attribute),
                                   QString::fromStdString(row.value)))
            debugOutput(formatText("%s: attribute %s=\"%s\" not taken\n", row.control.c_str(),
                                   row.attribute.c_str(), row.value.c_str()));
    }
    return applied;
}

} // namespace varnix
