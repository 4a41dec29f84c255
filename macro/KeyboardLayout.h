// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard layout seam: which character a key gives under a layout, for key names.
#pragma once

#include <memory>
#include <string>

namespace varnix {

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;

    // The character the key at `scanCode` (set 1, extended keys as 0xE000 + byte) produces
    // with no modifier held, upper-cased, as UTF-8. A dead key gives its spacing accent.
    // Empty when the key produces no printable character (control characters included).
    virtual std::string upperCharacter(int scanCode) const = 0;

    // A human-readable name of the layout ("us", "German", ...), for messages.
    virtual std::string name() const = 0;
};

// The layout key names follow. Until one is set or reloaded, the first call reads the
// system's active layout (see XkbKeyboardLayout::fromSystem).
std::shared_ptr<const KeyboardLayout> activeKeyboardLayout();

// Replaces the layout key names follow (tests, or the UI after a layout change); an empty
// pointer makes the next call read the system's active layout again.
void setActiveKeyboardLayout(std::shared_ptr<const KeyboardLayout> layout);

// Reads the system's active layout again, e.g. after the user switched layouts.
void reloadActiveKeyboardLayout();

} // namespace varnix
