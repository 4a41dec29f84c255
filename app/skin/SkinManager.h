// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of one window: lookup by name, notifications, option groups, fonts and texts.
#pragma once

#include "app/skin/SkinNotify.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

namespace varnix {

class SkinControl;
class SkinOption;
class SkinTextProvider;

class SkinManager {
public:
    SkinManager();
    ~SkinManager();
    SkinManager(const SkinManager&) = delete;
    SkinManager& operator=(const SkinManager&) = delete;

    // The first attached control of that name (names are compared exactly, then ignoring case).
    SkinControl* findControl(const QString& name) const;
    template <typename T> T* find(const QString& name) const {
        return dynamic_cast<T*>(findControl(name));
    }
    void registerControl(SkinControl* control);
    void unregisterControl(SkinControl* control);
    // Forgets every control (the window is going away).
    void detachAll();

    using NotifyTarget = std::function<void(const SkinNotify&)>;
    void setNotifyTarget(NotifyTarget target) { target_ = std::move(target); }
    void sendNotify(SkinControl* sender, const QString& type, qintptr wParam = 0,
                    qintptr lParam = 0);
    void sendNotify(const SkinNotify& message);

    // Option groups: selecting one option of a group clears the others.
    void addOptionToGroup(const QString& group, SkinOption* option);
    void removeOptionFromGroup(const QString& group, SkinOption* option);
    QList<SkinOption*> optionGroup(const QString& group) const;

    // Fonts by number; -1 or an unknown number gives the default font.
    void setFont(int id, const QFont& font);
    bool hasFont(int id) const { return fonts_.contains(id); }
    QFont font(int id) const;
    QList<int> fontIds() const { return fonts_.keys(); }
    void setDefaultFont(const QFont& font);
    // Hands the current fonts to every control again.
    void rebuildFonts();

    // Texts of controls that name a text id. A window's own provider wins over the process's.
    void setTextProvider(SkinTextProvider* provider) { provider_ = provider; }
    static void setGlobalTextProvider(SkinTextProvider* provider);
    std::optional<QString> queryText(const QString& textId) const;
    void reloadTexts();
    // Every live window's texts.
    static void reloadAllTexts();

private:
    QHash<QString, SkinControl*> byName_;
    QSet<SkinControl*> attached_;
    QHash<QString, QList<SkinOption*>> groups_;
    QMap<int, QFont> fonts_;
    QFont defaultFont_;
    NotifyTarget target_;
    SkinTextProvider* provider_ = nullptr;
};

} // namespace varnix
