// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinTreeNode.h"

#include "app/skin/SkinTree.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace varnix {
namespace {
constexpr int IndentStep = 16;
constexpr int FolderSize = 16;
} // namespace

SkinTreeNode::SkinTreeNode(QWidget* parent) : SkinListElement(QStringLiteral("TreeNode"), parent) {}

SkinTreeNode::~SkinTreeNode() {
    if (parent_)
        parent_->forgetChild(this);
    for (SkinTreeNode* child : std::as_const(children_))
        child->parent_ = nullptr;
}

bool SkinTreeNode::setAttribute(const QString& attributeName, const QString& value) {
    const QString name = attributeName.trimmed().toLower();
    if (name == QLatin1String("folderbutton")) {
        setFolderButtonVisible(skinBool(value));
        return true;
    }
    if (name == QLatin1String("expanded")) {
        setExpanded(skinBool(value));
        return true;
    }
    const bool known = SkinListElement::setAttribute(attributeName, value);
    if (name == QLatin1String("text"))
        update();
    return known;
}

SkinTree* SkinTreeNode::ownerTree() const {
    return dynamic_cast<SkinTree*>(ownerList());
}

bool SkinTreeNode::addChildNode(SkinTreeNode* child) {
    SkinTree* tree = ownerTree();
    if (!tree || !child || child == this)
        return false;
    const QList<SkinTreeNode*> below = subtree();
    const int position = tree->indexOf(below.last()) + 1;
    child->parent_ = this;
    children_.append(child);
    tree->addAt(child, position);
    child->applyVisibility(expanded_ && isControlVisible());
    return true;
}

int SkinTreeNode::depth() const {
    int level = 0;
    for (SkinTreeNode* node = parent_; node; node = node->parent_)
        ++level;
    return level;
}

void SkinTreeNode::setFolderButtonVisible(bool visible) {
    folderButton_ = visible;
    update();
}

void SkinTreeNode::setExpanded(bool expanded) {
    expanded_ = expanded;
    for (SkinTreeNode* child : std::as_const(children_))
        child->applyVisibility(expanded_ && isControlVisible());
    update();
}

void SkinTreeNode::applyVisibility(bool parentShown) {
    setControlVisible(parentShown);
    for (SkinTreeNode* child : std::as_const(children_))
        child->applyVisibility(parentShown && expanded_);
    if (SkinList* list = ownerList())
        list->relayoutRows();
}

QList<SkinTreeNode*> SkinTreeNode::subtree() const {
    QList<SkinTreeNode*> nodes{const_cast<SkinTreeNode*>(this)};
    for (SkinTreeNode* child : children_)
        nodes.append(child->subtree());
    return nodes;
}

QRect SkinTreeNode::folderRect() const {
    return QRect(depth() * IndentStep + 4, (height() - FolderSize) / 2, FolderSize, FolderSize);
}

int SkinTreeNode::textIndent() const {
    return depth() * IndentStep + 4 + FolderSize + 4;
}

void SkinTreeNode::paintEvent(QPaintEvent* event) {
    SkinListElement::paintEvent(event);
    if (!folderButton_ || children_.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = folderRect().adjusted(4, 4, -4, -4);
    QPainterPath arrow;
    if (expanded_) {
        arrow.moveTo(box.left(), box.top() + 2);
        arrow.lineTo(box.right(), box.top() + 2);
        arrow.lineTo(box.center().x(), box.bottom() - 1);
    } else {
        arrow.moveTo(box.left() + 2, box.top());
        arrow.lineTo(box.right() - 1, box.center().y());
        arrow.lineTo(box.left() + 2, box.bottom());
    }
    arrow.closeSubpath();
    painter.fillPath(arrow, textColor());
}

void SkinTreeNode::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && folderButton_ && !children_.isEmpty() &&
        folderRect().contains(event->position().toPoint())) {
        setExpanded(!expanded_);
        return;
    }
    SkinListElement::mousePressEvent(event);
}

} // namespace varnix
