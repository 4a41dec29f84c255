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
    // Also: selectedid (an index), selecteditem (an item name; named before its <Item> exists,
    // the item is selected when it is added).
    bool setAttribute(const QString& name, const QString& value) override;
    void setText(const QString& text) override;
    QString text() const override { return currentText(); }
    // Also the texts of the items that name a text id.
    void reloadText() override;

    // An item whose textId is not empty takes its text from the text provider whenever texts
    // are reloaded, and keeps `text` while the provider has none.
    void addNamedItem(const QString& name, const QString& text, const QString& textId = {});
    QString itemTextId(int index) const;
    QString itemName(int index) const;
    int findItem(const QString& name) const;
    // Selects without a notification.
    void selectItem(int index);

protected:
    void showPopup() override;

private:
    int last_ = -1;
    bool quiet_ = false;
    QString pendingItem_;
};

} // namespace varnix
