// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ResourceRoot.h"

#include "common/Diagnostics.h"
#include "common/ResourceSeed.h"

#include <cstdlib>
#include <system_error>

#ifndef VARNIX_INSTALLED_RES
#define VARNIX_INSTALLED_RES "/usr/local/share/varnix/res"
#endif

namespace fs = std::filesystem;

namespace varnix {
namespace {

fs::path userDataRoot() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "varnix" / "res";
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".local" / "share" / "varnix" / "res";
    return fs::current_path() / "res";
}

} // namespace

fs::path installedResourceTree(const fs::path& executable) {
    std::error_code ec;
    const fs::path program =
        executable.empty() ? fs::read_symlink("/proc/self/exe", ec) : executable;
    if (!ec && !program.empty()) {
        const fs::path beside =
            (program.parent_path() / ".." / "share" / "varnix" / "res").lexically_normal();
        if (fs::is_directory(beside, ec))
            return beside;
    }
    return VARNIX_INSTALLED_RES;
}

fs::path findResourceRoot(const fs::path& installedTree, Outcome* seeding) {
    if (const char* env = std::getenv("VARNIX_RES"); env && *env)
        return fs::path(env);
    std::error_code ec;
    if (fs::is_directory("res", ec))
        return fs::absolute("res", ec);
    const fs::path user = userDataRoot();
    const fs::path source = installedTree.empty() ? installedResourceTree() : installedTree;
    const SeedReport report = seedUserTree(source, user);
    if (!report.outcome) {
        debugOutput("cannot seed " + user.string() + " from " + source.string() + ": " +
                    report.outcome.detail + "\n");
        if (seeding)
            *seeding = report.outcome;
    }
    return user;
}

fs::path resolveResourcePath(const fs::path& root, std::string_view described) {
    std::string name(described);
    for (char& c : name)
        if (c == '\\')
            c = '/';
    if (name.starts_with('/'))
        return fs::path(name);
    std::string_view rest = name;
    while (rest.starts_with("./") || rest.starts_with('/'))
        rest.remove_prefix(rest.front() == '/' ? 1 : 2);
    if (rest == "res" || rest == ".")
        return root;
    if (rest.starts_with("res/"))
        rest.remove_prefix(4);
    while (rest.starts_with('/'))
        rest.remove_prefix(1);
    return rest.empty() ? root : root / fs::path(rest);
}

} // namespace varnix
