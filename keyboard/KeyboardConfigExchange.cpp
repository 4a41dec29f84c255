// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import of the keyboard exchange file (*.KB.Config).
#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "common/Utf16.h"
#include "keyboard/KeyboardConfig.h"
#include "keyboard/KeyboardFiles.h"

#include <cmath>

namespace varnix {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

// One UTF-16 code unit of "KBName": any number (booleans too, as the library converts them);
// anything else throws "type must be number, but is ...".
char16_t codeUnitOf(const json& element) {
    if (element.is_number_float()) {
        const double value = element.get<double>();
        if (!std::isfinite(value))
            return 0;
        return static_cast<char16_t>(static_cast<std::int64_t>(std::fmod(value, 65536.0)));
    }
    if (element.is_number_unsigned())
        return static_cast<char16_t>(element.get<std::uint64_t>() & 0xFFFFu);
    return static_cast<char16_t>(static_cast<std::uint64_t>(element.get<std::int64_t>()) & 0xFFFFu);
}

char16_t foldCase(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

bool sameNameIgnoringCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    return true;
}

} // namespace

Outcome KeyboardConfig::ExportKeyboardConfig(const fs::path& folder, const std::string& modelName,
                                             const fs::path& target) {
    const fs::path source = folder / kbfiles::UserJson;
    const std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes)
        return Outcome::failure(Status::Missing, "cannot read " + source.string());
    json document;
    try {
        document = parseJson(*bytes);
    } catch (const std::exception& error) {
        return Outcome::failure(Status::Invalid, source.string() + ": " + error.what());
    }
    if (!document.is_object())
        return Outcome::failure(Status::Invalid,
                                source.string() + " holds no keyboard configuration");
    json name = json::array();
    for (char16_t unit : utf8ToUtf16(modelName))
        name.push_back(static_cast<std::uint16_t>(unit));
    document[kbfiles::ModelName] = std::move(name);
    if (const Outcome written = writeFileAtomically(
            target, document.dump(kbfiles::JsonIndent, ' ', false, json::error_handler_t::replace));
        !written)
        return Outcome::failure(written.status,
                                "cannot write " + target.string() + ": " + written.detail);
    return Outcome::done();
}

Outcome KeyboardConfig::ImportKeyboardConfig(const fs::path& folder, const std::string& modelName,
                                             const fs::path& source) {
    auto refuse = [](Status status, const std::string& why) {
        debugOutput("keyboard import refused: " + why + "\n");
        return Outcome::failure(status, messagekey::Error, messagekey::ImportErr, why);
    };
    const std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes)
        return refuse(Status::Missing, "cannot read " + source.string());
    try {
        const json document = parseJson(*bytes);
        if (!document.is_object() || !document.contains(kbfiles::ModelName))
            return refuse(Status::NoName,
                          source.string() + " has no \"" + kbfiles::ModelName + "\"");
        std::u16string name;
        for (const json& element : document.at(kbfiles::ModelName))
            name.push_back(codeUnitOf(element));
        if (!sameNameIgnoringCase(name, utf8ToUtf16(modelName)))
            return refuse(Status::OtherModel, source.string() + " belongs to " + utf16ToUtf8(name));
        // The file replaces the user's configuration only when every part of it reads as one.
        if (!document.contains(kbfiles::Root) || !document.at(kbfiles::Root).is_object())
            return refuse(Status::Invalid,
                          source.string() + " has no \"" + kbfiles::Root + "\" object");
        KeyboardConfig probe = *this;
        const json& root = document.at(kbfiles::Root);
        probe.readKeys(root);
        probe.readOtherKeys(root);
        probe.readMainAndLighting(root);
    } catch (const std::exception& error) {
        return refuse(Status::Invalid, source.string() + ": " + error.what());
    }
    if (const Outcome written = writeFileAtomically(folder / kbfiles::UserJson, *bytes); !written)
        return refuse(written.status, "cannot write " + (folder / kbfiles::UserJson).string() +
                                          ": " + written.detail);
    return Outcome::done();
}

} // namespace varnix
