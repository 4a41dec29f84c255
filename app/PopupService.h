// SPDX-License-Identifier: GPL-3.0-or-later
// The one way every message box and question is shown; tests install a responder instead.
#pragma once

#include "common/Outcome.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace varnix {

enum class PopupKind {
    Question,     // modal, two buttons; answers 1 (confirm) or 0
    Information,  // modeless, one button
    PlainMessage, // plain system-style box with an OK button and no caption
};

struct PopupRequest {
    PopupKind kind = PopupKind::Information;
    QString title;
    QString text;
    QString confirmText;
    QString cancelText; // the one button of an information box
};

class PopupService {
public:
    // While a responder is set, popups are not shown: it receives each request and its return
    // value is the answer of a question.
    using Responder = std::function<int(const PopupRequest&)>;
    static void setResponder(Responder responder);
    static bool hasResponder();

    // The question box; returns 1 when confirmed, 0 otherwise. Empty texts keep the skin's.
    static int question(QWidget* parent, const QString& title, const QString& text,
                        const QString& confirmText = QString(),
                        const QString& cancelText = QString());
    // The information box; returns at once.
    static void information(QWidget* parent, const QString& title, const QString& text,
                            const QString& buttonText = QString());
    static void plainMessage(QWidget* parent, const QString& text);

    // The language text of a key (the key itself when the texts lack it).
    using TextLookup = std::function<QString(const QString& key)>;
    // Shows what a core outcome tells the user, when it tells anything: an information box with
    // the texts of its title and message keys and an OK button ("MessageOK"); with `withDetail`
    // the outcome's detail follows the message on its own line. Returns whether a box was shown.
    static bool showOutcome(QWidget* parent, const Outcome& outcome, const TextLookup& text,
                            bool withDetail = false);
};

} // namespace varnix
