// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse page: the shown mouse's keys on its picture, DPI levels, polling rate, fire speed,
// lighting panel, profile, Apply, "try" and the more menu. A thin table from notifications to
// the operations of MousePageModel.
#pragma once

#include "app/ShellPage.h"
#include "device/ApplyRunner.h"
#include "device/FindDev.h"
#include "lighting/LedPanelController.h"
#include "mouse/MousePageModel.h"

#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>

class QWidget;

namespace varnix {

class CMainWnd;
class MouseWriter;
struct FileDialogRequest;
struct Outcome;

class MousePage final : public ShellPage {
public:
    // Position files under the model folder, the more menu and the page's skin.
    static constexpr const char* KeyPositions = "Position/mousekey.json";
    static constexpr const char* AdvPositions = "Position/mouseadv.json";
    static constexpr const char* LightPositions = "Position/mouselight.json";
    static constexpr const char* MainPositions = "Position/mousemain.json";
    static constexpr const char* MoreMenu = "mouse_exmenu.xml";
    static constexpr const char* PageSkin = "MousePage.xml";
    static constexpr const char* ExchangeFilter = "Config Flie(*.Mouse.Config)";
    static constexpr const char* ExchangeSuffix = "Config";

    explicit MousePage(CMainWnd& mainWindow);
    ~MousePage() override;

    void init(SkinWindow& host) override;
    void notify(const SkinNotify& message) override;
    void languageChanged() override;
    // 1: reload the mouse and the macros; 2: save.
    void deviceConfig(int operation) override;
    // Leaving the page for another device's page saves the mouse.
    void storePendingEdits() override;

    MousePageModel& model() { return model_; }
    // The catalogue index of the mouse shown, or -1.
    int shownDevice() const { return device_; }
    // Whether the page is on screen for this device.
    bool showsDevice(int deviceIndex) const;
    // A DPI level or profile the shown mouse reported: the page shows it at once. The DPI report
    // answers what the DPI popup shows, when the reporting key switches DPI levels.
    std::optional<DpiPushInfo> dpiReport(std::uint64_t wParam);
    void profileReport(std::uint64_t wParam);
    // The "try" write that runs without the progress popup; true while it runs.
    bool tryRunning() const;
    ApplyResult waitForTry();

    // The commands of the desktops' mouse settings, tried in this order.
    static const QList<QStringList>& systemMouseSettings();

private:
    void showDevice(int deviceIndex, bool reload);
    void layOut(const std::filesystem::path& folder);
    void showAll();
    void apply(const ViewRows& rows);
    void click(const SkinNotify& message);
    void selectChanged(const SkinNotify& message);
    void valueChanged(const SkinNotify& message);
    void markKey(const QString& buttonName, bool on);
    void openKeyPopup(int key, QWidget* anchor);
    void keyChosen(qintptr result);
    void showArea(bool lighting);
    void applyToMouse();
    void tryOnMouse();
    std::unique_ptr<MouseWriter> writerFor(FindDev& device);
    void saveMacroUsage();
    void menuCommand(const QString& item);
    FileDialogRequest exchangeDialog(const char* titleKey) const;
    void importFile();
    void exportFile();
    void reset();
    void openSystemSettings();
    std::vector<MacroGroup> macroStore() const;
    bool showOutcome(const Outcome& outcome);
    QWidget* pageWidget() const;

    CMainWnd& main_;
    MousePageModel model_;
    std::unique_ptr<LedPanelController> panel_;
    int device_ = -1;
    bool warnedPositions_ = false;
    // The DPI level whose colour the picker is choosing (a lighting slot otherwise).
    std::optional<int> pendingDpiColour_;
    // The "try" write: its own device object, writer and worker.
    std::unique_ptr<FindDev> tryDevice_;
    std::unique_ptr<MouseWriter> tryWriter_;
    std::unique_ptr<ApplyRunner> tryRunner_;
};

} // namespace varnix
