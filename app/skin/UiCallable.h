// SPDX-License-Identifier: GPL-3.0-or-later
// Work a popup hands to the main window to run on the UI thread (message 2030).
#pragma once

namespace varnix {

class UiCallable {
public:
    virtual ~UiCallable() = default;
    virtual void runOnUiThread() = 0;
};

} // namespace varnix
