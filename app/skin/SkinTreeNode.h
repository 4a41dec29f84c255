// SPDX-License-Identifier: GPL-3.0-or-later
// One node of a tree: a list row with a folder button, an indent and child nodes.
#pragma once

#include "app/skin/SkinListElement.h"

#include <QList>

namespace varnix {

class SkinTree;

class SkinTreeNode : public SkinListElement {
    Q_OBJECT
public:
    explicit SkinTreeNode(QWidget* parent = nullptr);
    ~SkinTreeNode() override;
    QString className() const override { return QStringLiteral("TreeNode"); }
    // Also: folderbutton (visible or not), expanded.
    bool setAttribute(const QString& name, const QString& value) override;

    // Adds a child below this node's last descendant; the node must already be in a tree.
    bool addChildNode(SkinTreeNode* child);
    SkinTreeNode* parentNode() const { return parent_; }
    int childCount() const { return children_.size(); }
    SkinTreeNode* childNode(int index) const { return children_.value(index); }
    int depth() const;
    void setItemText(const QString& text) { setText(text); }
    QString itemText() const { return text(); }
    void setFolderButtonVisible(bool visible);
    bool isFolderButtonVisible() const { return folderButton_; }
    bool isExpanded() const { return expanded_; }
    void setExpanded(bool expanded);

    SkinTree* ownerTree() const;
    // This node and all nodes below it, in row order.
    QList<SkinTreeNode*> subtree() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    int textIndent() const override;

private:
    friend class SkinTree;
    void forgetChild(SkinTreeNode* child) { children_.removeAll(child); }
    void applyVisibility(bool parentShown);
    QRect folderRect() const;

    SkinTreeNode* parent_ = nullptr;
    QList<SkinTreeNode*> children_;
    bool folderButton_ = true;
    bool expanded_ = true;
};

} // namespace varnix
