// SPDX-License-Identifier: GPL-3.0-or-later
// A bar that shows how far a piece of work has come.
#pragma once

#include "app/skin/SkinControl.h"

#include <QWidget>

namespace varnix {

class SkinProgress : public QWidget, public SkinControl {
    Q_OBJECT
public:
    explicit SkinProgress(QWidget* parent = nullptr);
    QString className() const override { return QStringLiteral("Progress"); }
    // Also: min, max, value, forecolor, showtext (the percentage as text).
    bool setAttribute(const QString& name, const QString& value) override;

    int value() const { return value_; }
    void setValue(int value);
    int maxValue() const { return max_; }
    void setMaxValue(int max);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    bool showText_ = false;
    QColor foreColor_;
};

} // namespace varnix
