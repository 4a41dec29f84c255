// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinMenu.h"

#include "app/skin/SkinControl.h"
#include "app/skin/SkinImage.h"
#include "app/skin/SkinManager.h"

#include <QFile>
#include <QMenu>
#include <QXmlStreamReader>

namespace varnix {
namespace {

QString itemText(const QXmlStreamAttributes& attributes, const SkinManager* texts) {
    const QString id = attributes.value(QLatin1String("textid")).toString();
    if (!id.isEmpty() && texts)
        if (auto text = texts->queryText(id))
            return *text;
    return attributes.value(QLatin1String("text")).toString();
}

void readItems(QXmlStreamReader& reader, QMenu* menu, const SkinManager* texts) {
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            return;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.name() == QLatin1String("MenuSeparator")) {
            menu->addSeparator();
            reader.skipCurrentElement();
            continue;
        }
        if (reader.name() != QLatin1String("MenuElement")) {
            reader.skipCurrentElement();
            continue;
        }
        const QString name = attributes.value(QLatin1String("name")).toString();
        const QString text = itemText(attributes, texts);
        // An element with elements inside is a sub-menu.
        auto* sub = new QMenu(text, menu);
        sub->setObjectName(name);
        readItems(reader, sub, texts);
        if (!sub->actions().isEmpty()) {
            menu->addMenu(sub)->setObjectName(name);
            continue;
        }
        delete sub;
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setCheckable(skinBool(attributes.value(QLatin1String("checkable")).toString()));
        if (attributes.hasAttribute(QLatin1String("enabled")))
            action->setEnabled(skinBool(attributes.value(QLatin1String("enabled")).toString()));
        if (const QString icon = attributes.value(QLatin1String("icon")).toString();
            !icon.isEmpty())
            action->setIcon(QIcon(SkinImage::parse(icon).pixmap()));
    }
}

std::unique_ptr<QMenu> readMenu(QXmlStreamReader& reader, const SkinManager* texts, QString* error,
                                QWidget* parent) {
    std::unique_ptr<QMenu> menu;
    while (!reader.atEnd() && !reader.hasError()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("Menu")) {
            menu = std::make_unique<QMenu>(parent);
            menu->setObjectName(QStringLiteral("SkinMenu"));
            if (const int width = reader.attributes().value(QLatin1String("width")).toInt();
                width > 0)
                menu->setMinimumWidth(width);
            readItems(reader, menu.get(), texts);
            break;
        }
    }
    if (reader.hasError() || !menu) {
        if (error)
            *error = reader.hasError() ? reader.errorString() : QStringLiteral("no <Menu> element");
        return nullptr;
    }
    return menu;
}

} // namespace

std::unique_ptr<QMenu> SkinMenu::build(const QString& file, const SkinManager* texts,
                                       QString* error, QWidget* parent) {
    QFile input(SkinImage::resolvePath(file));
    if (!input.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot open menu %1").arg(input.fileName());
        return nullptr;
    }
    QXmlStreamReader reader(&input);
    return readMenu(reader, texts, error, parent);
}

std::unique_ptr<QMenu> SkinMenu::buildText(const QString& xml, const SkinManager* texts,
                                           QString* error, QWidget* parent) {
    QXmlStreamReader reader(xml);
    return readMenu(reader, texts, error, parent);
}

} // namespace varnix
