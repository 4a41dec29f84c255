// SPDX-License-Identifier: GPL-3.0-or-later
// Base of every skinned window: builds its skin, receives notifications and window messages.
#pragma once

#include "app/skin/SkinBuilder.h"
#include "app/skin/SkinManager.h"
#include "app/skin/SkinNotify.h"

#include <QPointer>
#include <QWidget>

class QEventLoop;

namespace varnix {

class SkinWindow : public QWidget {
    Q_OBJECT
public:
    explicit SkinWindow(QWidget* parent = nullptr,
                        Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint);
    ~SkinWindow() override;

    // Builds the skin, sizes the window as the skin says and sends "windowinit" to notify().
    // False when the skin cannot be read; skinError() says why.
    bool create(const QString& title = QString());
    const QString& skinError() const { return skinError_; }
    virtual QString skinFile() const = 0;
    virtual QString windowClassName() const = 0;

    SkinManager& manager() { return manager_; }
    SkinControl* root() const { return root_; }
    SkinControl* findControl(const QString& name) const { return manager_.findControl(name); }
    template <typename T> T* find(const QString& name) const { return manager_.find<T>(name); }

    // Notifications of this window's controls (and those sent to it by other windows).
    virtual void notify(const SkinNotify& message);
    // Window messages; true when handled.
    virtual bool handleMessage(int message, qintptr wParam, qintptr lParam);

    // Queues a message for the UI thread; callable from any thread.
    void postMessage(int message, qintptr wParam = 0, qintptr lParam = 0);
    // Runs the handler now; from another thread it waits until the UI thread has run it.
    bool sendMessage(int message, qintptr wParam = 0, qintptr lParam = 0);

    // Shows the window and runs a local event loop until closeWindow(); returns its code.
    int showModal();
    bool isModalRunning() const { return loop_ != nullptr; }
    void closeWindow(int code = 0);
    int resultCode() const { return result_; }
    // Deletes the window once it is closed (modeless popups).
    void setDeleteOnClose(bool on) { deleteOnClose_ = on; }

    void centerWindow();
    void centerOn(const QRect& area);

    // Tab walks the focusable controls in the order the skin holds them (depth first, as a page
    // reads: caption bar, then the window's body); controls added later take their place in it.
    void orderFocusChain();
    // Orders the chain once the current event is done (after a batch of controls was added).
    void scheduleFocusOrder();

Q_SIGNALS:
    void windowClosed(int code);

protected:
    // Tags the built-in builder does not know ("VerticalLayoutEx" and the like).
    virtual SkinControl* createControl(const QString& tag);
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    const SkinWindowInfo& windowInfo() const { return info_; }

private:
    SkinManager manager_;
    SkinControl* root_ = nullptr;
    SkinWindowInfo info_;
    QString skinError_;
    QEventLoop* loop_ = nullptr;
    int result_ = 0;
    bool deleteOnClose_ = false;
    bool dragging_ = false;
    bool focusOrderPending_ = false;
    QPoint dragOffset_;
};

} // namespace varnix
