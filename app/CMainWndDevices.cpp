// SPDX-License-Identifier: GPL-3.0-or-later
// The device bar, the device and tab selection and device arrival and removal.
#include "app/CMainWnd.h"
#include "app/CPopTipWnd.h"
#include "app/skin/SkinButton.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinTabLayout.h"
#include "common/WindowMessage.h"
#include "device/DeviceChange.h"
#include "device/DeviceEventHub.h"
#include "device/ModelFolder.h"
#include "mouse/CPopPush.h"
#include "mouse/MouseDeviceEvents.h"
#include "mouse/MousePage.h"

#include <QFontMetrics>

namespace varnix {
namespace {

const QString CardNameFormat = QStringLiteral("btn_display%1");
const QString CardImageFolder = QStringLiteral("./res/Home/Icons/");
// The caption strip under a card's picture, and the room beside it for the caption's width.
constexpr int CardCaptionHeight = 24;
constexpr int CardCaptionMargin = 12;
constexpr int CardCaptionFont = 1;

int kindOfType(std::int32_t devType) {
    if (devType == DevTypeMouse)
        return TabMouse;
    if (devType == DevTypePad)
        return TabPad;
    return TabKeyboard;
}

QString tabOfKind(int kind) {
    switch (kind) {
    case TabMouse:
        return QStringLiteral("btn_Null");
    case TabPad:
        return QStringLiteral("btn_pad");
    default:
        return QStringLiteral("btn_kb");
    }
}

int pageOfTabKind(int kind) {
    switch (kind) {
    case TabMouse:
        return PageMouse;
    case TabPad:
        return PagePad;
    default:
        return PageKeyboard;
    }
}

} // namespace

int CMainWnd::selectedDevice(int kind) const {
    switch (kind) {
    case TabMouse:
        return selectedMouse_;
    case TabKeyboard:
        return selectedKeyboard_;
    case TabPad:
        return selectedPad_;
    default:
        return -1;
    }
}

void CMainWnd::setTabVisible(const QString& name, bool visible) {
    if (SkinControl* tab = findControl(name))
        tab->setControlVisible(visible);
}

void CMainWnd::selectTab(const QString& name, bool notify) {
    if (auto* option = find<SkinOption>(name))
        option->select(true, notify);
}

void CMainWnd::showPage(int page) {
    if (auto* tabs = find<SkinTabLayout>(QStringLiteral("tab_main")))
        tabs->selectItem(page);
}

void CMainWnd::sendToPages(const QString& type, int deviceIndex) {
    SkinNotify message;
    message.type = type;
    message.wParam = deviceIndex;
    for (ShellPage* page :
         {homePage_.get(), macroPage_.get(), mousePage_.get(), keyboardPage_.get(), padPage_.get()})
        page->notify(message);
}

void CMainWnd::noteDeviceList() {
    previousConnected_.clear();
    for (const DeviceRecord& record : catalogue_->DeviceList)
        previousConnected_.push_back(record.Connected);
}

void CMainWnd::RebuildDeviceBar() {
    const auto& devices = catalogue_->DeviceList;
    barPositions_.clear();
    for (int index = 0; index < int(devices.size()); ++index)
        if (devices[index].Connected)
            barPositions_.push_back(index);

    const bool any = !barPositions_.empty();
    for (const char* name : {"btn_Mac", "btn_console", "tab_console"})
        if (SkinControl* control = findControl(QString::fromLatin1(name)))
            control->setControlEnabled(any);
    if (!any) {
        showPage(PageHome);
        for (const char* name : {"btn_Null", "btn_kb", "btn_pad"})
            setTabVisible(QString::fromLatin1(name), false);
    }

    if (auto* bar = find<SkinContainer>(QStringLiteral("device_item_hlayout"))) {
        bar->removeAll();
        const QFontMetrics metrics(manager().font(CardCaptionFont));
        for (int position = 0; position < int(barPositions_.size()); ++position) {
            const DeviceRecord& record = devices[barPositions_[position]];
            const QString caption = QString::fromStdString(record.UITextName);
            // The picture keeps the record's size; the caption sits under it, and the card is
            // wide enough for the caption so the model names stay readable.
            const int width = std::max(record.Width, metrics.horizontalAdvance(caption.trimmed()) +
                                                         CardCaptionMargin);
            const int left = (width - record.Width) / 2;
            const QString dest = QStringLiteral("dest='%1,0,%2,%3'")
                                     .arg(left)
                                     .arg(left + record.Width)
                                     .arg(record.Height);
            auto image = [&](const std::string& file) {
                return QStringLiteral("file='%1%2' %3")
                    .arg(CardImageFolder, QString::fromStdString(file), dest);
            };
            auto* card = new SkinButton;
            card->setName(CardNameFormat.arg(position));
            card->setAttributeList({
                {QStringLiteral("normalimage"), image(record.NormalImage)},
                {QStringLiteral("hotimage"), image(record.HotImage)},
                {QStringLiteral("pushedimage"), image(record.PushedImage)},
                {QStringLiteral("text"), caption},
                {QStringLiteral("font"), QString::number(CardCaptionFont)},
                {QStringLiteral("valign"), QStringLiteral("bottom")},
                // Room under the caption for the focus ring.
                {QStringLiteral("textpadding"), QStringLiteral("0,0,0,4")},
                {QStringLiteral("textcolor"), QStringLiteral("#FFC9CFD8")},
                {QStringLiteral("hottextcolor"), QStringLiteral("#FFFFFFFF")},
                {QStringLiteral("width"), QString::number(width)},
                {QStringLiteral("height"), QString::number(record.Height + CardCaptionHeight)},
                {QStringLiteral("padding"), QStringLiteral("%1,%2,%3,%4")
                                                .arg(record.Padding[0])
                                                .arg(record.Padding[1])
                                                .arg(record.Padding[2])
                                                .arg(record.Padding[3])},
                {QStringLiteral("tooltip"), caption.trimmed()},
            });
            bar->add(card);
        }
    }

    // Per type: the last device connected since the previous list wins, else the first one.
    selectedMouse_ = selectedKeyboard_ = selectedPad_ = -1;
    for (const std::string& typeName : catalogue_->TypeNames) {
        int newest = -1;
        int first = -1;
        int kind = TabNone;
        for (int index = 0; index < int(devices.size()); ++index) {
            const DeviceRecord& record = devices[index];
            if (record.DevTypeString != typeName || !record.Connected)
                continue;
            kind = kindOfType(record.DevType);
            if (first < 0)
                first = index;
            const bool wasConnected =
                index < int(previousConnected_.size()) && previousConnected_[index];
            if (!wasConnected)
                newest = index;
        }
        const int chosen = newest >= 0 ? newest : first;
        if (chosen < 0)
            continue;
        (kind == TabMouse ? selectedMouse_
         : kind == TabPad ? selectedPad_
                          : selectedKeyboard_) = chosen;
    }
    noteDeviceList();
}

void CMainWnd::ClickDevice(int barPosition) {
    if (barPosition < 0 || barPosition >= int(barPositions_.size()))
        return;
    const int index = barPositions_[barPosition];
    const DeviceRecord& record = catalogue_->DeviceList[index];
    const int kind = kindOfType(record.DevType);
    const QString tab = tabOfKind(kind);
    if (ShellPage* leaving = pageOfKind(tabKind_); leaving && tabKind_ != TabPad)
        leaving->storePendingEdits();
    (kind == TabMouse ? selectedMouse_ : kind == TabPad ? selectedPad_ : selectedKeyboard_) = index;
    shownDevice_ = index;
    tabKind_ = kind;
    if (SkinControl* option = findControl(tab)) {
        const QString name = QString::fromStdString(record.UITextName).trimmed();
        option->setControlVisible(true);
        option->setText(name);
        // The tabs share the caption bar, so a long name is cut short; the tooltip has it all.
        option->widget()->setToolTip(name);
    }
    showPage(pageOfTabKind(kind));
    selectTab(tab, true);
    CurrentWriteHandle().set(record.WriteHandle);
    // A page's own texts are looked up in the section of the device type shown.
    manager().reloadTexts();
    sendToPages(QStringLiteral("ClickDevice"), index);
}

void CMainWnd::ClickOption(const QString& tabName) {
    if (tabKind_ == TabMouse || tabKind_ == TabKeyboard)
        if (ShellPage* leaving = pageOfKind(tabKind_))
            leaving->storePendingEdits();
    int kind = TabNone;
    if (tabName == QLatin1String("btn_Null"))
        kind = TabMouse;
    else if (tabName == QLatin1String("btn_kb"))
        kind = TabKeyboard;
    else if (tabName == QLatin1String("btn_pad"))
        kind = TabPad;
    tabKind_ = kind;
    if (kind == TabNone) {
        showPage(tabName == QLatin1String("btn_Mac") ? PageMacro : PageHome);
    } else {
        showPage(pageOfTabKind(kind));
        shownDevice_ = selectedDevice(kind);
    }
    if (shownDevice_ >= 0 && shownDevice_ < int(catalogue_->DeviceList.size()))
        CurrentWriteHandle().set(catalogue_->DeviceList[shownDevice_].WriteHandle);
    manager().reloadTexts();
    sendToPages(QStringLiteral("ClickOption"), shownDevice_);
}

bool CMainWnd::OnDeviceChange(DeviceChangeEvent event, const std::string& interfaceName) {
    if (!HandleDeviceChange(*catalogue_, event, interfaceName))
        return false;
    RebuildDeviceBar();
    if (events_)
        events_->startReaders(catalogue_->DeviceList);
    // A device that left while its page was shown takes its tab with it.
    const auto& devices = catalogue_->DeviceList;
    if (shownDevice_ >= 0 && shownDevice_ < int(devices.size()) &&
        !devices[shownDevice_].Connected) {
        const int kind = kindOfType(devices[shownDevice_].DevType);
        setTabVisible(tabOfKind(kind), false);
        shownDevice_ = -1;
        if (tabKind_ == kind) {
            tabKind_ = TabNone;
            showPage(PageHome);
            selectTab(QStringLiteral("btn_console"), true);
        }
        CurrentWriteHandle().clear();
    } else if (shownDevice_ >= 0 && shownDevice_ < int(devices.size())) {
        // Opening a keyboard or pad takes the process-wide target; the page on screen keeps
        // writing to its own device.
        CurrentWriteHandle().set(devices[shownDevice_].WriteHandle);
    }
    sendToPages(QStringLiteral("USBChange"), shownDevice_);
    return true;
}

} // namespace varnix

namespace varnix {

void CMainWnd::onMouseReport(int message, qintptr wParam, qintptr lParam) {
    const auto& devices = catalogue_->DeviceList;
    if (lParam < 0 || lParam >= qintptr(devices.size()))
        return;
    const DeviceRecord& record = devices[std::size_t(lParam)];
    if (!record.Connected || record.DevType != DevTypeMouse)
        return;
    const std::filesystem::path folder =
        modelResourceFolder(options_.resourceRoot, record.DevType, record.DevFolder);
    if (folder.empty())
        return;
    const auto parameter = static_cast<std::uint64_t>(wParam);
    const QString caption = messageText(QStringLiteral("Current DPI Position"));
    // The mouse on screen takes the report into its page at once; its file is saved with the
    // page's other edits, never reloaded behind the page's back.
    auto& mouse = static_cast<MousePage&>(*mousePage_);
    if (mouse.showsDevice(int(lParam))) {
        if (message == WM_ProfileChanged) {
            mouse.profileReport(parameter);
            return;
        }
        const std::optional<DpiPushInfo> shown = mouse.dpiReport(parameter);
        if (shown && settings_->dpiPopupEnabled() && dpiPopup_)
            dpiPopup_->showPush(*shown, caption);
        return;
    }
    if (message == WM_ProfileChanged) {
        StoreProfileFromDevice(folder, profileReport(parameter));
        return;
    }
    const MouseReport report = dpiStageReport(parameter);
    const std::optional<MouseConfigModel> stored = StoreDpiStageFromDevice(folder, report);
    if (!stored || !settings_->dpiPopupEnabled() || !dpiPopup_)
        return;
    // The stage's DPI value, named by its level's value index.
    DpiPushInfo info;
    info.level = report.value + 1;
    info.dpiText = mousemodel::NullDpiText;
    if (report.value >= 0 && report.value < int(stored->dpiLevels.size())) {
        info.sliderValue = stored->dpiLevels[std::size_t(report.value)].dpiIndex;
        info.dpiText = dpiText(info.sliderValue);
    }
    info.deviceName = QString::fromStdString(record.UITextName).trimmed().toStdString();
    dpiPopup_->showPush(info, caption);
}

} // namespace varnix
