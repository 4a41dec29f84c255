// SPDX-License-Identifier: GPL-3.0-or-later
// A drop-down choice of named items.
#pragma once

#include "app/skin/SkinControl.h"

#include <QComboBox>

namespace varnix {

class SkinCombo : public QComboBox, public SkinControl {
    Q_OBJECT
public:
    explicit SkinCombo(QWidget* parent = nullptr);
    QString className() const override { return QStringLiteral("Combo"); }
    bool setAttribute(const QString& name, const QString& value) override;
    void setText(const QString& text) override;
    QString text() const override { return currentText(); }

    void addNamedItem(const QString& name, const QString& text);
    QString itemName(int index) const;
    int findItem(const QString& name) const;
    // Selects without a notification.
    void selectItem(int index);

protected:
    void showPopup() override;

private:
    int last_ = -1;
    bool quiet_ = false;
};

} // namespace varnix
