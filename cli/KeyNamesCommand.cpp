// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl keyname and keyfunctions: key names and the key function catalogue under a layout.
#include "cli/CommandRegistry.h"
#include "common/Diagnostics.h"
#include "macro/KeyNames.h"
#include "macro/XkbKeyboardLayout.h"
#include "mouse/KeyFunctionCatalogue.h"

#include <charconv>
#include <cstdio>
#include <memory>

namespace varnix::cli {
namespace {

struct LayoutArguments {
    std::string layout;
    std::vector<std::string> rest;
};

LayoutArguments parseLayout(const CommandArguments& arguments, const std::string& command) {
    LayoutArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--layout") {
            if (i + 1 >= arguments.size())
                throw UsageError(command + ": --layout needs a name");
            parsed.layout = arguments[++i];
        } else if (arguments[i].starts_with("--")) {
            throw UsageError(command + ": unknown option " + arguments[i]);
        } else {
            parsed.rest.push_back(arguments[i]);
        }
    }
    if (parsed.layout.empty())
        throw UsageError(command + " needs --layout NAME");
    return parsed;
}

// "de" or "de(nodeadkeys)".
std::unique_ptr<XkbKeyboardLayout> layoutNamed(const std::string& name,
                                               const std::string& command) {
    std::string layout = name;
    std::string variant;
    if (const auto open = name.find('('); open != std::string::npos && name.back() == ')') {
        layout = name.substr(0, open);
        variant = name.substr(open + 1, name.size() - open - 2);
    }
    auto keyboard = XkbKeyboardLayout::fromNames(layout, variant);
    if (!keyboard)
        throw UsageError(command + ": unknown keyboard layout \"" + name + "\"");
    return std::move(*keyboard);
}

// A scan code as hex with "0x" or decimal; extended keys are 0xE000 + byte.
int parseScanCode(const std::string& text, const std::string& command) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    int code = -1;
    const auto [end, error] = std::from_chars(first, last, code, hex ? 16 : 10);
    if (first == last || error != std::errc() || end != last || code < 0 || code > 0xFFFF)
        throw UsageError(command + ": \"" + text + "\" is not a scan code (0..0xFFFF)");
    return code;
}

int runKeyName(CliContext&, const CommandArguments& arguments) {
    const LayoutArguments parsed = parseLayout(arguments, "keyname");
    if (parsed.rest.size() != 1)
        throw UsageError("keyname takes one SCANCODE");
    const int scanCode = parseScanCode(parsed.rest[0], "keyname");
    const auto layout = layoutNamed(parsed.layout, "keyname");
    std::printf("%s\n", KeyNameForScanCode(scanCode, *layout).c_str());
    return ExitOk;
}

int runKeyFunctions(CliContext&, const CommandArguments& arguments) {
    const LayoutArguments parsed = parseLayout(arguments, "keyfunctions");
    if (!parsed.rest.empty())
        throw UsageError("keyfunctions takes no arguments besides --layout");
    const auto layout = layoutNamed(parsed.layout, "keyfunctions");
    KeyFunctionCatalogue catalogue;
    catalogue.rebuildCatalogue(*layout);
    std::string out;
    for (const auto& [code, entry] : catalogue.keyFunctions())
        out += formatText("0x%02X\t%s\t%s\t%s\n", code, entry.symbol.c_str(),
                          entry.itemValue.c_str(), entry.displayText.c_str());
    std::fputs(out.c_str(), stdout);
    return ExitOk;
}

const CommandRegistration keyName{
    "keyname",
    {"--layout NAME SCANCODE", "name of a set-1 scan code (hex with 0x, or decimal) under a layout",
     runKeyName}};
const CommandRegistration keyFunctions{
    "keyfunctions",
    {"--layout NAME", "the key function catalogue: CODE SYMBOL ITEMVALUE DISPLAYTEXT, tab-separated",
     runKeyFunctions}};

} // namespace
} // namespace varnix::cli
