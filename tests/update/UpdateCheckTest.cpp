// SPDX-License-Identifier: GPL-3.0-or-later
// The version query against a real local HTTP server.
#include "update/UpdateCheck.h"

#include "tests/support/TestSupport.h"
#include "tests/update/TestHttpServer.h"
#include "update/VersionInfo.h"

#include <gtest/gtest.h>

namespace varnix {
namespace {

using test::TempDir;

std::string versionInfoJson(const std::string& updateUrl, const std::string& product = "Varnix",
                            const std::string& version = "1.4.2") {
    return "{\"product_name\": \"" + product + "\", \"version\": \"" + version +
           "\", \"update_url\": \"" + updateUrl + "\"}";
}

class UpdateCheckTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.running()) << "the test HTTP server did not start"; }

    UpdateCheckResult check(const std::string& updateUrl, const TransferLimits& limits = {}) {
        test::writeTextFile(file, versionInfoJson(updateUrl));
        return CheckForUpdate(file, limits);
    }

    test::TestHttpServer server;
    TempDir dir;
    std::filesystem::path file = dir / "VersionInfo.json";
};

TEST_F(UpdateCheckTest, AnswersOfTheServiceDecideWhetherAnUpdateIsOffered) {
    struct Case {
        const char* base;
        UpdateCheckAnswer answer;
        TransferError error;
        long status;
    };
    const Case cases[] = {
        {"/total0/", UpdateCheckAnswer::NoUpdate, TransferError::None, 200},
        {"/total3/", UpdateCheckAnswer::Newer, TransferError::None, 200},
        {"/total1/", UpdateCheckAnswer::Newer, TransferError::None, 200},
        // A refusal names a newer release in its body; only a 200 answer counts.
        {"/status404/", UpdateCheckAnswer::Failed, TransferError::None, 404},
        {"/status500/", UpdateCheckAnswer::Failed, TransferError::None, 500},
        {"/notjson/", UpdateCheckAnswer::Failed, TransferError::None, 200},
        {"/nodata/", UpdateCheckAnswer::Failed, TransferError::None, 200},
        // 20 redirections are followed to the answer; 60 are more than the 50 allowed.
        {"/redirect/20/", UpdateCheckAnswer::Newer, TransferError::None, 200},
        {"/redirect/60/", UpdateCheckAnswer::Failed, TransferError::TooManyRedirects, 302},
        // 2 MiB is more than an answer may hold.
        {"/big/", UpdateCheckAnswer::Failed, TransferError::TooLarge, 200},
        {"/bigstream/", UpdateCheckAnswer::Failed, TransferError::TooLarge, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base);
        test::DiagnosticCapture capture;
        const UpdateCheckResult result = check(server.url(c.base));
        EXPECT_EQ(result.answer, c.answer) << result.detail;
        EXPECT_EQ(result.transfer.error, c.error) << result.detail;
        EXPECT_EQ(result.transfer.responseCode, c.status);
        EXPECT_EQ(bool(result), c.answer == UpdateCheckAnswer::Newer);
        // Every answer leaves a line on the debug channel.
        EXPECT_NE(capture.debug().find("update check"), std::string::npos);
    }
}

TEST_F(UpdateCheckTest, UnusableAnswersSayWhyOnTheDebugChannel) {
    test::DiagnosticCapture capture;
    check(server.url("/notjson/"));
    check(server.url("/nodata/"));
    EXPECT_NE(capture.debug().find("not JSON"), std::string::npos) << capture.debug();
    EXPECT_NE(capture.debug().find("\"data\""), std::string::npos) << capture.debug();
}

TEST_F(UpdateCheckTest, QueryUrlJoinsTheServiceProductAndVersion) {
    test::writeTextFile(file, versionInfoJson(server.url("/total0/"), "Varnix-Pro", "2.0.1"));
    const UpdateCheckResult result = CheckForUpdate(file);
    EXPECT_EQ(result.queryUrl, server.url("/total0/Varnix-Pro/2.0.1"));
    ASSERT_EQ(server.requests().size(), 1u);
    // Exactly one slash between each part.
    EXPECT_EQ(server.requests()[0], "/total0/Varnix-Pro/2.0.1");
}

TEST_F(UpdateCheckTest, RedirectChainIsFollowedHopByHop) {
    check(server.url("/redirect/3/"));
    const std::vector<std::string> expected = {
        "/redirect/3/Varnix/1.4.2", "/redirect/2/Varnix/1.4.2", "/redirect/1/Varnix/1.4.2",
        "/redirect/0/Varnix/1.4.2"};
    EXPECT_EQ(server.requests(), expected);
}

TEST_F(UpdateCheckTest, ServerThatNeverAnswersEndsOnTheTimeOut) {
    TransferLimits limits;
    limits.connectTimeoutMs = 1000;
    limits.totalTimeoutMs = 300;
    const UpdateCheckResult result = check(server.url("/hang/"), limits);
    EXPECT_EQ(result.answer, UpdateCheckAnswer::Failed);
    EXPECT_EQ(result.transfer.error, TransferError::TimedOut) << result.detail;
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(UpdateCheckTest, NothingIsAskedWithoutAServiceOrSettingsFile) {
    EXPECT_EQ(check("").answer, UpdateCheckAnswer::NoQuery);
    test::writeTextFile(file, "{\"product_name\": \"Varnix\", \"version\": \"1.0\"}");
    EXPECT_EQ(CheckForUpdate(file).answer, UpdateCheckAnswer::NoQuery);
    EXPECT_EQ(CheckForUpdate(dir / "missing.json").answer, UpdateCheckAnswer::NoQuery);
    test::writeTextFile(file, "not json");
    EXPECT_EQ(CheckForUpdate(file).answer, UpdateCheckAnswer::NoQuery);
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(UpdateCheckTest, OnlyWebAddressesAreFollowed) {
    TempDir other;
    test::writeTextFile(other / "answer.json", "{\"data\": {\"total\": 9}}");
    const UpdateCheckResult result = check("file://" + (other / "").string());
    EXPECT_EQ(result.answer, UpdateCheckAnswer::Failed);
    EXPECT_EQ(result.transfer.error, TransferError::Failed);
}

TEST_F(UpdateCheckTest, ACancelledQueryEndsAtOnce) {
    test::writeTextFile(file, versionInfoJson(server.url("/hang/")));
    std::atomic<bool> cancel{true};
    const UpdateCheckResult result = CheckForUpdate(file, versionQueryLimits(), &cancel);
    EXPECT_EQ(result.transfer.error, TransferError::Cancelled) << result.detail;
}

TEST(VersionAnswerTest, NewerReleaseCountReadsDataTotal) {
    EXPECT_EQ(newerReleaseCount(R"({"data": {"total": 0}})"), 0);
    EXPECT_EQ(newerReleaseCount(R"({"data": {"total": 3}, "msg": "x"})"), 3);
    for (const char* bad : {"", "[]", "{\"data\": 3}", "{\"data\": {\"total\": \"3\"}}",
                            "{\"data\": {\"count\": 3}}", "{\"data\": {\"total\": 1.5}}"}) {
        SCOPED_TRACE(bad);
        std::string why;
        EXPECT_FALSE(newerReleaseCount(bad, &why));
        EXPECT_FALSE(why.empty());
    }
}

TEST(VersionInfoTest, ValuesThatAreNoTextsAreRefused) {
    TempDir dir;
    test::writeTextFile(dir / "v.json",
                        R"({"product_name": 5, "version": "1", "update_url": "x"})");
    EXPECT_EQ(readVersionInfo(dir / "v.json").outcome().status, Status::Invalid);
}

} // namespace
} // namespace varnix
