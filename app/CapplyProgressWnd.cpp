// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CapplyProgressWnd.h"

#include "app/CMainWnd.h"
#include "app/PopupService.h"
#include "app/skin/SkinProgress.h"
#include "common/WindowMessage.h"
#include "device/ApplyWriter.h"
#include "kinds/DeviceKind.h"

#include <QCloseEvent>

namespace varnix {
namespace {
const QString ProgressControl = QStringLiteral("apply_progress");
} // namespace

CapplyProgressWnd::CapplyProgressWnd(const DeviceKind& kind, ApplyWriter& writer,
                                     CMainWnd* mainWindow, QWidget* owner)
    : SkinWindow(owner, Qt::Tool | Qt::FramelessWindowHint), kind_(kind), writer_(writer),
      mainWindow_(mainWindow) {}

int CapplyProgressWnd::ApplyKind() const {
    return kind_.pageCode;
}

CapplyProgressWnd::~CapplyProgressWnd() {
    // The worker uses this window until it ends.
    runner_.wait();
}

void CapplyProgressWnd::notify(const SkinNotify& message) {
    if (message.type != QLatin1String(notify::WindowInit))
        return;
    if (auto* progress = find<SkinProgress>(ProgressControl))
        progress->setValue(0);
    const bool started = runner_.start(
        writer_,
        // Each block's percentage reaches the bar before the writer goes on.
        [this](int percent) { sendMessage(WM_ApplyProgress, percent, 0); },
        [this](const ApplyResult& result) {
            QMetaObject::invokeMethod(
                this, [this, result] { finish(result); }, Qt::QueuedConnection);
        });
    if (!started) {
        const ApplyResult busy =
            ApplyResult::failed(Status::Failed, "an apply is already running");
        QMetaObject::invokeMethod(
            this, [this, busy] { finish(busy); }, Qt::QueuedConnection);
    }
}

bool CapplyProgressWnd::handleMessage(int message, qintptr wParam, qintptr) {
    if (message == WM_ApplyProgress) {
        if (auto* progress = find<SkinProgress>(ProgressControl))
            progress->setValue(int(wParam));
        progressSeen_.append(int(wParam));
    }
    // Reported as not handled, so that default processing goes on.
    return false;
}

void CapplyProgressWnd::finish(const ApplyResult& result) {
    result_ = result;
    finished_ = true;
    if (result.status == Status::TooLarge) {
        if (mainWindow_)
            mainWindow_->postMessage(WM_MaxDataWarn);
    } else if (!result.completed()) {
        // A failed apply is said, never passed off as done.
        PopupService::showOutcome(
            parentWidget(), result,
            [this](const QString& key) { return mainWindow_ ? mainWindow_->messageText(key) : key; },
            true);
    }
    closeWindow(0);
}

void CapplyProgressWnd::closeEvent(QCloseEvent* event) {
    // The apply cannot be cut short; the popup closes itself when the writer is done.
    if (!finished_) {
        event->ignore();
        return;
    }
    SkinWindow::closeEvent(event);
}

ApplyResult CapplyProgressWnd::RunApply(const DeviceKind& kind, ApplyWriter& writer,
                                        CMainWnd* mainWindow, QWidget* owner) {
    CapplyProgressWnd popup(kind, writer, mainWindow, owner);
    if (!popup.create(QStringLiteral("popApplyProgress")))
        return ApplyResult::failed(Status::Failed, popup.skinError().toStdString());
    // Exactly over the owner window.
    if (owner)
        popup.setGeometry(owner->geometry());
    popup.showModal();
    popup.runner_.wait();
    return popup.result();
}

} // namespace varnix
