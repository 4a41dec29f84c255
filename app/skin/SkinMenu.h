// SPDX-License-Identifier: GPL-3.0-or-later
// Pop-up menus described by XML: <Menu> with <MenuElement> items and <MenuSeparator/>.
#pragma once

#include <QString>
#include <memory>

class QMenu;
class QWidget;

namespace varnix {

class SkinManager;

class SkinMenu {
public:
    // Builds the menu of a file named relative to the resource root. Each item's QAction has
    // the item's name as its objectName; texts that name a text id are asked of the manager.
    // Null when the file cannot be read; error says why.
    static std::unique_ptr<QMenu> build(const QString& file, const SkinManager* texts,
                                        QString* error = nullptr, QWidget* parent = nullptr);
    static std::unique_ptr<QMenu> buildText(const QString& xml, const SkinManager* texts,
                                            QString* error = nullptr, QWidget* parent = nullptr);
};

} // namespace varnix
