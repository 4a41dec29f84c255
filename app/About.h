// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: program name, the build's version and the project's links.
#pragma once

#include "app/LanguageFile.h"
#include "app/skin/SkinTextProvider.h"
#include "app/skin/SkinWindow.h"

#include <functional>

namespace varnix {

class About : public SkinWindow, public SkinTextProvider {
    Q_OBJECT
public:
    // `texts` is a copy of the main window's language.
    explicit About(LanguageFile texts, QWidget* parent = nullptr);
    QString skinFile() const override { return QStringLiteral("about.xml"); }
    QString windowClassName() const override { return QStringLiteral("about"); }
    void notify(const SkinNotify& message) override;
    // Also answers "About_Version": the language's text with the build's version in it.
    std::optional<QString> queryControlText(const QString& textId) override;

    // Opens a link target (tests replace it; the default hands it to the desktop).
    using Opener = std::function<void(const QString& target)>;
    static void setOpener(Opener opener);
    // The target of a "link_" control, as the build defines it ("link_home": the home page,
    // "link_licence": the licence); empty for a link the build does not name.
    static QString linkTarget(const QString& controlName);
    // "Version 1.2.3" in the language's words; a text without "%1" gets the number after it.
    static QString versionText(const QString& languageText);

private:
    LanguageFile texts_;
};

} // namespace varnix
