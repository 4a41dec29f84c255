// SPDX-License-Identifier: GPL-3.0-or-later
// The user's macros in named groups, mirrored in the macro file: every change is written into
// the JSON document and the whole document saved at once (there is no separate save step).
// Operations return an Outcome; the store's own message boxes come back as its title and
// message keys (the caption "提示框" and the store's texts, shown as written), and a refused
// import as "Error"/"ImportErr". The page shows them.
#pragma once

#include "common/Outcome.h"
#include "macro/KeyNameProvider.h"
#include "macro/MacroData.h"
#include "macro/MacroGroup.h"
#include "macro/MacroItemView.h"
#include "macro/MacroRecord.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace varnix {

// Where UniqueDefaultName looks for names in use.
enum class MacroNameScope { Groups, MacrosOfGroup };

// How ImportGroup reads its file (the choice of the open dialog's filter).
enum class MacroImportFormat { GroupFile, Dat };

class MacroStore {
public:
    // Relative to the resource root.
    static constexpr const char* MacroFolder = "MacroKorv/MacroData/";
    static constexpr const char* MacroFileName = "macroConfig.json";
    static constexpr const char* BackupFileName = "macroConfig.json.bak";
    static constexpr const char* FactoryFile = "MacroKorv/MacroDataReset/macroReset.json";
    // Where a macro file that could not be loaded is kept before anything overwrites it.
    static constexpr const char* UnreadableSuffix = ".unreadable";
    // Caption and texts of the store's own message boxes.
    static constexpr const char* MessageCaption = "提示框";
    static constexpr const char* MoreThanLimitText = " More than limit!";
    static constexpr const char* XYLimitText = "  MAC_XY_MAX -  More than limit!";
    static constexpr const char* DeleteMacroText = " DeleteMacro  !";
    static constexpr const char* GuidFailedText = "generate guid failed!";
    // Repeat options of the macro page.
    static constexpr const char* OptionCycleTimes = "opt_Macro_CycleTimes";
    static constexpr const char* OptionCycleUntilClick = "opt_Macro_CycleUntilClick";
    static constexpr const char* OptionCycleUntilRelease = "opt_Macro_CycleUntilRelease";

    explicit MacroStore(std::filesystem::path resourceRoot = "res");

    std::filesystem::path filePath;
    std::vector<MacroRecord> scratchMacros;
    std::vector<MacroGroup> groups;
    std::vector<MacroData> datBodies;
    MacroRecord current;
    nlohmann::json document = nlohmann::json::object();
    // Key names for ItemDisplayText; empty: the process-wide provider (KeyNameProvider.h).
    KeyNameProvider keyNames;
    // Set by a .dat import whose [Init] MacMd5 is "MacMd5"; while set, InsertMacroItem does
    // nothing.
    std::int32_t datLocked = 0;
    std::filesystem::path folder;
    // Chooses the key value table of the .dat import (DatKeyTables.h); 0 = Windows key codes.
    std::int32_t modelCode = 0;

    // Reads the macro file into document and groups. Either everything is taken or, on any
    // failure (Invalid), document and groups keep what they held, the reason is the detail and
    // goes to the debug channel, and a copy of the unreadable file is kept beside it
    // (UnreadableSuffix) so that the next save cannot lose it. A missing file is not an error:
    // nothing changes. A failed load shows no message.
    Outcome LoadMacroFile();
    // Writes document to filePath atomically (temporary file, then rename); WriteFailed.
    Outcome SaveMacroFile();
    // Writes current into the document's macro (g, m) and saves.
    Outcome CommitMacro(int g, int m);
    // Makes current a copy of macro (g, m); false when there is none.
    bool SelectMacro(int g, int m);

    // Item edits on current; each stores current as macro (g, m) and commits it. An insert into
    // a full macro is refused with the MoreThanLimitText message; while a .dat import locks the
    // items it is refused without one. A pointer move past MAC_XY_MAX is inserted but not
    // counted, and the success carries the XYLimitText notice.
    Outcome InsertMacroItem(int g, int m, int index, const MacroItemView& item);
    Outcome DeleteMacroItem(int g, int m, int position);
    Outcome SetMacroRepeat(int g, int m, const std::string& option, int count);

    // Operations on a group or macro the store does not have are Refused without a message.
    Outcome RenameMacro(int g, int m, const std::string& name);
    Outcome RenameGroup(int g, const std::string& name);
    Outcome AddGroup(int after, const std::string& name);
    Outcome AddMacro(int g, int after, const std::string& name);
    // Refused with the DeleteMacroText message when the group holds no macro.
    Outcome DeleteMacro(int g, int m);
    Outcome DeleteGroup(int g);
    // Backs the macro file up and restores the factory file, then loads it.
    Outcome ResetMacros();
    // Rebuilds the document's "MacroGrpInfo" from groups, bindings included; other top-level
    // keys stay. Does not save.
    void RebuildDocument();

    std::string UniqueDefaultName(const std::string& base, MacroNameScope scope,
                                  int group = -1) const;
    MacroItemView ItemDisplayText(int position) const;

    // Writes group g to a group file (every "BindKeys" 0, no "BindKeysInfo").
    Outcome ExportGroup(int g, const std::filesystem::path& path);
    // Adds the group of a group file or .dat file at insertPosition (appended when past the
    // end), saves and reloads. A refused file (NoName, Invalid) carries the "Error"/"ImportErr"
    // message and the reason as detail; a file that cannot be read (Missing) and a failed save
    // carry no message. Nothing changes on any failure.
    Outcome ImportGroup(int insertPosition, const std::filesystem::path& path,
                        MacroImportFormat format);

    // A new GUID text, upper-case "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X".
    // Throws std::runtime_error(GuidFailedText) when none can be made.
    static std::string NewMacroGuid();
    // The macros of a macro list file ({"MacroInfo": [...]}), without bindings. A file that
    // cannot be opened or read gives an empty list.
    static std::vector<MacroRecord> ReadMacroList(const std::filesystem::path& path);

private:
    bool validGroup(int g) const;
    bool validMacro(int g, int m) const;
    nlohmann::json& documentGroups();
    // Copies current into macro (g, m) and commits it.
    Outcome storeCurrent(int g, int m);
    // A failure without a message; the reason also goes to the debug channel.
    static Outcome fail(Status status, const std::string& reason);
    void keepUnreadableFile(const std::string& bytes);
    Outcome importGroupFile(int insertPosition, const std::filesystem::path& path,
                            const std::string& bytes);
    Outcome importDatFile(int insertPosition, const std::filesystem::path& path,
                          const std::string& bytes);

    std::filesystem::path resourceRoot_;
};

} // namespace varnix
