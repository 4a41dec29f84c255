// SPDX-License-Identifier: GPL-3.0-or-later
// What every varnixctl command gets: the global options and the device access they lead to.
#pragma once

#include "device/BackendSelection.h"
#include "device/FindDev.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnix::cli {

// A usage or input error: printed as one line on stderr, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

class CliContext {
public:
    BackendChoice backendChoice = backendChoiceFromEnvironment();
    std::filesystem::path resourceRoot; // empty: the default resource root

    // The backend, built on first use.
    HidBackend& backend();
    // A catalogue object with the catalogue loaded and present devices opened.
    FindDev& catalogue();
    std::filesystem::path resolvedResourceRoot();

private:
    std::unique_ptr<HidBackend> backend_;
    std::unique_ptr<FindDev> catalogue_;
};

using CommandArguments = std::vector<std::string>;

} // namespace varnix::cli
