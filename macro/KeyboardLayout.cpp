// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/KeyboardLayout.h"

#include "common/Diagnostics.h"
#include "macro/XkbKeyboardLayout.h"

#include <mutex>

namespace varnix {

namespace {

std::mutex& layoutMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<const KeyboardLayout>& currentLayout() {
    static std::shared_ptr<const KeyboardLayout> layout;
    return layout;
}

// Stands in when not even the fallback layout compiles: every key is then named by the
// fixed-name table.
class NoCharacterLayout final : public KeyboardLayout {
public:
    std::string upperCharacter(int) const override { return {}; }
    std::string name() const override { return "none"; }
};

std::shared_ptr<const KeyboardLayout> systemLayout() {
    if (auto layout = XkbKeyboardLayout::fromSystem())
        return layout;
    debugOutput(
        "keyboard layout: no xkb layout compiles; keys are named by the fixed table only\n");
    return std::make_shared<NoCharacterLayout>();
}

} // namespace

std::shared_ptr<const KeyboardLayout> activeKeyboardLayout() {
    std::lock_guard lock(layoutMutex());
    auto& layout = currentLayout();
    if (!layout)
        layout = systemLayout();
    return layout;
}

void setActiveKeyboardLayout(std::shared_ptr<const KeyboardLayout> layout) {
    std::lock_guard lock(layoutMutex());
    currentLayout() = std::move(layout);
}

void reloadActiveKeyboardLayout() {
    auto layout = systemLayout();
    std::lock_guard lock(layoutMutex());
    currentLayout() = std::move(layout);
}

} // namespace varnix
