// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyCapture.h"

#include "macro/NativeKeyCodes.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace varnix {

KeyCapture::KeyCapture(QObject* parent) : QObject(parent) {}

KeyCapture::~KeyCapture() {
    stop();
}

int KeyCapture::scanCodeOf(const QKeyEvent& event) {
    return scanCodeForX11KeyCode(int(event.nativeScanCode()));
}

void KeyCapture::start(QWidget* receiver, KeyHandler onKey, EndHandler onInterrupted) {
    stop();
    if (receiver == nullptr) {
        return;
    }
    receiver_ = receiver;
    window_ = receiver->window();
    onKey_ = std::move(onKey);
    onInterrupted_ = std::move(onInterrupted);
    receiver->installEventFilter(this);
    if (window_ != receiver) {
        window_->installEventFilter(this);
    }
    connect(receiver, &QObject::destroyed, this, [this] { end(true); });
    receiver->grabKeyboard();
}

void KeyCapture::stop() {
    end(false);
}

void KeyCapture::end(bool interrupted) {
    if (receiver_.isNull() && window_.isNull() && !onKey_) {
        return;
    }
    if (!receiver_.isNull()) {
        receiver_->removeEventFilter(this);
        disconnect(receiver_, nullptr, this, nullptr);
        if (QWidget::keyboardGrabber() == receiver_) {
            receiver_->releaseKeyboard();
        }
    }
    if (!window_.isNull()) {
        window_->removeEventFilter(this);
    }
    receiver_.clear();
    window_.clear();
    onKey_ = {};
    EndHandler interruptedHandler = std::move(onInterrupted_);
    onInterrupted_ = {};
    if (interrupted && interruptedHandler) {
        interruptedHandler();
    }
}

bool KeyCapture::eventFilter(QObject* watched, QEvent* event) {
    if (receiver_.isNull()) {
        return false;
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // The receiver takes the key: no shortcut fires while capturing.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto& key = static_cast<QKeyEvent&>(*event);
        CapturedKey captured;
        captured.scanCode = scanCodeOf(key);
        captured.pressed = event->type() == QEvent::KeyPress;
        captured.autoRepeat = key.isAutoRepeat();
        captured.timestamp = key.timestamp();
        if (captured.scanCode != 0 && onKey_) {
            // The handler may stop the capture (a limit reached): keep a copy while it runs.
            KeyHandler handler = onKey_;
            handler(captured);
        }
        return true;
    }
    case QEvent::Hide:
        if (watched == window_ || watched == receiver_) {
            end(true);
        }
        return false;
    default:
        return false;
    }
}

} // namespace varnix
