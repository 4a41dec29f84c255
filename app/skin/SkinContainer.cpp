// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinContainer.h"

#include "app/skin/SkinWindow.h"

#include <QPainter>
#include <algorithm>

namespace varnix {

SkinContainer::SkinContainer(Kind kind, QWidget* parent)
    : QWidget(parent), SkinControl(this), kind_(kind) {}

SkinContainer::~SkinContainer() {
    // Items go first, while this container still knows them.
    const auto items = items_;
    items_.clear();
    for (SkinControl* item : items)
        delete item->widget();
}

QString SkinContainer::className() const {
    switch (kind_) {
    case Kind::Vertical:
        return QStringLiteral("VerticalLayout");
    case Kind::Horizontal:
        return QStringLiteral("HorizontalLayout");
    case Kind::Free:
        break;
    }
    return QStringLiteral("Container");
}

void SkinContainer::add(SkinControl* control) {
    addAt(control, items_.size());
}

void SkinContainer::addAt(SkinControl* control, int index) {
    if (!control || items_.contains(control))
        return;
    control->widget()->setParent(this);
    items_.insert(std::clamp<qsizetype>(index, 0, items_.size()), control);
    control->widget()->setVisible(control->isControlVisible());
    if (manager())
        control->attach(manager());
    relayout();
    // A control added to a shown skin takes its place in the window's Tab order.
    if (auto* host = dynamic_cast<SkinWindow*>(window()))
        host->scheduleFocusOrder();
}

void SkinContainer::addItems(const QList<SkinControl*>& controls) {
    for (SkinControl* control : controls) {
        if (!control)
            continue;
        control->widget()->setParent(this);
        items_.append(control);
        control->widget()->setVisible(control->isControlVisible());
        if (manager())
            control->attach(manager());
    }
    relayout();
    if (auto* host = dynamic_cast<SkinWindow*>(window()))
        host->scheduleFocusOrder();
}

bool SkinContainer::remove(SkinControl* control) {
    if (!items_.removeOne(control))
        return false;
    delete control->widget();
    relayout();
    return true;
}

void SkinContainer::removeAll() {
    const auto items = items_;
    items_.clear();
    for (SkinControl* item : items)
        delete item->widget();
    relayout();
}

int SkinContainer::indexOf(const SkinControl* control) const {
    return items_.indexOf(const_cast<SkinControl*>(control));
}

SkinControl* SkinContainer::findSubControl(const QString& name) const {
    for (SkinControl* item : items_) {
        if (item->name().compare(name, Qt::CaseInsensitive) == 0)
            return item;
        if (auto* container = dynamic_cast<SkinContainer*>(item))
            if (SkinControl* found = container->findSubControl(name))
                return found;
    }
    return nullptr;
}

void SkinContainer::attach(SkinManager* manager) {
    SkinControl::attach(manager);
    for (SkinControl* item : std::as_const(items_))
        item->attach(manager);
}

bool SkinContainer::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    if (name == QLatin1String("inset")) {
        QRect rect;
        if (!parseLtrb(value, rect))
            return false;
        inset_ = QMargins(rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1);
        relayout();
        return true;
    }
    if (name == QLatin1String("childpadding")) {
        bool ok = false;
        childPadding_ = value.trimmed().toInt(&ok);
        relayout();
        return ok;
    }
    return SkinControl::setAttribute(attributeName, value);
}

QSize SkinContainer::estimateSize() const {
    int main = 0;
    int cross = 0;
    int shown = 0;
    for (SkinControl* item : items_) {
        if (!item->isControlVisible() || item->isFloat())
            continue;
        const QSize wanted(
            item->fixedWidth() > 0 ? item->fixedWidth() : item->estimateSize().width(),
            item->fixedHeight() > 0 ? item->fixedHeight() : item->estimateSize().height());
        const QMargins pad = item->padding();
        if (kind_ == Kind::Horizontal) {
            main += wanted.width() + pad.left() + pad.right();
            cross = std::max(cross, wanted.height() + pad.top() + pad.bottom());
        } else {
            main += wanted.height() + pad.top() + pad.bottom();
            cross = std::max(cross, wanted.width() + pad.left() + pad.right());
        }
        ++shown;
    }
    main += std::max(0, shown - 1) * childPadding_;
    const int horizontal = inset_.left() + inset_.right();
    const int vertical = inset_.top() + inset_.bottom();
    return kind_ == Kind::Horizontal ? QSize(main + horizontal, cross + vertical)
                                     : QSize(cross + horizontal, main + vertical);
}

QRect SkinContainer::contentArea() const {
    return rect().marginsRemoved(inset_);
}

void SkinContainer::relayout() {
    if (inRelayout_)
        return;
    inRelayout_ = true;
    for (SkinControl* item : std::as_const(items_))
        if (item->isFloat())
            item->widget()->setGeometry(
                item->posRect().isNull()
                    ? QRect(item->widget()->pos(), QSize(item->fixedWidth(), item->fixedHeight()))
                    : item->posRect());
    placeItems(contentArea());
    inRelayout_ = false;
    update();
}

void SkinContainer::placeItems(const QRect& area) {
    if (kind_ == Kind::Free) {
        // Items that are not floating fill the container, as in a plain container.
        for (SkinControl* item : std::as_const(items_))
            if (!item->isFloat())
                item->widget()->setGeometry(area.marginsRemoved(item->padding()));
        return;
    }
    const bool horizontal = kind_ == Kind::Horizontal;
    QList<SkinControl*> flow;
    for (SkinControl* item : std::as_const(items_))
        if (item->isControlVisible() && !item->isFloat())
            flow.append(item);
    // Fixed items take their size; the others share what is left.
    int fixedTotal = 0;
    int flexible = 0;
    for (SkinControl* item : flow) {
        const QMargins pad = item->padding();
        const int fixed = horizontal ? item->fixedWidth() : item->fixedHeight();
        fixedTotal += horizontal ? pad.left() + pad.right() : pad.top() + pad.bottom();
        if (fixed > 0)
            fixedTotal += fixed;
        else
            ++flexible;
    }
    fixedTotal += std::max<qsizetype>(0, flow.size() - 1) * childPadding_;
    const int available = (horizontal ? area.width() : area.height()) - fixedTotal;
    const int share = flexible > 0 ? std::max(0, available) / flexible : 0;
    int cursor = horizontal ? area.left() : area.top();
    for (SkinControl* item : flow) {
        const QMargins pad = item->padding();
        int along = horizontal ? item->fixedWidth() : item->fixedHeight();
        if (along <= 0)
            along = share;
        const QSize minimum = item->minimumControlSize();
        const QSize maximum = item->maximumControlSize();
        along = std::clamp(along, horizontal ? minimum.width() : minimum.height(),
                           std::max(horizontal ? minimum.width() : minimum.height(),
                                    horizontal ? maximum.width() : maximum.height()));
        QRect geometry;
        if (horizontal) {
            cursor += pad.left();
            const int room = area.height() - pad.top() - pad.bottom();
            const int height = item->fixedHeight() > 0 ? item->fixedHeight() : room;
            // Items shorter than the row are centred in it.
            const int top = area.top() + pad.top() + std::max(0, (room - height) / 2);
            geometry = QRect(cursor, top, along, height);
            cursor += along + pad.right() + childPadding_;
        } else {
            cursor += pad.top();
            const int room = area.width() - pad.left() - pad.right();
            const int width = item->fixedWidth() > 0 ? item->fixedWidth() : room;
            geometry = QRect(area.left() + pad.left(), cursor, width, along);
            cursor += along + pad.bottom() + childPadding_;
        }
        item->widget()->setGeometry(geometry);
    }
}

void SkinContainer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    relayout();
}

void SkinContainer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter);
}

} // namespace varnix
