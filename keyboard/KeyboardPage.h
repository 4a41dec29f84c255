// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard page: the keyboard picture of the shown keyboard, its key popup, the Fn, knob and
// lock settings, the lighting panel, the more menu and Apply.
#pragma once

#include "app/ShellPage.h"
#include "keyboard/KeyboardDeviceState.h"
#include "keyboard/KeyboardPageModel.h"
#include "lighting/LedPanelController.h"

#include <QObject>
#include <filesystem>
#include <memory>

class QWidget;

namespace varnix {

class CMainWnd;
struct FileDialogRequest;
struct Outcome;

class KeyboardPage final : public ShellPage {
public:
    // Position files under the model folder, the skin and the menus.
    static constexpr const char* MainPositions = "Position/KBMain.json";
    static constexpr const char* KeyPositions = "Position/KBKey.json";
    static constexpr const char* LightPositions = "Position/KBlight.json";
    static constexpr const char* PageSkin = "KeyboardPage.xml";
    static constexpr const char* MoreMenu = "kb_exmenu.xml";
    static constexpr const char* ScrollMenu = "scroll_menu.xml";

    explicit KeyboardPage(CMainWnd& mainWindow);
    ~KeyboardPage() override;

    bool ownsControl(const QString& controlName) const override;
    void init(SkinWindow& host) override;
    void notify(const SkinNotify& message) override;
    void languageChanged() override;
    // 1: load the keyboard's files again; 2: save them.
    void deviceConfig(int operation) override;
    void storePendingEdits() override;

    KeyboardPageModel& model() { return model_; }
    // The catalogue index of the keyboard shown, or -1.
    int shownDevice() const { return device_; }
    const QString& pendingKey() const { return pendingKey_; }
    const QString& pendingKnob() const { return pendingKnob_; }
    // The active layout changed: key names and legends follow it.
    void layoutChanged();

private:
    void showDevice(int deviceIndex, bool reload);
    void layOut(const std::filesystem::path& folder);
    void showModel();
    void fillFnFunctions();
    void applyRows(const ViewRows& rows);
    void applyRowsAfterClick(const QString& control);
    int fnKeyIndex() const;
    void click(const SkinNotify& message);
    void itemSelected(const SkinNotify& message);
    void openKeyPopup(const QString& key);
    void popupResult(int result);
    void openScrollMenu(const QString& knob, QWidget* anchor);
    void knobChosen(int scrollCode);
    void showTooltip(const QString& name, QWidget* control);
    void hideTooltip();
    void apply();
    void writeToDevice();
    void menuCommand(const QString& item);
    FileDialogRequest exchangeDialog(const char* titleKey) const;
    void importFile();
    void exportFile();
    void reset();
    bool showOutcome(const Outcome& outcome);
    void showMessage(const char* titleKey, const char* textKey);
    bool visibleControl(const QString& name) const;
    QWidget* pageWidget() const;

    CMainWnd& main_;
    KeyboardPageModel model_;
    KeyboardDeviceState deviceState_;
    std::unique_ptr<LedPanelController> panel_;
    std::unique_ptr<QObject> layoutWatcher_;
    int device_ = -1;
    QString pendingKey_;
    QString pendingKnob_;
};

} // namespace varnix
