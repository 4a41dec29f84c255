// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMainWnd.h"

#include "app/About.h"
#include "app/CPopTipWnd.h"
#include "app/ExtraFontList.h"
#include "app/skin/SkinButton.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinImage.h"
#include "app/skin/SkinMenu.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinTabLayout.h"
#include "common/Diagnostics.h"
#include "common/WindowMessage.h"
#include "device/DeviceEventHub.h"
#include "device/ModelFolder.h"
#include "device/MouseFeatureProfile.h"
#include "keyboard/KeyboardPage.h"
#include "lighting/HomePage.h"
#include "lighting/PadPage.h"
#include "macro/MacroPage.h"
#include "mouse/CPopPush.h"
#include "mouse/MousePage.h"
#include "update/SoftVersion.h"
#include "update/UpdateController.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace varnix {
namespace {
// The icon of the tray and of the window.
const QString AppIcon = QStringLiteral("Skin/logo.png");
const QString TrayMenuFile = QStringLiteral("tray_menu.xml");
// The tray menu opens this far above the cursor.
constexpr int TrayMenuLift = 50;
} // namespace

CMainWnd::CMainWnd(Options options)
    : SkinWindow(nullptr, Qt::Window | Qt::FramelessWindowHint), options_(std::move(options)),
      mousePage_(std::make_unique<MousePage>(*this)),
      keyboardPage_(std::make_unique<KeyboardPage>(*this)),
      padPage_(std::make_unique<PadPage>(*this)), homePage_(std::make_unique<HomePage>(*this)),
      macroPage_(std::make_unique<MacroPage>(*this)),
      catalogue_(std::make_unique<FindDev>(*options_.backend)),
      settings_(std::make_unique<Settings>(resourcePath("Set.ini"))) {
    if (options_.programFolder.empty())
        options_.programFolder = varnix::programFolder();
    updates_ = std::make_unique<UpdateController>(*this);
    setWindowIcon(QIcon(SkinImage::resolvePath(AppIcon)));
}

CMainWnd::~CMainWnd() {
    // Nothing may call into the window once it goes: stop the device threads first.
    if (options_.hotplug)
        options_.hotplug->stop();
    events_.reset();
    delete dpiPopup_;
    updates_.reset();
    removeTray();
    fonts_.unregisterAll();
    SkinManager::setGlobalTextProvider(nullptr);
    CurrentWriteHandle().clear();
}

std::filesystem::path CMainWnd::resourcePath(const std::string& name) const {
    return options_.resourceRoot / name;
}

bool CMainWnd::createMainWindow() {
    if (!create(QStringLiteral("Varnix")))
        return false;
    resize(Width, Height);
    centerWindow();
    return true;
}

void CMainWnd::initWindow() {
    for (ShellPage* page :
         {mousePage_.get(), keyboardPage_.get(), padPage_.get(), homePage_.get(), macroPage_.get()})
        page->init(*this);

    settings_->LoadSettings();
    fonts_.registerFrom(resourcePath("Language/ExFont.json"));
    ApplyLanguage(settings_->languageIndex());

    catalogue_->LoadCatalogue(options_.resourceRoot);
    catalogue_->OpenCatalogueDevices();
    previousConnected_.assign(catalogue_->DeviceList.size(), 0);
    startDeviceEvents();

    setTabVisible(QStringLiteral("btn_Null"), false);
    setTabVisible(QStringLiteral("btn_pad"), false);
    setTabVisible(QStringLiteral("btn_kb"), false);
    showPage(PageHome);
    selectTab(QStringLiteral("btn_console"), true);
    RebuildDeviceBar();

    tip_ = new CPopTipWnd(this);
    tip_->create(QString());
    tip_->hide();
    // The DPI notice lives as long as the window, hidden until a mouse reports a DPI change.
    dpiPopup_ = new CPopPush();
    dpiPopup_->create(QString());
    dpiPopup_->hide();

    // "btn_update" is offered where an updater is installed, or once a newer release is known.
    auto offerUpdater = [this](bool offer) {
        if (SkinControl* button = findControl(QStringLiteral("btn_update")))
            button->setControlVisible(offer);
    };
    offerUpdater(
        std::filesystem::exists(options_.programFolder / std::string(updater::AutoUpdate)));
    connect(updates_.get(), &UpdateController::checkFinished, this, [this, offerUpdater] {
        if (updates_->lastCheck())
            offerUpdater(true);
    });

    // The version check runs once the window is up.
    postMessage(WM_UpdateCheck);
}

void CMainWnd::startDeviceEvents() {
    // The reader threads read each mouse's long-hold switch and key map on every key report.
    std::vector<std::filesystem::path> folders;
    for (const DeviceRecord& record : catalogue_->DeviceList)
        folders.push_back(
            modelResourceFolder(options_.resourceRoot, record.DevType, record.DevFolder));
    auto rules = [folders](int device) {
        MouseEventRules result;
        if (device >= 0 && device < int(folders.size()) && !folders[device].empty())
            result.longHoldSwitch = readMouseLongHoldAndKeyMap(folders[device], result.keyMap);
        return result;
    };
    auto post = [this](int message, std::uint64_t wParam, std::int64_t lParam) {
        postMessage(message, static_cast<qintptr>(wParam), static_cast<qintptr>(lParam));
    };
    events_ = std::make_unique<DeviceEventHub>(rules, post);
    events_->startReaders(catalogue_->DeviceList);
    if (options_.hotplug)
        options_.hotplug->start([this](DeviceChangeEvent event, const std::string& name) {
            QMetaObject::invokeMethod(
                this, [this, event, name] { OnDeviceChange(event, name); }, Qt::QueuedConnection);
        });
}

ShellPage* CMainWnd::pageOfKind(int kind) {
    switch (kind) {
    case TabMouse:
        return mousePage_.get();
    case TabKeyboard:
        return keyboardPage_.get();
    case TabPad:
        return padPage_.get();
    default:
        return nullptr;
    }
}

void CMainWnd::notify(const SkinNotify& message) {
    if (message.type == QLatin1String(notify::WindowInit) && message.sender == root()) {
        initWindow();
        return;
    }
    dispatch(message);
    if (message.type == QLatin1String(notify::Click))
        onClick(message);
}

void CMainWnd::dispatch(const SkinNotify& message) {
    auto selected = [this](const char* name) {
        auto* option = find<SkinOption>(QString::fromLatin1(name));
        return option && option->isSelected();
    };
    if (selected("btn_Mac")) {
        macroPage_->notify(message);
        return;
    }
    if (selected("btn_console") || message.senderName.startsWith(QLatin1String("btn_display"))) {
        homePage_->setCatalogue(*catalogue_);
        homePage_->notify(message);
        return;
    }
    if (ShellPage* page = pageOfKind(tabKind_))
        if (message.senderName == page->senderName() || page->ownsControl(message.senderName))
            page->notify(message);
}

void CMainWnd::onClick(const SkinNotify& message) {
    const QString& name = message.senderName;
    static const QString CardPrefix = QStringLiteral("btn_display");
    if (name.startsWith(CardPrefix)) {
        bool ok = false;
        const int position = name.mid(CardPrefix.size()).toInt(&ok);
        if (ok)
            ClickDevice(position);
    } else if (name == QLatin1String("btn_console") || name == QLatin1String("btn_Mac") ||
               name == QLatin1String("btn_Null") || name == QLatin1String("btn_kb") ||
               name == QLatin1String("btn_pad")) {
        ClickOption(name);
    } else if (name == QLatin1String("btn_set")) {
        QWidget* button = message.sender ? message.sender->widget() : nullptr;
        const QPoint at =
            button ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos();
        popupMenu(buildSettingsMenu(), at);
    } else if (name == QLatin1String("btn_update")) {
        updates_->StartAutoUpdater();
    } else if (name == QLatin1String("modal_popwnd_btn")) {
        openSoftVersion();
    } else if (name == QLatin1String("btn_close")) {
        close();
    } else if (name == QLatin1String("btn_min")) {
        showMinimized();
    }
}

void CMainWnd::closeEvent(QCloseEvent* event) {
    if (exiting_ || !tray_) {
        // Without a tray there is no way back to a hidden window: closing ends the program.
        exiting_ = true;
        event->accept();
        hide();
        Q_EMIT exitRequested();
        return;
    }
    event->ignore();
    hide();
}

void CMainWnd::exitProgram() {
    removeTray();
    fonts_.unregisterAll();
    exiting_ = true;
    close();
}

void CMainWnd::restoreWindow() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void CMainWnd::createTray() {
    if (!options_.useTray || (!options_.assumeTray && !QSystemTrayIcon::isSystemTrayAvailable()))
        return;
    tray_ = new QSystemTrayIcon(QIcon(SkinImage::resolvePath(AppIcon)), this);
    tray_->setToolTip(windowTitle());
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Context)
                    sendMessage(WM_TrayIcon, 0, TrayRightButtonUp);
                else if (why == QSystemTrayIcon::DoubleClick || why == QSystemTrayIcon::Trigger)
                    sendMessage(WM_TrayIcon, 0, TrayLeftDoubleClick);
            });
    tray_->show();
}

void CMainWnd::removeTray() {
    if (!tray_)
        return;
    tray_->hide();
    delete tray_;
    tray_ = nullptr;
}

std::unique_ptr<QMenu> CMainWnd::buildTrayMenu() {
    QString error;
    auto menu = SkinMenu::build(TrayMenuFile, &manager(), &error);
    if (!menu)
        debugOutput(error.toStdString());
    return menu;
}

void CMainWnd::popupMenu(std::unique_ptr<QMenu> menu, const QPoint& at) {
    if (!menu)
        return;
    QMenu* shown = menu.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    connect(shown, &QMenu::triggered, this, [this](QAction* action) {
        postMessage(WM_MenuClick, reinterpret_cast<qintptr>(new QString(action->objectName())));
    });
    shown->popup(at);
}

void CMainWnd::openMenu(const QString& file, QWidget* anchor, const QStringList& checked,
                        const QStringList& hidden) {
    QString error;
    std::unique_ptr<QMenu> menu = SkinMenu::build(file, &manager(), &error);
    if (!menu) {
        debugOutput(error.toStdString());
        return;
    }
    for (QAction* action : menu->actions()) {
        if (checked.contains(action->objectName()))
            action->setChecked(true);
        if (hidden.contains(action->objectName()))
            action->setVisible(false);
    }
    popupMenu(std::move(menu),
              anchor ? anchor->mapToGlobal(QPoint(0, anchor->height())) : QCursor::pos());
}

void CMainWnd::startLightingRepeat(int intervalMs) {
    if (!lightingRepeat_) {
        lightingRepeat_ = new QTimer(this);
        // The devices run their effects on their own clocks: a coarse timer's slack would let
        // them drift apart by a second or more per tick.
        lightingRepeat_->setTimerType(Qt::PreciseTimer);
        connect(lightingRepeat_, &QTimer::timeout, this, [this] { postMessage(WM_HomeRefresh); });
    }
    lightingRepeat_->start(intervalMs);
}

void CMainWnd::stopLightingRepeat() {
    if (lightingRepeat_)
        lightingRepeat_->stop();
}

bool CMainWnd::lightingRepeatActive() const {
    return lightingRepeat_ && lightingRepeat_->isActive();
}

int CMainWnd::lightingRepeatRemainingMs() const {
    return lightingRepeatActive() ? lightingRepeat_->remainingTime() : -1;
}

void CMainWnd::openAbout() {
    auto* about = new About(language_, this);
    about->setDeleteOnClose(true);
    if (!about->create(QStringLiteral("about"))) {
        debugOutput(about->skinError().toStdString());
        delete about;
        return;
    }
    about->centerOn(frameGeometry());
    about->show();
}

void CMainWnd::openSoftVersion() {
    SoftVersion::Open(*this);
}

} // namespace varnix
