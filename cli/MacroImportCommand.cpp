// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl macro-import: adds the group of a group file or .dat file after the last group.
#include "cli/CommandRegistry.h"
#include "macro/MacroStore.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace varnix::cli {

std::string macroGroupLine(const MacroGroup& group); // MacrosCommand.cpp

namespace {

bool isDatFile(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.ends_with(".dat");
}

int runMacroImport(CliContext& context, const CommandArguments& arguments) {
    std::string file;
    std::int32_t modelCode = 0;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--model") {
            if (i + 1 >= arguments.size())
                throw UsageError("--model needs a model code");
            const std::string& text = arguments[++i];
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), modelCode);
            if (error != std::errc() || end != text.data() + text.size())
                throw UsageError("--model takes a number, not " + text);
        } else if (file.empty()) {
            file = arguments[i];
        } else {
            throw UsageError("macro-import takes one file");
        }
    }
    if (file.empty())
        throw UsageError("macro-import needs a file (a group file or a .dat file)");

    MacroStore store(context.resolvedResourceRoot());
    store.modelCode = modelCode;
    if (const Outcome loaded = store.LoadMacroFile(); !loaded) {
        std::fprintf(stderr, "varnixctl: nothing imported: %s\n", loaded.detail.c_str());
        return ExitFailure;
    }
    const int position = static_cast<int>(store.groups.size());
    // The message a page would show is left out: the detail says why.
    const Outcome imported = store.ImportGroup(
        position, file, isDatFile(file) ? MacroImportFormat::Dat : MacroImportFormat::GroupFile);
    if (!imported) {
        std::fprintf(stderr, "varnixctl: import refused: %s\n", imported.detail.c_str());
        return ExitFailure;
    }
    if (static_cast<std::size_t>(position) < store.groups.size())
        std::printf("%s\n", macroGroupLine(store.groups[position]).c_str());
    return ExitOk;
}

const CommandRegistration registration{
    "macro-import",
    {"FILE [--model CODE]",
     "add the group of a group file (.Macro.Config) or .dat file after the last group; "
     "--model picks the .dat key table",
     runMacroImport}};

} // namespace
} // namespace varnix::cli
