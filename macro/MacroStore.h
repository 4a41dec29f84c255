// SPDX-License-Identifier: GPL-3.0-or-later
// The user's macros in named groups, mirrored in the macro file: every change is written into
// the JSON document and the whole document saved at once (there is no separate save step).
#pragma once

#include "macro/KeyNameProvider.h"
#include "macro/MacroData.h"
#include "macro/MacroGroup.h"
#include "macro/MacroItemView.h"
#include "macro/MacroRecord.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace varnix {

// Where UniqueDefaultName looks for names in use.
enum class MacroNameScope { Groups, MacrosOfGroup };

// How ImportGroup reads its file (the choice of the open dialog's filter).
enum class MacroImportFormat { GroupFile, Dat };

// A modal message with a caption; the UI shows its popup, tests record the calls.
using MacroMessageBox = std::function<void(const std::string& caption, const std::string& text)>;

class MacroStore {
public:
    // Relative to the resource root.
    static constexpr const char* MacroFolder = "MacroKorv/MacroData/";
    static constexpr const char* MacroFileName = "macroConfig.json";
    static constexpr const char* BackupFileName = "macroConfig.json.bak";
    static constexpr const char* FactoryFile = "MacroKorv/MacroDataReset/macroReset.json";
    // Where a macro file that could not be loaded is kept before anything overwrites it.
    static constexpr const char* UnreadableSuffix = ".unreadable";
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

    // Message texts handed in by the page ("Error", "ImportErr", OK, Cancel).
    std::string errorText = "Error";
    std::string importErrorText = "ImportErr";
    std::string okText = "OK";
    std::string cancelText = "Cancel";
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
    // The store's message popups; unset, the text goes to the debug channel.
    MacroMessageBox messageBox;
    // Why the last operation that returned false failed (load, save, import, export).
    std::string lastError;

    // Reads the macro file into document and groups. Either everything is taken or, on any
    // failure, document and groups keep what they held, the reason is in lastError and on the
    // debug channel, and a copy of the unreadable file is kept beside it (UnreadableSuffix)
    // so that the next save cannot lose it. A missing file is not an error: nothing changes.
    bool LoadMacroFile();
    // Writes document to filePath atomically (temporary file, then rename).
    bool SaveMacroFile();
    // Writes current into the document's macro (g, m) and saves.
    bool CommitMacro(int g, int m);
    // Makes current a copy of macro (g, m); false when there is none.
    bool SelectMacro(int g, int m);

    // Item edits on current; each stores current as macro (g, m) and commits it.
    bool InsertMacroItem(int g, int m, int index, const MacroItemView& item);
    bool DeleteMacroItem(int g, int m, int position);
    bool SetMacroRepeat(int g, int m, const std::string& option, int count);

    bool RenameMacro(int g, int m, const std::string& name);
    bool RenameGroup(int g, const std::string& name);
    bool AddGroup(int after, const std::string& name);
    bool AddMacro(int g, int after, const std::string& name);
    bool DeleteMacro(int g, int m);
    bool DeleteGroup(int g);
    // Backs the macro file up and restores the factory file, then loads it.
    bool ResetMacros();
    // Rebuilds the document's "MacroGrpInfo" from groups, bindings included; other top-level
    // keys stay. Does not save.
    void RebuildDocument();

    std::string UniqueDefaultName(const std::string& base, MacroNameScope scope,
                                  int group = -1) const;
    MacroItemView ItemDisplayText(int position) const;

    // Writes group g to a group file (every "BindKeys" 0, no "BindKeysInfo").
    bool ExportGroup(int g, const std::filesystem::path& path);
    // Adds the group of a group file or .dat file at insertPosition (appended when past the
    // end), saves and reloads. False, with the "Error"/"ImportErr" message and the reason in
    // lastError, when the file is refused; nothing changes then.
    bool ImportGroup(int insertPosition, const std::filesystem::path& path,
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
    bool storeCurrent(int g, int m);
    void showMessage(const std::string& caption, const std::string& text) const;
    bool fail(const std::string& reason);
    void keepUnreadableFile(const std::string& bytes);
    bool importGroupFile(int insertPosition, const std::filesystem::path& path,
                         const std::string& bytes);
    bool importDatFile(int insertPosition, const std::filesystem::path& path,
                       const std::string& bytes);

    std::filesystem::path resourceRoot_;
};

} // namespace varnix
