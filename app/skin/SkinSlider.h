// SPDX-License-Identifier: GPL-3.0-or-later
// A horizontal or vertical value slider.
#pragma once

#include "app/skin/SkinControl.h"

#include <QSlider>

namespace varnix {

class SkinSlider : public QSlider, public SkinControl {
    Q_OBJECT
public:
    explicit SkinSlider(QWidget* parent = nullptr);
    QString className() const override { return QStringLiteral("Slider"); }
    // Also: min, max, value, step, hor.
    bool setAttribute(const QString& name, const QString& value) override;
    // Sets the value without a notification.
    void setSliderValue(int value);
};

} // namespace varnix
