// SPDX-License-Identifier: GPL-3.0-or-later
// The model catalogue: built-in table, the zipped catalogue file, and which rows open.
#include "device/CatalogueArchive.h"
#include "device/FindDev.h"
#include "device/SimulatedBackend.h"
#include "tests/support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace varnix {
namespace {

using test::DiagnosticCapture;
using test::TempDir;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const fs::path Icons = fs::path("Home") / "Icons";

class CatalogueTest : public ::testing::Test {
protected:
    explicit CatalogueTest(std::vector<VirtualDeviceSetup> devices = {})
        : backend(std::move(devices), clock), dev(backend, clock, target) {}

    void writeCatalogue(const std::string& json, std::vector<test::ZipEntry> more = {}) {
        fs::create_directories(res / Icons);
        more.insert(more.begin(), {"Ndevice.json", json});
        test::writeZip(res.path() / Icons / "Ndevice.zip", more);
    }

    ManualClock clock;
    SimulatedBackend backend;
    SharedWriteHandle target;
    FindDev dev;
    TempDir res;
};

TEST_F(CatalogueTest, BuiltInTableIsInstalledByTheConstructor) {
    ASSERT_EQ(dev.DeviceList.size(), 14u);
    EXPECT_THAT(dev.TypeNames, ElementsAre("Mouse", "Keyboard", "Pad", "Headphone"));
    const DeviceRecord& first = dev.DeviceList[0];
    EXPECT_EQ(first.DevType, 1);
    EXPECT_EQ(first.Pid, 0x1441);
    EXPECT_EQ(first.Vid, FamilyVendorId);
    EXPECT_EQ(first.UITextName, " Tavro_Quenra-Rum1 ");
    EXPECT_EQ(first.HotImage, "M1-2.png");
    EXPECT_EQ(first.PushedImage, "M1-2.png");
    EXPECT_EQ(first.BaseAddress, 255);
    EXPECT_THAT(first.Padding, ElementsAre(1, 0, 0, 0));
    EXPECT_EQ(first.DevCmpStr, 0);
    EXPECT_EQ(dev.DeviceList[6].UITextName, " Tavro_Quenra-Sel2");
    EXPECT_EQ(dev.DeviceList[8].DevName, "Null");
    EXPECT_EQ(dev.DeviceList[10].DevTypeString, "Headphone");
    EXPECT_EQ(dev.DeviceList[13].UITextName, "Ui7");
}

TEST_F(CatalogueTest, CatalogueFileReplacesTheTableWithLoadDefaults) {
    writeCatalogue(R"({"NDevice": [
        {"DevType": 2, "Pid": "2351", "DevName": "K", "DevTypeString": "Keyboard"},
        {"DevType": 1, "Pid": "1441", "DevName": "M", "DevTypeString": "Mouse",
         "Padding": [1, 2, 3, 4], "Width": 80, "DevCmpStr": 0, "Unknown": true},
        {"DevType": 2, "Pid": "1040", "DevName": "K2", "DevTypeString": "Keyboard"}]})",
                   {{"K1-1.png", "png bytes"}});
    DiagnosticCapture capture;
    dev.LoadCatalogue(res.path());
    EXPECT_EQ(capture.console(), "");
    EXPECT_THAT(capture.debug(), HasSubstr("Start Unzip...\n"));
    ASSERT_EQ(dev.DeviceList.size(), 3u);
    EXPECT_THAT(dev.TypeNames, ElementsAre("Keyboard", "Mouse"));
    const DeviceRecord& keyboard = dev.DeviceList[0];
    EXPECT_EQ(keyboard.Pid, 0x2351); // hexadecimal text, not decimal
    EXPECT_EQ(keyboard.DevCmpStr, 1);
    EXPECT_EQ(keyboard.Width, 100);
    EXPECT_THAT(keyboard.Padding, ElementsAre(0, 0, 0, 0));
    EXPECT_EQ(keyboard.BaseAddress, 255);
    EXPECT_EQ(dev.DeviceList[1].Width, 80);
    EXPECT_THAT(dev.DeviceList[1].Padding, ElementsAre(1, 2, 3, 4));
    EXPECT_EQ(dev.DeviceList[1].DevCmpStr, 0);
    EXPECT_EQ(test::readTextFile(res.path() / Icons / "K1-1.png"), "png bytes");
}

TEST_F(CatalogueTest, BrokenOrMistypedCatalogueKeepsThePreviousLists) {
    const std::vector<std::string> broken = {
        R"({"NDevice": [ {"DevType": 1,)",                       // truncated
        R"({"NDevice": [ {"DevType": "one", "Pid": "1441"} ]})", // integer given as text
        R"({"NDevice": [ {"Pid": 5153} ]})",                     // "Pid" must be text
        R"({"NDevice": [ {"Padding": [1, 2]} ]})",               // short padding
        R"({"NDevice": {"DevType": 1}})",                        // not an array
        R"([1, 2, 3])",                                          // not an object
    };
    for (const std::string& json : broken) {
        SCOPED_TRACE(json);
        dev.InstallBuiltInTable();
        writeCatalogue(json);
        DiagnosticCapture capture;
        dev.LoadCatalogue(res.path());
        EXPECT_EQ(dev.DeviceList.size(), 14u);
        EXPECT_EQ(dev.TypeNames.size(), 4u);
        EXPECT_THAT(capture.debug(), HasSubstr("Ndevice.json"));
    }
}

TEST_F(CatalogueTest, EmptyOrMissingDeviceArrayGivesAnEmptyCatalogue) {
    for (const char* json : {R"({"NDevice": []})", R"({"Other": 1})"}) {
        dev.InstallBuiltInTable();
        writeCatalogue(json);
        dev.LoadCatalogue(res.path());
        EXPECT_TRUE(dev.DeviceList.empty()) << json;
        EXPECT_TRUE(dev.TypeNames.empty()) << json;
    }
}

TEST_F(CatalogueTest, MissingOrBrokenArchiveKeepsTheBuiltInTable) {
    DiagnosticCapture capture;
    dev.LoadCatalogue(res.path());
    EXPECT_EQ(capture.console(), "Unzip failed!err=65536\n");
    EXPECT_EQ(dev.DeviceList.size(), 14u);

    test::writeTextFile(res.path() / Icons / "Ndevice.zip", "this is not a zip archive");
    DiagnosticCapture second;
    dev.LoadCatalogue(res.path());
    EXPECT_EQ(second.console(), "Unzip failed!err=65536\n");
    EXPECT_EQ(dev.DeviceList.size(), 14u);
}

TEST_F(CatalogueTest, ArchiveWithoutCatalogueFileKeepsTheBuiltInTable) {
    fs::create_directories(res.path() / Icons);
    test::writeZip(res.path() / Icons / "Ndevice.zip", {{"M1-1.png", "x"}});
    dev.LoadCatalogue(res.path());
    EXPECT_EQ(dev.DeviceList.size(), 14u);
}

TEST_F(CatalogueTest, EntriesLeadingOutsideTheFolderAreNeverWritten) {
    writeCatalogue(R"({"NDevice": [{"DevType": 1, "Pid": "1441", "DevName": "M"}]})",
                   {{"../escaped.txt", "evil"},
                    {"sub/../../escaped2.txt", "evil"},
                    {"/tmp/varnix-absolute-escape.txt", "evil"},
                    {"..\\escaped3.txt", "evil"},
                    {"cards/ok.png", "fine"}});
    DiagnosticCapture capture;
    dev.LoadCatalogue(res.path());
    EXPECT_FALSE(fs::exists(res.path() / "Home" / "escaped.txt"));
    EXPECT_FALSE(fs::exists(res.path() / "escaped2.txt"));
    EXPECT_FALSE(fs::exists(res.path() / "Home" / "escaped3.txt"));
    EXPECT_FALSE(fs::exists("/tmp/varnix-absolute-escape.txt"));
    EXPECT_EQ(test::readTextFile(res.path() / Icons / "cards" / "ok.png"), "fine");
    EXPECT_THAT(capture.debug(), HasSubstr("'../escaped.txt': refused"));
    EXPECT_THAT(capture.debug(), HasSubstr("'/tmp/varnix-absolute-escape.txt': refused"));
    EXPECT_EQ(dev.DeviceList.size(), 1u); // the rest of the archive is still used
}

TEST(CatalogueArchiveTest, SafeEntryNames) {
    const std::pair<const char*, bool> cases[] = {
        {"Ndevice.json", true}, {"a/b/c.png", true},     {"a..b.png", true}, {"..png", true},
        {"../x", false},        {"a/../../x", false},    {"/x", false},      {"\\x", false},
        {"C:x", false},         {"a\\..\\..\\x", false}, {"..", false},      {"", false},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(isSafeArchiveEntryName(name), safe) << name;
}

TEST(CatalogueArchiveTest, OversizedEntryIsRefused) {
    TempDir dir;
    test::writeZip(dir / "big.zip", {{"big.bin", std::string(4097, 'z')}, {"small.bin", "ok"}});
    const ArchiveUnpackResult result = unpackArchive(dir / "big.zip", dir / "out", 4096);
    EXPECT_EQ(result.entryCount, 2);
    EXPECT_EQ(result.unpackedCount, 1);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_THAT(result.problems[0], HasSubstr("big.bin"));
    EXPECT_FALSE(fs::exists(dir / "out" / "big.bin"));
    EXPECT_TRUE(fs::exists(dir / "out" / "small.bin"));
}

TEST(CatalogueArchiveTest, OverLongEntryNamesAreReadWithTheirLengthAndRefused) {
    TempDir dir;
    const std::string longName = std::string(1500, 'n') + ".png";
    test::writeZip(dir / "names.zip", {{std::string(1024, 'm'), "a"},
                                       {longName, "b"},
                                       {std::string(255, 'k'), "fits"},
                                       {"ok.png", "c"}});
    const ArchiveUnpackResult result = unpackArchive(dir / "names.zip", dir / "out", 4096);
    EXPECT_EQ(result.entryCount, 4);
    EXPECT_EQ(result.unpackedCount, 2);
    ASSERT_EQ(result.problems.size(), 2u);
    EXPECT_THAT(result.problems[0], HasSubstr("its name is 1024 bytes long"));
    EXPECT_THAT(result.problems[1], HasSubstr("its name is 1504 bytes long"));
    EXPECT_EQ(test::readTextFile(dir / "out" / std::string(255, 'k')), "fits");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir / "out"))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(CatalogueArchiveTest, ArchivesBeyondTheEntryAndSizeCapsAreRefused) {
    TempDir dir;
    std::vector<test::ZipEntry> many;
    for (int i = 0; i < 11; ++i)
        many.push_back({"f" + std::to_string(i), "x"});
    test::writeZip(dir / "many.zip", many);
    const ArchiveUnpackResult crowded =
        unpackArchive(dir / "many.zip", dir / "out", 4096, {.maxEntries = 10});
    EXPECT_EQ(crowded.errorCode, ArchiveTooLarge);
    EXPECT_EQ(crowded.unpackedCount, 0);
    EXPECT_FALSE(fs::exists(dir / "out" / "f0"));

    test::writeZip(dir / "big.zip", {{"a.bin", std::string(3000, 'a')},
                                     {"b.bin", std::string(3000, 'b')},
                                     {"c.bin", std::string(3000, 'c')}});
    const ArchiveUnpackResult big =
        unpackArchive(dir / "big.zip", dir / "out", 4096, {.maxTotalSize = 7000});
    EXPECT_EQ(big.unpackedCount, 2);
    ASSERT_EQ(big.problems.size(), 1u);
    EXPECT_THAT(big.problems[0], HasSubstr("more than 7000 bytes"));
    EXPECT_FALSE(fs::exists(dir / "out" / "c.bin"));
}

TEST(CatalogueArchiveTest, SymbolicLinksInTheTargetFolderAreNeverFollowed) {
    TempDir dir;
    fs::create_directories(dir / "out");
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", dir / "out" / "cards");
    fs::create_symlink(dir / "elsewhere" / "victim.txt", dir / "out" / "Ndevice.json");
    test::writeTextFile(dir / "elsewhere" / "victim.txt", "mine");
    test::writeZip(dir / "links.zip",
                   {{"cards/x.png", "through the link"}, {"Ndevice.json", "{}"}, {"ok.png", "ok"}});
    const ArchiveUnpackResult result = unpackArchive(dir / "links.zip", dir / "out", 4096);
    EXPECT_EQ(result.unpackedCount, 1);
    ASSERT_EQ(result.problems.size(), 2u);
    EXPECT_THAT(result.problems[0], HasSubstr("symbolic link"));
    EXPECT_FALSE(fs::exists(dir / "elsewhere" / "x.png"));
    EXPECT_EQ(test::readTextFile(dir / "elsewhere" / "victim.txt"), "mine");
    EXPECT_TRUE(fs::is_symlink(dir / "out" / "Ndevice.json"));
}

TEST(CatalogueArchiveTest, AnUnchangedFileIsNotWrittenAgainAChangedOneIs) {
    TempDir dir;
    test::writeZip(dir / "cards.zip",
                   {{"same.png", "same bytes"}, {"edited.png", "archive bytes"}});
    ASSERT_EQ(unpackArchive(dir / "cards.zip", dir / "out", 4096).unpackedCount, 2);
    test::writeTextFile(dir / "out" / "edited.png", "changed on disk");
    struct stat before {};
    ASSERT_EQ(::stat((dir / "out" / "same.png").c_str(), &before), 0);

    const ArchiveUnpackResult again = unpackArchive(dir / "cards.zip", dir / "out", 4096);
    EXPECT_EQ(again.unpackedCount, 2);
    EXPECT_TRUE(again.problems.empty());
    struct stat after {};
    ASSERT_EQ(::stat((dir / "out" / "same.png").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // a rewrite renames a new file into place
    EXPECT_EQ(test::readTextFile(dir / "out" / "edited.png"), "archive bytes");
}

class CatalogueOpenTest : public CatalogueTest {
protected:
    CatalogueOpenTest()
        : CatalogueTest({{0x3151, 0x1441, "Tavro_Quenra-Rum3", 0, 16384, true, true},
                         {0x3151, 0x3031, "Tavro_Quenra-Wel1", 0x40, 4096, true, false},
                         {0x3151, 0x1040, "Other", 0, 16384, true, false},
                         {0x1234, 0x2351, "Tavro_Quenra-Sel1", 0, 16384, true, false}}) {}
};

TEST_F(CatalogueOpenTest, BuiltInRowsWithoutNameCheckAllOpenTheSameMouse) {
    dev.OpenCatalogueDevices();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dev.DeviceList[i].Connected, 1) << "row " << i;
    // Mice never change the write target nor read a base address.
    EXPECT_EQ(dev.DeviceList[0].BaseAddress, 255);
    // A "Null" row stays closed although a device with its VID/PID is present.
    EXPECT_EQ(dev.DeviceList[8].Connected, 0);
    // Keyboards of another vendor are not ours.
    EXPECT_EQ(dev.DeviceList[5].Connected, 0);
    EXPECT_EQ(dev.DeviceList[9].Connected, 1);
    EXPECT_EQ(dev.DeviceList[9].BaseAddress, 0x40);
    // The last pad row opened is the one selected for writing.
    EXPECT_EQ(dev.DeviceList[10].Connected, 1);
    EXPECT_EQ(target.get(), dev.DeviceList[10].WriteHandle);
}

TEST_F(CatalogueOpenTest, NameCheckOpensOnlyTheRowWithTheDevicesProductString) {
    writeCatalogue(R"({"NDevice": [
        {"DevType": 1, "Pid": "1441", "DevName": "Tavro_Quenra-Rum1", "DevTypeString": "Mouse"},
        {"DevType": 1, "Pid": "1441", "DevName": "Tavro_Quenra-Rum3", "DevTypeString": "Mouse"},
        {"DevType": 3, "Pid": "3031", "DevName": "Null", "DevTypeString": "Pad"}]})");
    dev.LoadCatalogue(res.path());
    dev.OpenCatalogueDevices();
    EXPECT_EQ(dev.DeviceList[0].Connected, 0);
    EXPECT_EQ(dev.DeviceList[1].Connected, 1); // both collections found although write came first
    EXPECT_EQ(dev.DeviceList[2].Connected, 0);
    EXPECT_EQ(target.get(), nullptr); // only a mouse was opened
}

TEST_F(CatalogueOpenTest, DeviceWithOnlyOneCollectionDoesNotOpen) {
    class HalfBackend : public HidBackend {
    public:
        explicit HalfBackend(SimulatedBackend& inner) : inner_(inner) {}
        std::vector<HidInterfaceInfo> enumerate() override {
            auto all = inner_.enumerate();
            std::erase_if(all, [](const HidInterfaceInfo& i) { return i.usagePage == 0xFF01; });
            return all;
        }
        HidHandlePtr open(const std::string& path, HidAccess access) override {
            return inner_.open(path, access);
        }

    private:
        SimulatedBackend& inner_;
    } half(backend);
    FindDev other(half, clock, target);
    EXPECT_FALSE(other.OpenDevice(other.DeviceList[0]));
    EXPECT_EQ(other.DeviceList[0].Connected, 0);
    EXPECT_EQ(other.DeviceList[0].ReadHandle, nullptr);
}

TEST(DeviceRecordTest, IdentificationTextIsUpperHexWithoutLeadingZeros) {
    DeviceRecord record;
    record.Vid = 0x0A5C;
    record.Pid = 0x1441;
    EXPECT_EQ(record.identificationText(), "VID_A5C&PID_1441");
}

} // namespace
} // namespace varnix
