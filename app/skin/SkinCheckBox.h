// SPDX-License-Identifier: GPL-3.0-or-later
// An option without a group that toggles on every click.
#pragma once

#include "app/skin/SkinOption.h"

namespace varnix {

class SkinCheckBox : public SkinOption {
public:
    explicit SkinCheckBox(QWidget* parent = nullptr) : SkinOption(parent) {}
    QString className() const override { return QStringLiteral("CheckBox"); }
    bool getCheck() const { return isSelected(); }
    void setCheck(bool checked, bool notify = true) { select(checked, notify); }
};

} // namespace varnix
