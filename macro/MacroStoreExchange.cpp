// SPDX-License-Identifier: GPL-3.0-or-later
// Group export and import: group files (.Macro.Config) and the older .dat rows.
#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "common/Utf16.h"
#include "macro/MacroDatFile.h"
#include "macro/MacroFileFormat.h"
#include "macro/MacroStore.h"

#include <algorithm>

namespace fs = std::filesystem;
using nlohmann::json;

namespace varnix {
namespace {

// Characters of the .dat extension that the group name drops from the path.
constexpr std::size_t DatExtensionLength = 4;

std::size_t insertionIndex(int insertPosition, std::size_t size) {
    if (insertPosition < 0)
        return 0;
    return std::min(static_cast<std::size_t>(insertPosition), size);
}

} // namespace

Outcome MacroStore::ExportGroup(int g, const fs::path& path) {
    const json& list = documentGroups();
    if (g < 0 || static_cast<std::size_t>(g) >= list.size())
        return fail(Status::Refused, formatText("no group %d to export", g));
    json copy = list[g];
    try {
        for (json& macro : copy.at(macrofile::KeyMacros)) {
            macro[macrofile::KeyBindKeys] = 0;
            macro.erase(macrofile::KeyBindKeysInfo);
        }
    } catch (const std::exception& error) {
        // What could be prepared is still written.
        debugOutput(std::string("macro export: ") + error.what() + "\n");
    }
    if (const Outcome written = writeFileAtomically(path, macrofile::serialise(copy)); !written)
        return fail(written.status, written.detail);
    return Outcome::done();
}

Outcome MacroStore::ImportGroup(int insertPosition, const fs::path& path,
                                MacroImportFormat format) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes)
        return fail(Status::Missing, "cannot read " + path.string());
    const json documentBefore = document;
    const std::vector<MacroGroup> groupsBefore = groups;
    const Outcome added = format == MacroImportFormat::Dat
                              ? importDatFile(insertPosition, path, *bytes)
                              : importGroupFile(insertPosition, path, *bytes);
    if (!added) {
        document = documentBefore;
        groups = groupsBefore;
        return added.shown(messagekey::Error, messagekey::ImportErr);
    }
    Outcome kept = SaveMacroFile();
    if (kept)
        kept = LoadMacroFile();
    if (!kept) {
        document = documentBefore;
        groups = groupsBefore;
        return fail(kept.status, kept.detail);
    }
    return Outcome::done();
}

Outcome MacroStore::importGroupFile(int insertPosition, const fs::path& path,
                                    const std::string& bytes) {
    try {
        json object = parseJson(bytes);
        if (!object.is_object() || !object.contains(macrofile::KeyGroupName))
            return fail(Status::NoName, path.string() + " holds no \"GrpName\"");
        if (const auto macros = object.find(macrofile::KeyMacros);
            macros != object.end() && macros->is_array() &&
            macros->size() > static_cast<std::size_t>(MacroDatFile::MaxImportedMacros))
            return fail(Status::Refused,
                        formatText("%s holds %zu macros; one import adds at most %d",
                                   path.string().c_str(), macros->size(),
                                   MacroDatFile::MaxImportedMacros));
        // The file's group GUID is replaced, so a missing or odd one does not matter.
        object[macrofile::KeyGroupGuid] = NewMacroGuid();
        // Everything the macro file will hold must load again after the save.
        const MacroGroup group = macrofile::groupFromJson(object);
        const std::string name = UniqueDefaultName(group.name, MacroNameScope::Groups);
        object[macrofile::KeyGroupName] = macrofile::nameToJson(name);
        json& list = documentGroups();
        list.insert(list.begin() +
                        static_cast<std::ptrdiff_t>(insertionIndex(insertPosition, list.size())),
                    std::move(object));
        return Outcome::done();
    } catch (const std::exception& error) {
        return fail(Status::Invalid, "cannot import " + path.string() + ": " + error.what());
    }
}

Outcome MacroStore::importDatFile(int insertPosition, const fs::path& path,
                                  const std::string& bytes) {
    MacroDatFile dat;
    if (const Outcome parsed = dat.parse(bytes, modelCode); !parsed)
        return fail(parsed.status, "cannot import " + path.string() + ": " + parsed.detail);
    datBodies = dat.bodies();
    datLocked = dat.locked() ? 1 : 0;

    std::u16string stem = utf8ToUtf16(path.string());
    stem.resize(stem.size() > DatExtensionLength ? stem.size() - DatExtensionLength : 0);
    MacroGroup group;
    group.guid = NewMacroGuid();
    group.name = UniqueDefaultName(utf16ToUtf8(stem), MacroNameScope::Groups);
    json object = {{macrofile::KeyGroupName, macrofile::nameToJson(group.name)},
                   {macrofile::KeyGroupGuid, group.guid},
                   {macrofile::KeyMacros, json::array()}};
    for (const MacroData& body : datBodies) {
        MacroRecord macro;
        macro.guid = NewMacroGuid();
        macro.name = MacroDatFile::headerName(body);
        macro.data = body;
        object[macrofile::KeyMacros].push_back(
            {{macrofile::KeyMacroGuid, macro.guid},
             {macrofile::KeyMacroName, macrofile::nameToJson(macro.name)},
             {macrofile::KeyBindKeys, 0},
             {macrofile::KeyMacroData, macrofile::macDataToJson(macro.data)}});
        group.macros.push_back(std::move(macro));
    }
    json& list = documentGroups();
    list.insert(list.begin() +
                    static_cast<std::ptrdiff_t>(insertionIndex(insertPosition, list.size())),
                std::move(object));
    groups.insert(groups.begin() +
                      static_cast<std::ptrdiff_t>(insertionIndex(insertPosition, groups.size())),
                  std::move(group));
    return Outcome::done();
}

} // namespace varnix
