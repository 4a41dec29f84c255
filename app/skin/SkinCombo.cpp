// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinCombo.h"

#include "app/skin/SkinManager.h"
#include "app/skin/SkinNotify.h"

namespace varnix {
namespace {

// Where an item keeps the text id its text comes from.
constexpr int TextIdRole = Qt::UserRole + 1;

} // namespace

SkinCombo::SkinCombo(QWidget* parent) : QComboBox(parent), SkinControl(this) {
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        const int old = last_;
        last_ = index;
        if (!quiet_)
            sendNotify(QString::fromLatin1(notify::ItemSelect), index, old);
    });
}

bool SkinCombo::setAttribute(const QString& attributeName, const QString& value) {
    if (attributeName.trimmed().compare(QLatin1String("selectedid"), Qt::CaseInsensitive) == 0) {
        bool ok = false;
        const int index = value.toInt(&ok);
        if (ok)
            selectItem(index);
        return ok;
    }
    if (attributeName.trimmed().compare(QLatin1String("selecteditem"), Qt::CaseInsensitive) == 0) {
        const int index = findItem(value);
        pendingItem_ = index < 0 ? value : QString();
        if (index >= 0)
            selectItem(index);
        return true;
    }
    return SkinControl::setAttribute(attributeName, value);
}

void SkinCombo::setText(const QString& text) {
    SkinControl::setText(text);
    if (isEditable())
        setEditText(text);
}

void SkinCombo::reloadText() {
    SkinControl::reloadText();
    if (!manager())
        return;
    for (int index = 0; index < count(); ++index) {
        const QString id = itemTextId(index);
        if (id.isEmpty())
            continue;
        if (auto text = manager()->queryText(id))
            setItemText(index, *text);
    }
}

void SkinCombo::addNamedItem(const QString& name, const QString& text, const QString& textId) {
    quiet_ = true;
    addItem(text, name);
    const int added = count() - 1;
    if (!textId.isEmpty()) {
        setItemData(added, textId, TextIdRole);
        if (manager())
            if (auto shown = manager()->queryText(textId))
                setItemText(added, *shown);
    }
    if (!pendingItem_.isEmpty() && pendingItem_ == name) {
        pendingItem_.clear();
        setCurrentIndex(added);
    }
    quiet_ = false;
    last_ = currentIndex();
}

QString SkinCombo::itemTextId(int index) const {
    return itemData(index, TextIdRole).toString();
}

QString SkinCombo::itemName(int index) const {
    return itemData(index).toString();
}

int SkinCombo::findItem(const QString& name) const {
    return findData(name);
}

void SkinCombo::selectItem(int index) {
    quiet_ = true;
    setCurrentIndex(index);
    quiet_ = false;
    last_ = currentIndex();
}

void SkinCombo::showPopup() {
    sendNotify(QString::fromLatin1(notify::PreDropDown));
    QComboBox::showPopup();
    sendNotify(QString::fromLatin1(notify::DropDown));
}

} // namespace varnix
