// SPDX-License-Identifier: GPL-3.0-or-later
// The local HTTP server of the update tests (http_test_server.py), started for one test on a
// free port of 127.0.0.1 and stopped with it.
#pragma once

#include "tests/support/TestSupport.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace varnix::test {

class TestHttpServer {
public:
    TestHttpServer() {
        int input[2];
        int output[2];
        if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], 1);
        const std::string log = (dir_.path() / "requests.log").string();
        std::vector<std::string> words = {VARNIX_PYTHON3, VARNIX_TEST_HTTP_SERVER, log};
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, VARNIX_PYTHON3, &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(output[1]);
        stdin_ = input[1];
        // The server's first line names its port; reading it waits until it listens.
        FILE* out = ::fdopen(output[0], "r");
        char line[64] = {};
        if (out && std::fgets(line, sizeof line, out))
            std::sscanf(line, "PORT %d", &port_);
        if (out)
            std::fclose(out);
    }
    ~TestHttpServer() {
        if (stdin_ >= 0)
            ::close(stdin_); // the server ends when its input closes
        if (pid_ > 0) {
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // Every request path the server received, in order.
    std::vector<std::string> requests() const {
        std::vector<std::string> lines;
        std::string text;
        if (std::filesystem::exists(dir_.path() / "requests.log"))
            text = readTextFile(dir_.path() / "requests.log");
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            lines.push_back(text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return lines;
    }

private:
    TempDir dir_;
    pid_t pid_ = -1;
    int stdin_ = -1;
    int port_ = 0;
};

} // namespace varnix::test
