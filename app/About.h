// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: program name, version and links read from the settings file.
#pragma once

#include "app/LanguageFile.h"
#include "app/skin/SkinTextProvider.h"
#include "app/skin/SkinWindow.h"

#include <filesystem>
#include <functional>

namespace varnix {

class About : public SkinWindow, public SkinTextProvider {
    Q_OBJECT
public:
    // `texts` is a copy of the main window's language; `settingsFile` the real path of Set.ini.
    About(LanguageFile texts, std::filesystem::path settingsFile, QWidget* parent = nullptr);
    QString skinFile() const override { return QStringLiteral("about.xml"); }
    QString windowClassName() const override { return QStringLiteral("about"); }
    void notify(const SkinNotify& message) override;
    std::optional<QString> queryControlText(const QString& textId) override;

    // Opens a link target (tests replace it; the default hands it to the desktop).
    using Opener = std::function<void(const QString& target)>;
    static void setOpener(Opener opener);
    // The target of a "link_" control: key of that name in section "Set" of Set.ini.
    QString linkTarget(const QString& controlName) const;

private:
    LanguageFile texts_;
    std::filesystem::path settingsFile_;
};

} // namespace varnix
