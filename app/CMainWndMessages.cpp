// SPDX-License-Identifier: GPL-3.0-or-later
// The window messages the main window handles.
#include "app/CMainWnd.h"
#include "app/PopupService.h"
#include "app/skin/SkinOption.h"
#include "app/skin/UiCallable.h"
#include "common/WindowMessage.h"
#include "update/UpdateController.h"

#include <QCursor>
#include <QMenu>
#include <memory>

namespace varnix {
namespace {

SkinNotify pageNotification(const char* type, qintptr wParam = 0, qintptr lParam = 0) {
    SkinNotify message;
    message.type = QString::fromLatin1(type);
    message.wParam = wParam;
    message.lParam = lParam;
    return message;
}

} // namespace

bool CMainWnd::handleMessage(int message, qintptr wParam, qintptr lParam) {
    // The page shown now: the macro page, the home page or the device page of the tab.
    auto activePage = [this]() -> ShellPage* {
        auto selected = [this](const char* name) {
            auto* option = find<SkinOption>(QString::fromLatin1(name));
            return option && option->isSelected();
        };
        if (selected("btn_Mac"))
            return macroPage_.get();
        if (ShellPage* page = pageOfKind(tabKind_))
            return page;
        return homePage_.get();
    };
    // Popups name a page by kind: 1 mouse, 2 keyboard, 3 pad, 4 home.
    auto pageForKind = [this](qintptr kind) -> ShellPage* {
        return kind == PageCodeHome ? homePage_.get() : pageOfKind(int(kind));
    };

    switch (message) {
    case WM_TrayIcon:
        if (lParam == TrayRightButtonUp) {
            std::unique_ptr<QMenu> menu = buildTrayMenu();
            if (menu) {
                QMenu* shown = menu.release();
                shown->setAttribute(Qt::WA_DeleteOnClose);
                connect(shown, &QMenu::triggered, this, [this](QAction* action) {
                    postMessage(WM_MenuClick,
                                reinterpret_cast<qintptr>(new QString(action->objectName())));
                });
                shown->popup(QCursor::pos() - QPoint(0, 50));
            }
        } else if (lParam == TrayLeftDoubleClick) {
            restoreWindow();
        }
        return true;
    case WM_MenuClick: {
        std::unique_ptr<QString> item(reinterpret_cast<QString*>(wParam));
        if (item)
            onMenuItem(*item);
        return true;
    }
    case WM_PopColorOk:
        // The picker posts (caller code, colour); the page reads the colour first and the code
        // after it.
        if (ShellPage* page = pageForKind(wParam))
            page->notify(pageNotification("popcolor_ok", lParam, wParam));
        return true;
    case WM_MacroItemClosed:
        // wParam: the insert mode (0, 1) or 255 for an edit; lParam: the popup's item, alive while
        // the popup sends this.
        activePage()->notify(pageNotification("macsetclose", wParam, lParam));
        return true;
    case WM_PopSetValue:
        // The popup posts (page code, result); the page reads the result first.
        if (wParam == TabMouse || wParam == TabKeyboard)
            pageOfKind(int(wParam))->notify(pageNotification("PopSetValue", lParam, wParam));
        return true;
    case WM_RecordingKey:
        macroPage_->notify(pageNotification("Recording_KeyUp", wParam));
        return true;
    case WM_RunOnUiThread:
        if (auto* work = reinterpret_cast<UiCallable*>(wParam))
            work->runOnUiThread();
        return true;
    case WM_DpiStage:
    case WM_ProfileChanged:
        mousePage_->deviceMessage(message, wParam, lParam);
        onMouseReport(message, wParam, lParam);
        return true;
    case WM_HomeRefresh:
        homePage_->deviceMessage(message, wParam, lParam);
        return true;
    case WM_DeviceConfig:
        if (ShellPage* page = pageOfKind(int(wParam)); page && (lParam == 1 || lParam == 2)) {
            page->notify(pageNotification("WM_DeviceConfig", lParam));
            page->deviceConfig(int(lParam));
        }
        return true;
    case WM_MacroItemCancel:
        activePage()->notify(pageNotification("macsetcancel"));
        SkinManager::reloadAllTexts();
        return true;
    case WM_AboutClosed:
        activePage()->notify(pageNotification("about"));
        SkinManager::reloadAllTexts();
        return true;
    case WM_UpdateCheck:
        updates_->runCheck();
        return true;
    case WM_KeyboardDataWarn:
    case WM_MaxDataWarn:
        PopupService::information(this, messageText(QStringLiteral("Tip")),
                                  messageText(QStringLiteral("maxDataWarn")),
                                  messageText(QStringLiteral("MessageOK")));
        return true;
    case WM_MacroTakeKeys:
        macroPage_->deviceMessage(message, wParam, lParam);
        return true;
    default:
        return false;
    }
}

} // namespace varnix
