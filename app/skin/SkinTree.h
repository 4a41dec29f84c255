// SPDX-License-Identifier: GPL-3.0-or-later
// A list whose rows are tree nodes that fold.
#pragma once

#include "app/skin/SkinList.h"

namespace varnix {

class SkinTreeNode;

class SkinTree : public SkinList {
    Q_OBJECT
public:
    explicit SkinTree(QWidget* parent = nullptr) : SkinList(parent) {}
    QString className() const override { return QStringLiteral("TreeView"); }

    // Adds a top-level node at the end.
    void addNode(SkinTreeNode* node);
    // Removes a node with everything below it.
    bool removeNode(SkinTreeNode* node);
    QList<SkinTreeNode*> topNodes() const;
};

} // namespace varnix
