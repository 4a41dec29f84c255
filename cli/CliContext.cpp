// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliContext.h"

#include "common/ResourceRoot.h"

namespace varnix::cli {

std::filesystem::path CliContext::resolvedResourceRoot() {
    if (resourceRoot.empty())
        resourceRoot = findResourceRoot();
    return resourceRoot;
}

HidBackend& CliContext::backend() {
    if (!backend_) {
        try {
            backend_ = makeBackend(backendChoice, resolvedResourceRoot());
        } catch (const std::exception& error) {
            throw UsageError(error.what());
        }
    }
    return *backend_;
}

FindDev& CliContext::catalogue() {
    if (!catalogue_) {
        catalogue_ = std::make_unique<FindDev>(backend());
        catalogue_->LoadCatalogue(resolvedResourceRoot());
        catalogue_->OpenCatalogueDevices();
    }
    return *catalogue_;
}

} // namespace varnix::cli
