// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/skin/SkinWindow.h"

#include "app/skin/SkinContainer.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinList.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>

namespace varnix {
namespace {

// A posted window message.
class MessageEvent : public QEvent {
public:
    static QEvent::Type kind() {
        static const auto registered = QEvent::Type(QEvent::registerEventType());
        return registered;
    }
    MessageEvent(int message, qintptr wParam, qintptr lParam)
        : QEvent(kind()), message(message), wParam(wParam), lParam(lParam) {}
    int message;
    qintptr wParam;
    qintptr lParam;
};

const QColor DefaultWindowColor(0x1B, 0x1E, 0x24);

// The widgets Tab reaches, in skin order; a list comes before the controls inside its rows.
void collectFocusable(SkinControl* control, QList<QWidget*>& out) {
    QWidget* widget = control->widget();
    if (widget->focusPolicy() & Qt::TabFocus)
        out.append(widget);
    if (auto* list = dynamic_cast<SkinList*>(control)) {
        for (int i = 0; i < list->count(); ++i)
            collectFocusable(list->itemAt(i), out);
    } else if (auto* box = dynamic_cast<SkinContainer*>(control)) {
        for (int i = 0; i < box->count(); ++i)
            collectFocusable(box->itemAt(i), out);
    }
}

} // namespace

SkinWindow::SkinWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
    manager_.setNotifyTarget([this](const SkinNotify& message) { notify(message); });
}

SkinWindow::~SkinWindow() {
    if (loop_)
        loop_->quit();
    // The controls go before the manager they are registered with.
    if (root_)
        delete root_->widget();
    root_ = nullptr;
    manager_.detachAll();
}

bool SkinWindow::create(const QString& title) {
    SkinBuilder builder(manager_, [this](const QString& tag) { return createControl(tag); });
    root_ = builder.build(skinFile(), &info_);
    if (!root_) {
        skinError_ = builder.error();
        return false;
    }
    for (const QString& warning : builder.warnings())
        qDebug("%s: %s", qPrintable(skinFile()), qPrintable(warning));
    root_->widget()->setParent(this);
    root_->widget()->show();
    setObjectName(windowClassName());
    setWindowTitle(title.isEmpty() ? info_.title : title);
    if (info_.size.isValid() && !info_.size.isEmpty())
        resize(info_.size);
    if (info_.minSize.isValid() && !info_.minSize.isEmpty())
        setMinimumSize(info_.minSize);
    root_->widget()->setGeometry(rect());
    manager_.sendNotify(root_, QString::fromLatin1(notify::WindowInit));
    orderFocusChain();
    return true;
}

void SkinWindow::orderFocusChain() {
    focusOrderPending_ = false;
    if (!root_)
        return;
    QList<QWidget*> chain;
    collectFocusable(root_, chain);
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void SkinWindow::scheduleFocusOrder() {
    if (focusOrderPending_)
        return;
    focusOrderPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (focusOrderPending_)
            orderFocusChain();
    });
}

void SkinWindow::notify(const SkinNotify&) {}

bool SkinWindow::handleMessage(int, qintptr, qintptr) {
    return false;
}

SkinControl* SkinWindow::createControl(const QString&) {
    return nullptr;
}

void SkinWindow::postMessage(int message, qintptr wParam, qintptr lParam) {
    QCoreApplication::postEvent(this, new MessageEvent(message, wParam, lParam));
}

bool SkinWindow::sendMessage(int message, qintptr wParam, qintptr lParam) {
    if (QThread::currentThread() == thread())
        return handleMessage(message, wParam, lParam);
    bool handled = false;
    QMetaObject::invokeMethod(
        this, [&] { handled = handleMessage(message, wParam, lParam); },
        Qt::BlockingQueuedConnection);
    return handled;
}

bool SkinWindow::event(QEvent* event) {
    if (event->type() == MessageEvent::kind()) {
        const auto* message = static_cast<MessageEvent*>(event);
        handleMessage(message->message, message->wParam, message->lParam);
        return true;
    }
    return QWidget::event(event);
}

int SkinWindow::showModal() {
    QEventLoop loop;
    loop_ = &loop;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QPointer<SkinWindow> alive(this);
    loop.exec(QEventLoop::DialogExec);
    if (alive)
        loop_ = nullptr;
    return result_;
}

void SkinWindow::closeWindow(int code) {
    result_ = code;
    hide();
    if (loop_) {
        loop_->quit();
        loop_ = nullptr;
    }
    Q_EMIT windowClosed(code);
    if (deleteOnClose_)
        deleteLater();
}

void SkinWindow::centerWindow() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        centerOn(screen->availableGeometry());
}

void SkinWindow::centerOn(const QRect& area) {
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void SkinWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), info_.bkColor.isValid() ? info_.bkColor : DefaultWindowColor);
}

void SkinWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (root_)
        root_->widget()->setGeometry(rect());
}

void SkinWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < info_.captionHeight) {
        if (windowHandle() && windowHandle()->startSystemMove())
            return;
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SkinWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        move(event->globalPosition().toPoint() - dragOffset_);
    else
        QWidget::mouseMoveEvent(event);
}

void SkinWindow::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

void SkinWindow::closeEvent(QCloseEvent* event) {
    // A close from the window manager counts as closing with code 0.
    event->ignore();
    closeWindow(0);
}

} // namespace varnix
