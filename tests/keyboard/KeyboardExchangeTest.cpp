// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardTestModel.h"
#include "keyboard/KeyboardConfig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace varnix {
namespace {

using nlohmann::json;
namespace fs = std::filesystem;

json nameUnits(const std::string& name) {
    json units = json::array();
    for (char c : name)
        units.push_back(static_cast<int>(c));
    return units;
}

class KeyboardExchangeTest : public testing::Test {
protected:
    KeyboardExchangeTest() : folder(test::copyShippedKeyboard(dir)) {
        config.LoadKeyboardConfig(folder);
        saved = test::readTextFile(folder / "Config/KBconfig.json");
    }

    // An exchange file: the saved configuration with Esc changed and the given KBName.
    fs::path exchangeFile(const json& name) {
        json document = json::parse(saved);
        document["KBconfig"]["KBKey"]["btn_KBKey_Esc"] = json::array({0x2B, 0x2B, 0x2B, 0x2B});
        if (!name.is_null())
            document["KBName"] = name;
        const fs::path file = dir / "exchange.KB.Config";
        test::writeTextFile(file, document.dump(4));
        return file;
    }

    test::TempDir dir;
    fs::path folder;
    KeyboardConfig config;
    std::string saved;
    test::DiagnosticCapture diagnostics;
};

TEST_F(KeyboardExchangeTest, ExportAddsTheModelNameAsCodeUnits) {
    const fs::path target = dir / "out.KB.Config";
    ASSERT_TRUE(test::isOk(config.ExportKeyboardConfig(folder, "Sel\xC3\xA9", target))); // "Selé"
    const json exported = json::parse(test::readTextFile(target));
    EXPECT_EQ(exported.at("KBName"), json::array({'S', 'e', 'l', 0xE9}));
    json withoutName = exported;
    withoutName.erase("KBName");
    EXPECT_EQ(withoutName, json::parse(saved));
    EXPECT_NE(test::readTextFile(target).find("\n    \"KBName\": [\n        83,"),
              std::string::npos);
}

TEST_F(KeyboardExchangeTest, ExportWithoutASavedConfigurationFails) {
    fs::remove(folder / "Config/KBconfig.json");
    EXPECT_FALSE(config.ExportKeyboardConfig(folder, test::ShippedKeyboardName, dir / "x"));
    EXPECT_FALSE(fs::exists(dir / "x"));
}

TEST_F(KeyboardExchangeTest, ImportAcceptsTheSameNameInAnyCase) {
    for (const std::string& name :
         {std::string(test::ShippedKeyboardName), std::string("TAVRO_QUENRA-SEL1"),
          std::string("tavro_quenra-sel1")}) {
        SCOPED_TRACE(name);
        test::writeTextFile(folder / "Config/KBconfig.json", saved);
        const fs::path file = exchangeFile(nameUnits(name));
        const Outcome imported =
            config.ImportKeyboardConfig(folder, test::ShippedKeyboardName, file);
        ASSERT_TRUE(test::isOk(imported));
        EXPECT_FALSE(imported.hasMessage());
        EXPECT_EQ(test::readTextFile(folder / "Config/KBconfig.json"), test::readTextFile(file));
        KeyboardConfig reloaded;
        reloaded.LoadKeyboardConfig(folder);
        EXPECT_EQ(reloaded.keys[3].at("btn_KBKey_Esc").code, 0x2B);
    }
}

TEST_F(KeyboardExchangeTest, NameUnitsMayBeAnyNumber) {
    json units = nameUnits(test::ShippedKeyboardName);
    units[0] = 84.0;         // 'T' as a floating value
    units[1] = 97u + 65536u; // 'a' beyond 16 bits
    const fs::path file = exchangeFile(units);
    EXPECT_TRUE(test::isOk(config.ImportKeyboardConfig(folder, test::ShippedKeyboardName, file)));
}

struct RefusedCase {
    const char* what;
    json name;             // null: no "KBName"
    const char* breakRoot; // member of "KBconfig" to spoil, or ""
    const char* detail;
};

TEST_F(KeyboardExchangeTest, RefusedImportsCopyNothing) {
    const RefusedCase cases[] = {
        {"no KBName", json(), "", "has no \"KBName\""},
        {"another model", nameUnits("Tavro_Quenra-Sel2"), "", "belongs to Tavro_Quenra-Sel2"},
        {"a name unit that is text", json::array({"T"}), "", "type must be number, but is string"},
        {"keys that are not numbers", nameUnits(test::ShippedKeyboardName), "KBKey",
         "type must be number"},
        {"lighting with a numeric symmetry", nameUnits(test::ShippedKeyboardName), "KBled",
         "type must be boolean, but is number"},
        {"no configuration at all", nameUnits(test::ShippedKeyboardName), "*", "no \"KBconfig\""},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::path file = exchangeFile(c.name);
        json document = json::parse(test::readTextFile(file));
        if (std::string(c.breakRoot) == "KBKey")
            document["KBconfig"]["KBKey"]["btn_KBKey_Esc"] = json::array({"Esc"});
        else if (std::string(c.breakRoot) == "KBled")
            document["KBconfig"]["KBled"]["issysmetry"] = 0;
        else if (std::string(c.breakRoot) == "*")
            document.erase("KBconfig");
        test::writeTextFile(file, document.dump(4));

        const Outcome refused =
            config.ImportKeyboardConfig(folder, test::ShippedKeyboardName, file);
        EXPECT_FALSE(refused);
        EXPECT_EQ(test::shownKeys(refused),
                  (std::pair<std::string, std::string>{"Error", "ImportErr"}));
        EXPECT_THAT(refused.detail, testing::HasSubstr(c.detail));
        EXPECT_EQ(test::readTextFile(folder / "Config/KBconfig.json"), saved);
    }
}

TEST_F(KeyboardExchangeTest, AFileThatIsNoJsonIsRefused) {
    const fs::path file = dir / "broken.KB.Config";
    test::writeTextFile(file, "{\"KBName\": [84, ");
    const Outcome broken = config.ImportKeyboardConfig(folder, test::ShippedKeyboardName, file);
    const Outcome none =
        config.ImportKeyboardConfig(folder, test::ShippedKeyboardName, dir / "none");
    EXPECT_FALSE(broken);
    EXPECT_FALSE(none);
    EXPECT_EQ(broken.status, Status::Invalid);
    EXPECT_EQ(none.status, Status::Missing);
    const std::pair<std::string, std::string> importError{"Error", "ImportErr"};
    EXPECT_EQ(test::shownKeys(broken), importError);
    EXPECT_EQ(test::shownKeys(none), importError);
    EXPECT_EQ(test::readTextFile(folder / "Config/KBconfig.json"), saved);
}

} // namespace
} // namespace varnix
