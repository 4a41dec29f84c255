// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinTree.h"

#include "app/skin/SkinTreeNode.h"

namespace varnix {

void SkinTree::addNode(SkinTreeNode* node) {
    add(node);
}

bool SkinTree::removeNode(SkinTreeNode* node) {
    if (indexOf(node) < 0)
        return false;
    const QList<SkinTreeNode*> rows = node->subtree();
    if (SkinTreeNode* parent = node->parentNode())
        parent->forgetChild(node);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        remove(*it);
    return true;
}

QList<SkinTreeNode*> SkinTree::topNodes() const {
    QList<SkinTreeNode*> nodes;
    for (int i = 0; i < count(); ++i)
        if (auto* node = dynamic_cast<SkinTreeNode*>(itemAt(i)); node && !node->parentNode())
            nodes.append(node);
    return nodes;
}

} // namespace varnix
