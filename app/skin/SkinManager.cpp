// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinManager.h"

#include "app/skin/SkinControl.h"
#include "app/skin/SkinTextProvider.h"

#include <QApplication>

namespace varnix {
namespace {

QSet<SkinManager*>& liveManagers() {
    static QSet<SkinManager*> managers;
    return managers;
}

SkinTextProvider*& globalProvider() {
    static SkinTextProvider* provider = nullptr;
    return provider;
}

} // namespace

SkinManager::SkinManager() : defaultFont_(QApplication::font()) {
    liveManagers().insert(this);
}

SkinManager::~SkinManager() {
    detachAll();
    liveManagers().remove(this);
}

SkinControl* SkinManager::findControl(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    if (SkinControl* control = byName_.value(name))
        return control;
    for (auto it = byName_.begin(); it != byName_.end(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    return nullptr;
}

void SkinManager::registerControl(SkinControl* control) {
    attached_.insert(control);
    if (!control->name().isEmpty() && !byName_.contains(control->name()))
        byName_.insert(control->name(), control);
}

void SkinManager::unregisterControl(SkinControl* control) {
    attached_.remove(control);
    auto it = byName_.find(control->name());
    if (it != byName_.end() && it.value() == control) {
        byName_.erase(it);
        // Another control of the same name (a template row) takes over the name.
        for (SkinControl* other : std::as_const(attached_))
            if (other->name() == control->name()) {
                byName_.insert(other->name(), other);
                break;
            }
    }
}

void SkinManager::detachAll() {
    const auto controls = attached_;
    for (SkinControl* control : controls)
        control->detach();
    attached_.clear();
    byName_.clear();
    groups_.clear();
}

void SkinManager::sendNotify(SkinControl* sender, const QString& type, qintptr wParam,
                             qintptr lParam) {
    SkinNotify message;
    message.type = type;
    message.sender = sender;
    message.senderName = sender ? sender->name() : QString();
    message.wParam = wParam;
    message.lParam = lParam;
    sendNotify(message);
}

void SkinManager::sendNotify(const SkinNotify& message) {
    if (target_)
        target_(message);
}

void SkinManager::addOptionToGroup(const QString& group, SkinOption* option) {
    auto& members = groups_[group];
    if (!members.contains(option))
        members.append(option);
}

void SkinManager::removeOptionFromGroup(const QString& group, SkinOption* option) {
    groups_[group].removeAll(option);
}

QList<SkinOption*> SkinManager::optionGroup(const QString& group) const {
    return groups_.value(group);
}

void SkinManager::setFont(int id, const QFont& font) {
    fonts_.insert(id, font);
}

QFont SkinManager::font(int id) const {
    return fonts_.value(id, defaultFont_);
}

void SkinManager::setDefaultFont(const QFont& font) {
    defaultFont_ = font;
}

void SkinManager::rebuildFonts() {
    for (SkinControl* control : std::as_const(attached_))
        control->fontsChanged();
}

void SkinManager::setGlobalTextProvider(SkinTextProvider* provider) {
    globalProvider() = provider;
}

std::optional<QString> SkinManager::queryText(const QString& textId) const {
    if (provider_)
        return provider_->queryControlText(textId);
    if (globalProvider())
        return globalProvider()->queryControlText(textId);
    return std::nullopt;
}

void SkinManager::reloadTexts() {
    const auto controls = attached_;
    for (SkinControl* control : controls)
        control->reloadText();
}

void SkinManager::reloadAllTexts() {
    for (SkinManager* manager : std::as_const(liveManagers()))
        manager->reloadTexts();
}

} // namespace varnix
