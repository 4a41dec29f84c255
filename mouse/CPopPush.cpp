// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/CPopPush.h"

#include "app/skin/SkinControl.h"
#include "app/skin/SkinSlider.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>

namespace varnix {

namespace {

// A tooltip-type window is placed where it is told and is never activated (on X11 it bypasses
// the window manager). Wayland gives such windows only to a parent's popups, so there the notice
// is a tool window that the compositor places as near the corner as it allows.
Qt::WindowFlags noticeFlags() {
    const Qt::WindowFlags type =
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? Qt::Tool
                                                                             : Qt::ToolTip;
    return type | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
}

} // namespace

CPopPush::CPopPush(QWidget* parent) : SkinWindow(parent, noticeFlags()) {
    // A notice: shown without activation, so the keyboard stays where the user types.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    hideTimer_ = new QTimer(this);
    hideTimer_->setSingleShot(true);
    connect(hideTimer_, &QTimer::timeout, this, &CPopPush::hidePush);
    slide_ = new QPropertyAnimation(this, "pos", this);
    slide_->setDuration(SlideMs);
    slide_->setEasingCurve(QEasingCurve::OutCubic);
}

CPopPush::~CPopPush() = default;

void CPopPush::setHideDelay(int ms) {
    hideDelayMs_ = ms;
}

bool CPopPush::hideTimerActive() const {
    return hideTimer_->isActive();
}

QRect CPopPush::workArea() const {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect CPopPush::restingPlace(const QRect& workArea, const QSize& size) {
    QRect place(QPoint(), size);
    place.moveBottomRight(workArea.bottomRight());
    return place;
}

void CPopPush::showPush(const DpiPushInfo& info, const QString& caption) {
    if (SkinControl* level = findControl(QStringLiteral("dpilevel")))
        level->setText(QString::number(info.level));
    if (SkinControl* value = findControl(QStringLiteral("dpivalue")))
        value->setText(QString::fromStdString(info.dpiText));
    if (SkinControl* name = findControl(QStringLiteral("dev_name")))
        name->setText(QString::fromStdString(info.deviceName));
    if (auto* slider = find<SkinSlider>(QStringLiteral("slider_dpi")))
        slider->setSliderValue(info.sliderValue);
    if (SkinControl* label = findControl(QStringLiteral("DPIText")))
        label->setText(caption);
    if (!shown_) {
        // Slides up into the corner; where the desktop places windows itself (Wayland) the
        // notice simply appears where it is put.
        const QRect rest = restingPlace(workArea(), size());
        move(rest.left(), rest.bottom() + 1);
        show();
        slide_->stop();
        slide_->setStartValue(QPoint(rest.left(), rest.bottom() + 1));
        slide_->setEndValue(rest.topLeft());
        slide_->start();
        shown_ = true;
    }
    raise();
    // A burst of changes keeps the notice up with the latest values.
    if (!hovered_)
        hideTimer_->start(hideDelayMs_);
}

void CPopPush::hidePush() {
    hideTimer_->stop();
    slide_->stop();
    hide();
    shown_ = false;
    hovered_ = false;
}

void CPopPush::notify(const SkinNotify& message) {
    SkinWindow::notify(message);
    if (message.type == QLatin1String(notify::Click) &&
        message.senderName == QLatin1String("btn_close"))
        hidePush();
}

void CPopPush::enterEvent(QEnterEvent* event) {
    SkinWindow::enterEvent(event);
    hovered_ = true;
    hideTimer_->stop();
}

void CPopPush::leaveEvent(QEvent* event) {
    SkinWindow::leaveEvent(event);
    hovered_ = false;
    if (shown_)
        hideTimer_->start(hideDelayMs_);
}

} // namespace varnix
