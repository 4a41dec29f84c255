// SPDX-License-Identifier: GPL-3.0-or-later
// The DPI notice: a small window at the bottom-right corner of the screen's work area that shows
// the level a mouse switched to. It slides in, stays while changes keep coming and while the
// pointer rests on it, and hides a while after the last change. It never takes the keyboard
// focus from the application the user works in.
#pragma once

#include "app/skin/SkinWindow.h"
#include "mouse/MousePageModel.h"

class QPropertyAnimation;
class QTimer;

namespace varnix {

class CPopPush : public SkinWindow {
    Q_OBJECT
public:
    static constexpr int DefaultHideDelayMs = 2000;
    static constexpr int SlideMs = 160;

    explicit CPopPush(QWidget* parent = nullptr);
    ~CPopPush() override;

    QString skinFile() const override { return QStringLiteral("poppush.xml"); }
    QString windowClassName() const override { return QStringLiteral("CPopPush"); }
    void notify(const SkinNotify& message) override;

    // Shows the values (the caption is the language text of "Current DPI Position") and keeps the
    // notice up for the hide delay from now.
    void showPush(const DpiPushInfo& info, const QString& caption);
    void hidePush();
    bool isShown() const { return shown_; }
    // How long the notice stays after the last change (tests shorten it).
    void setHideDelay(int ms);
    int hideDelay() const { return hideDelayMs_; }
    bool hideTimerActive() const;
    // Where the notice rests for a work area.
    static QRect restingPlace(const QRect& workArea, const QSize& size);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect workArea() const;

    QTimer* hideTimer_ = nullptr;
    QPropertyAnimation* slide_ = nullptr;
    int hideDelayMs_ = DefaultHideDelayMs;
    bool shown_ = false;
    bool hovered_ = false;
};

} // namespace varnix
