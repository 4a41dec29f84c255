// SPDX-License-Identifier: GPL-3.0-or-later
// Language switching, control texts, fonts and the settings menu of the main window.
#include "app/CMainWnd.h"
#include "app/LanguageTable.h"
#include "app/QueryControlText.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinLabel.h"
#include "app/skin/SkinMenu.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinTabLayout.h"
#include "common/Diagnostics.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace varnix {
namespace {

const QString SettingsMenuFile = QStringLiteral("sys_set_menu.xml");
// Controls made floating at their current place after a language change.
constexpr const char* FloatingAfterLanguage[] = {"HLayout_Edit_Time", "bindkey_num_layout"};
// UI font numbers a language can restyle.
constexpr int FontCount = 100;

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void CMainWnd::ApplyLanguage(int index) {
    // 1-2: the file of the index (English outside the table), read whole.
    const std::filesystem::path file =
        resourcePath("Language") / std::string(LanguageTable::fileName(index));
    language_ = LanguageFile::read(file);

    // 3: title and tray tip.
    const QString title = qt(language_.windowName);
    if (!title.isEmpty())
        setWindowTitle(title);
    if (SkinControl* caption = findControl(QStringLiteral("lab_title"));
        caption && !title.isEmpty())
        caption->setText(title);
    removeTray();
    createTray();

    // 4: the pages re-read their texts.
    macroPage_->languageChanged();
    mousePage_->languageChanged();
    keyboardPage_->languageChanged();

    // 5: every control that names a text id asks again.
    SkinManager::setGlobalTextProvider(this);
    SkinManager::reloadAllTexts();

    // 6-8: widths, floating layouts, fonts.
    applyControlsWidths();
    for (const char* name : FloatingAfterLanguage)
        if (SkinControl* control = findControl(QString::fromLatin1(name))) {
            control->setPos(control->widget()->geometry());
            control->setFloat(true);
        }
    applyFonts();
}

void CMainWnd::applyControlsWidths() {
    for (const ControlsAction& action : language_.controlsActions()) {
        SkinControl* control = findControl(qt(action.controlName));
        if (!control)
            continue;
        switch (action.action) {
        case ControlWidthAction::FixedWidth:
            control->setFixedControlWidth(action.width);
            break;
        case ControlWidthAction::FitToText:
            if (auto* label = dynamic_cast<SkinLabel*>(control))
                label->fitToText();
            else
                control->setFixedControlWidth(control->estimateSize().width());
            break;
        case ControlWidthAction::Unchanged:
            break;
        }
    }
}

void CMainWnd::applyFonts() {
    const QString face = qt(language_.fontName);
    for (int id = 0; id < FontCount; ++id) {
        if (!manager().hasFont(id))
            continue;
        QFont font = manager().font(id);
        if (!face.isEmpty())
            font.setFamily(face);
        if (auto size = language_.fontSizes.find(id);
            size != language_.fontSizes.end() && size->second > 0)
            font.setPixelSize(size->second);
        manager().setFont(id, font);
    }
    manager().rebuildFonts();
}

std::optional<QString> CMainWnd::queryControlText(const QString& textId) {
    auto* tabs = find<SkinTabLayout>(QStringLiteral("tab_main"));
    const int page = tabs ? tabs->currentSel() : -1;
    std::int32_t type = 0;
    if (shownDevice_ >= 0 && shownDevice_ < int(catalogue_->DeviceList.size()))
        type = catalogue_->DeviceList[shownDevice_].DevType;
    if (auto text = QueryControlText(language_, textId.toStdString(), page, type))
        return qt(*text);
    return std::nullopt;
}

QString CMainWnd::messageText(const QString& key) const {
    const std::string id = key.toStdString();
    for (std::string_view section : languagefile::MessageSections)
        if (auto text = language_.text(section, id))
            return qt(*text);
    if (auto text = language_.text(languagefile::OthersUI, id))
        return qt(*text);
    return key;
}

bool CMainWnd::SelectLanguage(const QString& menuItem) {
    const std::optional<int> index = settings_->SelectLanguage(menuItem.toStdString());
    if (!index)
        return false;
    if (const Outcome& written = settings_->lastWrite(); !written)
        debugOutput("Set.ini: " + written.detail);
    ApplyLanguage(*index);
    return true;
}

void CMainWnd::ToggleDpiPopup() {
    settings_->ToggleDpiPopup();
    if (const Outcome& written = settings_->lastWrite(); !written)
        debugOutput("Set.ini: " + written.detail);
}

std::unique_ptr<QMenu> CMainWnd::buildSettingsMenu() {
    QString error;
    auto menu = SkinMenu::build(SettingsMenuFile, &manager(), &error);
    if (!menu) {
        debugOutput(error.toStdString());
        return nullptr;
    }
    const QString active =
        QString::fromLatin1(LanguageTable::entries()[std::clamp(settings_->languageIndex(), 0,
                                                                LanguageTable::Count - 1)]
                                .menuItem);
    const bool inTable =
        settings_->languageIndex() >= 0 && settings_->languageIndex() < LanguageTable::Count;
    for (QAction* action : menu->findChildren<QAction*>()) {
        if (action->objectName() == QLatin1String("dpipopck"))
            action->setChecked(settings_->dpiPopupEnabled());
        else if (action->objectName() == QLatin1String("updatecheck"))
            action->setChecked(settings_->updateCheckEnabled());
        else if (action->isCheckable())
            action->setChecked(
                action->objectName().compare(inTable ? active : QStringLiteral("lan_en"),
                                             Qt::CaseInsensitive) == 0);
    }
    return menu;
}

void CMainWnd::onMenuItem(const QString& itemName) {
    if (itemName == QLatin1String("exit")) {
        exitProgram();
        return;
    }
    if (itemName == QLatin1String("show")) {
        restoreWindow();
        return;
    }
    if (itemName == QLatin1String("about")) {
        openAbout();
        return;
    }
    if (itemName.compare(QLatin1String("dpipopck"), Qt::CaseInsensitive) == 0) {
        ToggleDpiPopup();
        return;
    }
    if (itemName.compare(QLatin1String("updatecheck"), Qt::CaseInsensitive) == 0) {
        settings_->ToggleUpdateCheck();
        if (const Outcome& written = settings_->lastWrite(); !written)
            debugOutput("Set.ini: " + written.detail);
        return;
    }
    if (LanguageTable::indexForMenuItem(itemName.toStdString())) {
        SelectLanguage(itemName);
        return;
    }
    // Page menus: "MyMenuClick" to the shown page, sent in the name of its device.
    auto* macroTab = find<SkinOption>(QStringLiteral("btn_Mac"));
    ShellPage* page = macroTab && macroTab->isSelected() ? macroPage_.get() : pageOfKind(tabKind_);
    if (!page)
        return;
    SkinNotify message;
    message.type = QStringLiteral("MyMenuClick");
    message.senderName = page->senderName();
    QString item = itemName;
    message.wParam = reinterpret_cast<qintptr>(&item);
    page->notify(message);
}

} // namespace varnix
