// SPDX-License-Identifier: GPL-3.0-or-later
// Applies a page model's view rows to the named controls of a window.
#pragma once

#include "common/ViewRow.h"

namespace varnix {

class SkinManager;

// Sets each row's attribute on its control, in order, without notifications (a row for a control
// the window lacks is skipped). Returns how many rows found their control.
int applyViewRows(SkinManager& manager, const ViewRows& rows);

} // namespace varnix
