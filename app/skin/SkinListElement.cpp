// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinListElement.h"

#include "app/skin/SkinList.h"

#include <QMouseEvent>
#include <QPainter>

namespace varnix {

SkinListElement::SkinListElement(QString tag, QWidget* parent)
    : SkinContainer(Kind::Horizontal, parent), tag_(std::move(tag)) {
    QWidget::setAttribute(Qt::WA_Hover);
}

SkinList* SkinListElement::ownerList() const {
    for (QWidget* parent = parentWidget(); parent; parent = parent->parentWidget())
        if (auto* list = dynamic_cast<SkinList*>(parent))
            return list;
    return nullptr;
}

int SkinListElement::index() const {
    SkinList* list = ownerList();
    return list ? list->indexOf(this) : -1;
}

void SkinListElement::setSelected(bool selected) {
    selected_ = selected;
    update();
}

void SkinListElement::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter,
               selected_ ? QStringLiteral("selectedimage") : QStringLiteral("normalimage"));
    SkinList* list = ownerList();
    const QColor overlay = !list       ? QColor()
                           : selected_ ? list->selectedBkColor()
                           : hot_      ? list->hotBkColor()
                                       : QColor();
    if (overlay.isValid())
        painter.fillRect(rect(), overlay);
    if (!text().isEmpty()) {
        painter.save();
        painter.translate(textIndent(), 0);
        QColor color =
            list && list->itemTextColor().isValid() ? list->itemTextColor() : textColor();
        paintText(painter, isEnabled() ? color : disabledTextColor());
        painter.restore();
    }
    if (list && list->hasFocus() && list->focusRow() == this)
        drawFocusMark(painter, rect());
}

void SkinListElement::mousePressEvent(QMouseEvent* event) {
    if (SkinList* list = ownerList())
        list->rowPressed(this, event->button());
}

void SkinListElement::mouseDoubleClickEvent(QMouseEvent*) {
    if (SkinList* list = ownerList())
        list->rowDoubleClicked(this);
}

void SkinListElement::enterEvent(QEnterEvent* event) {
    hot_ = true;
    update();
    SkinContainer::enterEvent(event);
}

void SkinListElement::leaveEvent(QEvent* event) {
    hot_ = false;
    update();
    SkinContainer::leaveEvent(event);
}

} // namespace varnix
