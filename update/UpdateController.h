// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of the update: the version check at start on a worker thread, the
// hand-over to "AutoUpdate", and what the user is told when no updater is installed.
#pragma once

#include "update/UpdateCheck.h"
#include "update/UpdaterLaunch.h"

#include <QObject>
#include <atomic>
#include <filesystem>
#include <thread>

namespace varnix {

class CMainWnd;

class UpdateController : public QObject {
    Q_OBJECT
public:
    explicit UpdateController(CMainWnd& window);
    // Stops a running check (it ends within a second) and waits for its worker.
    ~UpdateController() override;

    // Message 2037: starts the check on a worker unless the settings turn it off or one runs.
    // Returns whether a check started. Its answer comes back on the UI thread: a newer release
    // hands over to the updater.
    bool runCheck();
    bool checking() const { return checking_; }
    const UpdateCheckResult& lastCheck() const { return lastCheck_; }
    // How many checks have ended since the window started.
    int checksFinished() const { return checksFinished_; }

    // "btn_update", and a positive check: brings in the updater. `afterCheck`: a newer release
    // is known to exist (the box without an updater says so).
    LaunchResult StartAutoUpdater(bool afterCheck = false);

    // Time-outs of the version query (tests shorten them).
    static void setQueryLimits(const TransferLimits& limits);
    static TransferLimits queryLimits();

Q_SIGNALS:
    // A check ended; the answer is lastCheck().
    void checkFinished();

private:
    void onCheckDone(const UpdateCheckResult& result);

    CMainWnd& window_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    bool checking_ = false; // UI thread only
    int checksFinished_ = 0;
    UpdateCheckResult lastCheck_;
};

} // namespace varnix
