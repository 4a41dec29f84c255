// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinTabLayout.h"

#include "app/skin/SkinNotify.h"

namespace varnix {

SkinTabLayout::SkinTabLayout(QWidget* parent) : SkinContainer(Kind::Free, parent) {}

bool SkinTabLayout::setAttribute(const QString& attributeName, const QString& value) {
    if (attributeName.trimmed().compare(QLatin1String("selectedid"), Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int index = value.trimmed().toInt(&ok);
        if (ok) {
            current_ = index;
            relayout();
        }
        return ok;
    }
    return SkinContainer::setAttribute(attributeName, value);
}

bool SkinTabLayout::selectItem(int index) {
    if (index < 0 || index >= count())
        return false;
    const int old = current_;
    current_ = index;
    relayout();
    if (old != index)
        sendNotify(QString::fromLatin1(notify::TabSelect), index, old);
    return true;
}

void SkinTabLayout::placeItems(const QRect& area) {
    for (int i = 0; i < count(); ++i) {
        QWidget* page = itemAt(i)->widget();
        page->setGeometry(area.marginsRemoved(itemAt(i)->padding()));
        page->setVisible(i == current_ && itemAt(i)->isControlVisible());
    }
}

} // namespace varnix
