// SPDX-License-Identifier: GPL-3.0-or-later
// DPI-stage and profile reports from a mouse stored in its saved configuration.
#include "mouse/MouseDeviceEvents.h"

#include "mouse/MouseConfigFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

class MouseDeviceEventsTest : public ::testing::Test {
protected:
    MouseDeviceEventsTest() {
        fs::copy(test::sourceResDir() / "MouseKorv" / "MouseA", folder.path(),
                 fs::copy_options::recursive);
        quiet = std::make_unique<test::DiagnosticCapture>();
    }

    MouseConfigModel saved() {
        MouseConfigModel model;
        EXPECT_TRUE(MouseConfigFile::load(MouseConfigFile::configPath(folder.path()), model).ok());
        return model;
    }

    void setCode(int button, int code) {
        MouseConfigModel model = saved();
        model.binding(static_cast<int>(model.curporfile), button)->code = code;
        ASSERT_TRUE(MouseConfigFile::save(MouseConfigFile::configPath(folder.path()), model).ok());
    }

    test::TempDir folder;
    std::unique_ptr<test::DiagnosticCapture> quiet;
};

TEST_F(MouseDeviceEventsTest, ReportsSplitTheirParameter) {
    EXPECT_EQ(dpiStageReport(7 * 256 + 5).button, 7);
    EXPECT_EQ(dpiStageReport(7 * 256 + 5).value, 5);
    EXPECT_EQ(profileReport(2 * 256 + 7).value, 3);
    EXPECT_EQ(profileReport(2 * 256 + 7).button, 2);
}

TEST_F(MouseDeviceEventsTest, DpiStageIsStoredOnlyForDpiSwitchingKeys) {
    for (const int code : {6, 11, 12}) {
        setCode(5, code);
        const auto stored = StoreDpiStageFromDevice(folder.path(), {code == 6 ? 3 : 4, 5});
        ASSERT_TRUE(stored.has_value()) << code;
        EXPECT_EQ(saved().cruseldpi, code == 6 ? 3u : 4u);
    }
    const std::string before = test::readTextFile(MouseConfigFile::configPath(folder.path()));
    for (const int code : {1, 7, 22}) {
        setCode(5, code);
        const std::string unchanged =
            test::readTextFile(MouseConfigFile::configPath(folder.path()));
        EXPECT_FALSE(StoreDpiStageFromDevice(folder.path(), {1, 5})) << code;
        EXPECT_EQ(test::readTextFile(MouseConfigFile::configPath(folder.path())), unchanged);
    }
    EXPECT_FALSE(before.empty());
    EXPECT_FALSE(StoreDpiStageFromDevice(folder.path(), {1, 40})); // no such key
}

TEST_F(MouseDeviceEventsTest, ProfileIsStoredForProfileSwitchingKeys) {
    setCode(3, 22);
    ASSERT_TRUE(StoreProfileFromDevice(folder.path(), {2, 3}));
    EXPECT_EQ(saved().curporfile, 2u);
    EXPECT_FALSE(StoreProfileFromDevice(folder.path(), {1, 0})); // key 0 of profile 2 clicks
    EXPECT_EQ(saved().curporfile, 2u);
}

TEST_F(MouseDeviceEventsTest, MissingConfigurationStoresNothing) {
    fs::remove(MouseConfigFile::configPath(folder.path()));
    EXPECT_FALSE(StoreDpiStageFromDevice(folder.path(), {1, 5}));
    EXPECT_FALSE(fs::exists(MouseConfigFile::configPath(folder.path())));
}

} // namespace
} // namespace varnix
