// SPDX-License-Identifier: GPL-3.0-or-later
// Downloads against a real local HTTP server: complete, refused and broken transfers.
#include "tests/support/TestSupport.h"
#include "tests/update/TestHttpServer.h"
#include "update/DownloadToFolder.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

using test::TempDir;

std::string pattern(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i)
        bytes += static_cast<char>(i % 256);
    return bytes;
}

// The files of a folder, temporary ones included.
std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    if (std::filesystem::exists(folder))
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()); }
    test::TestHttpServer server;
    TempDir dir;
};

TEST_F(DownloadTest, WholeFileArrivesUnderItsNameInACreatedFolder) {
    // 512 * 390 + 100: the last block is shorter than the others.
    const std::size_t size = 512 * 390 + 100;
    std::vector<std::uint64_t> progress;
    TransferHooks hooks;
    hooks.progress = [&](std::uint64_t received, std::uint64_t) { progress.push_back(received); };
    const DownloadResult result =
        DownloadToFolder(server.url("/file/" + std::to_string(size) + "/Setup.bin"), dir / "123",
                         downloadLimits(), hooks);
    ASSERT_TRUE(result.ok()) << result.detail;
    EXPECT_EQ(result.path, dir / "123" / "Setup.bin");
    EXPECT_EQ(test::readTextFile(result.path), pattern(size));
    EXPECT_EQ(filesIn(dir / "123"), std::vector<std::string>{"Setup.bin"});
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), size);
}

TEST_F(DownloadTest, BrokenOrRefusedTransferLeavesNoFileAndKeepsTheOldOne) {
    struct Case {
        std::string path;
        TransferError error;
    };
    const Case cases[] = {
        {"/drop/100000/SeverVersion.json", TransferError::Truncated},
        {"/status404/SeverVersion.json", TransferError::None},
        {"/hang/SeverVersion.json", TransferError::TimedOut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        test::writeTextFile(dir / "SeverVersion.json", "old");
        TransferLimits limits = downloadLimits();
        limits.totalTimeoutMs = 500;
        const DownloadResult result =
            downloadFile(server.url(c.path), dir / "SeverVersion.json", limits);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.transfer.error, c.error) << result.detail;
        EXPECT_EQ(test::readTextFile(dir / "SeverVersion.json"), "old");
        EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"SeverVersion.json"});
    }
    // Without an old file, a broken transfer leaves none with the final name.
    std::filesystem::remove(dir / "SeverVersion.json");
    EXPECT_FALSE(DownloadToFolder(server.url("/drop/4096/Setup.bin"), dir.path()).ok());
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST_F(DownloadTest, FileLargerThanTheCapIsRefused) {
    TransferLimits limits = downloadLimits();
    limits.maxBodyBytes = 1000;
    const DownloadResult result =
        DownloadToFolder(server.url("/file/5000/Setup.bin"), dir.path(), limits);
    EXPECT_EQ(result.transfer.error, TransferError::TooLarge);
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(DownloadFileNameTest, NameIsTheLastPathPart) {
    EXPECT_EQ(downloadFileName("https://host/a/b/Setup-1.2.bin"), "Setup-1.2.bin");
    EXPECT_EQ(downloadFileName("https://host/a/file.json?x=1#top"), "file.json");
    for (const char* none : {"https://host/a/", "https://host/..", "https://host/.", ""})
        EXPECT_EQ(downloadFileName(none), "") << none;
}

TEST(DownloadFileNameTest, AddressWithoutFileNameDownloadsNothing) {
    TempDir dir;
    EXPECT_FALSE(DownloadToFolder("http://127.0.0.1:1/", dir / "sub").ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "sub"));
}

} // namespace
} // namespace varnix
