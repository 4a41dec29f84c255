// SPDX-License-Identifier: GPL-3.0-or-later
// Applies a layout position sheet to the controls of a window.
#pragma once

#include <QStringList>

namespace varnix {

class PositionSheet;
class SkinManager;

// Sets the container's background, then every record's attributes on its control (a record
// whose control is missing changes nothing). False, with the debug line, when the container is
// not in the window.
bool ApplyPositionSheet(const PositionSheet& sheet, SkinManager& manager);

// Loads a file, applies it and appends its control names to `positioned`. Returns false when
// the file cannot be opened (the caller reports it) or its container is missing.
bool LoadAndApplyPositionSheet(const QString& file, SkinManager& manager, QStringList& positioned,
                               bool* opened = nullptr);

} // namespace varnix
