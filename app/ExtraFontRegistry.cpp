// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ExtraFontRegistry.h"

#include "app/ExtraFontList.h"
#include "app/skin/SkinImage.h"
#include "common/Diagnostics.h"

#include <QFontDatabase>

namespace varnix {

int ExtraFontRegistry::registerFrom(const std::filesystem::path& listFile) {
    int added = 0;
    for (const auto& [name, path] : ExtraFontList::read(listFile)) {
        const QString file = SkinImage::resolvePath(QString::fromStdString(path));
        const int id = QFontDatabase::addApplicationFont(file);
        if (id < 0) {
            debugOutput(formatText("font %s: cannot load %s", name.c_str(), qPrintable(file)));
            continue;
        }
        ids_.append(id);
        families_ << QFontDatabase::applicationFontFamilies(id);
        ++added;
    }
    return added;
}

void ExtraFontRegistry::unregisterAll() {
    for (int id : std::as_const(ids_))
        QFontDatabase::removeApplicationFont(id);
    ids_.clear();
    families_.clear();
}

} // namespace varnix
