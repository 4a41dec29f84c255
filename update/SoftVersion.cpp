// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/SoftVersion.h"

#include "app/CMainWnd.h"
#include "app/PopupService.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinProgress.h"
#include "common/Diagnostics.h"
#include "update/UpdaterLaunch.h"

#include <QDesktopServices>
#include <QMetaObject>
#include <QNetworkInformation>
#include <QUrl>
#include <mutex>

namespace varnix {
namespace {

const QString VersionLabel = QStringLiteral("lab_IndexVersion");
const QString DownloadButton = QStringLiteral("btn_DownVersion");
const QString DownloadProgress = QStringLiteral("progress_DownVersion");
const QString DownloadState = QStringLiteral("lab_DownState");

SoftVersion::ReachabilityProbe& reachabilityProbe() {
    static SoftVersion::ReachabilityProbe probe;
    return probe;
}
SoftVersion::Opener& opener() {
    static SoftVersion::Opener open;
    return open;
}
std::mutex& limitsLock() {
    static std::mutex lock;
    return lock;
}
TransferLimits& configuredLimits() {
    static TransferLimits limits = downloadLimits();
    return limits;
}

} // namespace

SoftVersion::SoftVersion(LanguageFile texts, std::filesystem::path programFolder, QWidget* parent)
    : SkinWindow(parent, Qt::Window | Qt::FramelessWindowHint), texts_(std::move(texts)),
      programFolder_(std::move(programFolder)) {
    manager().setTextProvider(this);
    setWindowModality(Qt::ApplicationModal);
}

SoftVersion::~SoftVersion() {
    cancel_ = true;
    if (download_.joinable())
        download_.join();
}

void SoftVersion::setReachabilityProbe(ReachabilityProbe probe) {
    reachabilityProbe() = std::move(probe);
}

void SoftVersion::setOpener(Opener open) {
    opener() = std::move(open);
}

void SoftVersion::setDownloadLimits(const TransferLimits& limits) {
    std::lock_guard guard(limitsLock());
    configuredLimits() = limits;
}

std::optional<bool> SoftVersion::systemReachability() {
    using Info = QNetworkInformation;
    // Without a backend plugin (a minimal installation) the state is not known.
    if (!Info::instance() && !Info::loadBackendByFeatures(Info::Feature::Reachability))
        return std::nullopt;
    Info* info = Info::instance();
    if (!info || !info->supports(Info::Feature::Reachability))
        return std::nullopt;
    switch (info->reachability()) {
    case Info::Reachability::Online:
        return true;
    case Info::Reachability::Disconnected:
    case Info::Reachability::Local:
    case Info::Reachability::Site:
        return false;
    case Info::Reachability::Unknown:
        break;
    }
    return std::nullopt;
}

void SoftVersion::Open(CMainWnd& owner) {
    SoftVersion window(owner.language(), owner.programFolder(), &owner);
    if (!window.create(QStringLiteral("SoftVersion"))) {
        debugOutput(window.skinError().toStdString() + "\n");
        return;
    }
    window.resize(Width, Height);
    window.centerOn(owner.frameGeometry());
    window.showModal();
    if (window.upgradeStarted())
        owner.exitProgram();
}

QString SoftVersion::text(const char* key) const {
    if (auto found = texts_.text(languagefile::OthersUI, key))
        return QString::fromStdString(*found);
    for (std::string_view section : languagefile::MessageSections)
        if (auto found = texts_.text(section, key))
            return QString::fromStdString(*found);
    return QString::fromLatin1(key);
}

std::optional<QString> SoftVersion::queryControlText(const QString& textId) {
    if (auto found = texts_.text(languagefile::OthersUI, textId.toStdString()))
        return QString::fromStdString(*found);
    return std::nullopt;
}

void SoftVersion::notify(const SkinNotify& message) {
    if (message.type == QLatin1String(notify::WindowInit)) {
        manager().reloadTexts();
        setDownloading(false);
        // The installed version is known from the start where the local version file exists.
        readLocalVersion(programFolder_ / std::string(versionfiles::LocalVersionFile), record_);
        if (SkinControl* label = findControl(VersionLabel))
            label->setText(QString::fromStdString(
                versionLabelText(text("SoftVersion_Label").toStdString(), record_)));
        return;
    }
    if (message.type != QLatin1String(notify::Click))
        return;
    const QString& name = message.senderName;
    if (name == QLatin1String("closebtn"))
        closeWindow(0);
    else if (name == QLatin1String("btn_Online"))
        checkOnline();
    else if (name == DownloadButton)
        downloadVersionFile();
    else if (name == QLatin1String("btn_IndexVersion"))
        indexVersion();
    else if (name == QLatin1String("btn_StartUpdata"))
        startUpgrade();
    else if (name == QLatin1String("btn_OpenPdf") && message.sender)
        openManual(message.sender->text());
}

void SoftVersion::showBox(const char* textKey, const QString& detail) {
    QString body = text(textKey);
    if (!detail.isEmpty())
        body += QLatin1Char('\n') + detail;
    PopupService::information(this, text("SoftVersion_Caption"), body, text("MessageOK"));
}

void SoftVersion::checkOnline() {
    const std::optional<bool> online =
        reachabilityProbe() ? reachabilityProbe()() : systemReachability();
    // A state the system cannot tell is said as such, not passed off as online.
    showBox(!online ? "SoftVersion_OnlineUnknown"
                    : (*online ? "SoftVersion_Online" : "SoftVersion_Offline"));
}

void SoftVersion::setDownloading(bool on) {
    if (SkinControl* button = findControl(DownloadButton))
        button->setControlEnabled(!on);
    if (SkinControl* progress = findControl(DownloadProgress))
        progress->setControlVisible(on);
    if (auto* progress = find<SkinProgress>(DownloadProgress); progress && on)
        progress->setValue(0);
}

void SoftVersion::downloadVersionFile() {
    if (downloading())
        return;
    const Outcome local =
        readLocalVersion(programFolder_ / std::string(versionfiles::LocalVersionFile), record_);
    if (!local) {
        debugOutput("version window: " + local.detail + "\n");
        showBox("SoftVersion_NoFile",
                QString::fromStdString(std::string(versionfiles::LocalVersionFile)));
        return;
    }
    TransferLimits limits;
    {
        std::lock_guard guard(limitsLock());
        limits = configuredLimits();
    }
    setDownloading(true);
    if (SkinControl* state = findControl(DownloadState))
        state->setText(text("SoftVersion_Downloading"));
    cancel_ = false;
    lastPercent_ = -1;
    const std::string url = record_.serverUrl;
    const std::filesystem::path target =
        programFolder_ / std::string(versionfiles::ServerVersionFile);
    download_ = std::thread([this, url, target, limits] {
        TransferHooks hooks;
        hooks.cancel = &cancel_;
        hooks.progress = [this](std::uint64_t received, std::uint64_t total) {
            const int percent = total > 0 ? int(received * 100 / total) : 0;
            // Only changes cross to the UI thread.
            if (lastPercent_.exchange(percent) != percent)
                QMetaObject::invokeMethod(
                    this, [this, percent] { onDownloadProgress(percent); }, Qt::QueuedConnection);
        };
        DownloadResult result = downloadFile(url, target, limits, hooks);
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { onDownloadDone(result); },
            Qt::QueuedConnection);
    });
}

void SoftVersion::onDownloadProgress(int percent) {
    if (auto* progress = find<SkinProgress>(DownloadProgress))
        progress->setValue(percent);
}

void SoftVersion::onDownloadDone(const DownloadResult& result) {
    if (download_.joinable())
        download_.join();
    setDownloading(false);
    if (SkinControl* state = findControl(DownloadState))
        state->setText(result.ok() ? text("SoftVersion_Downloaded") : QString());
    if (!result.ok())
        showBox("SoftVersion_DownFailed",
                QString::fromStdString(describeTransfer(result.transfer)));
    Q_EMIT downloadFinished(result.ok());
}

void SoftVersion::indexVersion() {
    const Outcome server =
        readServerVersion(programFolder_ / std::string(versionfiles::ServerVersionFile), record_);
    if (SkinControl* label = findControl(VersionLabel))
        label->setText(QString::fromStdString(
            versionLabelText(text("SoftVersion_Label").toStdString(), record_)));
    if (server.status == Status::Missing)
        showBox("SoftVersion_NoFile");
    else if (!server)
        showBox("SoftVersion_BadFile");
}

void SoftVersion::startUpgrade() {
    const LaunchResult started = StartUpgrader(programFolder_);
    if (started.kind != LaunchResult::Kind::Started) {
        showBox("SoftVersion_NoUpgrade");
        return;
    }
    // The upgrader replaces the program's files: the program ends for it.
    upgradeStarted_ = true;
    closeWindow(0);
}

void SoftVersion::openManual(const QString& name) {
    std::filesystem::path file = name.trimmed().toStdString();
    if (file.empty())
        return;
    if (file.is_relative())
        file = programFolder_ / file;
    if (!std::filesystem::exists(file)) {
        showBox("SoftVersion_NoFile", QString::fromStdString(file.filename().string()));
        return;
    }
    const QString path = QString::fromStdString(file.string());
    const bool opened =
        opener() ? opener()(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        showBox("SoftVersion_OpenFailed");
}

} // namespace varnix
