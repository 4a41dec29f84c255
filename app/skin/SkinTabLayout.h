// SPDX-License-Identifier: GPL-3.0-or-later
// A container that shows one of its items at a time.
#pragma once

#include "app/skin/SkinContainer.h"

namespace varnix {

class SkinTabLayout : public SkinContainer {
    Q_OBJECT
public:
    explicit SkinTabLayout(QWidget* parent = nullptr);
    QString className() const override { return QStringLiteral("TabLayout"); }
    // Also: selectedid.
    bool setAttribute(const QString& name, const QString& value) override;

    int currentSel() const { return current_; }
    // Shows the item; sends "tabselect" (wParam new, lParam old) when the page changes.
    bool selectItem(int index);

protected:
    void placeItems(const QRect& area) override;

private:
    int current_ = 0;
};

} // namespace varnix
