// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/HomePage.h"

#include "app/ApplyPositionSheet.h"
#include "app/CMainWnd.h"
#include "app/PopupService.h"
#include "app/PositionSheet.h"
#include "app/ViewRowsApply.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinWindow.h"
#include "common/Diagnostics.h"
#include "common/WindowMessage.h"
#include "kinds/DeviceKind.h"
#include "lighting/CPopColorWnd.h"

#include <algorithm>
#include <climits>

namespace varnix {
namespace {

const QString StatusSeparator = QStringLiteral(" \u00B7 ");

} // namespace

HomePage::HomePage(CMainWnd& mainWindow)
    : ShellPage(QStringLiteral("home"), QString(), QStringLiteral("_PublicLed")), main_(mainWindow),
      runner_(mainWindow.backend(), mainWindow.resourceRoot()) {}

HomePage::~HomePage() = default;

void HomePage::init(SkinWindow& host) {
    ShellPage::init(host);
    panel_ = std::make_unique<LedPanelController>(
        host.manager(), model_.panel(), [this](int, std::uint32_t current) {
            // The picker's answer comes back as "popcolor_ok" through the main window.
            CPopColorWnd::RunColorPicker(pageWidget(), &main_, PageCodeHome, current);
        });
    build();
    // The main window opens the devices after its pages: the picture and the status line follow
    // once it has.
    QMetaObject::invokeMethod(
        &relay_,
        [this] {
            connected_ = connectedDevices();
            if (built_)
                refresh();
        },
        Qt::QueuedConnection);
}

QWidget* HomePage::pageWidget() const {
    return host();
}

bool HomePage::showOutcome(const Outcome& outcome) {
    if (!outcome.ok())
        debugOutput("home page: " + outcome.detail + "\n");
    return PopupService::showOutcome(pageWidget(), outcome,
                                     [this](const QString& key) { return main_.messageText(key); });
}

void HomePage::build() {
    if (built_ || !buildPageSkin(QString::fromLatin1(PageSkin), QStringLiteral("tab_console")))
        return;
    built_ = true;
    layOut();
    showOutcome(model_.load(main_.resourceRoot()));
    panel_->show();
    refresh();
}

void HomePage::layOut() {
    positionedControls().clear();
    bool opened = false;
    const std::filesystem::path file = main_.resourceRoot() / homepage::LayoutFile;
    LoadAndApplyPositionSheet(QString::fromStdString(file.string()), host()->manager(),
                              positionedControls(), &opened);
    // Told once: the controls keep the places the skin gives them.
    if (!opened && !layoutWarned_) {
        layoutWarned_ = true;
        PopupService::plainMessage(pageWidget(),
                                   QString::fromUtf8(positionfile::CannotOpenText.data(),
                                                     int(positionfile::CannotOpenText.size())));
    }
}

void HomePage::notify(const SkinNotify& message) {
    ShellPage::notify(message);
    if (!built_)
        return;
    const QString& type = message.type;
    if (type == QLatin1String("USBChange")) {
        devicesChanged();
        return;
    }
    if (type == QLatin1String("ClickOption") || type == QLatin1String("ClickDevice")) {
        // A device page's Apply may have stopped the repeat meanwhile.
        refresh();
        return;
    }
    if (type == QLatin1String("popcolor_ok")) {
        panel_->colourChosen(static_cast<std::uint32_t>(message.wParam));
        return;
    }
    if (panel_->handle(message))
        return;
    if (type != QLatin1String(notify::Click))
        return;
    if (message.senderName == QLatin1String(ApplyButton))
        apply();
    else if (message.senderName == QLatin1String(CancelButton))
        cancel();
}

void HomePage::languageChanged() {
    ShellPage::languageChanged();
    if (built_)
        refresh();
}

void HomePage::deviceMessage(int message, qintptr wParam, qintptr lParam) {
    ShellPage::deviceMessage(message, wParam, lParam);
    if (message == WM_HomeRefresh && built_)
        tick();
}

bool HomePage::repeating() const {
    return state_.repeating && main_.lightingRepeatActive();
}

std::vector<int> HomePage::connectedDevices() const {
    std::vector<int> devices;
    const auto& list = main_.catalogue().DeviceList;
    for (int index = 0; index < int(list.size()); ++index)
        if (list[std::size_t(index)].Connected == 1 &&
            deviceKindOf(list[std::size_t(index)].DevType))
            devices.push_back(index);
    return devices;
}

void HomePage::apply() {
    // The ticks and the devices that join write what was applied, not later edits in the panel.
    applied_ = model_.lighting();
    connected_ = connectedDevices();
    const std::optional<std::int64_t> interval = applied_.repeatIntervalMs();
    state_.applied = true;
    state_.stopped = false;
    state_.repeating = interval.has_value();
    state_.intervalMs = interval;
    // An effect written once needs no repeat; one that repeats starts its timer afresh.
    if (interval)
        main_.startLightingRepeat(int(std::min<std::int64_t>(*interval, INT_MAX)));
    else
        main_.stopLightingRepeat();
    // The worker saves the file before it writes: the window waits for neither.
    saveBeforeWrite_ = true;
    write(true);
}

void HomePage::cancel() {
    // The factory effect is shown; the devices keep theirs until Apply.
    if (const Outcome shown = model_.cancel(); !shown)
        showOutcome(shown);
    panel_->show();
}

void HomePage::tick() {
    // A tick posted before a device page's Apply stopped the timer writes nothing.
    if (!repeating())
        return;
    if (!write(false))
        ++ticksSkipped_;
}

bool HomePage::write(bool queueIfBusy) {
    if (runner_.running()) {
        writePending_ = writePending_ || queueIfBusy;
        if (queueIfBusy) {
            state_.writing = true;
            refresh();
        }
        return false;
    }
    writePending_ = false;
    // The worker gets its own copy of the records: hot-plug changes the list on this thread.
    std::vector<DeviceRecord> devices = main_.catalogue().DeviceList;
    SharedLightingRunner::Preparation save;
    if (saveBeforeWrite_)
        save = [root = model_.resourceRoot(), lighting = applied_] {
            return saveSharedLighting(root, lighting);
        };
    const bool started = runner_.start(
        std::move(devices), applied_,
        [this](const SharedLightingRunner::Report& report) {
            QMetaObject::invokeMethod(
                &relay_, [this, report] { written(report); }, Qt::QueuedConnection);
        },
        std::move(save));
    if (started) {
        saveBeforeWrite_ = false;
        ++writesStarted_;
        state_.writing = queueIfBusy;
        refresh();
    }
    return started;
}

void HomePage::written(const SharedLightingRunner::Report& report) {
    ++writesFinished_;
    // The devices still got the effect; the file that keeps it did not.
    if (!report.prepared)
        showOutcome(report.prepared);
    state_.written = int(report.written.size());
    state_.missed = int(report.missed.size());
    state_.writing = false;
    if (writePending_) {
        writePending_ = false;
        // A device page's Apply since the request stopped the repeat: its lighting stays.
        const bool stoppedMeanwhile = state_.repeating && !main_.lightingRepeatActive();
        if (!stoppedMeanwhile) {
            write(true);
            return;
        }
    }
    refresh();
}

void HomePage::devicesChanged() {
    const std::vector<int> now = connectedDevices();
    bool joined = false;
    for (int index : now)
        joined =
            joined || std::find(connected_.begin(), connected_.end(), index) == connected_.end();
    connected_ = now;
    // A device that arrives while the effect runs joins it at once: every device is written
    // together and the timer starts again, so they all start in phase. One that leaves is simply
    // not written any more.
    if (joined && repeating()) {
        main_.startLightingRepeat(int(std::min<std::int64_t>(*state_.intervalMs, INT_MAX)));
        write(true);
        return;
    }
    refresh();
}

void HomePage::refresh() {
    state_.connected = int(connectedDevices().size());
    if (state_.repeating && !main_.lightingRepeatActive()) {
        // A device page's Apply stopped timer 1: its own lighting stays on its device.
        state_.repeating = false;
        state_.stopped = true;
    }
    SkinManager& manager = host()->manager();
    // Setting the picture decodes it again: only when it changes.
    if (const std::string picture = devicePicture(state_.connected, repeating());
        picture != shownPicture_) {
        shownPicture_ = picture;
        applyViewRows(manager, devicePictureRows(state_.connected, repeating()));
    }
    QStringList pieces;
    for (const StatusText& text : statusLine(state_)) {
        QString piece = main_.messageText(QString::fromLatin1(text.key));
        for (const std::string& arg : text.args)
            piece = piece.arg(QString::fromStdString(arg));
        pieces << piece;
    }
    if (SkinControl* status = host()->findControl(QString::fromLatin1(homepage::StatusControl)))
        status->setText(pieces.join(StatusSeparator));
}

} // namespace varnix
