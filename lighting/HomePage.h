// SPDX-License-Identifier: GPL-3.0-or-later
// The home page: one lighting effect for every connected device (the PublicLed panel), written
// on a worker and kept in step by timer 1 of the main window, also when devices come and go.
#pragma once

#include "app/ShellPage.h"
#include "kinds/SharedLightingRunner.h"
#include "lighting/HomePageModel.h"
#include "lighting/LedPanelController.h"

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace varnix {

class CMainWnd;

class HomePage final : public ShellPage {
public:
    static constexpr const char* PageSkin = "HomePage.xml";
    static constexpr const char* ApplyButton = "btn_PublicLed_Apply";
    static constexpr const char* CancelButton = "btn_PublicLed_Cancel";

    explicit HomePage(CMainWnd& mainWindow);
    ~HomePage() override;

    void init(SkinWindow& host) override;
    void notify(const SkinNotify& message) override;
    void languageChanged() override;
    // 2033: the repeat timer's tick writes the effect again.
    void deviceMessage(int message, qintptr wParam, qintptr lParam) override;

    HomePageModel& model() { return model_; }
    const SharedRunState& runState() const { return state_; }
    // Whether a shared write is on its way now.
    bool writing() const { return runner_.running(); }
    // Writes started and ticks skipped because a write was still on its way.
    int writesStarted() const { return writesStarted_; }
    int ticksSkipped() const { return ticksSkipped_; }
    // Writes whose result the page has shown.
    int writesFinished() const { return writesFinished_; }
    // Blocks until the write on its way has ended (the result still arrives as an event).
    void waitForWrite() { runner_.wait(); }

private:
    void build();
    void layOut();
    void apply();
    void cancel();
    void tick();
    // Starts a write to every connected device; when one is on its way, `queueIfBusy` keeps the
    // request for its end (Apply, a device joining), otherwise it is dropped (a tick).
    bool write(bool queueIfBusy);
    void written(const SharedLightingRunner::Report& report);
    void devicesChanged();
    void refresh();
    bool repeating() const;
    std::vector<int> connectedDevices() const;
    bool showOutcome(const Outcome& outcome);
    QWidget* pageWidget() const;

    CMainWnd& main_;
    HomePageModel model_;
    std::unique_ptr<LedPanelController> panel_;
    SharedRunState state_;
    SharedLighting applied_;
    std::vector<int> connected_;
    std::string shownPicture_;
    bool built_ = false;
    bool layoutWarned_ = false;
    bool writePending_ = false;
    bool saveBeforeWrite_ = false;
    int writesStarted_ = 0;
    int ticksSkipped_ = 0;
    int writesFinished_ = 0;
    // Receives the worker's results on the UI thread; goes before the runner, whose end it may
    // still hear about.
    QObject relay_;
    SharedLightingRunner runner_;
};

} // namespace varnix
