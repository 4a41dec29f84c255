// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinProgress.h"

#include <QPainter>
#include <algorithm>

namespace varnix {

SkinProgress::SkinProgress(QWidget* parent)
    : QWidget(parent), SkinControl(this), foreColor_(0x3D, 0x8B, 0xFD) {
    SkinControl::setAttribute(QStringLiteral("align"), QStringLiteral("center"));
}

bool SkinProgress::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    bool ok = true;
    if (name == QLatin1String("min"))
        min_ = value.toInt(&ok);
    else if (name == QLatin1String("max"))
        setMaxValue(value.toInt(&ok));
    else if (name == QLatin1String("value"))
        setValue(value.toInt(&ok));
    else if (name == QLatin1String("showtext"))
        showText_ = skinBool(value);
    else if (name == QLatin1String("forecolor"))
        ok = parseSkinColor(value, foreColor_);
    else
        return SkinControl::setAttribute(attributeName, value);
    update();
    return ok;
}

void SkinProgress::setValue(int value) {
    value_ = std::clamp(value, min_, std::max(min_, max_));
    update();
}

void SkinProgress::setMaxValue(int max) {
    max_ = max;
    setValue(value_);
}

void SkinProgress::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter);
    const int span = std::max(1, max_ - min_);
    QRect done = rect();
    done.setWidth(rect().width() * (value_ - min_) / span);
    if (!done.isEmpty()) {
        if (const SkinImage fore = image(QStringLiteral("foreimage")); !fore.isEmpty()) {
            painter.save();
            painter.setClipRect(done);
            fore.draw(painter, rect());
            painter.restore();
        } else {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(foreColor_);
            const qreal radius = std::min(4.0, rect().height() / 2.0);
            painter.drawRoundedRect(QRectF(done), radius, radius);
        }
    }
    if (showText_) {
        painter.setFont(controlFont());
        painter.setPen(textColor());
        painter.drawText(rect(), Qt::AlignCenter,
                         QStringLiteral("%1 %").arg((value_ - min_) * 100 / span));
    }
}

} // namespace varnix
