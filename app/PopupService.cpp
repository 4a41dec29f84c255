// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PopupService.h"

#include "app/CMsgWnd.h"

#include <QMessageBox>

namespace varnix {
namespace {
PopupService::Responder& responder() {
    static PopupService::Responder current;
    return current;
}
} // namespace

void PopupService::setResponder(Responder answer) {
    responder() = std::move(answer);
}

bool PopupService::hasResponder() {
    return static_cast<bool>(responder());
}

int PopupService::question(QWidget* parent, const QString& title, const QString& text,
                           const QString& confirmText, const QString& cancelText) {
    if (responder())
        return responder()({PopupKind::Question, title, text, confirmText, cancelText});
    return CMsgWnd::MessageBoxQuestion(parent, title, text, confirmText, cancelText);
}

void PopupService::information(QWidget* parent, const QString& title, const QString& text,
                               const QString& buttonText) {
    if (responder()) {
        responder()({PopupKind::Information, title, text, QString(), buttonText});
        return;
    }
    CMsgWnd::MessageBoxInfo(parent, title, text, buttonText);
}

bool PopupService::showOutcome(QWidget* parent, const Outcome& outcome, const TextLookup& text,
                               bool withDetail) {
    if (!outcome.hasMessage())
        return false;
    auto lookup = [&](const std::string& key) {
        const QString id = QString::fromStdString(key);
        return text ? text(id) : id;
    };
    QString body = lookup(outcome.messageKey);
    if (withDetail && !outcome.detail.empty())
        body += QLatin1Char('\n') + QString::fromStdString(outcome.detail);
    information(parent, lookup(outcome.titleKey), body, lookup("MessageOK"));
    return true;
}

void PopupService::plainMessage(QWidget* parent, const QString& text) {
    if (responder()) {
        responder()({PopupKind::PlainMessage, QString(), text, QString(), QString()});
        return;
    }
    QMessageBox::information(parent, QString(), text, QMessageBox::Ok);
}

} // namespace varnix
