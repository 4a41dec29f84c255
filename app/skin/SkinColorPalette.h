// SPDX-License-Identifier: GPL-3.0-or-later
// A colour field (hue across, saturation down) over a brightness strip.
#pragma once

#include "app/skin/SkinControl.h"

#include <QImage>
#include <QWidget>

namespace varnix {

class SkinColorPalette : public QWidget, public SkinControl {
    Q_OBJECT
public:
    explicit SkinColorPalette(QWidget* parent = nullptr);
    QString className() const override { return QStringLiteral("ColorPalette"); }
    // Also: palletheight (height of the colour field), barheight, color (#RRGGBB).
    bool setAttribute(const QString& name, const QString& value) override;

    QColor selectedColor() const { return color_; }
    // Sets the colour without a notification.
    void setSelectedColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void pick(const QPoint& point, bool notify);
    QRect fieldRect() const;
    QRect barRect() const;

    QColor color_{Qt::red};
    int barHeight_ = 14;
    int gap_ = 8;
    QImage field_;
    bool inBar_ = false;
};

} // namespace varnix
