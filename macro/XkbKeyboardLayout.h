// SPDX-License-Identifier: GPL-3.0-or-later
// The real keyboard layout over libxkbcommon: a named layout or the running X server's one.
#pragma once

#include "common/Outcome.h"
#include "macro/KeyboardLayout.h"

#include <memory>
#include <string>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace varnix {

class XkbKeyboardLayout final : public KeyboardLayout {
public:
    // Environment variables that name the layout when no X server answers.
    static constexpr const char* kLayoutVariable = "XKB_DEFAULT_LAYOUT";
    static constexpr const char* kVariantVariable = "XKB_DEFAULT_VARIANT";
    static constexpr const char* kFallbackLayout = "us";

    ~XkbKeyboardLayout() override;
    XkbKeyboardLayout(const XkbKeyboardLayout&) = delete;
    XkbKeyboardLayout& operator=(const XkbKeyboardLayout&) = delete;

    // A layout by its xkb name ("us", "de", "fr") and optional variant ("nodeadkeys"), with the
    // evdev rules and the pc105 model; the XKB_DEFAULT_* variables do not affect it.
    // Invalid for an empty or unknown name, Failed when xkb cannot set it up; never null.
    static Expected<std::unique_ptr<XkbKeyboardLayout>> fromNames(const std::string& layout,
                                                                  const std::string& variant = {});

    // The layout that is active on the X server named by $DISPLAY (its current group).
    // Failed, with the reason as detail, when there is no display or it cannot be asked.
    static Expected<std::unique_ptr<XkbKeyboardLayout>> fromX11Server();

    // XKB_DEFAULT_LAYOUT / XKB_DEFAULT_VARIANT, or "us" when they are unset or do not compile.
    static std::unique_ptr<XkbKeyboardLayout> fromEnvironment();

    // The X server's active layout when there is one, otherwise fromEnvironment().
    // Null only when not even "us" can be compiled (no xkb data files installed).
    static std::unique_ptr<XkbKeyboardLayout> fromSystem();

    std::string upperCharacter(int scanCode) const override;
    std::string name() const override { return name_; }

private:
    XkbKeyboardLayout(xkb_context* context, xkb_keymap* keymap, unsigned layoutIndex,
                      std::string name);

    xkb_context* context_;
    xkb_keymap* keymap_;
    xkb_state* state_; // no modifiers, the chosen layout group locked
    std::string name_;
};

} // namespace varnix
