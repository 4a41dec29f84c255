// SPDX-License-Identifier: GPL-3.0-or-later
// The pad page: the lighting panel of the shown pad, its position files, Apply and the more menu.
#pragma once

#include "app/ShellPage.h"
#include "lighting/LedPanelController.h"
#include "lighting/PadPageModel.h"

#include <filesystem>
#include <memory>

class QWidget;

namespace varnix {

class CMainWnd;
struct FileDialogRequest;
struct Outcome;

class PadPage final : public ShellPage {
public:
    // Position files under the model folder and the page's more menu.
    static constexpr const char* MainPositions = "Position/Pad_main.json";
    static constexpr const char* BasePositions = "Position/Pad_base.json";
    static constexpr const char* LightPositions = "Position/Padlight.json";
    static constexpr const char* MoreMenu = "pad_exmenu.xml";
    static constexpr const char* PageSkin = "PadPage.xml";
    // The dialogs' filter and default extension of the exchange files.
    static constexpr const char* ExchangeFilter = "Config Flie(*.Light.Config)";
    static constexpr const char* ExchangeSuffix = PadPageModel::ExchangeSuffix;

    explicit PadPage(CMainWnd& mainWindow);
    ~PadPage() override;

    void init(SkinWindow& host) override;
    void notify(const SkinNotify& message) override;
    void languageChanged() override;
    // 1: load the pad's file again; 2: save it.
    void deviceConfig(int operation) override;

    PadPageModel& model() { return model_; }
    // The catalogue index of the pad shown, or -1.
    int shownDevice() const { return device_; }

private:
    void showDevice(int deviceIndex, bool reload);
    void layOut(const std::filesystem::path& folder);
    void apply();
    void writeToDevice();
    void menuCommand(const QString& item);
    FileDialogRequest exchangeDialog(const char* titleKey) const;
    void importFile();
    void exportFile();
    void reset();
    bool showOutcome(const Outcome& outcome);
    QWidget* pageWidget() const;

    CMainWnd& main_;
    PadPageModel model_;
    std::unique_ptr<LedPanelController> panel_;
    int device_ = -1;
};

} // namespace varnix
