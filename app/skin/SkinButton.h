// SPDX-License-Identifier: GPL-3.0-or-later
// A clickable control with normal, hot, pushed and disabled looks.
#pragma once

#include "app/skin/SkinControl.h"

#include <QWidget>

namespace varnix {

class SkinButton : public QWidget, public SkinControl {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);
    QString className() const override { return QStringLiteral("Button"); }
    // Also: hottextcolor, pushedtextcolor, hotbkcolor, pushedbkcolor.
    bool setAttribute(const QString& name, const QString& value) override;
    QSize estimateSize() const override;

    // What a completed click does: notify "click" (options then change their state).
    virtual void activate();
    bool isHot() const { return hot_; }
    bool isPushed() const { return pushed_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Space presses the button and clicks on release, Return and Enter click at once; the key
    // stays with this button (a held key does not repeat the click).
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The image attribute and colours for the current state.
    virtual QString stateImage() const;
    virtual QColor stateTextColor() const;
    virtual QColor stateBkColor() const;

private:
    bool hot_ = false;
    bool pushed_ = false;
    bool spacePushed_ = false;
    QColor hotTextColor_;
    QColor pushedTextColor_;
    QColor hotBkColor_;
    QColor pushedBkColor_;
};

} // namespace varnix
