// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinEdit.h"

#include "app/skin/SkinNotify.h"

#include <QIntValidator>

namespace varnix {

SkinEdit::SkinEdit(QWidget* parent) : QLineEdit(parent), SkinControl(this) {
    connect(this, &QLineEdit::textEdited, this,
            [this] { sendNotify(QString::fromLatin1(notify::TextChanged)); });
    connect(this, &QLineEdit::returnPressed, this,
            [this] { sendNotify(QString::fromLatin1(notify::Return)); });
}

bool SkinEdit::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    if (name == QLatin1String("maxchar")) {
        bool ok = false;
        const int length = value.toInt(&ok);
        if (ok)
            setMaxLength(length);
        return ok;
    }
    if (name == QLatin1String("readonly")) {
        setReadOnly(skinBool(value));
        return true;
    }
    if (name == QLatin1String("password")) {
        setEchoMode(skinBool(value) ? QLineEdit::Password : QLineEdit::Normal);
        return true;
    }
    if (name == QLatin1String("numberonly")) {
        setValidator(skinBool(value) ? new QIntValidator(0, 999999999, this) : nullptr);
        return true;
    }
    const bool known = SkinControl::setAttribute(attributeName, value);
    if (name == QLatin1String("align"))
        setAlignment(Qt::Alignment(textFlags()) & Qt::AlignHorizontal_Mask);
    return known;
}

void SkinEdit::setText(const QString& text) {
    SkinControl::setText(text);
    QLineEdit::setText(text);
}

void SkinEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    sendNotify(QString::fromLatin1(notify::SetFocus));
}

void SkinEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    sendNotify(QString::fromLatin1(notify::KillFocus));
}

} // namespace varnix
