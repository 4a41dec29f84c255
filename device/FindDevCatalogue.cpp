// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue half of FindDev: built-in table, catalogue archive and file.
#include "common/AtomicFile.h"
#include "common/Diagnostics.h"
#include "common/JsonRead.h"
#include "device/CatalogueArchive.h"
#include "device/FindDev.h"

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace fs = std::filesystem;

namespace varnix {
namespace {

struct BuiltInRow {
    std::int32_t type;
    std::int32_t pid;
    const char* name;
    const char* caption;
    const char* normalImage;
    const char* hotImage;
    const char* folder;
    const char* typeString;
};

// Captions keep their leading and trailing blanks.
constexpr BuiltInRow BuiltInTable[] = {
    {1, 0x1441, "Tavro_Quenra-Rum1", " Tavro_Quenra-Rum1 ", "M1-1.png", "M1-2.png", "MouseA",
     "Mouse"},
    {1, 0x1441, "Tavro_Quenra-Rum2", " Tavro_Quenra-Rum2 ", "M2-1.png", "M2-2.png", "MouseB",
     "Mouse"},
    {1, 0x1441, "Tavro_Quenra-Rum3", " Tavro_Quenra-Rum3 ", "M3-1.png", "M3-2.png", "MouseC",
     "Mouse"},
    {1, 0x1441, "Tavro_Quenra-Rum4", " Tavro_Quenra-Rum4 ", "M4-1.png", "M4-2.png", "MouseE",
     "Mouse"},
    {1, 0x1441, "Tavro_Quenra-Rum5", " Tavro_Quenra-Rum5 ", "M5-1.png", "M5-2.png", "MouseF",
     "Mouse"},
    {2, 0x2351, "Tavro_Quenra-Sel1", " Tavro_Quenra-Sel1 ", "KB1-1.png", "KB1-2.png", "KeyboardA",
     "Keyboard"},
    {2, 0x2351, "Tavro_Quenra-Sel2", " Tavro_Quenra-Sel2", "KB2-1.png", "KB2-2.png", "KeyboardB",
     "Keyboard"},
    {2, 0x2351, "Tavro_Quenra-Sel3", " Tavro_Quenra-Sel3", "KB3-1.png", "KB3-2.png", "KeyboardC",
     "Keyboard"},
    {2, 0x1040, "Null", "Ui10", "KB4-1.png", "KB4-2.png", "KeyboardD", "Keyboard"},
    {3, 0x3031, "Tavro_Quenra-Wel1", "Tavro_Quenra-Wel1", "P1-1.png", "P1-2.png", "PadA", "Pad"},
    {3, 0x3031, "Tavro_Quenra-Wel2", "Tavro_Quenra-Wel2", "P2-1.png", "P2-2.png", "PadB",
     "Headphone"},
    {3, 0x3001, "Null", "Ui3", "1003_1.png", "1003_2.png", "PadA", "Pad"},
    {3, 0x4001, "Null", "Ui6", "3001_1.png", "3001_2.png", "PadA", "Pad"},
    {3, 0x4001, "Null", "Ui7", "3002_1.png", "3002_2.png", "PadA", "Pad"},
};

constexpr const char* BuiltInTypeNames[] = {"Mouse", "Keyboard", "Pad", "Headphone"};

// The catalogue file and the archive it comes in, relative to the resource root.
const fs::path IconFolder = fs::path("Home") / "Icons";
constexpr const char* ArchiveName = "Ndevice.zip";
constexpr const char* CatalogueFileName = "Ndevice.json";

// One entry of the catalogue file, starting from the load defaults.
DeviceRecord recordFromEntry(const nlohmann::json& entry) {
    DeviceRecord record; // Vid, BaseAddress 255, 100 x 100, DevCmpStr 1, not connected
    record.Padding = {0, 0, 0, 0};
    if (!entry.is_object())
        throw std::runtime_error("NDevice entry is not an object");
    auto text = [&](const char* key, std::string& field) {
        if (auto it = entry.find(key); it != entry.end())
            field = it->get<std::string>();
    };
    auto integer = [&](const char* key, std::int32_t& field) {
        if (auto it = entry.find(key); it != entry.end())
            field = jsonNumber<std::int32_t>(*it);
    };
    integer("DevType", record.DevType);
    integer("Width", record.Width);
    integer("Height", record.Height);
    integer("DevCmpStr", record.DevCmpStr);
    integer("DevNO", record.DevNO);
    if (auto it = entry.find("Pid"); it != entry.end())
        record.Pid = static_cast<std::int32_t>(
            std::strtol(it->get<std::string>().c_str(), nullptr, 16) & 0xFFFF);
    if (auto it = entry.find("Padding"); it != entry.end()) {
        if (!it->is_array() || it->size() != record.Padding.size())
            throw std::runtime_error("\"Padding\" must be an array of 4 integers");
        for (std::size_t i = 0; i < record.Padding.size(); ++i)
            record.Padding[i] = jsonNumber<std::int32_t>((*it)[i]);
    }
    text("DevName", record.DevName);
    text("UITextName", record.UITextName);
    text("NormalImage", record.NormalImage);
    text("HotImage", record.HotImage);
    text("PushedImage", record.PushedImage);
    text("DevFolder", record.DevFolder);
    text("DevTypeString", record.DevTypeString);
    return record;
}

} // namespace

void FindDev::AddTypeName(std::vector<std::string>& typeNames, const std::string& name) {
    if (std::find(typeNames.begin(), typeNames.end(), name) == typeNames.end())
        typeNames.push_back(name);
}

void FindDev::InstallBuiltInTable() {
    DeviceList.clear();
    TypeNames.assign(std::begin(BuiltInTypeNames), std::end(BuiltInTypeNames));
    for (const BuiltInRow& row : BuiltInTable) {
        DeviceRecord record;
        record.DevType = row.type;
        record.Pid = row.pid;
        record.DevName = row.name;
        record.UITextName = row.caption;
        record.NormalImage = row.normalImage;
        record.HotImage = row.hotImage;
        record.PushedImage = row.hotImage;
        record.DevFolder = row.folder;
        record.DevTypeString = row.typeString;
        record.Padding = {1, 0, 0, 0};
        record.DevCmpStr = 0;
        record.DevNO = 0;
        DeviceList.push_back(std::move(record));
    }
}

bool FindDev::ReadCatalogueFile(const fs::path& file) {
    const std::optional<std::string> bytes = readWholeFile(file);
    if (!bytes)
        return false;
    std::vector<DeviceRecord> records;
    std::vector<std::string> typeNames;
    try {
        const nlohmann::json document = parseJson(*bytes);
        if (!document.is_object())
            throw std::runtime_error("the catalogue is not a JSON object");
        const auto devices = document.find("NDevice");
        if (devices != document.end()) {
            if (!devices->is_array())
                throw std::runtime_error("\"NDevice\" is not an array");
            for (const nlohmann::json& entry : *devices) {
                records.push_back(recordFromEntry(entry));
                AddTypeName(typeNames, records.back().DevTypeString);
            }
        }
    } catch (const std::exception& error) {
        debugOutput(file.string() + ": " + error.what() + "\n");
        return false;
    }
    DeviceList = std::move(records);
    TypeNames = std::move(typeNames);
    return true;
}

void FindDev::LoadCatalogue(const fs::path& resourceRoot) {
    const fs::path folder = resourceRoot / IconFolder;
    const ArchiveUnpackResult unpacked =
        unpackArchive(folder / ArchiveName, folder, MaxCatalogueEntrySize);
    if (unpacked.errorCode != 0) {
        consoleOutput(formatText("Unzip failed!err=%d\n", unpacked.errorCode));
        return;
    }
    debugOutput("Start Unzip...\n");
    for (const std::string& problem : unpacked.problems)
        debugOutput(std::string(ArchiveName) + ": " + problem + "\n");
    // The file is read once all entries are out, so the lists come from this archive's copy.
    if (unpacked.unpackedCount > 0)
        ReadCatalogueFile(folder / CatalogueFileName);
}

void FindDev::OpenCatalogueDevices() {
    for (DeviceRecord& record : DeviceList)
        if (!record.isPlaceholder())
            record.Connected = OpenDevice(record) ? 1 : 0;
}

} // namespace varnix
