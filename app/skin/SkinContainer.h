// SPDX-License-Identifier: GPL-3.0-or-later
// A control holding other controls: stacked vertically, side by side, or placed freely.
#pragma once

#include "app/skin/SkinControl.h"

#include <QList>
#include <QWidget>

namespace varnix {

class SkinContainer : public QWidget, public SkinControl {
    Q_OBJECT
public:
    enum class Kind { Vertical, Horizontal, Free };
    explicit SkinContainer(Kind kind = Kind::Vertical, QWidget* parent = nullptr);
    ~SkinContainer() override;

    QString className() const override;
    Kind kind() const { return kind_; }

    // Takes ownership of the control's widget.
    void add(SkinControl* control);
    void addAt(SkinControl* control, int index);
    // Appends many controls and places the items once (long lists).
    void addItems(const QList<SkinControl*>& controls);
    // Removes and deletes the control.
    bool remove(SkinControl* control);
    void removeAll();
    int count() const { return items_.size(); }
    SkinControl* itemAt(int index) const { return items_.value(index); }
    int indexOf(const SkinControl* control) const;
    // Searches the items and their items for a name.
    SkinControl* findSubControl(const QString& name) const;

    void attach(SkinManager* manager) override;
    // Also: inset "l,t,r,b", childpadding.
    bool setAttribute(const QString& name, const QString& value) override;
    QSize estimateSize() const override;

    // Places the items again (after a size, visibility or geometry change of one of them).
    void relayout();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Where the laid-out items go; tab layouts override the placing.
    virtual void placeItems(const QRect& area);
    QRect contentArea() const;
    const QList<SkinControl*>& items() const { return items_; }

private:
    Kind kind_;
    QList<SkinControl*> items_;
    QMargins inset_;
    int childPadding_ = 0;
    bool inRelayout_ = false;
};

} // namespace varnix
