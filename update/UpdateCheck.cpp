// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateCheck.h"

#include "common/Diagnostics.h"
#include "update/VersionInfo.h"

namespace varnix {

UpdateCheckResult CheckForUpdate(const std::filesystem::path& versionInfoFile,
                                 const TransferLimits& limits, const std::atomic<bool>* cancel) {
    UpdateCheckResult result;
    auto finish = [&](UpdateCheckAnswer answer, std::string detail) {
        result.answer = answer;
        result.detail = std::move(detail);
        debugOutput("update check: " + result.detail + "\n");
        return result;
    };

    const Expected<VersionInfo> info = readVersionInfo(versionInfoFile);
    if (!info)
        return finish(UpdateCheckAnswer::NoQuery, info.outcome().detail);
    if (!info->queriesService())
        return finish(UpdateCheckAnswer::NoQuery,
                      "no update_url: the version service is not asked");

    result.queryUrl = versionQueryUrl(*info);
    std::string body;
    result.transfer = httpGetText(result.queryUrl, limits, body, cancel);
    const std::string asked = result.queryUrl + ": ";
    if (!result.transfer.completed())
        return finish(UpdateCheckAnswer::Failed, asked + describeTransfer(result.transfer));
    if (result.transfer.responseCode != 200)
        return finish(UpdateCheckAnswer::Failed, asked + describeTransfer(result.transfer));

    std::string why;
    const std::optional<long long> total = newerReleaseCount(body, &why);
    if (!total)
        return finish(UpdateCheckAnswer::Failed, asked + why + ": no update offered");
    if (*total >= 1)
        return finish(UpdateCheckAnswer::Newer,
                      asked + formatText("%lld newer release(s)", *total));
    return finish(UpdateCheckAnswer::NoUpdate, asked + "no newer release");
}

} // namespace varnix
