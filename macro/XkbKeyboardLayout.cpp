// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/XkbKeyboardLayout.h"

#include "common/Diagnostics.h"
#include "macro/NativeKeyCodes.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace varnix {

namespace {

constexpr const char* kRules = "evdev";
constexpr const char* kModel = "pc105";

// Dead keys produce no character on their own; the name shows the accent they put on.
struct DeadKeyRow {
    xkb_keysym_t keysym;
    char32_t accent;
};
constexpr DeadKeyRow kDeadKeyAccents[] = {
    {XKB_KEY_dead_grave, U'`'},          {XKB_KEY_dead_acute, U'\u00B4'},
    {XKB_KEY_dead_circumflex, U'^'},     {XKB_KEY_dead_tilde, U'~'},
    {XKB_KEY_dead_macron, U'\u00AF'},    {XKB_KEY_dead_breve, U'\u02D8'},
    {XKB_KEY_dead_abovedot, U'\u02D9'},  {XKB_KEY_dead_diaeresis, U'\u00A8'},
    {XKB_KEY_dead_abovering, U'\u02DA'}, {XKB_KEY_dead_doubleacute, U'\u02DD'},
    {XKB_KEY_dead_caron, U'\u02C7'},     {XKB_KEY_dead_cedilla, U'\u00B8'},
    {XKB_KEY_dead_ogonek, U'\u02DB'},
};

bool isControlCharacter(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

std::string toUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// xkbcommon's own messages (a missing symbols file, ...) go to the debug channel.
void forwardXkbLog(xkb_context*, xkb_log_level, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    debugOutput(std::string("xkbcommon: ") + text);
}

xkb_context* newContext(xkb_context_flags flags) {
    xkb_context* context = xkb_context_new(flags);
    if (context)
        xkb_context_set_log_fn(context, forwardXkbLog);
    return context;
}

std::string environmentValue(const char* variable) {
    const char* value = std::getenv(variable);
    return value ? std::string(value) : std::string();
}

} // namespace

XkbKeyboardLayout::XkbKeyboardLayout(xkb_context* context, xkb_keymap* keymap, unsigned layoutIndex,
                                     std::string name)
    : context_(context), keymap_(keymap), state_(xkb_state_new(keymap)), name_(std::move(name)) {
    if (state_)
        xkb_state_update_mask(state_, 0, 0, 0, 0, 0, layoutIndex);
}

XkbKeyboardLayout::~XkbKeyboardLayout() {
    xkb_state_unref(state_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

Expected<std::unique_ptr<XkbKeyboardLayout>>
XkbKeyboardLayout::fromNames(const std::string& layout, const std::string& variant) {
    const std::string label = variant.empty() ? layout : layout + "(" + variant + ")";
    if (layout.empty())
        return Outcome::failure(Status::Invalid, "no keyboard layout named");
    xkb_context* context = newContext(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (!context)
        return Outcome::failure(Status::Failed, "cannot create an xkb context");
    xkb_rule_names names{};
    names.rules = kRules;
    names.model = kModel;
    names.layout = layout.c_str();
    names.variant = variant.c_str();
    names.options = "";
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) {
        xkb_context_unref(context);
        return Outcome::failure(Status::Invalid, "unknown keyboard layout \"" + label + "\"");
    }
    std::unique_ptr<XkbKeyboardLayout> result(new XkbKeyboardLayout(context, keymap, 0, label));
    if (!result->state_)
        return Outcome::failure(Status::Failed, "cannot create an xkb state for \"" + label + "\"");
    return result;
}

Expected<std::unique_ptr<XkbKeyboardLayout>> XkbKeyboardLayout::fromX11Server() {
    auto fail = [](const std::string& text) { return Outcome::failure(Status::Failed, text); };
    if (environmentValue("DISPLAY").empty())
        return fail("no X display");

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return fail("cannot connect to the X display");
    }
    struct Disconnect {
        xcb_connection_t* connection;
        ~Disconnect() { xcb_disconnect(connection); }
    } disconnect{connection};

    if (!xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return fail("the X server has no XKB extension");
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0)
        return fail("the X server reports no core keyboard");

    xkb_context* context = newContext(XKB_CONTEXT_NO_FLAGS);
    if (!context)
        return fail("cannot create an xkb context");
    xkb_keymap* keymap =
        xkb_x11_keymap_new_from_device(context, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!keymap) {
        xkb_context_unref(context);
        return fail("cannot read the X server's keymap");
    }
    xkb_layout_index_t layoutIndex = 0;
    if (xkb_state* serverState = xkb_x11_state_new_from_device(keymap, connection, device)) {
        layoutIndex = xkb_state_serialize_layout(serverState, XKB_STATE_LAYOUT_EFFECTIVE);
        xkb_state_unref(serverState);
    }
    const char* layoutName = xkb_keymap_layout_get_name(keymap, layoutIndex);
    std::unique_ptr<XkbKeyboardLayout> result(new XkbKeyboardLayout(
        context, keymap, layoutIndex, layoutName ? layoutName : "X server layout"));
    if (!result->state_)
        return fail("cannot create an xkb state for the X server's keymap");
    return result;
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::fromEnvironment() {
    const std::string layout = environmentValue(kLayoutVariable);
    if (!layout.empty()) {
        auto named = fromNames(layout, environmentValue(kVariantVariable));
        if (named)
            return std::move(*named);
        debugOutput(formatText("keyboard layout: %s; using \"%s\"\n",
                               named.outcome().detail.c_str(), kFallbackLayout));
    }
    auto fallback = fromNames(kFallbackLayout);
    return fallback ? std::move(*fallback) : nullptr;
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::fromSystem() {
    if (auto server = fromX11Server())
        return std::move(*server);
    return fromEnvironment();
}

std::string XkbKeyboardLayout::upperCharacter(int scanCode) const {
    const int evdevCode = evdevCodeForScanCode(scanCode);
    if (evdevCode < 0 || !state_)
        return {};
    const auto keycode = static_cast<xkb_keycode_t>(evdevCode + kXkbKeyCodeOffset);
    const xkb_keysym_t keysym = xkb_state_key_get_one_sym(state_, keycode);
    if (keysym == XKB_KEY_NoSymbol)
        return {};
    for (const DeadKeyRow& row : kDeadKeyAccents) {
        if (row.keysym == keysym)
            return toUtf8(row.accent);
    }
    char32_t character = xkb_keysym_to_utf32(xkb_keysym_to_upper(keysym));
    if (character == 0)
        character = xkb_keysym_to_utf32(keysym);
    if (character == 0 || isControlCharacter(character))
        return {};
    return toUtf8(character);
}

} // namespace varnix
