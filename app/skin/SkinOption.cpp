// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinOption.h"

#include "app/skin/SkinManager.h"
#include "app/skin/SkinNotify.h"

namespace varnix {

SkinOption::SkinOption(QWidget* parent) : SkinButton(parent) {}

SkinOption::~SkinOption() {
    if (manager() && !group_.isEmpty())
        manager()->removeOptionFromGroup(group_, this);
}

bool SkinOption::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    if (name == QLatin1String("group")) {
        setGroup(value);
        return true;
    }
    if (name == QLatin1String("selected")) {
        select(skinBool(value), false);
        return true;
    }
    if (name == QLatin1String("selectedtextcolor")) {
        const bool ok = parseSkinColor(value, selectedTextColor_);
        update();
        return ok;
    }
    if (name == QLatin1String("selectedbkcolor")) {
        const bool ok = parseSkinColor(value, selectedBkColor_);
        update();
        return ok;
    }
    return SkinButton::setAttribute(attributeName, value);
}

void SkinOption::attach(SkinManager* manager) {
    if (this->manager() && !group_.isEmpty())
        this->manager()->removeOptionFromGroup(group_, this);
    SkinButton::attach(manager);
    if (manager && !group_.isEmpty())
        manager->addOptionToGroup(group_, this);
}

void SkinOption::setGroup(const QString& group) {
    if (manager() && !group_.isEmpty())
        manager()->removeOptionFromGroup(group_, this);
    group_ = group;
    if (manager() && !group_.isEmpty())
        manager()->addOptionToGroup(group_, this);
}

void SkinOption::select(bool selected, bool notify) {
    if (selected_ == selected)
        return;
    selected_ = selected;
    if (selected_ && manager() && !group_.isEmpty()) {
        for (SkinOption* other : manager()->optionGroup(group_))
            if (other != this)
                other->select(false, notify);
    }
    update();
    if (notify)
        sendNotify(QString::fromLatin1(notify::SelectChanged));
}

void SkinOption::activate() {
    sendNotify(QString::fromLatin1(notify::Click));
    if (!group_.isEmpty())
        select(true);
    else
        select(!selected_);
}

QString SkinOption::stateImage() const {
    if (selected_) {
        if (isHot() && hasImage(QStringLiteral("selectedhotimage")))
            return QStringLiteral("selectedhotimage");
        if (hasImage(QStringLiteral("selectedimage")))
            return QStringLiteral("selectedimage");
    }
    return SkinButton::stateImage();
}

QColor SkinOption::stateTextColor() const {
    if (selected_ && isEnabled() && selectedTextColor_.isValid())
        return selectedTextColor_;
    return SkinButton::stateTextColor();
}

QColor SkinOption::stateBkColor() const {
    if (selected_ && selectedBkColor_.isValid())
        return selectedBkColor_;
    return SkinButton::stateBkColor();
}

} // namespace varnix
