// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/PopMouseKeySel.h"

#include "app/ApplyPositionSheet.h"
#include "app/PopupService.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinImage.h"
#include "app/skin/SkinList.h"
#include "app/skin/SkinListElement.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinTabLayout.h"
#include "common/Diagnostics.h"
#include "common/WindowMessage.h"
#include "mouse/MousePageModel.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

namespace varnix {
namespace {

namespace ks = mousekeysel;

PopMouseKeySel::Responder& responder() {
    static PopMouseKeySel::Responder answer;
    return answer;
}

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

PopMouseKeySel::PopMouseKeySel(MousePageModel& model, int key, SkinWindow* mainWindow,
                               QWidget* owner)
    : SkinWindow(owner, Qt::Tool | Qt::FramelessWindowHint), model_(model),
      mainWindow_(mainWindow) {
    opening_.key = key;
}

void PopMouseKeySel::setResponder(Responder answer) {
    responder() = std::move(answer);
}

QRect PopMouseKeySel::placement(const QPoint& buttonTopLeft, const QRect& available) {
    QRect area(buttonTopLeft - QPoint(OffsetX, 0), QSize(Width, Height));
    if (available.isValid()) {
        if (area.right() > available.right())
            area.moveRight(available.right());
        if (area.bottom() > available.bottom())
            area.moveBottom(available.bottom());
        if (area.left() < available.left())
            area.moveLeft(available.left());
        if (area.top() < available.top())
            area.moveTop(available.top());
    }
    return area;
}

int PopMouseKeySel::Open(MousePageModel& model, int key, SkinWindow* mainWindow,
                         QWidget* keyButton) {
    int result = ResultCancelled;
    if (responder()) {
        const KeyOpening opening = model.openKey(key);
        result = applyChoice(model, opening, responder()(opening), keyButton);
    } else {
        PopMouseKeySel popup(model, key, mainWindow, keyButton ? keyButton->window() : nullptr);
        if (!popup.create()) {
            debugOutput("PopMouseKeySel.xml: " + popup.skinError().toStdString() + "\n");
            return ResultCancelled;
        }
        popup.open();
        const QPoint at = keyButton ? keyButton->mapToGlobal(QPoint(0, 0)) : QPoint();
        QScreen* screen = QGuiApplication::screenAt(at);
        if (!screen)
            screen = keyButton ? keyButton->screen() : QGuiApplication::primaryScreen();
        popup.setGeometry(placement(at, screen ? screen->availableGeometry() : QRect()));
        result = popup.showModal();
        if (result != ResultChosen)
            result = ResultCancelled;
    }
    if (mainWindow)
        mainWindow->postMessage(WM_PopSetValue, PageCodeMouse, result);
    return result;
}

int PopMouseKeySel::applyChoice(MousePageModel& model, const KeyOpening& opening,
                                const std::optional<MouseKeyChoice>& choice, QWidget* owner) {
    if (!choice)
        return ResultCancelled;
    const KeyAssignment assigned = model.assignKey(opening, *choice);
    // A key without a binding is told; the popup still reports a choice.
    if (!assigned.outcome)
        PopupService::information(owner, QString(), qt(assigned.outcome.messageKey));
    return ResultChosen;
}

void PopMouseKeySel::open() {
    bool opened = false;
    QStringList positioned;
    LoadAndApplyPositionSheet(SkinImage::resolvePath(QString::fromLatin1(PositionFile)), manager(),
                              positioned, &opened);
    if (!opened)
        PopupService::plainMessage(this, QString::fromUtf8(NoPositionsText));
    opening_ = model_.openKey(opening_.key);
    fillLists();
    fillMacros(opening_.groupIndex >= 0 ? opening_.groupIndex : 0);
    selectTab(opening_.tab);
    selectOpening();
    initialised_ = true;
    // The keyboard starts in the list of the key's function.
    QTimer::singleShot(0, this, [this] {
        if (auto* list = find<SkinList>(qt(ks::tabList(opening_.tab))))
            list->setFocus();
    });
}

void PopMouseKeySel::fillLists() {
    const MouseFunctionTable& table = model_.functionTable();
    for (int tab = 0; tab < ks::TabCount; ++tab) {
        auto* list = find<SkinList>(qt(ks::tabList(tab)));
        if (!list)
            continue;
        list->removeAll();
        for (int code : keyListCodes(table, tab)) {
            auto* row = new SkinListElement(QStringLiteral("ListLabelElement"));
            row->setAttribute(QStringLiteral("name"), QString::fromStdString(keyItemName(code)));
            row->setAttribute(QStringLiteral("text"),
                              QString::fromStdString(table.firstText(code)));
            row->setAttribute(QStringLiteral("textpadding"), QStringLiteral("8,0,4,0"));
            list->add(row);
        }
    }
    auto* groups = find<SkinCombo>(QString::fromLatin1(ks::GroupCombo));
    if (!groups)
        return;
    const QSignalBlocker quiet(groups);
    groups->clear();
    for (const MacroGroup& group : model_.macros())
        groups->addNamedItem(QString::fromStdString(group.guid),
                             QString::fromStdString(group.name));
}

void PopMouseKeySel::fillMacros(int group) {
    auto* macros = find<SkinCombo>(QString::fromLatin1(ks::MacroCombo));
    if (!macros)
        return;
    const QSignalBlocker quiet(macros);
    macros->clear();
    const auto& groups = model_.macros();
    if (group < 0 || group >= int(groups.size()))
        return;
    for (const MacroRecord& macro : groups[std::size_t(group)].macros)
        macros->addNamedItem(QString::fromStdString(macro.guid),
                             QString::fromStdString(macro.name));
    macros->selectItem(-1);
}

void PopMouseKeySel::selectTab(int tab) {
    if (auto* option = find<SkinOption>(qt(ks::tabOption(tab))))
        option->select(true, false);
    if (auto* tabs = find<SkinTabLayout>(QString::fromLatin1(ks::TabLayout)))
        tabs->selectItem(tab);
}

void PopMouseKeySel::selectOpening() {
    if (opening_.macroMode) {
        auto* groups = find<SkinCombo>(QString::fromLatin1(ks::GroupCombo));
        auto* macros = find<SkinCombo>(QString::fromLatin1(ks::MacroCombo));
        if (groups && opening_.groupIndex >= 0 && opening_.groupIndex < groups->count()) {
            const QSignalBlocker quiet(groups);
            groups->selectItem(opening_.groupIndex);
        }
        if (macros && opening_.macroIndex >= 0 && opening_.macroIndex < macros->count()) {
            const QSignalBlocker quiet(macros);
            macros->selectItem(opening_.macroIndex);
        }
        return;
    }
    auto* list = find<SkinList>(qt(ks::tabList(opening_.tab)));
    if (!list)
        return;
    const QString text = QString::fromStdString(opening_.firstText);
    for (int i = 0; i < list->count(); ++i)
        if (list->itemAt(i)->text() == text) {
            list->selectItem(i, false);
            return;
        }
}

int PopMouseKeySel::selectedTab() const {
    for (int tab = 0; tab < ks::TabCount; ++tab)
        if (auto* option = find<SkinOption>(qt(ks::tabOption(tab))); option && option->isSelected())
            return tab;
    return -1;
}

std::optional<MouseKeyChoice> PopMouseKeySel::currentChoice() const {
    const int tab = selectedTab();
    if (tab < 0)
        return std::nullopt;
    if (tab == ks::TabMacro) {
        auto* groups = find<SkinCombo>(QString::fromLatin1(ks::GroupCombo));
        auto* macros = find<SkinCombo>(QString::fromLatin1(ks::MacroCombo));
        return MouseKeyChoice::macro(groups ? groups->currentIndex() : -1,
                                     macros ? macros->currentIndex() : -1);
    }
    auto* list = find<SkinList>(qt(ks::tabList(tab)));
    if (!list || list->currentSel() < 0)
        return std::nullopt;
    const std::optional<int> code =
        codeOfKeyItem(list->itemAt(list->currentSel())->name().toStdString());
    if (!code)
        return std::nullopt;
    return MouseKeyChoice::listItem(tab, *code);
}

void PopMouseKeySel::choose() {
    applyChoice(model_, opening_, currentChoice(), this);
    finish(ResultChosen);
}

void PopMouseKeySel::finish(int result) {
    if (finished_)
        return;
    finished_ = true;
    closeWindow(result);
}

void PopMouseKeySel::notify(const SkinNotify& message) {
    SkinWindow::notify(message);
    const QString& type = message.type;
    const QString& sender = message.senderName;
    if (type == QLatin1String(notify::Click)) {
        if (sender == QLatin1String("btn_MouseKey_Apply"))
            choose();
        else if (sender == QLatin1String("btn_MouseKey_Cancel") ||
                 sender == QLatin1String("btn_MouseKey_Close"))
            finish(ResultCancelled);
        return;
    }
    if (type == QLatin1String(notify::SelectChanged)) {
        // The tab options switch the pages of the tab layout.
        for (int tab = 0; tab < ks::TabCount; ++tab)
            if (sender == qt(ks::tabOption(tab)) && selectedTab() == tab)
                if (auto* tabs = find<SkinTabLayout>(QString::fromLatin1(ks::TabLayout)))
                    tabs->selectItem(tab);
        return;
    }
    // A click on a list row chooses it at once.
    if (type == QLatin1String(notify::ItemClick)) {
        if (message.sender && message.sender->name().startsWith(QLatin1String(ks::ItemPrefix))) {
            // The row's list takes the click's selection after the notification.
            if (auto* row = dynamic_cast<SkinListElement*>(message.sender))
                if (SkinList* list = row->ownerList())
                    list->selectItem(row->index(), false);
            choose();
        }
        return;
    }
    if (type == QLatin1String(notify::ItemSelect) && initialised_) {
        if (sender == QLatin1String(ks::GroupCombo))
            fillMacros(int(message.wParam));
        else if (sender == QLatin1String(ks::MacroCombo))
            choose();
    }
}

void PopMouseKeySel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        finish(ResultCancelled);
        return;
    }
    SkinWindow::keyPressEvent(event);
}

} // namespace varnix
