// SPDX-License-Identifier: GPL-3.0-or-later
// A fake updater executable in a temporary program folder: a script that notes its process id
// in starts.log and waits until it is stopped.
#pragma once

#include "tests/support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace varnix::test {

class FakeUpdater {
public:
    explicit FakeUpdater(const std::string& name) {
        const std::filesystem::path script = dir_ / name;
        // The script runs under its own name: the kernel names the process after the file.
        writeTextFile(script, std::string("#!") + VARNIX_PYTHON3 +
                                  "\nimport os, signal\n"
                                  "with open('starts.log', 'a') as log:\n"
                                  "    log.write('%d\\n' % os.getpid())\n"
                                  "signal.pause()\n");
        ::chmod(script.c_str(), 0755);
    }
    ~FakeUpdater() { stopAll(); }
    FakeUpdater(const FakeUpdater&) = delete;
    FakeUpdater& operator=(const FakeUpdater&) = delete;

    const std::filesystem::path& folder() const { return dir_.path(); }

    std::vector<pid_t> startedIds() const {
        std::vector<pid_t> ids;
        if (!std::filesystem::exists(dir_ / "starts.log"))
            return ids;
        const std::string text = readTextFile(dir_ / "starts.log");
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            ids.push_back(static_cast<pid_t>(std::stol(text.substr(start, end - start))));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return ids;
    }

    // Waits (up to ten seconds) until the script noted `count` starts.
    bool waitForStarts(std::size_t count) const {
        return waitUntil([&] { return startedIds().size() >= count; });
    }

    // Ends every started copy by its id and waits until it is gone.
    void stopAll() {
        for (pid_t id : startedIds()) {
            ::kill(id, SIGTERM);
            waitUntil([id] { return !running(id); });
        }
    }

private:
    static bool running(pid_t id) {
        const std::filesystem::path stat = "/proc/" + std::to_string(id) + "/stat";
        if (!std::filesystem::exists(stat))
            return false;
        const std::string text = readTextFile(stat);
        const std::size_t close = text.rfind(')');
        return close == std::string::npos || close + 2 >= text.size() || text[close + 2] != 'Z';
    }
    template <typename Condition> static bool waitUntil(Condition done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    TempDir dir_;
};

} // namespace varnix::test
