// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/TestSupport.h"

#include "common/AtomicFile.h"

#include <minizip/zip.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace varnix::test {

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "varnix-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

struct DiagnosticCapture::State {
    std::mutex mutex;
    std::string console;
    std::string debug;
};

DiagnosticCapture::DiagnosticCapture() : state_(std::make_shared<State>()) {
    previous_ = setDiagnosticSink([state = state_](DiagnosticChannel channel, const std::string& text) {
        std::lock_guard lock(state->mutex);
        (channel == DiagnosticChannel::Console ? state->console : state->debug) += text;
    });
}

DiagnosticCapture::~DiagnosticCapture() { setDiagnosticSink(std::move(previous_)); }

std::string DiagnosticCapture::console() const {
    std::lock_guard lock(state_->mutex);
    return state_->console;
}

std::string DiagnosticCapture::debug() const {
    std::lock_guard lock(state_->mutex);
    return state_->debug;
}

void writeZip(const fs::path& archive, const std::vector<ZipEntry>& entries) {
    zipFile zip = zipOpen64(archive.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        throw std::runtime_error("cannot create " + archive.string());
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info{};
        if (zipOpenNewFileInZip64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                  Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1) != ZIP_OK ||
            zipWriteInFileInZip(zip, entry.contents.data(),
                                static_cast<unsigned>(entry.contents.size())) != ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK) {
            zipClose(zip, nullptr);
            throw std::runtime_error("cannot add " + entry.name + " to " + archive.string());
        }
    }
    zipClose(zip, nullptr);
}

CommandResult runShellCommand(const std::string& commandLine) {
    TempDir scratch;
    const fs::path err = scratch / "stderr.txt";
    CommandResult result;
    FILE* pipe = ::popen((commandLine + " 2>'" + err.string() + "'").c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = readWholeFile(err).value_or("");
    return result;
}

void writeTextFile(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string readTextFile(const fs::path& file) {
    auto bytes = readWholeFile(file);
    if (!bytes)
        throw std::runtime_error("cannot read " + file.string());
    return *bytes;
}

fs::path testDataDir() { return VARNIX_TEST_DATA_DIR; }
fs::path sourceResDir() { return VARNIX_SOURCE_RES_DIR; }

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_ = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (old_)
        setenv(name_, old_->c_str(), 1);
    else
        unsetenv(name_);
}

} // namespace varnix::test

namespace varnix {

void PrintTo(Status status, std::ostream* out) {
    switch (status) {
    case Status::Done:
        *out << "Done";
        return;
    case Status::Created:
        *out << "Created";
        return;
    case Status::Missing:
        *out << "Missing";
        return;
    case Status::Invalid:
        *out << "Invalid";
        return;
    case Status::NoName:
        *out << "NoName";
        return;
    case Status::OtherModel:
        *out << "OtherModel";
        return;
    case Status::WriteFailed:
        *out << "WriteFailed";
        return;
    case Status::Refused:
        *out << "Refused";
        return;
    case Status::TooLarge:
        *out << "TooLarge";
        return;
    case Status::Abandoned:
        *out << "Abandoned";
        return;
    case Status::DeviceGone:
        *out << "DeviceGone";
        return;
    case Status::Failed:
        *out << "Failed";
        return;
    }
    *out << "Status(" << static_cast<int>(status) << ")";
}

namespace test {

::testing::AssertionResult isOk(const Outcome& outcome) {
    if (outcome.ok())
        return ::testing::AssertionSuccess();
    std::ostringstream status;
    PrintTo(outcome.status, &status);
    return ::testing::AssertionFailure() << status.str() << ": " << outcome.detail;
}

} // namespace test
} // namespace varnix
