// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the keyboard for one widget while a key is captured (key popups) or a macro is
// recorded: every press and release arrives as a set-1 scan code, Tab, Enter, Space and Escape
// included, and none of them moves the focus, presses a button or triggers a shortcut.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QWidget;

namespace varnix {

struct CapturedKey {
    int scanCode = 0;    // set-1, extended keys as 0xE000 + byte
    bool pressed = true; // false for a release
    bool autoRepeat = false;
    unsigned long timestamp = 0; // the event's time stamp (milliseconds, platform's origin)
};

class KeyCapture final : public QObject {
    Q_OBJECT
public:
    using KeyHandler = std::function<void(const CapturedKey&)>;
    // Called when the capture ends without stop(): the receiver's window was hidden or the
    // receiver went away.
    using EndHandler = std::function<void()>;

    explicit KeyCapture(QObject* parent = nullptr);
    ~KeyCapture() override;

    // Grabs the keyboard for `receiver` (ending a capture that runs already). Keys without a
    // set-1 scan code are swallowed without a call.
    void start(QWidget* receiver, KeyHandler onKey, EndHandler onInterrupted = {});
    // Releases the keyboard; no handler is called. Safe to call when not capturing.
    void stop();
    bool active() const { return receiver_ != nullptr; }
    QWidget* receiver() const { return receiver_; }

    // The set-1 scan code of a key event (its native scan code is the xkb key code on both the
    // X11 and the Wayland platform); 0 when the key has none.
    static int scanCodeOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void end(bool interrupted);

    QPointer<QWidget> receiver_;
    QPointer<QWidget> window_;
    KeyHandler onKey_;
    EndHandler onInterrupted_;
};

} // namespace varnix
