// SPDX-License-Identifier: GPL-3.0-or-later
// Loading, saving, group and macro operations of the macro store.
#include "macro/MacroStore.h"

#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "macro/MacroFileFormat.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <stdexcept>
#include <system_error>
#include <uuid/uuid.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace varnix {

MacroStore::MacroStore(fs::path resourceRoot) : resourceRoot_(std::move(resourceRoot)) {
    folder = resourceRoot_ / MacroFolder;
    filePath = folder / MacroFileName;
}

bool MacroStore::validGroup(int g) const {
    return g >= 0 && static_cast<std::size_t>(g) < groups.size();
}

bool MacroStore::validMacro(int g, int m) const {
    return validGroup(g) && m >= 0 && static_cast<std::size_t>(m) < groups[g].macros.size();
}

json& MacroStore::documentGroups() {
    if (!document.is_object())
        document = json::object();
    json& list = document[macrofile::KeyGroups];
    if (!list.is_array())
        list = json::array();
    return list;
}

Outcome MacroStore::fail(Status status, const std::string& reason) {
    debugOutput("macro store: " + reason + "\n");
    return Outcome::failure(status, reason);
}

void MacroStore::keepUnreadableFile(const std::string& bytes) {
    fs::path keep = filePath;
    keep += UnreadableSuffix;
    if (readWholeFile(keep) == bytes)
        return;
    if (const Outcome written = writeFileAtomically(keep, bytes))
        debugOutput("macro store: kept the unreadable macro file as " + keep.string() + "\n");
    else
        debugOutput("macro store: " + written.detail + "\n");
}

Outcome MacroStore::LoadMacroFile() {
    folder = resourceRoot_ / MacroFolder;
    filePath = folder / MacroFileName;
    const std::optional<std::string> bytes = readWholeFile(filePath);
    if (!bytes)
        return Outcome::done(); // no file yet: the first change writes one
    try {
        json parsed = parseJson(*bytes);
        if (!parsed.is_object())
            throw std::runtime_error("the macro file does not hold a JSON object");
        std::vector<MacroGroup> loaded;
        if (const auto list = parsed.find(macrofile::KeyGroups); list != parsed.end()) {
            for (const json& element : macrofile::arrayOf(*list, macrofile::KeyGroups)) {
                scratchMacros.clear();
                MacroGroup group = macrofile::groupFromJson(element);
                scratchMacros = group.macros;
                loaded.push_back(std::move(group));
            }
        }
        document = std::move(parsed);
        groups = std::move(loaded);
        return Outcome::done();
    } catch (const std::exception& error) {
        keepUnreadableFile(*bytes);
        return fail(Status::Invalid, "cannot load " + filePath.string() + ": " + error.what());
    }
}

Outcome MacroStore::SaveMacroFile() {
    std::error_code ignored;
    fs::create_directories(filePath.parent_path(), ignored);
    if (const Outcome written = writeFileAtomically(filePath, macrofile::serialise(document));
        !written)
        return fail(written.status, written.detail);
    return Outcome::done();
}

Outcome MacroStore::CommitMacro(int g, int m) {
    json& list = documentGroups();
    if (g < 0 || static_cast<std::size_t>(g) >= list.size() || !list[g].is_object())
        return fail(Status::Refused, formatText("no group %d in the macro document", g));
    json& macros = list[g][macrofile::KeyMacros];
    if (!macros.is_array() || m < 0 || static_cast<std::size_t>(m) >= macros.size() ||
        !macros[m].is_object())
        return fail(Status::Refused,
                    formatText("no macro %d in group %d of the macro document", m, g));
    json& object = macros[m];
    object[macrofile::KeyMacroName] = macrofile::nameToJson(current.name);
    object[macrofile::KeyMacroGuid] = current.guid;
    object[macrofile::KeyMacroData] = macrofile::macDataToJson(current.data);
    return SaveMacroFile();
}

bool MacroStore::SelectMacro(int g, int m) {
    if (!validMacro(g, m))
        return false;
    current = groups[g].macros[m];
    return true;
}

Outcome MacroStore::storeCurrent(int g, int m) {
    if (!validMacro(g, m))
        return fail(Status::Refused, formatText("no macro %d in group %d", m, g));
    groups[g].macros[m] = current;
    return CommitMacro(g, m);
}

Outcome MacroStore::RenameMacro(int g, int m, const std::string& name) {
    if (!validMacro(g, m))
        return fail(Status::Refused, formatText("no macro %d in group %d", m, g));
    groups[g].macros[m].name = name;
    current.name = name;
    return storeCurrent(g, m);
}

Outcome MacroStore::RenameGroup(int g, const std::string& name) {
    json& list = documentGroups();
    if (!validGroup(g) || static_cast<std::size_t>(g) >= list.size())
        return fail(Status::Refused, formatText("no group %d", g));
    // The in-memory name follows too, so that name proposals see it before the next load.
    groups[g].name = name;
    list[g][macrofile::KeyGroupName] = macrofile::nameToJson(name);
    return SaveMacroFile();
}

Outcome MacroStore::AddGroup(int after, const std::string& name) {
    MacroGroup group{NewMacroGuid(), name, {}};
    json& list = documentGroups();
    std::size_t position = groups.size();
    if (!groups.empty() && after >= -1 && static_cast<std::size_t>(after) + 1 < groups.size())
        position = static_cast<std::size_t>(after + 1);
    json object = {{macrofile::KeyGroupName, macrofile::nameToJson(name)},
                   {macrofile::KeyGroupGuid, group.guid}};
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(position, list.size())),
                std::move(object));
    groups.insert(groups.begin() + static_cast<std::ptrdiff_t>(position), std::move(group));
    return SaveMacroFile();
}

Outcome MacroStore::AddMacro(int g, int after, const std::string& name) {
    json& list = documentGroups();
    if (!validGroup(g) || static_cast<std::size_t>(g) >= list.size())
        return fail(Status::Refused, formatText("no group %d", g));
    current = MacroRecord{};
    current.guid = NewMacroGuid();
    current.name = name;
    auto& macros = groups[g].macros;
    std::size_t position = macros.size();
    if (!macros.empty() && after >= -1 && static_cast<std::size_t>(after) + 1 < macros.size())
        position = static_cast<std::size_t>(after + 1);
    json& objects = list[g][macrofile::KeyMacros];
    if (!objects.is_array())
        objects = json::array();
    json object = {{macrofile::KeyMacroGuid, current.guid},
                   {macrofile::KeyMacroName, macrofile::nameToJson(name)},
                   {macrofile::KeyBindKeys, 0},
                   {macrofile::KeyMacroData, macrofile::macDataToJson(current.data)}};
    objects.insert(objects.begin() +
                       static_cast<std::ptrdiff_t>(std::min(position, objects.size())),
                   std::move(object));
    macros.insert(macros.begin() + static_cast<std::ptrdiff_t>(position), current);
    return SaveMacroFile();
}

Outcome MacroStore::DeleteMacro(int g, int m) {
    if (!validGroup(g))
        return fail(Status::Refused, formatText("no group %d", g));
    if (groups[g].macros.empty())
        return Outcome::failure(Status::Refused, MessageCaption, DeleteMacroText,
                                formatText("group %d holds no macro to delete", g));
    if (!validMacro(g, m))
        return fail(Status::Refused, formatText("no macro %d in group %d", m, g));
    groups[g].macros.erase(groups[g].macros.begin() + m);
    json& list = documentGroups();
    if (static_cast<std::size_t>(g) < list.size()) {
        json& objects = list[g][macrofile::KeyMacros];
        if (objects.is_array() && static_cast<std::size_t>(m) < objects.size())
            objects.erase(static_cast<std::size_t>(m));
    }
    return SaveMacroFile();
}

Outcome MacroStore::DeleteGroup(int g) {
    if (!validGroup(g))
        return fail(Status::Refused, formatText("no group %d", g));
    json& list = documentGroups();
    if (static_cast<std::size_t>(g) < list.size())
        list.erase(static_cast<std::size_t>(g));
    groups.erase(groups.begin() + g);
    return SaveMacroFile();
}

Outcome MacroStore::ResetMacros() {
    const fs::path backup = folder / BackupFileName;
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    if (const auto factory = readWholeFile(resourceRoot_ / FactoryFile)) {
        // Without a backup the user's macros must not be replaced.
        if (const auto old = readWholeFile(filePath)) {
            if (const Outcome kept = writeFileAtomically(backup, *old); !kept)
                return fail(kept.status, kept.detail);
        }
        if (const Outcome reset = writeFileAtomically(filePath, *factory); !reset)
            return fail(reset.status, reset.detail);
    } else {
        if (const Outcome kept = writeFileAtomically(backup, macrofile::serialise(document)); !kept)
            return fail(kept.status, kept.detail);
        if (document.is_object())
            document.erase(macrofile::KeyGroups);
        if (Outcome saved = SaveMacroFile(); !saved)
            return saved;
    }
    return LoadMacroFile();
}

void MacroStore::RebuildDocument() {
    json list = json::array();
    for (const MacroGroup& group : groups)
        list.push_back(macrofile::groupToJson(group));
    if (!document.is_object())
        document = json::object();
    document[macrofile::KeyGroups] = std::move(list);
}

std::string MacroStore::UniqueDefaultName(const std::string& base, MacroNameScope scope,
                                          int group) const {
    std::vector<const std::string*> names;
    if (scope == MacroNameScope::Groups) {
        for (const MacroGroup& g : groups)
            names.push_back(&g.name);
    } else if (validGroup(group)) {
        for (const MacroRecord& macro : groups[group].macros)
            names.push_back(&macro.name);
    }
    // A set: a number used twice must not stop the walk below early.
    std::set<long long> used;
    for (const std::string* name : names) {
        if (!name->starts_with(base))
            continue;
        const std::string_view rest = std::string_view(*name).substr(base.size());
        if (rest.empty()) {
            used.insert(-1);
            continue;
        }
        long long value = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error == std::errc() && end == rest.data() + rest.size() && rest.front() != '-')
            used.insert(value);
    }
    long long n = -1;
    for (const long long value : used) {
        if (value != n)
            break;
        ++n;
    }
    if (used.empty() || n == -1)
        return base;
    return base + std::to_string(n);
}

std::string MacroStore::NewMacroGuid() {
    uuid_t id;
    uuid_generate(id);
    if (uuid_is_null(id))
        throw std::runtime_error(GuidFailedText);
    // The first three fields of a GUID are numbers; uuid_t holds them big-endian, so printing
    // the bytes in order gives the same text as the GUID's own format.
    return formatText("%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", id[0],
                      id[1], id[2], id[3], id[4], id[5], id[6], id[7], id[8], id[9], id[10], id[11],
                      id[12], id[13], id[14], id[15]);
}

std::vector<MacroRecord> MacroStore::ReadMacroList(const fs::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes)
        return {};
    try {
        const json parsed = parseJson(*bytes);
        std::vector<MacroRecord> macros;
        for (const json& object :
             macrofile::arrayOf(parsed.at(macrofile::KeyMacros), macrofile::KeyMacros))
            macros.push_back(macrofile::macroFromJson(object, false));
        return macros;
    } catch (const std::exception& error) {
        debugOutput("cannot read the macro list " + path.string() + ": " + error.what() + "\n");
        return {};
    }
}

} // namespace varnix
