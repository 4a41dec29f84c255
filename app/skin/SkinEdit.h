// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line text entry.
#pragma once

#include "app/skin/SkinControl.h"

#include <QLineEdit>

namespace varnix {

class SkinEdit : public QLineEdit, public SkinControl {
    Q_OBJECT
public:
    explicit SkinEdit(QWidget* parent = nullptr);
    QString className() const override { return QStringLiteral("Edit"); }
    // Also: maxchar, readonly, password, numberonly.
    bool setAttribute(const QString& name, const QString& value) override;
    void setText(const QString& text) override;
    QString text() const override { return QLineEdit::text(); }
    void setSelAll() { selectAll(); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace varnix
