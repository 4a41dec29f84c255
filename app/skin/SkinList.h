// SPDX-License-Identifier: GPL-3.0-or-later
// A scrolling list of rows; rows are built in code or from template files.
#pragma once

#include "app/skin/SkinControl.h"

#include <QScrollArea>

namespace varnix {

class SkinContainer;
class SkinListElement;

class SkinList : public QScrollArea, public SkinControl {
    Q_OBJECT
public:
    explicit SkinList(QWidget* parent = nullptr);
    ~SkinList() override;
    QString className() const override { return QStringLiteral("List"); }
    // Also: itemheight, itemselectedbkcolor, itemhotbkcolor, itemtextcolor, childpadding, inset.
    bool setAttribute(const QString& name, const QString& value) override;
    void attach(SkinManager* manager) override;

    void add(SkinControl* row);
    void addAt(SkinControl* row, int index);
    // Appends many rows and lays the list out once.
    void addRows(const QList<SkinControl*>& rows);
    bool remove(SkinControl* row);
    void removeAll();
    int count() const;
    SkinControl* itemAt(int index) const;
    int indexOf(const SkinControl* row) const;

    int currentSel() const { return current_; }
    // Selects a row (-1: none); with notify, a change sends "itemselect" (wParam new, lParam old).
    void selectItem(int index, bool notify = true);

    int itemHeight() const { return itemHeight_; }
    QColor selectedBkColor() const { return selectedBkColor_; }
    QColor hotBkColor() const { return hotBkColor_; }
    QColor itemTextColor() const { return itemTextColor_; }

    // Called by the rows.
    void rowPressed(SkinListElement* row, Qt::MouseButton button);
    void rowDoubleClicked(SkinListElement* row);
    void relayoutRows();
    // The row that shows the keyboard focus while the list has it: the selected row, else the
    // first shown one; null for a list without shown rows.
    SkinControl* focusRow() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Up, Down, Home, End and Page Up/Down select among the shown rows; Left and Right fold and
    // unfold tree nodes.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // Shown rows in order, and the index in it of the focus row (-1 for none).
    QList<int> shownRows() const;

private:
    SkinContainer* body_;
    int current_ = -1;
    int itemHeight_ = 28;
    QColor selectedBkColor_;
    QColor hotBkColor_;
    QColor itemTextColor_;
};

} // namespace varnix
