// SPDX-License-Identifier: GPL-3.0-or-later
// A text or picture that does not react to the mouse; "Control" tags make a plain one.
#pragma once

#include "app/skin/SkinControl.h"

#include <QWidget>

namespace varnix {

class SkinLabel : public QWidget, public SkinControl {
    Q_OBJECT
public:
    explicit SkinLabel(QWidget* parent = nullptr, QString tag = QStringLiteral("Label"));
    QString className() const override { return tag_; }
    // Also: autocalcwidth.
    bool setAttribute(const QString& name, const QString& value) override;
    // Gives the label the width its text needs, keeping left and top.
    void fitToText();

protected:
    void paintEvent(QPaintEvent* event) override;
    void textChanged() override;

private:
    QString tag_;
    bool autoWidth_ = false;
};

} // namespace varnix
