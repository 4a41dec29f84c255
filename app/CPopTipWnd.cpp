// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CPopTipWnd.h"

#include "app/skin/SkinControl.h"

#include <QEvent>

namespace varnix {

CPopTipWnd::CPopTipWnd(QWidget* parent)
    : SkinWindow(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
}

void CPopTipWnd::showTip(const QString& text, const QPoint& at) {
    if (SkinControl* label = findControl(QStringLiteral("displaytext")))
        label->setText(text);
    move(at);
    show();
}

bool CPopTipWnd::event(QEvent* event) {
    // Any mouse movement that reaches the tip hides it.
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::HoverMove) {
        hide();
        return true;
    }
    return SkinWindow::event(event);
}

} // namespace varnix
