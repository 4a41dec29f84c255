// SPDX-License-Identifier: GPL-3.0-or-later
// One row of a list: a container of controls, or a row that is only a text.
#pragma once

#include "app/skin/SkinContainer.h"

namespace varnix {

class SkinList;

class SkinListElement : public SkinContainer {
    Q_OBJECT
public:
    // "ListContainerElement" lays its controls side by side; "ListLabelElement" shows its text.
    explicit SkinListElement(QString tag = QStringLiteral("ListContainerElement"),
                             QWidget* parent = nullptr);
    QString className() const override { return tag_; }

    SkinList* ownerList() const;
    int index() const;
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Left edge of the text (tree nodes indent it).
    virtual int textIndent() const { return 0; }

private:
    QString tag_;
    bool selected_ = false;
    bool hot_ = false;
};

} // namespace varnix
