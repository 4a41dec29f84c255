// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message box: a question with two buttons or an information with one.
#pragma once

#include "app/skin/SkinWindow.h"

namespace varnix {

class CMsgWnd : public SkinWindow {
    Q_OBJECT
public:
    // style 1: question ("msg.xml"); otherwise information ("msg2.xml").
    explicit CMsgWnd(int style, QWidget* parent = nullptr);
    QString skinFile() const override;
    QString windowClassName() const override { return QStringLiteral("MsgWnd"); }
    void notify(const SkinNotify& message) override;

    // Writes each non-empty text into its control; empty texts keep the skin's.
    void setTexts(const QString& title, const QString& text, const QString& confirmText,
                  const QString& cancelText);

    // Modal question: 1 when "confirm_btn" closed it, 0 for "cancel_btn", "closebtn" or a close.
    static int MessageBoxQuestion(QWidget* parent, const QString& title, const QString& text,
                                  const QString& confirmText, const QString& cancelText);
    // Modeless information; returns at once.
    static void MessageBoxInfo(QWidget* parent, const QString& title, const QString& text,
                               const QString& buttonText);

private:
    int style_;
};

} // namespace varnix
