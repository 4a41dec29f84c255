// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMsgWnd.h"

#include "app/skin/SkinControl.h"

namespace varnix {
namespace {
constexpr int QuestionStyle = 1;
const QString WindowTitle = QStringLiteral("msgwnd");

void centerOver(SkinWindow& window, QWidget* parent) {
    if (parent && parent->isVisible())
        window.centerOn(parent->frameGeometry());
    else
        window.centerWindow();
}
} // namespace

CMsgWnd::CMsgWnd(int style, QWidget* parent)
    : SkinWindow(parent,
                 (style == QuestionStyle ? Qt::Tool : Qt::Window) | Qt::FramelessWindowHint),
      style_(style) {}

QString CMsgWnd::skinFile() const {
    return style_ == QuestionStyle ? QStringLiteral("msg.xml") : QStringLiteral("msg2.xml");
}

void CMsgWnd::notify(const SkinNotify& message) {
    if (message.type != QLatin1String(notify::Click))
        return;
    if (message.senderName.compare(QLatin1String("closebtn"), Qt::CaseInsensitive) == 0)
        closeWindow(0);
    else if (message.senderName.compare(QLatin1String("confirm_btn"), Qt::CaseInsensitive) == 0)
        closeWindow(1);
    else if (message.senderName.compare(QLatin1String("cancel_btn"), Qt::CaseInsensitive) == 0)
        closeWindow(0);
}

void CMsgWnd::setTexts(const QString& title, const QString& text, const QString& confirmText,
                       const QString& cancelText) {
    const std::pair<const char*, const QString*> texts[] = {{"MessageTitle", &title},
                                                            {"MessageText", &text},
                                                            {"confirm_btn", &confirmText},
                                                            {"cancel_btn", &cancelText}};
    for (const auto& [name, value] : texts)
        if (!value->isEmpty())
            if (SkinControl* control = findControl(QString::fromLatin1(name)))
                control->setText(*value);
}

int CMsgWnd::MessageBoxQuestion(QWidget* parent, const QString& title, const QString& text,
                                const QString& confirmText, const QString& cancelText) {
    CMsgWnd box(QuestionStyle, parent);
    if (!box.create(WindowTitle))
        return 0;
    box.setTexts(title, text, confirmText, cancelText);
    centerOver(box, parent);
    return box.showModal();
}

void CMsgWnd::MessageBoxInfo(QWidget* parent, const QString& title, const QString& text,
                             const QString& buttonText) {
    auto* box = new CMsgWnd(0, parent);
    box->setDeleteOnClose(true);
    if (!box->create(WindowTitle)) {
        delete box;
        return;
    }
    // The information box's one button is "cancel_btn"; "confirm_btn" stays as in the skin.
    box->setTexts(title, text, QString(), buttonText);
    centerOver(*box, parent);
    box->show();
    box->raise();
    box->activateWindow();
}

} // namespace varnix
