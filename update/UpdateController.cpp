// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/UpdateController.h"

#include "app/CMainWnd.h"
#include "app/PopupService.h"
#include "common/Diagnostics.h"
#include "common/ResourceRoot.h"
#include "update/VersionInfo.h"

#include <QMetaObject>
#include <mutex>

namespace varnix {
namespace {

std::mutex& limitsLock() {
    static std::mutex lock;
    return lock;
}
TransferLimits& configuredLimits() {
    static TransferLimits limits = versionQueryLimits();
    return limits;
}

} // namespace

UpdateController::UpdateController(CMainWnd& window) : window_(window) {}

UpdateController::~UpdateController() {
    cancel_ = true;
    if (worker_.joinable())
        worker_.join();
}

void UpdateController::setQueryLimits(const TransferLimits& limits) {
    std::lock_guard guard(limitsLock());
    configuredLimits() = limits;
}

TransferLimits UpdateController::queryLimits() {
    std::lock_guard guard(limitsLock());
    return configuredLimits();
}

bool UpdateController::runCheck() {
    if (!window_.settings().updateCheckEnabled()) {
        debugOutput("update check: turned off in the settings\n");
        return false;
    }
    if (checking_)
        return false;
    checking_ = true;
    cancel_ = false;
    const std::filesystem::path file =
        resolveResourcePath(window_.resourceRoot(), versioninfo::File);
    const TransferLimits limits = queryLimits();
    worker_ = std::thread([this, file, limits] {
        UpdateCheckResult result = CheckForUpdate(file, limits, &cancel_);
        // Queued to this object: it is dropped if the window went meanwhile.
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { onCheckDone(result); },
            Qt::QueuedConnection);
    });
    return true;
}

void UpdateController::onCheckDone(const UpdateCheckResult& result) {
    lastCheck_ = result;
    // The worker has nothing left to do but to end.
    if (worker_.joinable())
        worker_.join();
    checking_ = false;
    ++checksFinished_;
    if (result)
        StartAutoUpdater(true);
    Q_EMIT checkFinished();
}

LaunchResult UpdateController::StartAutoUpdater(bool afterCheck) {
    const LaunchResult result = varnix::StartAutoUpdater(window_.programFolder());
    auto text = [this](const char* key) { return window_.messageText(QString::fromLatin1(key)); };
    switch (result.kind) {
    case LaunchResult::Kind::Started:
    case LaunchResult::Kind::AlreadyRunning:
        // A running updater shows its own window; the desktop decides whether it comes forward.
        break;
    case LaunchResult::Kind::NotInstalled:
        // A distribution's package has no updater: the user is told instead of nothing.
        PopupService::information(&window_, text("Tip"),
                                  text(afterCheck ? "Update_Newer" : "Update_NotInstalled"),
                                  text("MessageOK"));
        break;
    case LaunchResult::Kind::Failed:
        PopupService::information(&window_, text("Error"),
                                  text("Update_StartFailed") + QLatin1Char('\n') +
                                      QString::fromStdString(result.detail),
                                  text("MessageOK"));
        break;
    }
    return result;
}

} // namespace varnix
