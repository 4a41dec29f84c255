// SPDX-License-Identifier: GPL-3.0-or-later
// The modal popup that runs one apply and shows its progress.
#pragma once

#include "app/skin/SkinWindow.h"
#include "device/ApplyResult.h"
#include "device/ApplyRunner.h"

#include <QList>

namespace varnix {

class ApplyWriter;
class CMainWnd;
struct DeviceKind;

class CapplyProgressWnd : public SkinWindow {
    Q_OBJECT
public:
    // `kind`: the device kind whose page applies. `mainWindow` receives 2045 and gives the
    // texts of an error (may be null); the writer must outlive the popup.
    CapplyProgressWnd(const DeviceKind& kind, ApplyWriter& writer, CMainWnd* mainWindow,
                      QWidget* owner = nullptr);
    ~CapplyProgressWnd() override;

    QString skinFile() const override { return QStringLiteral("popApplyProgress.xml"); }
    QString windowClassName() const override { return QStringLiteral("popApplyProgress"); }
    void notify(const SkinNotify& message) override;
    bool handleMessage(int message, qintptr wParam, qintptr lParam) override;

    // Creates the popup over the owner's rectangle, runs the apply modally and returns how it
    // ended.
    static ApplyResult RunApply(const DeviceKind& kind, ApplyWriter& writer, CMainWnd* mainWindow,
                                QWidget* owner);

    // 1 mouse page, 2 keyboard, 3 pad.
    int ApplyKind() const;
    const ApplyResult& result() const { return result_; }
    // Every value the progress bar was set to, in order.
    const QList<int>& progressSeen() const { return progressSeen_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void finish(const ApplyResult& result);

    const DeviceKind& kind_;
    ApplyWriter& writer_;
    CMainWnd* mainWindow_;
    ApplyRunner runner_;
    ApplyResult result_;
    QList<int> progressSeen_;
    bool finished_ = false;
};

} // namespace varnix
