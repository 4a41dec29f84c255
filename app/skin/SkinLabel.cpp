// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinLabel.h"

#include <QPainter>

namespace varnix {

SkinLabel::SkinLabel(QWidget* parent, QString tag)
    : QWidget(parent), SkinControl(this), tag_(std::move(tag)) {}

bool SkinLabel::setAttribute(const QString& attributeName, const QString& value) {
    if (attributeName.trimmed().compare(QLatin1String("autocalcwidth"), Qt::CaseInsensitive) == 0) {
        autoWidth_ = skinBool(value);
        if (autoWidth_)
            fitToText();
        return true;
    }
    return SkinControl::setAttribute(attributeName, value);
}

void SkinLabel::fitToText() {
    const int width = estimateSize().width();
    if (isFloat()) {
        QRect rect = posRect().isNull() ? geometry() : posRect();
        rect.setWidth(width);
        setPos(rect);
    } else {
        setFixedControlWidth(width);
    }
}

void SkinLabel::textChanged() {
    if (autoWidth_)
        fitToText();
}

void SkinLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter, QStringLiteral("normalimage"));
    paintText(painter, isEnabled() ? textColor() : disabledTextColor());
}

} // namespace varnix
