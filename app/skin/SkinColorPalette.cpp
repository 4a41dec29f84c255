// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinColorPalette.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace varnix {

// Notification sent when the user picks a colour; wParam is 0xRRGGBB.
static const char* const ColorChanged = "colorchanged";

SkinColorPalette::SkinColorPalette(QWidget* parent) : QWidget(parent), SkinControl(this) {
    setCursor(Qt::CrossCursor);
}

bool SkinColorPalette::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    if (name == QLatin1String("barheight")) {
        bool ok = false;
        barHeight_ = value.toInt(&ok);
        update();
        return ok;
    }
    if (name == QLatin1String("palletheight")) {
        bool ok = false;
        const int field = value.toInt(&ok);
        if (ok)
            setFixedControlHeight(field + gap_ + barHeight_);
        return ok;
    }
    if (name == QLatin1String("color")) {
        QColor color;
        if (!parseSkinColor(value, color))
            return false;
        setSelectedColor(color);
        return true;
    }
    return SkinControl::setAttribute(attributeName, value);
}

void SkinColorPalette::setSelectedColor(const QColor& color) {
    color_ = color.toRgb();
    update();
}

QRect SkinColorPalette::fieldRect() const {
    return QRect(0, 0, width(), std::max(1, height() - barHeight_ - gap_));
}

QRect SkinColorPalette::barRect() const {
    return QRect(0, height() - barHeight_, width(), barHeight_);
}

void SkinColorPalette::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QRect field = fieldRect();
    field_ = QImage(field.size(), QImage::Format_RGB32);
    for (int y = 0; y < field.height(); ++y)
        for (int x = 0; x < field.width(); ++x)
            field_.setPixelColor(
                x, y,
                QColor::fromHsvF(float(x) / float(std::max(1, field.width() - 1)) * 0.999f,
                                 1.0f - float(y) / float(std::max(1, field.height() - 1)), 1.0f));
}

void SkinColorPalette::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter);
    const QRect field = fieldRect();
    painter.drawImage(field.topLeft(), field_);
    float hue = 0, saturation = 0, value = 0;
    color_.getHsvF(&hue, &saturation, &value);
    hue = std::max(0.0f, hue);
    QLinearGradient gradient(barRect().topLeft(), barRect().topRight());
    gradient.setColorAt(0, Qt::black);
    gradient.setColorAt(1, QColor::fromHsvF(hue, saturation, 1.0f));
    painter.fillRect(barRect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    // The marks stay inside their areas and are drawn dark and light, so that white, black and
    // grey colours (at the field's and the strip's ends) still show where they are.
    // Keeps `at` within [low, high], or at `low` where the area is too small for the mark.
    auto inside = [](qreal at, qreal low, qreal high) { return std::max(low, std::min(at, high)); };
    const QPointF marker(inside(hue * field.width(), 6, field.width() - 6),
                         inside((1.0 - saturation) * field.height(), 6, field.height() - 6));
    painter.setPen(QPen(QColor(0, 0, 0, 0xA0), 4));
    painter.drawEllipse(marker, 5, 5);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawEllipse(marker, 5, 5);
    const qreal thumbLeft = inside(value * (width() - 8), 1, width() - 9);
    const QRectF thumb(thumbLeft, barRect().top() + 1.5, 7, barHeight_ - 3);
    painter.setPen(QPen(QColor(0, 0, 0, 0xA0), 3));
    painter.drawRoundedRect(thumb, 2, 2);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawRoundedRect(thumb, 2, 2);
}

void SkinColorPalette::pick(const QPoint& point, bool notify) {
    float hue = 0, saturation = 0, value = 0;
    color_.getHsvF(&hue, &saturation, &value);
    if (inBar_) {
        value = std::clamp(float(point.x()) / float(std::max(1, width() - 1)), 0.0f, 1.0f);
    } else {
        const QRect field = fieldRect();
        hue = std::clamp(float(point.x()) / float(std::max(1, field.width() - 1)), 0.0f, 0.999f);
        saturation = std::clamp(1.0f - float(point.y()) / float(std::max(1, field.height() - 1)),
                                0.0f, 1.0f);
        if (value <= 0.0f)
            value = 1.0f;
    }
    color_ = QColor::fromHsvF(std::max(0.0f, hue), saturation, value).toRgb();
    update();
    if (notify)
        sendNotify(QString::fromLatin1(ColorChanged), color_.rgb() & 0xFFFFFF);
}

void SkinColorPalette::mousePressEvent(QMouseEvent* event) {
    inBar_ = event->position().y() >= barRect().top() - gap_ / 2;
    pick(event->position().toPoint(), true);
}

void SkinColorPalette::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        pick(event->position().toPoint(), true);
}

} // namespace varnix
