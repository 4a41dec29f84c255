// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroPageInput.h"

#include "app/skin/SkinControl.h"
#include "app/skin/SkinTree.h"
#include "macro/MacroPage.h"
#include "macro/ScanCodes.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace varnix {
namespace {

int pseudoScanCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return kMouseLeftScanCode;
    case Qt::RightButton:
        return kMouseRightScanCode;
    case Qt::MiddleButton:
        return kMouseMiddleScanCode;
    default:
        return 0;
    }
}

bool inside(const QWidget* area, const QObject* object) {
    const auto* widget = qobject_cast<const QWidget*>(object);
    return area && widget && (widget == area || area->isAncestorOf(widget));
}

} // namespace

MacroPageInput::MacroPageInput(MacroPage& page, SkinTree* tree, SkinControl* pageRoot)
    : page_(page), treeArea_(tree ? tree->viewport() : nullptr),
      pageArea_(pageRoot ? pageRoot->widget() : nullptr) {
    if (treeArea_)
        treeArea_->installEventFilter(this);
}

MacroPageInput::~MacroPageInput() {
    setRecording(false);
}

void MacroPageInput::setRecording(bool on) {
    if (on == recording_)
        return;
    recording_ = on;
    // Clicks reach the widget under the mouse, not the grabbing one: watch them all.
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool MacroPageInput::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseButtonRelease)
        return false;
    if (!qobject_cast<QWidget*>(watched))
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (recording_) {
        if (!inside(pageArea_, watched))
            return false; // the tabs and caption stay usable; leaving the page ends recording
        SkinControl* record = page_.recordBox();
        if (record && inside(record->widget(), watched))
            return false; // the record box stops the recording
        if (const int scanCode = pseudoScanCode(mouse->button()))
            page_.recordEvent(scanCode, press);
        return true;
    }
    if (watched == treeArea_ && type == QEvent::MouseButtonRelease &&
        mouse->button() == Qt::RightButton)
        page_.openEmptyTreeMenu();
    return false;
}

} // namespace varnix
