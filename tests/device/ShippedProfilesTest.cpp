// SPDX-License-Identifier: GPL-3.0-or-later
// Every model of the shipped catalogue has well-formed feature profiles under res/.
#include "common/AtomicFile.h"
#include "device/DeviceRecord.h"
#include "device/KeyboardFeatureProfile.h"
#include "device/LightingFeature.h"
#include "device/ModelFolder.h"
#include "device/MouseFeatureProfile.h"
#include "device/PadFeatureProfile.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace fs = std::filesystem;

namespace varnix {
namespace {

struct CatalogueRow {
    int type;
    std::string folder;
};

std::vector<CatalogueRow> shippedCatalogue() {
    const fs::path file = test::sourceResDir().parent_path() / "tools/catalogue/Ndevice.json";
    const auto json = nlohmann::json::parse(test::readTextFile(file));
    std::vector<CatalogueRow> rows;
    for (const auto& row : json.at("NDevice"))
        rows.push_back({row.at("DevType").get<int>(), row.at("DevFolder").get<std::string>()});
    return rows;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Section -> key -> value, straight from the lines, failing on anything a reader would hide:
// repeated sections or keys, lines that are neither, entries outside a section.
std::map<std::string, std::map<std::string, std::string>> strictRead(const fs::path& file) {
    std::map<std::string, std::map<std::string, std::string>> sections;
    const auto bytes = readWholeFile(file);
    EXPECT_TRUE(bytes) << file;
    if (!bytes)
        return sections;
    EXPECT_EQ(bytes->find('\0'), std::string::npos) << file;
    EXPECT_EQ(bytes->find('\r'), std::string::npos) << file;
    std::string section;
    std::size_t start = 0;
    while (start < bytes->size()) {
        const auto end = bytes->find('\n', start);
        const std::string line = bytes->substr(start, end - start);
        start = end == std::string::npos ? bytes->size() : end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            EXPECT_EQ(line.back(), ']') << file << ": " << line;
            section = lower(line.substr(1, line.size() - 2));
            EXPECT_FALSE(sections.contains(section)) << file << ": repeated " << line;
            sections[section];
            continue;
        }
        const auto equals = line.find('=');
        EXPECT_FALSE(section.empty()) << file << ": entry outside a section: " << line;
        EXPECT_NE(equals, std::string::npos) << file << ": " << line;
        if (equals == std::string::npos)
            continue;
        const std::string key = lower(line.substr(0, equals));
        EXPECT_EQ(key.find_first_of(" \t"), std::string::npos) << file << ": " << line;
        EXPECT_FALSE(sections[section].contains(key)) << file << ": repeated key " << line;
        sections[section][key] = line.substr(equals + 1);
    }
    return sections;
}

bool isNumberIn(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int value = std::stoi(text);
    return value >= low && value <= high;
}

bool isLedTableText(const std::string& text) {
    return text.empty() ||
           (text.size() == mousefeature::LedTableSize * mousefeature::LedDigitsPerValue && [&] {
               for (std::size_t i = 0; i < text.size(); i += 3)
                   if (!isNumberIn(text.substr(i, 3), 0, 255))
                       return false;
               return true;
           }());
}

bool isChannelOrder(std::string text) {
    std::sort(text.begin(), text.end());
    return text == "BGR";
}

void checkMouse(const fs::path& folder) {
    auto ini = strictRead(folder / mousefeature::File);
    const std::set<std::string> expectedSections{"keymap", "config", "boot_led", "cfg_led"};
    for (const auto& [name, keys] : ini)
        EXPECT_TRUE(expectedSections.contains(name)) << folder << ": unknown section " << name;
    const int keyNum = std::stoi(ini["keymap"]["keynum"]);
    EXPECT_TRUE(keyNum >= 1 && keyNum <= 12) << folder;
    std::set<int> deviceKeys;
    for (int i = 1; i <= 12; ++i) {
        const std::string map = ini["keymap"]["k" + std::to_string(i) + "_map"];
        const std::string def = ini["keymap"]["k" + std::to_string(i) + "_def"];
        EXPECT_TRUE(isNumberIn(map, 0, 14)) << folder << " K" << i << "_MAP=" << map;
        EXPECT_TRUE(isNumberIn(def, 0, 255)) << folder << " K" << i << "_DEF=" << def;
        // Every programmable button has its own device key; unused ones are 0.
        if (i <= keyNum)
            EXPECT_TRUE(map != "0" && deviceKeys.insert(std::stoi(map)).second)
                << folder << " K" << i << "_MAP";
        else
            EXPECT_EQ(map, "0") << folder << " K" << i << "_MAP";
    }
    EXPECT_EQ(ini["keymap"].size(), 25u) << folder;
    for (const auto& key : MouseFeatureProfile::configKeys()) {
        const std::string value = ini["config"][lower(std::string(key.name))];
        const int high = key.name.ends_with("_EN") ? 1 : 255;
        EXPECT_TRUE(isNumberIn(value, 0, high)) << folder << " " << key.name << "=" << value;
    }
    EXPECT_EQ(ini["config"].size(), MouseFeatureProfile::configKeys().size()) << folder;
    EXPECT_TRUE(isLedTableText(ini["boot_led"]["led_data"])) << folder;
    for (int p = 0; p < 4; ++p) {
        const std::string row = ini["cfg_led"][std::to_string(p)];
        EXPECT_FALSE(row.empty()) << folder << " CFG_LED " << p;
        EXPECT_TRUE(isLedTableText(row)) << folder << " CFG_LED " << p;
    }
    const MouseFeatureProfile profile = MouseFeatureProfile::read(folder);
    EXPECT_GE(profile.LED_NUM, 1) << folder;
    EXPECT_EQ(profile.keyNum, keyNum);
}

void checkLightingConfig(const fs::path& folder, bool keyboard) {
    auto ini = strictRead(folder / keyboardfeature::File);
    EXPECT_TRUE(isNumberIn(ini["config1"]["hr_led_num"], 1, 255)) << folder;
    EXPECT_TRUE(isChannelOrder(ini["init"]["rgbled"])) << folder;
    if (keyboard) {
        EXPECT_TRUE(isNumberIn(ini["config1"]["eep_cap"], 0, keyboardfeature::HighestEepCapCode))
            << folder;
        EXPECT_TRUE(isNumberIn(ini["config1"]["win_lock_save_en"], 0, 1)) << folder;
        EXPECT_TRUE(isNumberIn(ini["config1"]["fn_w_enb"], 0, 1)) << folder;
        EXPECT_EQ(ini["config1"].size(), 4u) << folder;
    } else {
        EXPECT_EQ(ini["config1"].size(), 1u) << folder;
    }
    EXPECT_EQ(ini.size(), 2u) << folder;
}

TEST(ShippedProfilesTest, EveryCatalogueModelHasWellFormedProfiles) {
    const auto rows = shippedCatalogue();
    ASSERT_FALSE(rows.empty());
    for (const CatalogueRow& row : rows) {
        SCOPED_TRACE(row.folder);
        const fs::path folder = modelResourceFolder(test::sourceResDir(), row.type, row.folder);
        ASSERT_FALSE(folder.empty());
        if (row.type == DevTypeMouse) {
            checkMouse(folder);
        } else if (row.type == DevTypeKeyboard) {
            checkLightingConfig(folder, true);
            EXPECT_GT(KeyboardFeatureProfile::read(folder, -1).capacity, 0);
        } else {
            ASSERT_EQ(row.type, DevTypePad);
            checkLightingConfig(folder, false);
            auto setup = strictRead(folder / padfeature::File);
            EXPECT_TRUE(isNumberIn(setup["set"]["brightmax"], 1, 255));
            EXPECT_EQ(setup.size(), 1u);
            EXPECT_EQ(setup["set"].size(), 1u);
        }
        EXPECT_GE(LightingFeature::read(row.type, folder).ledCount, 1);
    }
}

TEST(ShippedProfilesTest, SettingsFileHasItsDefaults) {
    auto ini = strictRead(test::sourceResDir() / "Set.ini");
    EXPECT_TRUE(isNumberIn(ini["set"]["language"], 0, 22));
    EXPECT_TRUE(isNumberIn(ini["set"]["dpipopen"], 0, 1));
    EXPECT_TRUE(ini.contains("publicled"));
}

} // namespace
} // namespace varnix
