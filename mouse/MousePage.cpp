// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MousePage.h"

#include "app/CMainWnd.h"
#include "app/CapplyProgressWnd.h"
#include "app/PopupService.h"
#include "app/ViewRowsApply.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinSlider.h"
#include "app/skin/SkinWindow.h"
#include "common/Diagnostics.h"
#include "device/MouseWriter.h"
#include "kinds/DeviceKind.h"
#include "lighting/CPopColorWnd.h"
#include "mouse/MouseModelImage.h"
#include "mouse/PopMouseKeySel.h"

#include <QMetaObject>

namespace varnix {
namespace {

namespace mp = mousepage;

const QString ApplyButton = QStringLiteral("btn_Mouse_Apply");
const QString TryButton = QStringLiteral("btn_Mouse_TempButn");
const QString MoreButton = QStringLiteral("btn_Mouse_More");
const QString FocusSink = QStringLiteral("btn_Mouse_Temp");
const QString SystemButton = QStringLiteral("btn_MouseAdv_Sysproperties");
const QString AdvTab = QStringLiteral("opt_Mouse_TabAdv");
const QString LightTab = QStringLiteral("opt_Mouse_TabLight");
const QString KeyButtonPrefix = QString::fromLatin1(mousemodel::BindingPrefix);

// The number after a prefix in a control name, or -1.
int indexAfter(const QString& name, const char* prefix) {
    const QString start = QString::fromLatin1(prefix);
    if (!name.startsWith(start))
        return -1;
    bool ok = false;
    const int index = name.mid(start.size()).toInt(&ok);
    return ok ? index : -1;
}

} // namespace

MousePage::MousePage(CMainWnd& mainWindow)
    : ShellPage(QStringLiteral("mouse"), QStringLiteral("MouseDevice"), QStringLiteral("_Mouse")),
      main_(mainWindow) {}

MousePage::~MousePage() {
    // The "try" worker uses the writer and its device until it ends.
    if (tryRunner_)
        tryRunner_->wait();
}

void MousePage::init(SkinWindow& host) {
    ShellPage::init(host);
    panel_ = std::make_unique<LedPanelController>(
        host.manager(), model_.panel(), [this](int, std::uint32_t current) {
            pendingDpiColour_.reset();
            CPopColorWnd::RunColorPicker(pageWidget(), &main_, PageCodeMouse, current);
        });
    showOutcome(model_.loadFunctionTable(main_.resourceRoot()));
}

QWidget* MousePage::pageWidget() const {
    return host();
}

bool MousePage::showOutcome(const Outcome& outcome) {
    if (!outcome.ok())
        debugOutput("mouse page: " + outcome.detail + "\n");
    return PopupService::showOutcome(pageWidget(), outcome,
                                     [this](const QString& key) { return main_.messageText(key); });
}

void MousePage::apply(const ViewRows& rows) {
    if (host())
        applyViewRows(host()->manager(), rows);
}

bool MousePage::showsDevice(int deviceIndex) const {
    return device_ >= 0 && device_ == deviceIndex && main_.currentTabKind() == TabMouse &&
           main_.shownDevice() == deviceIndex;
}

void MousePage::notify(const SkinNotify& message) {
    ShellPage::notify(message);
    const QString& type = message.type;
    if (type == QLatin1String("ClickDevice") || type == QLatin1String("ClickOption")) {
        showDevice(int(message.wParam), false);
        return;
    }
    if (device_ < 0)
        return;
    if (type == QLatin1String("popcolor_ok")) {
        const auto colour = static_cast<std::uint32_t>(message.wParam);
        if (pendingDpiColour_)
            apply(model_.setDpiColour(*pendingDpiColour_, colour));
        else
            panel_->colourChosen(colour);
        return;
    }
    if (type == QLatin1String("PopSetValue")) {
        keyChosen(message.wParam);
        return;
    }
    if (type == QLatin1String("MyMenuClick")) {
        if (const auto* item = reinterpret_cast<const QString*>(message.wParam))
            menuCommand(*item);
        return;
    }
    const QString& sender = message.senderName;
    if (type == QLatin1String(notify::MouseEnter) || type == QLatin1String(notify::SetFocus)) {
        if (sender.startsWith(KeyButtonPrefix))
            markKey(sender, true);
        return;
    }
    if (type == QLatin1String(notify::MouseLeave) || type == QLatin1String(notify::KillFocus)) {
        if (sender.startsWith(KeyButtonPrefix))
            markKey(sender, false);
        return;
    }
    if (panel_->handle(message)) {
        // The mouse lays its lighting out by its own mode table.
        if (sender == QLatin1String("btn_MouseLed_LedMode") ||
            sender.startsWith(QLatin1String("chk_MouseLed_ColEn")))
            apply(mouseLedModeRows(model_.panel().effect()));
        return;
    }
    if (type == QLatin1String(notify::Click))
        click(message);
    else if (type == QLatin1String(notify::SelectChanged))
        selectChanged(message);
    else if (type == QLatin1String(notify::ValueChanged) ||
             type == QLatin1String(notify::MoveValueChanged))
        valueChanged(message);
    else if (type == QLatin1String(notify::ItemSelect) && sender == QLatin1String(mp::ProfileList))
        apply(model_.selectProfile(int(message.wParam)));
}

void MousePage::click(const SkinNotify& message) {
    const QString& sender = message.senderName;
    if (sender == ApplyButton) {
        applyToMouse();
    } else if (sender == TryButton) {
        tryOnMouse();
    } else if (sender == MoreButton) {
        main_.openMenu(QString::fromLatin1(MoreMenu),
                       message.sender ? message.sender->widget() : nullptr);
    } else if (sender == SystemButton) {
        openSystemSettings();
    } else if (const int key = indexAfter(sender, mousemodel::BindingPrefix); key >= 0) {
        openKeyPopup(key, message.sender ? message.sender->widget() : nullptr);
    } else if (const int level = indexAfter(sender, mp::DpiColourPrefix); level >= 0) {
        // The picker's answer comes back as "popcolor_ok" through the main window.
        if (SkinControl* sink = host()->findControl(FocusSink))
            sink->widget()->setFocus();
        pendingDpiColour_ = level;
        const auto& levels = model_.model().dpiLevels;
        const std::uint32_t current =
            level < int(levels.size()) ? levels[std::size_t(level)].colour : 0;
        CPopColorWnd::RunColorPicker(pageWidget(), &main_, PageCodeMouse, current);
    }
}

void MousePage::selectChanged(const SkinNotify& message) {
    const QString& sender = message.senderName;
    auto* option = dynamic_cast<SkinOption*>(message.sender);
    if (!option)
        option = host()->find<SkinOption>(sender);
    const bool selected = option && option->isSelected();
    // Check boxes report after their flip: the state is the one the user asked for.
    if (const int level = indexAfter(sender, mp::DpiEnablePrefix); level >= 0) {
        apply(model_.setDpiLevelEnabled(level, selected));
        return;
    }
    // An option of a group reports both its own selection and the clearing of the others.
    if (!selected)
        return;
    if (const int level = indexAfter(sender, mp::DpiSelectPrefix); level >= 0)
        apply(model_.selectDpiLevel(level));
    else if (const int rate = indexAfter(sender, mp::RatePrefix); rate >= 0)
        apply(model_.setPollingRate(rate));
    else if (sender == AdvTab || sender == LightTab)
        showArea(sender == LightTab);
}

void MousePage::valueChanged(const SkinNotify& message) {
    auto* slider = host()->find<SkinSlider>(message.senderName);
    if (!slider)
        return;
    if (message.senderName == QLatin1String(mp::DpiSlider))
        apply(model_.setDpiValue(slider->value()));
    else if (message.senderName == QLatin1String(mp::FireSlider))
        apply(model_.setFire(slider->value()));
}

void MousePage::showArea(bool lighting) {
    apply({{"Mouse_Adv", viewattr::Visible, viewBool(!lighting)},
           {"Mouse_Light", viewattr::Visible, viewBool(lighting)}});
}

void MousePage::markKey(const QString& buttonName, bool on) {
    const int key = indexAfter(buttonName, mousemodel::BindingPrefix);
    // Leaving any key clears every mark; entering one marks its key on the picture.
    ViewRows rows;
    for (int k = 0; k < mousemodel::BindingCount; ++k)
        rows.push_back(
            {mp::KeyMarkPrefix + std::to_string(k), viewattr::Selected, viewBool(on && k == key)});
    apply(rows);
}

void MousePage::showDevice(int deviceIndex, bool reload) {
    const DeviceRecord* shown =
        deviceToShow(main_.catalogue(), deviceIndex, device_, DevTypeMouse, reload,
                     QString::fromLatin1(PageSkin), QStringLiteral("tab_mouse"));
    if (!shown)
        return;
    const DeviceRecord& record = *shown;
    const std::filesystem::path folder =
        deviceKindOf(DevTypeMouse)->modelFolder(main_.resourceRoot(), record);
    if (folder.empty() || !std::filesystem::is_directory(folder)) {
        device_ = -1;
        showOutcome(Outcome::failure(Status::Missing, messagekey::Tip, mp::JsonWarn,
                                     record.DevName + " names no shipped model folder"));
        return;
    }
    if (deviceIndex != device_)
        warnedPositions_ = false;
    device_ = deviceIndex;
    layOut(folder);
    showOutcome(model_.load(folder, record.DevName, macroStore()));
    showAll();
}

void MousePage::showAll() {
    apply(model_.show());
}

void MousePage::layOut(const std::filesystem::path& folder) {
    if (!host())
        return;
    const bool missing = !layOutByPositionSheets(
        folder, {MainPositions, KeyPositions, AdvPositions, LightPositions});
    // One warning per mouse; the controls keep the places the skin gives them.
    if (missing && !warnedPositions_) {
        warnedPositions_ = true;
        const QString text = main_.messageText(QString::fromLatin1(mp::JsonWarn));
        PopupService::question(pageWidget(), main_.messageText(QStringLiteral("Tip")), text,
                               main_.messageText(QStringLiteral("MessageOK")),
                               main_.messageText(QStringLiteral("MessageCancel")));
        debugOutput("mouse page: a position file of " + folder.string() + " cannot be opened\n");
    }
}

void MousePage::languageChanged() {
    ShellPage::languageChanged();
    if (device_ >= 0)
        showAll();
}

void MousePage::deviceConfig(int operation) {
    if (device_ < 0)
        return;
    if (operation == 1) {
        showDevice(device_, true);
    } else if (operation == 2) {
        if (showOutcome(model_.save()))
            return;
        saveMacroUsage();
    }
}

void MousePage::storePendingEdits() {
    ShellPage::storePendingEdits();
    deviceConfig(2);
}

std::optional<DpiPushInfo> MousePage::dpiReport(std::uint64_t wParam) {
    if (device_ < 0)
        return std::nullopt;
    apply(model_.showDpiFromDevice(wParam));
    const auto& devices = main_.catalogue().DeviceList;
    const std::string name =
        QString::fromStdString(devices[std::size_t(device_)].UITextName).trimmed().toStdString();
    return model_.dpiPushFor(wParam, name);
}

void MousePage::profileReport(std::uint64_t wParam) {
    if (device_ >= 0)
        apply(model_.showProfileFromDevice(wParam));
}

// --- keys ---

void MousePage::openKeyPopup(int key, QWidget* anchor) {
    if (const Outcome allowed = model_.canChangeKey(key); !allowed) {
        PopupService::question(pageWidget(), main_.messageText(QStringLiteral("Tip")),
                               main_.messageText(QString::fromLatin1(mp::OnlyOneKey)),
                               main_.messageText(QStringLiteral("MessageOK")),
                               main_.messageText(QStringLiteral("MessageCancel")));
        return;
    }
    PopMouseKeySel::Open(model_, key, &main_, anchor);
}

void MousePage::keyChosen(qintptr result) {
    // The popup has written its choice into the model already; the key texts show it.
    if (result == 1)
        apply(model_.keyRows());
}

// --- device ---

std::unique_ptr<MouseWriter> MousePage::writerFor(FindDev& device) {
    const DeviceRecord& record = main_.catalogue().DeviceList[std::size_t(device_)];
    std::vector<std::string> warnings;
    ParameterImage image =
        MouseModelImage::build(main_.resourceRoot(), model_.folder(), model_.config(), &warnings);
    for (const std::string& warning : warnings)
        debugOutput("mouse page: " + warning + "\n");
    auto writer = std::make_unique<MouseWriter>(device, std::move(image));
    writer->setTarget(record.WriteHandle);
    return writer;
}

void MousePage::applyToMouse() {
    if (device_ < 0)
        return;
    // The shared lighting's repeat would write over the mouse's own lighting.
    main_.stopLightingRepeat();
    if (const Outcome saved = model_.save(); !saved) {
        showOutcome(saved);
        return;
    }
    saveMacroUsage();
    // The page's own device object, with its own report buffer, writing to this mouse.
    FindDev device(main_.backend());
    std::unique_ptr<MouseWriter> writer = writerFor(device);
    CapplyProgressWnd::RunApply(*deviceKindOf(DevTypeMouse), *writer, &main_, pageWidget());
}

void MousePage::tryOnMouse() {
    if (device_ < 0 || tryRunning())
        return;
    main_.stopLightingRepeat();
    tryRunner_.reset();
    tryDevice_ = std::make_unique<FindDev>(main_.backend());
    tryWriter_ = writerFor(*tryDevice_);
    tryRunner_ = std::make_unique<ApplyRunner>();
    QPointer<SkinWindow> window = host();
    tryRunner_->start(*tryWriter_, {}, [this, window](const ApplyResult& result) {
        if (result.ok() || !window)
            return;
        // A failed write is told on the window's thread.
        QMetaObject::invokeMethod(
            window, [this, result] { showOutcome(result); }, Qt::QueuedConnection);
    });
}

bool MousePage::tryRunning() const {
    return tryRunner_ && tryRunner_->running();
}

ApplyResult MousePage::waitForTry() {
    return tryRunner_ ? tryRunner_->wait() : ApplyResult{};
}

} // namespace varnix
