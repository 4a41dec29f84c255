// SPDX-License-Identifier: GPL-3.0-or-later
// The version window: the installed and the latest version, the download of the server's
// version file, the connectivity check and the start of the "Upgrade" updater.
#pragma once

#include "app/LanguageFile.h"
#include "app/skin/SkinTextProvider.h"
#include "app/skin/SkinWindow.h"
#include "update/DownloadToFolder.h"
#include "update/VersionRecord.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

namespace varnix {

class CMainWnd;

class SoftVersion : public SkinWindow, public SkinTextProvider {
    Q_OBJECT
public:
    static constexpr int Width = 800;
    static constexpr int Height = 572;

    // `texts`: a copy of the main window's language; `programFolder` holds Version/,
    // SeverVersion.json and the updaters.
    SoftVersion(LanguageFile texts, std::filesystem::path programFolder, QWidget* parent = nullptr);
    // Stops a running download (the temporary file goes with it) and waits for its worker.
    ~SoftVersion() override;

    QString skinFile() const override { return QStringLiteral("SoftVersion.xml"); }
    QString windowClassName() const override { return QStringLiteral("SoftVersion"); }
    void notify(const SkinNotify& message) override;
    std::optional<QString> queryControlText(const QString& textId) override;

    // "modal_popwnd_btn": opens the window modally, centred over the main window. When the
    // user started the upgrade from it, the program ends afterwards.
    static void Open(CMainWnd& owner);

    const VersionRecord& record() const { return record_; }
    bool downloading() const { return download_.joinable(); }
    bool upgradeStarted() const { return upgradeStarted_; }

    // Seams for tests. The reachability probe answers whether the machine is online (nullopt:
    // it cannot tell); the default asks Qt's network information backend.
    using ReachabilityProbe = std::function<std::optional<bool>()>;
    static void setReachabilityProbe(ReachabilityProbe probe);
    static std::optional<bool> systemReachability();
    // Opens a local file with the desktop's application; false when it could not.
    using Opener = std::function<bool(const QString& file)>;
    static void setOpener(Opener opener);
    static void setDownloadLimits(const TransferLimits& limits);

Q_SIGNALS:
    // A download of the version file ended (ok or not).
    void downloadFinished(bool ok);

private:
    void checkOnline();
    void downloadVersionFile();
    void onDownloadProgress(int percent);
    void onDownloadDone(const DownloadResult& result);
    void indexVersion();
    void startUpgrade();
    void openManual(const QString& name);
    void showBox(const char* textKey, const QString& detail = QString());
    QString text(const char* key) const;
    void setDownloading(bool on);

    LanguageFile texts_;
    std::filesystem::path programFolder_;
    VersionRecord record_;
    std::thread download_;
    std::atomic<bool> cancel_{false};
    std::atomic<int> lastPercent_{-1};
    bool upgradeStarted_ = false;
};

} // namespace varnix
