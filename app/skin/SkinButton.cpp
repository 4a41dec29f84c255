// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinButton.h"

#include "app/skin/SkinNotify.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace varnix {

SkinButton::SkinButton(QWidget* parent) : QWidget(parent), SkinControl(this) {
    QWidget::setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    SkinControl::setAttribute(QStringLiteral("align"), QStringLiteral("center"));
}

bool SkinButton::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    QColor* target = name == QLatin1String("hottextcolor")      ? &hotTextColor_
                     : name == QLatin1String("pushedtextcolor") ? &pushedTextColor_
                     : name == QLatin1String("hotbkcolor")      ? &hotBkColor_
                     : name == QLatin1String("pushedbkcolor")   ? &pushedBkColor_
                                                                : nullptr;
    if (target) {
        const bool ok = parseSkinColor(value, *target);
        update();
        return ok;
    }
    return SkinControl::setAttribute(attributeName, value);
}

QSize SkinButton::estimateSize() const {
    QSize size = SkinControl::estimateSize();
    size.rwidth() += 16;
    return size;
}

void SkinButton::activate() {
    sendNotify(QString::fromLatin1(notify::Click));
}

QString SkinButton::stateImage() const {
    if (!isEnabled() && hasImage(QStringLiteral("disabledimage")))
        return QStringLiteral("disabledimage");
    if (pushed_ && hot_ && hasImage(QStringLiteral("pushedimage")))
        return QStringLiteral("pushedimage");
    if (hot_ && hasImage(QStringLiteral("hotimage")))
        return QStringLiteral("hotimage");
    return QStringLiteral("normalimage");
}

QColor SkinButton::stateTextColor() const {
    if (!isEnabled())
        return disabledTextColor();
    if (pushed_ && pushedTextColor_.isValid())
        return pushedTextColor_;
    if (hot_ && hotTextColor_.isValid())
        return hotTextColor_;
    return textColor();
}

QColor SkinButton::stateBkColor() const {
    if (isEnabled() && pushed_ && pushedBkColor_.isValid())
        return pushedBkColor_;
    if (isEnabled() && hot_ && hotBkColor_.isValid())
        return hotBkColor_;
    return {};
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter, stateImage(), stateBkColor());
    paintText(painter, stateTextColor());
    paintFocusRing(painter);
}

void SkinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pushed_ = true;
    update();
}

void SkinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pushed_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    pushed_ = false;
    update();
    if (rect().contains(event->position().toPoint()) && isEnabled())
        activate();
}

void SkinButton::enterEvent(QEnterEvent* event) {
    hot_ = true;
    update();
    sendNotify(QString::fromLatin1(notify::MouseEnter));
    QWidget::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent* event) {
    hot_ = false;
    update();
    sendNotify(QString::fromLatin1(notify::MouseLeave));
    QWidget::leaveEvent(event);
}

void SkinButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || !isEnabled())
        return;
    if (key == Qt::Key_Space) {
        spacePushed_ = pushed_ = hot_ = true;
        update();
        return;
    }
    activate();
}

void SkinButton::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (key != Qt::Key_Space || event->isAutoRepeat() || !spacePushed_)
        return;
    spacePushed_ = pushed_ = false;
    hot_ = underMouse();
    update();
    if (isEnabled())
        activate();
}

void SkinButton::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void SkinButton::focusOutEvent(QFocusEvent* event) {
    // A Space held while the focus moves away presses nothing.
    if (spacePushed_) {
        spacePushed_ = pushed_ = false;
        hot_ = underMouse();
    }
    update();
    QWidget::focusOutEvent(event);
}

} // namespace varnix
