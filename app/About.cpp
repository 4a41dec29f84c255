// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/About.h"

#include "app/Settings.h"
#include "common/IniFile.h"

#include <QDesktopServices>
#include <QUrl>

namespace varnix {
namespace {
About::Opener& opener() {
    static About::Opener current;
    return current;
}
} // namespace

About::About(LanguageFile texts, std::filesystem::path settingsFile, QWidget* parent)
    : SkinWindow(parent, Qt::Window | Qt::FramelessWindowHint), texts_(std::move(texts)),
      settingsFile_(std::move(settingsFile)) {
    manager().setTextProvider(this);
}

void About::setOpener(Opener open) {
    opener() = std::move(open);
}

std::optional<QString> About::queryControlText(const QString& textId) {
    if (auto text = texts_.text(languagefile::OthersUI, textId.toStdString()))
        return QString::fromStdString(*text);
    return std::nullopt;
}

QString About::linkTarget(const QString& controlName) const {
    const IniFile settings(settingsFile_);
    return QString::fromStdString(
        settings.getString(settingsfile::SetSection, controlName.toStdString()));
}

void About::notify(const SkinNotify& message) {
    if (message.type == QLatin1String(notify::WindowInit)) {
        manager().reloadTexts();
        return;
    }
    if (message.type != QLatin1String(notify::Click))
        return;
    if (message.senderName == QLatin1String("btn_close")) {
        closeWindow(0);
        return;
    }
    if (message.senderName.contains(QLatin1String("link_"))) {
        const QString target = linkTarget(message.senderName);
        // A link without a target opens nothing.
        if (target.isEmpty())
            return;
        if (opener())
            opener()(target);
        else
            QDesktopServices::openUrl(QUrl::fromUserInput(target));
    }
}

} // namespace varnix
