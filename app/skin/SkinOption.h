// SPDX-License-Identifier: GPL-3.0-or-later
// A button that stays selected; options of one group exclude each other.
#pragma once

#include "app/skin/SkinButton.h"

namespace varnix {

class SkinOption : public SkinButton {
    Q_OBJECT
public:
    explicit SkinOption(QWidget* parent = nullptr);
    ~SkinOption() override;
    QString className() const override { return QStringLiteral("Option"); }
    // Also: group, selected, selectedtextcolor, selectedbkcolor (images: selectedimage,
    // selectedhotimage).
    bool setAttribute(const QString& name, const QString& value) override;
    void attach(SkinManager* manager) override;

    const QString& group() const { return group_; }
    void setGroup(const QString& group);
    bool isSelected() const { return selected_; }
    // Changes the state; with notify, a change sends "selectchanged".
    void select(bool selected, bool notify = true);

    // "click" first, then the state changes (a grouped option only ever becomes selected).
    void activate() override;

protected:
    QString stateImage() const override;
    QColor stateTextColor() const override;
    QColor stateBkColor() const override;

private:
    QString group_;
    bool selected_ = false;
    QColor selectedTextColor_;
    QColor selectedBkColor_;
};

} // namespace varnix
