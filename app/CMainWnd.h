// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: navigation tabs, device bar, settings menu, tray icon and the hub of the
// window messages.
#pragma once

#include "app/ExtraFontRegistry.h"
#include "app/LanguageFile.h"
#include "app/Settings.h"
#include "app/ShellPage.h"
#include "app/skin/SkinTextProvider.h"
#include "app/skin/SkinWindow.h"
#include "common/WindowMessage.h"
#include "device/FindDev.h"
#include "device/HotplugMonitor.h"

#include <filesystem>
#include <memory>
#include <vector>

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace varnix {

class CPopPush;
class CPopTipWnd;
class DeviceEventHub;
class UpdateController;

// Kinds of the device tabs, as the selection and the pages count them.
enum TabKind : int {
    TabNone = 0,
    TabMouse = PageCodeMouse,
    TabKeyboard = PageCodeKeyboard,
    TabPad = PageCodePad
};

// Pages of "tab_main".
enum MainPage : int { PageHome = 0, PageMacro = 1, PageMouse = 2, PageKeyboard = 3, PagePad = 4 };

class CMainWnd : public SkinWindow, public SkinTextProvider {
    Q_OBJECT
public:
    static constexpr int Width = 990;
    static constexpr int Height = 690;

    struct Options {
        std::filesystem::path resourceRoot; // real folder of "res/"
        HidBackend* backend = nullptr;      // not owned; must outlive the window
        HotplugMonitor* hotplug = nullptr;  // optional, not owned
        bool useTray = true;                // false: no tray icon even when the desktop has one
        bool assumeTray = false;            // true: make the tray icon even when none is reported
        // Where the updaters and the version files are; empty: the executable's folder.
        std::filesystem::path programFolder;
    };

    explicit CMainWnd(Options options);
    ~CMainWnd() override;

    QString skinFile() const override { return QStringLiteral("MainWnd.xml"); }
    QString windowClassName() const override { return QStringLiteral("MainWnd"); }

    // Builds the window ("Varnix", 990 x 690, centred); false when the skin cannot be read.
    bool createMainWindow();

    void notify(const SkinNotify& message) override;
    bool handleMessage(int message, qintptr wParam, qintptr lParam) override;
    std::optional<QString> queryControlText(const QString& textId) override;

    // --- devices ---
    FindDev& catalogue() { return *catalogue_; }
    // The backend every device object of the pages opens its frames through.
    HidBackend& backend() { return *options_.backend; }
    const std::filesystem::path& resourceRoot() const { return options_.resourceRoot; }
    const std::filesystem::path& programFolder() const { return options_.programFolder; }
    // Positions of the bar: device index of each card.
    const std::vector<int>& barPositions() const { return barPositions_; }
    void RebuildDeviceBar();
    // A card click: shows the device at that bar position.
    void ClickDevice(int barPosition);
    // A tab click on "btn_console", "btn_Mac", "btn_Null", "btn_kb" or "btn_pad".
    void ClickOption(const QString& tabName);
    // A device arrived or left (UI thread); true when the catalogue changed.
    bool OnDeviceChange(DeviceChangeEvent event, const std::string& interfaceName);
    int selectedDevice(int kind) const;
    int shownDevice() const { return shownDevice_; }
    int currentTabKind() const { return tabKind_; }

    // --- settings and language ---
    Settings& settings() { return *settings_; }
    const LanguageFile& language() const { return language_; }
    int languageIndex() const { return settings_->languageIndex(); }
    void ApplyLanguage(int index);
    // Settings-menu language item; true when the language changed.
    bool SelectLanguage(const QString& menuItem);
    void ToggleDpiPopup();
    // A message text ("Tip", "maxDataWarn", ...) from the message sections.
    QString messageText(const QString& key) const;
    const ExtraFontRegistry& extraFonts() const { return fonts_; }

    // --- tray and closing ---
    bool hasTray() const { return tray_ != nullptr; }
    QSystemTrayIcon* tray() const { return tray_; }
    // Tray menu "exit": the window really closes and the program ends.
    void exitProgram();
    // Tray menu "show", a double click or a second start: back on screen and in front.
    void restoreWindow();
    // Menu item clicked (tray, settings or page menus).
    void onMenuItem(const QString& itemName);
    // The settings menu as it would open now (items checked for the language and DPI popup).
    std::unique_ptr<QMenu> buildSettingsMenu();
    std::unique_ptr<QMenu> buildTrayMenu();

    // --- pages and popups ---
    ShellPage& homePage() { return *homePage_; }
    ShellPage& macroPage() { return *macroPage_; }
    ShellPage& mousePage() { return *mousePage_; }
    ShellPage& keyboardPage() { return *keyboardPage_; }
    ShellPage& padPage() { return *padPage_; }
    ShellPage* pageOfKind(int kind);
    CPopTipWnd* tipWindow() const { return tip_; }
    // The DPI notice a mouse's DPI key raises (when "DpiPopEn" is on).
    CPopPush* dpiPopup() const { return dpiPopup_; }
    // Opens a menu of a skin file under a control; its items arrive as window message 1027.
    // Without an anchor it opens at the cursor; `checked` items are checked, `hidden` left out.
    void openMenu(const QString& file, QWidget* anchor, const QStringList& checked = {},
                  const QStringList& hidden = {});
    // Timer 1: the shared lighting written again at an interval (message 2033 on each tick).
    // A device page's Apply stops it, so that its own write is not overwritten.
    void startLightingRepeat(int intervalMs);
    void stopLightingRepeat();
    bool lightingRepeatActive() const;
    // Milliseconds to the next tick; -1 while the repeat is stopped.
    int lightingRepeatRemainingMs() const;
    void openAbout();
    // The version check at start (message 2037), "btn_update" and the version window.
    UpdateController& updates() { return *updates_; }
    void openSoftVersion();
    std::filesystem::path resourcePath(const std::string& name) const;

Q_SIGNALS:
    // The program ends (tray "exit", or closing without a tray).
    void exitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void initWindow();
    void dispatch(const SkinNotify& message);
    void onClick(const SkinNotify& message);
    void setTabVisible(const QString& name, bool visible);
    void selectTab(const QString& name, bool notify);
    void showPage(int page);
    void sendToPages(const QString& type, int deviceIndex);
    void createTray();
    void removeTray();
    void popupMenu(std::unique_ptr<QMenu> menu, const QPoint& at);
    void applyControlsWidths();
    void applyFonts();
    void startDeviceEvents();
    // A mouse reported a new DPI stage (2031) or profile (2032).
    void onMouseReport(int message, qintptr wParam, qintptr lParam);
    void noteDeviceList();

    Options options_;
    std::unique_ptr<ShellPage> mousePage_; // a MousePage
    std::unique_ptr<ShellPage> keyboardPage_;
    std::unique_ptr<ShellPage> padPage_;
    std::unique_ptr<ShellPage> homePage_;
    std::unique_ptr<ShellPage> macroPage_;
    QSystemTrayIcon* tray_ = nullptr;
    std::unique_ptr<FindDev> catalogue_;
    std::vector<int> barPositions_;
    std::vector<int> previousConnected_;
    std::unique_ptr<DeviceEventHub> events_;
    std::unique_ptr<UpdateController> updates_;
    std::unique_ptr<Settings> settings_;
    LanguageFile language_;
    ExtraFontRegistry fonts_;
    CPopTipWnd* tip_ = nullptr;
    CPopPush* dpiPopup_ = nullptr; // a top-level window of its own, deleted with the main window
    QTimer* lightingRepeat_ = nullptr;
    int selectedMouse_ = -1;
    int selectedKeyboard_ = -1;
    int selectedPad_ = -1;
    int shownDevice_ = -1;
    int tabKind_ = TabNone;
    bool exiting_ = false;
};

} // namespace varnix
