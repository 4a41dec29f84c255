// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardPage.h"

#include "app/CMainWnd.h"
#include "app/CPopTipWnd.h"
#include "app/CapplyProgressWnd.h"
#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "app/ViewRowsApply.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinMenu.h"
#include "app/skin/SkinTabLayout.h"
#include "app/skin/SkinWindow.h"
#include "common/Diagnostics.h"
#include "device/KeyboardWriter.h"
#include "keyboard/CPopSetWnd.h"
#include "keyboard/KeyboardApply.h"
#include "keyboard/KeyboardFiles.h"
#include "kinds/DeviceKind.h"
#include "lighting/CPopColorWnd.h"
#include "macro/KeyboardLayout.h"

#include <QAction>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <algorithm>

namespace varnix {
namespace {

const QString ApplyButton = QStringLiteral("btn_KB_apply");
const QString MoreButton = QStringLiteral("btn_KB_More");
const QString FocusSink = QStringLiteral("btn_KB_Temp");
const QString KeyPrefix = QString::fromLatin1(kbpage::KeyPrefix);
const QString KnobPrefix = QString::fromLatin1(kbpage::KnobPrefix);
const QString ViewKeys = QStringLiteral("opt_KB_ViewKeys");
const QString ViewLight = QStringLiteral("opt_KB_ViewLight");
const QString ViewTabs = QStringLiteral("tab_KB_View");
// The hover bubble's size around its text.
constexpr int TipTextMargin = 28;
constexpr int TipMinWidth = 60;
constexpr int TipMaxWidth = 320;
constexpr int TipHeight = 32;

bool isLock(const QString& name) {
    return name == QLatin1String(kbfiles::AltF4Lock) ||
           name == QLatin1String(kbfiles::WinAppLock) || name == QLatin1String(kbfiles::AllKeyLock);
}

// Tells the page when the user switches keyboard layouts while the window is up.
class LayoutWatcher final : public QObject {
public:
    explicit LayoutWatcher(KeyboardPage& page) : page_(page) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyboardLayoutChange)
            page_.layoutChanged();
        return QObject::eventFilter(watched, event);
    }

private:
    KeyboardPage& page_;
};

} // namespace

KeyboardPage::KeyboardPage(CMainWnd& mainWindow)
    : ShellPage(QStringLiteral("keyboard"), QStringLiteral("KBDevice"), QStringLiteral("_KB")),
      main_(mainWindow) {}

KeyboardPage::~KeyboardPage() {
    if (layoutWatcher_ && host())
        host()->removeEventFilter(layoutWatcher_.get());
}

bool KeyboardPage::ownsControl(const QString& controlName) const {
    return ShellPage::ownsControl(controlName) || controlName.startsWith(KnobPrefix);
}

void KeyboardPage::init(SkinWindow& host) {
    ShellPage::init(host);
    panel_ = std::make_unique<LedPanelController>(
        host.manager(), model_.panel(), [this](int, std::uint32_t current) {
            CPopColorWnd::RunColorPicker(pageWidget(), &main_, PageCodeKeyboard, current);
        });
    layoutWatcher_ = std::make_unique<LayoutWatcher>(*this);
    host.installEventFilter(layoutWatcher_.get());
}

QWidget* KeyboardPage::pageWidget() const {
    return host();
}

bool KeyboardPage::showOutcome(const Outcome& outcome) {
    if (!outcome.ok() || !outcome.detail.empty())
        debugOutput("keyboard page: " + outcome.detail + "\n");
    return PopupService::showOutcome(pageWidget(), outcome,
                                     [this](const QString& key) { return main_.messageText(key); });
}

void KeyboardPage::showMessage(const char* titleKey, const char* textKey) {
    PopupService::information(pageWidget(), main_.messageText(QString::fromLatin1(titleKey)),
                              main_.messageText(QString::fromLatin1(textKey)),
                              main_.messageText(QStringLiteral("MessageOK")));
}

void KeyboardPage::applyRows(const ViewRows& rows) {
    if (host())
        applyViewRows(host()->manager(), rows);
}

bool KeyboardPage::visibleControl(const QString& name) const {
    SkinControl* control = host() ? host()->findControl(name) : nullptr;
    return control && control->isControlVisible() && control->widget()->isVisibleTo(host());
}

int KeyboardPage::fnKeyIndex() const {
    auto* list = host() ? host()->find<SkinCombo>(QString::fromLatin1(kbpage::FnKeyList)) : nullptr;
    return list && list->currentIndex() >= 0 ? list->currentIndex() + 1 : 1;
}

void KeyboardPage::notify(const SkinNotify& message) {
    ShellPage::notify(message);
    const QString& type = message.type;
    if (type == QLatin1String("ClickDevice") || type == QLatin1String("ClickOption")) {
        showDevice(int(message.wParam), false);
        return;
    }
    if (device_ < 0)
        return;
    const QString& sender = message.senderName;
    if (type == QLatin1String(notify::MouseEnter)) {
        if ((sender.contains(KeyPrefix) || sender.contains(KnobPrefix)) && visibleControl(sender))
            showTooltip(sender, message.sender ? message.sender->widget() : nullptr);
    } else if (type == QLatin1String(notify::MouseLeave)) {
        if (sender.contains(KeyPrefix) || sender.contains(KnobPrefix))
            hideTooltip();
    } else if (type == QLatin1String("PopSetValue")) {
        popupResult(int(message.wParam));
    } else if (type == QLatin1String("popcolor_ok")) {
        panel_->colourChosen(static_cast<std::uint32_t>(message.wParam));
    } else if (type == QLatin1String("MyMenuClick")) {
        if (const auto* item = reinterpret_cast<const QString*>(message.wParam))
            menuCommand(*item);
    } else if (type == QLatin1String(notify::ItemSelect) &&
               (sender == QLatin1String(kbpage::ProfileList) ||
                sender == QLatin1String(kbpage::FnKeyList) ||
                sender == QLatin1String(kbpage::FnFunctionList))) {
        itemSelected(message);
    } else if (type == QLatin1String(notify::SelectChanged) &&
               (sender == ViewKeys || sender == ViewLight)) {
        if (auto* option = host()->find<SkinOption>(sender); option && option->isSelected())
            if (auto* tabs = host()->find<SkinTabLayout>(ViewTabs))
                tabs->selectItem(sender == ViewKeys ? 0 : 1);
    } else if (panel_->handle(message)) {
        return;
    } else if (type == QLatin1String(notify::Click)) {
        click(message);
    }
}

void KeyboardPage::click(const SkinNotify& message) {
    const QString& sender = message.senderName;
    QWidget* widget = message.sender ? message.sender->widget() : nullptr;
    if (sender.contains(KnobPrefix)) {
        if (visibleControl(sender))
            openScrollMenu(sender, widget);
    } else if (sender.contains(KeyPrefix)) {
        if (visibleControl(sender))
            openKeyPopup(sender);
    } else if (sender == MoreButton) {
        main_.openMenu(QString::fromLatin1(MoreMenu), widget);
    } else if (sender == ApplyButton) {
        apply();
    } else if (isLock(sender)) {
        auto* box = host()->find<SkinCheckBox>(sender);
        // The click arrives before the switch flips: it is turned to the opposite of now.
        if (box && model_.toggleLock(sender.toStdString(), box->isSelected()))
            showMessage(messagekey::Tip, kbpage::FullKeyWarn);
    }
}

void KeyboardPage::itemSelected(const SkinNotify& message) {
    const QString& sender = message.senderName;
    const int index = int(message.wParam);
    if (sender == QLatin1String(kbpage::ProfileList)) {
        applyRows(model_.selectProfile(index, fnKeyIndex()));
    } else if (sender == QLatin1String(kbpage::FnKeyList)) {
        applyRows(model_.fnFunctionRows(index + 1));
    } else if (auto* list = host()->find<SkinCombo>(sender); list && index >= 0) {
        applyRows(model_.setFnFunction(fnKeyIndex(), list->itemName(index).toStdString()));
    }
}

void KeyboardPage::applyRowsAfterClick(const QString& control) {
    // A key or knob flips its own state once its click is handled: its mark is set after that.
    const std::string name = control.toStdString();
    QTimer::singleShot(0, host(), [this, name] {
        ViewRows rows = model_.markRow(name);
        if (rows.empty())
            rows.push_back({name, viewattr::Selected, viewBool(false)});
        applyRows(rows);
    });
}

void KeyboardPage::openKeyPopup(const QString& key) {
    hideTooltip();
    pendingKey_ = key;
    applyRowsAfterClick(key);
    CPopSetWnd::Run(pageWidget(), &main_, model_, key.toStdString(), main_.resourceRoot());
}

void KeyboardPage::popupResult(int result) {
    model_.rebuildTexts();
    applyRows(model_.legendRows());
    const std::string key = pendingKey_.toStdString();
    if (result == CPopSetWnd::Applied && !model_.binding(key)) {
        PopupService::plainMessage(pageWidget(), QStringLiteral("没有找到该控件"));
        return;
    }
    ViewRows rows = model_.markRow(key);
    applyRows(rows);
    if (result == CPopSetWnd::Applied && model_.lastAssignment().limitReached)
        showMessage(messagekey::Tip, kbpage::MaxMacroWarn);
}

void KeyboardPage::openScrollMenu(const QString& knob, QWidget* anchor) {
    hideTooltip();
    pendingKnob_ = knob;
    applyRowsAfterClick(knob);
    QString error;
    std::unique_ptr<QMenu> menu =
        SkinMenu::build(QString::fromLatin1(ScrollMenu), &host()->manager(), &error);
    if (!menu) {
        debugOutput(error.toStdString() + "\n");
        return;
    }
    const QString current = QString::fromStdString(model_.knobMenuItem(knob.toStdString()));
    for (QAction* action : menu->findChildren<QAction*>())
        if (!action->objectName().isEmpty())
            action->setChecked(action->objectName() == current);
    QMenu* shown = menu.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(shown, &QMenu::triggered, host(), [this](QAction* action) {
        main_.postMessage(WM_MenuClick,
                          reinterpret_cast<qintptr>(new QString(action->objectName())));
    });
    shown->popup(anchor ? anchor->mapToGlobal(QPoint(0, anchor->height())) : QCursor::pos());
}

void KeyboardPage::knobChosen(int scrollCode) {
    if (pendingKnob_.isEmpty())
        return;
    applyRows(model_.setKnob(pendingKnob_.toStdString(), scrollCode));
    if (CPopTipWnd* tip = main_.tipWindow())
        if (SkinControl* text = tip->findControl(QStringLiteral("displaytext")))
            text->setText(QString::fromStdString(model_.tooltip(pendingKnob_.toStdString())));
}

void KeyboardPage::showTooltip(const QString& name, QWidget* control) {
    CPopTipWnd* tip = main_.tipWindow();
    if (!tip || !control)
        return;
    const QString text = QString::fromStdString(model_.tooltip(name.toStdString()));
    // The bubble is as wide as its text, centred over the key, its bottom on the key's top.
    if (SkinControl* label = tip->findControl(QStringLiteral("displaytext")))
        tip->resize(
            std::clamp(label->widget()->fontMetrics().horizontalAdvance(text) + TipTextMargin,
                       TipMinWidth, TipMaxWidth),
            TipHeight);
    const QRect key(control->mapToGlobal(QPoint(0, 0)), control->size());
    const QPoint at(key.center().x() - tip->width() / 2, key.top() - tip->height());
    tip->showTip(text, at);
}

void KeyboardPage::hideTooltip() {
    if (CPopTipWnd* tip = main_.tipWindow())
        tip->hide();
}

void KeyboardPage::showDevice(int deviceIndex, bool reload) {
    const DeviceRecord* shown =
        deviceToShow(main_.catalogue(), deviceIndex, device_, DevTypeKeyboard, reload,
                     QString::fromLatin1(PageSkin), QStringLiteral("tab_keyboard"));
    if (!shown)
        return;
    const DeviceRecord& record = *shown;
    // The page draws its own frame: the tab's placeholder title makes no room.
    if (SkinControl* title = host()->findControl(QStringLiteral("lab_KB_title")))
        title->setControlVisible(false);
    const std::filesystem::path folder =
        deviceKindOf(DevTypeKeyboard)->modelFolder(main_.resourceRoot(), record);
    if (folder.empty()) {
        showOutcome(Outcome::failure(Status::Invalid, messagekey::Tip, kbpage::JsonWarn,
                                     record.DevName + " names no usable model folder"));
        return;
    }
    if (device_ != deviceIndex)
        deviceState_ = {};
    device_ = deviceIndex;
    layOut(folder);
    model_.setLockText(main_.messageText(QString::fromLatin1(kbfiles::LockText)).toStdString());
    const Outcome loaded = model_.load(folder, record.DevName, main_.resourceRoot());
    fillFnFunctions();
    showModel();
    showOutcome(loaded);
}

void KeyboardPage::layOut(const std::filesystem::path& folder) {
    const bool missing =
        !layOutByPositionSheets(folder, {MainPositions, KeyPositions, LightPositions});
    // One warning for the whole page; the controls keep the places the skin gives them.
    if (missing)
        showOutcome(
            Outcome::failure(Status::Missing, messagekey::Tip, kbpage::JsonWarn,
                             "a position file of " + folder.string() + " cannot be opened"));
}

void KeyboardPage::fillFnFunctions() {
    auto* list = host()->find<SkinCombo>(QString::fromLatin1(kbpage::FnFunctionList));
    if (!list)
        return;
    list->clear();
    for (const KeyFunctionEntry& entry : fnFunctionItems(model_.catalogue()))
        list->addNamedItem(QString::fromStdString(entry.itemValue),
                           QString::fromStdString(entry.displayText));
}

void KeyboardPage::showModel() {
    applyRows(model_.legendRows());
    applyRows(model_.showRows(fnKeyIndex()));
    panel_->show();
}

void KeyboardPage::layoutChanged() {
    if (device_ < 0)
        return;
    reloadActiveKeyboardLayout();
    model_.rebuildTexts();
    applyRows(model_.legendRows());
}

void KeyboardPage::languageChanged() {
    ShellPage::languageChanged();
    if (device_ < 0)
        return;
    model_.setLockText(main_.messageText(QString::fromLatin1(kbfiles::LockText)).toStdString());
    showModel();
}

void KeyboardPage::deviceConfig(int operation) {
    if (device_ < 0)
        return;
    if (operation == 1)
        showDevice(device_, true);
    else if (operation == 2)
        showOutcome(model_.save());
}

void KeyboardPage::storePendingEdits() {
    hideTooltip();
}

void KeyboardPage::apply() {
    hideTooltip();
    // The shared lighting's repeat would write over the keyboard's own lighting.
    main_.stopLightingRepeat();
    if (const Outcome saved = model_.save(); !saved)
        showOutcome(saved);
    main_.postMessage(WM_MacroTakeKeys, PageCodeKeyboard);
    writeToDevice();
}

void KeyboardPage::writeToDevice() {
    const auto& devices = main_.catalogue().DeviceList;
    if (device_ < 0 || device_ >= int(devices.size()))
        return;
    const DeviceRecord& record = devices[std::size_t(device_)];
    // The page's own device object, with its own report buffer, writing to this keyboard.
    FindDev device(main_.backend());
    const std::unique_ptr<KeyboardWriter> writer =
        makeKeyboardWriter(device, model_.applyCopy(), model_.macros().groups, deviceState_);
    writer->setTarget(record.WriteHandle);
    CapplyProgressWnd::RunApply(*deviceKindOf(DevTypeKeyboard), *writer, &main_, pageWidget());
}

void KeyboardPage::menuCommand(const QString& item) {
    if (const std::optional<int> scroll = scrollCodeOfMenuItem(item.toStdString())) {
        knobChosen(*scroll);
    } else if (item == QLatin1String("btn_Cfg1")) {
        applyRows(model_.selectProfile(0, fnKeyIndex()));
    } else if (item == QLatin1String("btn_MarkRed")) {
        applyRows(model_.markRows());
    } else if (item == QLatin1String("Import")) {
        importFile();
    } else if (item == QLatin1String("Export")) {
        exportFile();
    } else if (item == QLatin1String("Reset")) {
        reset();
    }
}

FileDialogRequest KeyboardPage::exchangeDialog(const char* titleKey) const {
    return FileDialogService::exchangeRequest(main_.messageText(QString::fromLatin1(titleKey)),
                                              kbfiles::ExchangeFilter,
                                              kbfiles::ExchangeDefaultExtension);
}

void KeyboardPage::importFile() {
    const QString file = FileDialogService::open(pageWidget(), exchangeDialog("KBImportTitle"));
    if (file.isEmpty())
        return;
    const Outcome imported = model_.importFrom(file.toStdString());
    showOutcome(imported);
    if (imported) {
        fillFnFunctions();
        showModel();
    }
}

void KeyboardPage::exportFile() {
    const QString file = FileDialogService::save(pageWidget(), exchangeDialog("KBExportTitle"));
    if (file.isEmpty())
        return;
    showOutcome(model_.exportTo(file.toStdString()));
}

void KeyboardPage::reset() {
    const Outcome reset = model_.reset();
    showModel();
    if (!reset) {
        showOutcome(reset);
        return;
    }
    main_.postMessage(WM_MacroTakeKeys, PageCodeKeyboard);
    // The factory settings go to the keyboard at once, as if applied.
    main_.stopLightingRepeat();
    writeToDevice();
}

} // namespace varnix
