// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ShellPage.h"

namespace varnix {

ShellPage::ShellPage(QString pageName, QString senderName, QString controlPrefix)
    : pageName_(std::move(pageName)), senderName_(std::move(senderName)),
      controlPrefix_(std::move(controlPrefix)) {}

bool ShellPage::ownsControl(const QString& controlName) const {
    return !controlPrefix_.isEmpty() && controlName.contains(controlPrefix_, Qt::CaseSensitive);
}

void ShellPage::init(SkinWindow& host) {
    host_ = &host;
}

void ShellPage::notify(const SkinNotify& message) {
    last_ = message;
    ++notifications_;
}

void ShellPage::setCatalogue(const FindDev&) {
    ++catalogueCopies_;
}

void ShellPage::languageChanged() {
    ++languageChanges_;
}

void ShellPage::deviceConfig(int) {}

void ShellPage::storePendingEdits() {}

void ShellPage::deviceMessage(int, qintptr, qintptr) {
    ++deviceMessages_;
}

} // namespace varnix
