// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinList.h"

#include "app/skin/SkinContainer.h"
#include "app/skin/SkinListElement.h"
#include "app/skin/SkinNotify.h"
#include "app/skin/SkinTreeNode.h"

#include <QKeyEvent>

namespace varnix {

SkinList::SkinList(QWidget* parent)
    : QScrollArea(parent), SkinControl(this),
      body_(new SkinContainer(SkinContainer::Kind::Vertical)),
      selectedBkColor_(0x3D, 0x8B, 0xFD, 0x60), hotBkColor_(0xFF, 0xFF, 0xFF, 0x14) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setWidget(body_);
    // The list takes the focus for its rows; Tab moves on to the controls inside them.
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    body_->setAutoFillBackground(false);
}

SkinList::~SkinList() = default;

bool SkinList::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    if (name == QLatin1String("itemheight")) {
        bool ok = false;
        itemHeight_ = value.toInt(&ok);
        relayoutRows();
        return ok;
    }
    if (name == QLatin1String("itemselectedbkcolor"))
        return parseSkinColor(value, selectedBkColor_);
    if (name == QLatin1String("itemhotbkcolor"))
        return parseSkinColor(value, hotBkColor_);
    if (name == QLatin1String("itemtextcolor"))
        return parseSkinColor(value, itemTextColor_);
    if (name == QLatin1String("childpadding") || name == QLatin1String("inset")) {
        const bool ok = body_->setAttribute(attributeName, value);
        relayoutRows();
        return ok;
    }
    if (name == QLatin1String("bkcolor")) {
        // The rows sit on the list's own background.
        body_->setAttribute(attributeName, value);
    }
    return SkinControl::setAttribute(attributeName, value);
}

void SkinList::attach(SkinManager* manager) {
    SkinControl::attach(manager);
    body_->attach(manager);
}

void SkinList::add(SkinControl* row) {
    addAt(row, count());
}

void SkinList::addAt(SkinControl* row, int index) {
    if (row->fixedHeight() <= 0)
        row->setFixedControlHeight(itemHeight_);
    body_->addAt(row, index);
    if (current_ >= index && current_ >= 0)
        ++current_;
    relayoutRows();
}

void SkinList::addRows(const QList<SkinControl*>& rows) {
    for (SkinControl* row : rows)
        if (row->fixedHeight() <= 0)
            row->setFixedControlHeight(itemHeight_);
    body_->addItems(rows);
    relayoutRows();
}

bool SkinList::remove(SkinControl* row) {
    const int index = indexOf(row);
    if (index < 0)
        return false;
    if (index == current_)
        current_ = -1;
    else if (index < current_)
        --current_;
    body_->remove(row);
    relayoutRows();
    return true;
}

void SkinList::removeAll() {
    current_ = -1;
    body_->removeAll();
    relayoutRows();
}

int SkinList::count() const {
    return body_->count();
}

SkinControl* SkinList::itemAt(int index) const {
    return body_->itemAt(index);
}

int SkinList::indexOf(const SkinControl* row) const {
    return body_->indexOf(row);
}

void SkinList::selectItem(int index, bool notify) {
    if (index < -1 || index >= count())
        return;
    const int old = current_;
    current_ = index;
    for (int i = 0; i < count(); ++i)
        if (auto* element = dynamic_cast<SkinListElement*>(itemAt(i)))
            element->setSelected(i == index);
    if (index >= 0)
        ensureWidgetVisible(itemAt(index)->widget(), 0, 0);
    if (notify && old != index)
        sendNotify(QString::fromLatin1(notify::ItemSelect), index, old);
}

void SkinList::rowPressed(SkinListElement* row, Qt::MouseButton button) {
    if (button == Qt::RightButton) {
        row->sendNotify(QString::fromLatin1(notify::ItemRClick), row->index());
        return;
    }
    if (button != Qt::LeftButton)
        return;
    row->sendNotify(QString::fromLatin1(notify::ItemClick), row->index());
    selectItem(row->index());
}

void SkinList::rowDoubleClicked(SkinListElement* row) {
    row->sendNotify(QString::fromLatin1(notify::TreeItemDbClick), row->index());
}

void SkinList::relayoutRows() {
    const int width = viewport()->width();
    const int height = std::max(viewport()->height(), body_->estimateSize().height());
    body_->resize(width, height);
    body_->relayout();
}

SkinControl* SkinList::focusRow() const {
    if (current_ >= 0 && current_ < count() && itemAt(current_)->isControlVisible())
        return itemAt(current_);
    const QList<int> rows = shownRows();
    return rows.isEmpty() ? nullptr : itemAt(rows.first());
}

QList<int> SkinList::shownRows() const {
    QList<int> rows;
    for (int i = 0; i < count(); ++i)
        if (itemAt(i)->isControlVisible())
            rows.append(i);
    return rows;
}

void SkinList::keyPressEvent(QKeyEvent* event) {
    const QList<int> rows = shownRows();
    SkinControl* row = focusRow();
    if (rows.isEmpty() || !row) {
        QScrollArea::keyPressEvent(event);
        return;
    }
    const int at = rows.indexOf(indexOf(row));
    const int page = std::max(1, viewport()->height() / std::max(1, itemHeight_));
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Up:
        target = current_ < 0 ? at : std::max(0, at - 1);
        break;
    case Qt::Key_Down:
        target = current_ < 0 ? at : std::min(int(rows.size()) - 1, at + 1);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = int(rows.size()) - 1;
        break;
    case Qt::Key_PageUp:
        target = std::max(0, at - page);
        break;
    case Qt::Key_PageDown:
        target = std::min(int(rows.size()) - 1, at + page);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (auto* node = dynamic_cast<SkinTreeNode*>(row); node && node->childCount() > 0) {
            node->setExpanded(event->key() == Qt::Key_Right);
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    if (target < 0) {
        QScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
    selectItem(rows[target]);
}

void SkinList::focusInEvent(QFocusEvent* event) {
    QScrollArea::focusInEvent(event);
    if (SkinControl* row = focusRow())
        row->widget()->update();
}

void SkinList::focusOutEvent(QFocusEvent* event) {
    QScrollArea::focusOutEvent(event);
    if (SkinControl* row = focusRow())
        row->widget()->update();
}

void SkinList::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    relayoutRows();
}

} // namespace varnix
