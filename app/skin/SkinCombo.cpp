// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinCombo.h"

#include "app/skin/SkinNotify.h"

namespace varnix {

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
    return SkinControl::setAttribute(attributeName, value);
}

void SkinCombo::setText(const QString& text) {
    SkinControl::setText(text);
    if (isEditable())
        setEditText(text);
}

void SkinCombo::addNamedItem(const QString& name, const QString& text) {
    quiet_ = true;
    addItem(text, name);
    quiet_ = false;
    last_ = currentIndex();
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
