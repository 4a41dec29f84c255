// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/CPopSetWnd.h"

#include "app/ApplyPositionSheet.h"
#include "app/PopupService.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinTabLayout.h"
#include "common/Diagnostics.h"
#include "common/WindowMessage.h"
#include "macro/KeyNames.h"
#include "macro/KeyboardLayout.h"
#include "macro/ScanCodes.h"

#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <array>

namespace varnix {
namespace {

// The options of the group "KBSet", in tab order.
constexpr std::array<const char*, KeySetTabCount> TabOptions = {
    "opt_KBSet_Default", "opt_KBSet_KeyBoard", "opt_KBSet_Macro",      "opt_KBSet_Special",
    "opt_KBSet_Media",   "opt_KBSet_System",   "opt_KBSet_LedControl", "opt_KBSet_Disable"};

const char* const TabSwitch = "KB_tab_switch";
const char* const CaptureButton = "btn_KBSet_KeyBoardVal";
const char* const FocusSink = "btn_PopKBSet_Temp";
const char* const GroupList = "btn_KBSet_MacroGroupVal";
const char* const MacroList = "btn_KBSet_MacroVal";
const char* const DisableText = "lab_KBSet_DisableVal";
const char* const ListeningHint = "lab_KBSet_Listening";

const char* functionListName(KeySetTab tab) {
    switch (tab) {
    case KeySetTab::Special:
        return "btn_KBSet_SpecialVal";
    case KeySetTab::Media:
        return "btn_KBSet_MediaVal";
    case KeySetTab::System:
        return "btn_KBSet_SystemVal";
    case KeySetTab::LedControl:
        return "btn_KBSet_LedControlVal";
    default:
        return nullptr;
    }
}

CPopSetWnd::Responder& responder() {
    static CPopSetWnd::Responder current;
    return current;
}

CPopSetWnd::OpenedHook& openedHook() {
    static CPopSetWnd::OpenedHook current;
    return current;
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

CPopSetWnd::CPopSetWnd(KeyboardPageModel& model, std::string key, SkinWindow* mainWindow,
                       std::filesystem::path resourceRoot, QWidget* pageWindow)
    : SkinWindow(pageWindow, Qt::Dialog | Qt::FramelessWindowHint), model_(model),
      request_(model.popupRequest(key)), main_(mainWindow), resourceRoot_(std::move(resourceRoot)),
      capture_(this) {}

CPopSetWnd::~CPopSetWnd() {
    capture_.stop();
}

void CPopSetWnd::setResponder(Responder answer) {
    responder() = std::move(answer);
}

void CPopSetWnd::setOpenedHook(OpenedHook hook) {
    openedHook() = std::move(hook);
}

int CPopSetWnd::Run(QWidget* pageWindow, SkinWindow* mainWindow, KeyboardPageModel& model,
                    const std::string& key, const std::filesystem::path& resourceRoot) {
    if (responder()) {
        const std::optional<KeyChoice> choice = responder()(model.popupRequest(key));
        if (choice)
            model.assignKey(key, *choice);
        const int result = choice ? Applied : Cancelled;
        if (mainWindow)
            mainWindow->postMessage(WM_PopSetValue, PageCodeKeyboard, result);
        return result;
    }
    CPopSetWnd popup(model, key, mainWindow, resourceRoot, pageWindow);
    if (!popup.create(QStringLiteral("PopSetWnd"))) {
        debugOutput("popset.xml: " + popup.skinError().toStdString() + "\n");
        if (mainWindow)
            mainWindow->postMessage(WM_PopSetValue, PageCodeKeyboard, Cancelled);
        return Cancelled;
    }
    popup.resize(Width, Height);
    if (QWidget* page = pageWindow ? pageWindow->window() : nullptr)
        popup.centerOn(page->frameGeometry());
    if (openedHook()) {
        QPointer<CPopSetWnd> alive(&popup);
        QTimer::singleShot(0, &popup, [alive] {
            if (alive && openedHook())
                openedHook()(*alive);
        });
    }
    popup.showModal();
    popup.capture_.stop();
    if (!popup.finished_)
        popup.finish(Cancelled);
    return popup.resultCode();
}

void CPopSetWnd::setControlText(const char* name, const std::string& value) {
    if (SkinControl* control = findControl(QString::fromLatin1(name)))
        control->setText(text(value));
}

KeySetTab CPopSetWnd::selectedTab() const {
    for (int i = 0; i < KeySetTabCount; ++i)
        if (auto* option = find<SkinOption>(QString::fromLatin1(TabOptions[std::size_t(i)]));
            option && option->isSelected())
            return KeySetTab(i);
    return KeySetTab::Default;
}

void CPopSetWnd::selectTab(KeySetTab tab, bool notify) {
    const auto index = static_cast<std::size_t>(tab);
    if (auto* option = find<SkinOption>(QString::fromLatin1(TabOptions[index])))
        option->select(true, notify);
    if (auto* pages = find<SkinTabLayout>(QString::fromLatin1(TabSwitch)))
        pages->selectItem(int(index));
}

void CPopSetWnd::fill() {
    bool opened = false;
    QStringList positioned;
    LoadAndApplyPositionSheet(QString::fromStdString((resourceRoot_ / PositionFile).string()),
                              manager(), positioned, &opened);
    if (!opened)
        PopupService::plainMessage(this, QStringLiteral("无法打开json文件"));
    if (!request_.found) {
        PopupService::plainMessage(this, QStringLiteral("对不起没有找到对应功能!"));
        return;
    }
    setControlText("lab_KBSet_DefultText", request_.caption);
    setControlText("btn_KBSet_DefaultVal", request_.caption);
    setControlText("lab_KBSet_NotDefultText", request_.currentText);
    const bool keyboardTab = request_.tab == KeySetTab::KeyBoard;
    keyboardCode_ = keyboardTab ? request_.code : request_.defaultCode;
    keyboardScanCode_ = keyboardTab ? request_.scanCode : request_.defaultScanCode;
    keyboardText_ = keyboardTab ? request_.currentText : request_.caption;
    setControlText(CaptureButton, keyboardText_);

    for (KeySetTab tab :
         {KeySetTab::Special, KeySetTab::Media, KeySetTab::System, KeySetTab::LedControl})
        fillFunctionList(tab, functionListName(tab));
    if (auto* groups = find<SkinCombo>(QString::fromLatin1(GroupList))) {
        for (const MacroGroup& group : model_.macros().groups)
            groups->addNamedItem(text(group.guid), text(group.name));
    }
    int group = 0;
    int macro = -1;
    const auto& allGroups = model_.macros().groups;
    for (std::size_t g = 0; g < allGroups.size(); ++g)
        if (allGroups[g].guid == request_.grpGuid) {
            group = int(g);
            for (std::size_t m = 0; m < allGroups[g].macros.size(); ++m)
                if (allGroups[g].macros[m].guid == request_.macGuid)
                    macro = int(m);
        }
    if (auto* groups = find<SkinCombo>(QString::fromLatin1(GroupList)); groups && groups->count())
        groups->selectItem(group);
    fillMacros(group);
    if (auto* macros = find<SkinCombo>(QString::fromLatin1(MacroList)); macros && macro >= 0)
        macros->selectItem(macro);

    if (const std::optional<KeySetTab> list = functionListOf(request_.code);
        list && request_.code != request_.defaultCode)
        if (auto* combo = find<SkinCombo>(QString::fromLatin1(functionListName(*list))))
            if (const int item =
                    combo->findItem(text(itemValueOf(model_.catalogue(), request_.code)));
                item >= 0)
                combo->selectItem(item);
    selectTab(request_.tab, false);
}

void CPopSetWnd::fillFunctionList(KeySetTab tab, const char* name) {
    auto* combo = find<SkinCombo>(QString::fromLatin1(name));
    if (!combo)
        return;
    for (const KeyFunctionEntry& entry : functionItems(model_.catalogue(), tab))
        combo->addNamedItem(text(entry.itemValue), text(entry.displayText));
}

void CPopSetWnd::fillMacros(int group) {
    auto* macros = find<SkinCombo>(QString::fromLatin1(MacroList));
    if (!macros)
        return;
    macros->clear();
    const auto& groups = model_.macros().groups;
    if (group < 0 || group >= int(groups.size()))
        return;
    for (const MacroRecord& macro : groups[std::size_t(group)].macros)
        macros->addNamedItem(text(macro.guid), text(macro.name));
    if (macros->count())
        macros->selectItem(0);
}

void CPopSetWnd::notify(const SkinNotify& message) {
    const QString& type = message.type;
    const QString& sender = message.senderName;
    if (type == QLatin1String(notify::WindowInit)) {
        fill();
        return;
    }
    // Any other control the user works with ends listening for a key first.
    if (capture_.active() && sender != QLatin1String(CaptureButton) &&
        sender != QLatin1String(FocusSink) &&
        (type == QLatin1String(notify::Click) || type == QLatin1String(notify::SelectChanged) ||
         type == QLatin1String(notify::SetFocus) || type == QLatin1String(notify::ItemSelect)))
        stopCapture();

    if (type == QLatin1String(notify::Click)) {
        if (sender == QLatin1String(CaptureButton)) {
            auto* button = find<SkinCheckBox>(sender);
            // The click comes before the button flips: selected now means it is turned off.
            if (button && button->isSelected())
                QTimer::singleShot(0, this, [this] { stopCapture(); });
            else
                startCapture();
        } else if (sender == QLatin1String("btn_KBSet_Apply")) {
            apply();
        } else if (sender == QLatin1String("btn_KBSet_Cancel") ||
                   sender == QLatin1String("btn_KBSet_Close")) {
            finish(Cancelled);
        }
    } else if (type == QLatin1String(notify::SelectChanged)) {
        for (int i = 0; i < KeySetTabCount; ++i)
            if (sender == QLatin1String(TabOptions[std::size_t(i)]))
                if (auto* option = find<SkinOption>(sender); option && option->isSelected())
                    if (auto* pages = find<SkinTabLayout>(QString::fromLatin1(TabSwitch)))
                        pages->selectItem(i);
    } else if (type == QLatin1String(notify::ItemSelect) && sender == QLatin1String(GroupList)) {
        fillMacros(int(message.wParam));
    }
}

void CPopSetWnd::startCapture() {
    SkinControl* sink = findControl(QString::fromLatin1(FocusSink));
    QWidget* receiver = sink ? sink->widget() : this;
    receiver->setFocus(Qt::OtherFocusReason);
    capture_.start(
        receiver, [this](const CapturedKey& key) { keyCaptured(key); },
        [this] {
            // The window went away or was hidden while listening.
            if (auto* button = find<SkinCheckBox>(QString::fromLatin1(CaptureButton)))
                button->setCheck(false, false);
        });
    if (SkinControl* hint = findControl(QString::fromLatin1(ListeningHint)))
        hint->setControlVisible(true);
}

void CPopSetWnd::stopCapture() {
    capture_.stop();
    if (auto* button = find<SkinCheckBox>(QString::fromLatin1(CaptureButton)))
        button->setCheck(false, false);
    if (SkinControl* hint = findControl(QString::fromLatin1(ListeningHint)))
        hint->setControlVisible(false);
}

void CPopSetWnd::keyCaptured(const CapturedKey& key) {
    if (!key.pressed || key.autoRepeat)
        return;
    keyboardScanCode_ = key.scanCode;
    keyboardCode_ = ScanCodeToUsage(key.scanCode);
    keyboardText_ = KeyNameForScanCode(key.scanCode);
    setControlText(CaptureButton, keyboardText_);
}

void CPopSetWnd::renameKeys() {
    reloadActiveKeyboardLayout();
    if (keyboardScanCode_ != kNoScanCode) {
        keyboardText_ = KeyNameForScanCode(keyboardScanCode_);
        setControlText(CaptureButton, keyboardText_);
    }
    if (request_.defaultScanCode != kNoScanCode) {
        const std::string name = KeyNameForScanCode(request_.defaultScanCode);
        setControlText("lab_KBSet_DefultText", name);
        setControlText("btn_KBSet_DefaultVal", name);
    }
    const bool namedKey = request_.tab == KeySetTab::KeyBoard || request_.tab == KeySetTab::Default;
    if (!capture_.active() && namedKey && request_.scanCode != kNoScanCode)
        setControlText("lab_KBSet_NotDefultText", KeyNameForScanCode(request_.scanCode));
}

void CPopSetWnd::apply() {
    KeyChoice choice;
    choice.tab = selectedTab();
    switch (choice.tab) {
    case KeySetTab::Default:
        choice.text = request_.caption;
        break;
    case KeySetTab::KeyBoard:
        choice.code = keyboardCode_;
        choice.text = keyboardText_;
        break;
    case KeySetTab::Disable:
        choice.code = DisabledKeyCode;
        if (SkinControl* label = findControl(QString::fromLatin1(DisableText)))
            choice.text = label->text().toStdString();
        break;
    case KeySetTab::Macro: {
        auto* groups = find<SkinCombo>(QString::fromLatin1(GroupList));
        auto* macros = find<SkinCombo>(QString::fromLatin1(MacroList));
        if (!groups || !macros || groups->currentIndex() < 0 || macros->currentIndex() < 0)
            return;
        choice.group = groups->currentIndex();
        choice.macro = macros->currentIndex();
        break;
    }
    default: {
        auto* combo = find<SkinCombo>(QString::fromLatin1(functionListName(choice.tab)));
        if (!combo || combo->currentIndex() < 0)
            return;
        choice.code = codeFromItemName(combo->itemName(combo->currentIndex()).toStdString());
        choice.text = combo->currentText().toStdString();
        break;
    }
    }
    model_.assignKey(request_.key, choice);
    finish(Applied);
}

void CPopSetWnd::finish(int result) {
    if (finished_)
        return;
    finished_ = true;
    stopCapture();
    closeWindow(result);
    if (main_)
        main_->postMessage(WM_PopSetValue, PageCodeKeyboard, result);
}

bool CPopSetWnd::event(QEvent* event) {
    if (event->type() == QEvent::KeyboardLayoutChange)
        renameKeys();
    return SkinWindow::event(event);
}

void CPopSetWnd::keyPressEvent(QKeyEvent* event) {
    // Escape cancels unless it is the key being captured (the capture swallows it then).
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        finish(Cancelled);
        return;
    }
    SkinWindow::keyPressEvent(event);
}

} // namespace varnix
