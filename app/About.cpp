// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/About.h"

#include "app/BuildInfo.h"
#include "app/skin/SkinControl.h"

#include <QDesktopServices>
#include <QUrl>

namespace varnix {
namespace {

const QString VersionTextId = QStringLiteral("About_Version");
const QString LinkMarker = QStringLiteral("link_");

About::Opener& opener() {
    static About::Opener current;
    return current;
}

} // namespace

About::About(LanguageFile texts, QWidget* parent)
    : SkinWindow(parent, Qt::Window | Qt::FramelessWindowHint), texts_(std::move(texts)) {
    manager().setTextProvider(this);
}

void About::setOpener(Opener open) {
    opener() = std::move(open);
}

QString About::versionText(const QString& languageText) {
    const QString version = QString::fromLatin1(buildinfo::Version);
    if (languageText.contains(QLatin1String("%1")))
        return languageText.arg(version);
    return languageText.isEmpty() ? version : languageText + QLatin1Char(' ') + version;
}

std::optional<QString> About::queryControlText(const QString& textId) {
    std::optional<QString> text;
    if (auto found = texts_.text(languagefile::OthersUI, textId.toStdString()))
        text = QString::fromStdString(*found);
    if (textId == VersionTextId)
        return versionText(text.value_or(QStringLiteral("Version %1")));
    return text;
}

QString About::linkTarget(const QString& controlName) {
    if (controlName == QLatin1String("link_home"))
        return QString::fromUtf8(buildinfo::HomepageUrl);
    if (controlName == QLatin1String("link_licence"))
        return QString::fromUtf8(buildinfo::LicenceUrl);
    return {};
}

void About::notify(const SkinNotify& message) {
    if (message.type == QLatin1String(notify::WindowInit)) {
        manager().reloadTexts();
        // A link the build does not name is not offered: there is nothing to open.
        for (const char* name : {"link_home", "link_licence"})
            if (SkinControl* link = findControl(QString::fromLatin1(name)))
                link->setControlVisible(!linkTarget(link->name()).isEmpty());
        return;
    }
    if (message.type != QLatin1String(notify::Click))
        return;
    if (message.senderName == QLatin1String("btn_close")) {
        closeWindow(0);
        return;
    }
    if (message.senderName.contains(LinkMarker)) {
        const QString target = linkTarget(message.senderName);
        if (target.isEmpty())
            return;
        if (opener())
            opener()(target);
        else
            QDesktopServices::openUrl(QUrl(target));
    }
}

} // namespace varnix
