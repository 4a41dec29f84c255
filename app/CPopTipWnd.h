// SPDX-License-Identifier: GPL-3.0-or-later
// A borderless text bubble that hides as soon as the mouse moves onto it.
#pragma once

#include "app/skin/SkinWindow.h"

namespace varnix {

class CPopTipWnd : public SkinWindow {
    Q_OBJECT
public:
    explicit CPopTipWnd(QWidget* parent = nullptr);
    QString skinFile() const override { return QStringLiteral("poptip.xml"); }
    QString windowClassName() const override { return QStringLiteral("PopTipWnd"); }
    // Sets "displaytext" and shows the tip with its top-left corner at a screen point.
    void showTip(const QString& text, const QPoint& at);

protected:
    bool event(QEvent* event) override;
};

} // namespace varnix
