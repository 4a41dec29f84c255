// SPDX-License-Identifier: GPL-3.0-or-later
// Shared test helpers: temporary folders, captured diagnostics, zip archives, fixture paths,
// outcome checks.
#pragma once

#include "common/Diagnostics.h"
#include "common/Outcome.h"

#include <filesystem>
#include <optional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace varnix {

// Lets GoogleTest print statuses by name (found by argument-dependent lookup).
void PrintTo(Status status, std::ostream* out);

namespace test {

// ASSERT_TRUE(isOk(store.LoadMacroFile())): on failure the message names the status and the
// outcome's detail, which says why.
::testing::AssertionResult isOk(const Outcome& outcome);

// The (title key, message key) pair a page would show for an outcome; empty keys: no popup.
inline std::pair<std::string, std::string> shownKeys(const Outcome& outcome) {
    return {outcome.titleKey, outcome.messageKey};
}

// A fresh folder removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Collects everything written to the diagnostic channels while it lives.
class DiagnosticCapture {
public:
    DiagnosticCapture();
    ~DiagnosticCapture();
    std::string console() const;
    std::string debug() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    DiagnosticSink previous_;
};

struct ZipEntry {
    std::string name;
    std::string contents;
};
// Writes a zip archive with deflated entries; the names are stored exactly as given.
void writeZip(const std::filesystem::path& archive, const std::vector<ZipEntry>& entries);

// Sets (or, with a null value, clears) an environment variable for one test and restores it.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ScopedEnvironment(const char* name, const std::string& value)
        : ScopedEnvironment(name, value.c_str()) {}
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// What a command line printed and how it ended.
struct CommandResult {
    int status = -1; // exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};
// Runs a command line through the shell, capturing stdout, stderr and the exit status.
CommandResult runShellCommand(const std::string& commandLine);

void writeTextFile(const std::filesystem::path& file, const std::string& text);
std::string readTextFile(const std::filesystem::path& file);

// tests/data and the source tree's res folder.
std::filesystem::path testDataDir();
std::filesystem::path sourceResDir();

} // namespace test
} // namespace varnix
