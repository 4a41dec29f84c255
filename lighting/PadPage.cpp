// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PadPage.h"

#include "app/CMainWnd.h"
#include "app/CapplyProgressWnd.h"
#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinWindow.h"
#include "common/Diagnostics.h"
#include "device/PadWriter.h"
#include "kinds/DeviceKind.h"
#include "lighting/CPopColorWnd.h"

namespace varnix {
namespace {
const QString ApplyButton = QStringLiteral("btn_Pad_apply");
const QString MoreButton = QStringLiteral("btn_Pad_More");
} // namespace

PadPage::PadPage(CMainWnd& mainWindow)
    : ShellPage(QStringLiteral("pad"), QStringLiteral("PadDevice"), QStringLiteral("_Pad")),
      main_(mainWindow) {}

PadPage::~PadPage() = default;

void PadPage::init(SkinWindow& host) {
    ShellPage::init(host);
    panel_ = std::make_unique<LedPanelController>(
        host.manager(), model_.panel(), [this](int, std::uint32_t current) {
            // The picker's answer comes back as "popcolor_ok" through the main window.
            CPopColorWnd::RunColorPicker(pageWidget(), &main_, PageCodePad, current);
        });
}

QWidget* PadPage::pageWidget() const {
    return host();
}

bool PadPage::showOutcome(const Outcome& outcome) {
    if (!outcome.ok())
        debugOutput("pad page: " + outcome.detail + "\n");
    return PopupService::showOutcome(pageWidget(), outcome,
                                     [this](const QString& key) { return main_.messageText(key); });
}

void PadPage::notify(const SkinNotify& message) {
    ShellPage::notify(message);
    const QString& type = message.type;
    if (type == QLatin1String("ClickDevice") || type == QLatin1String("ClickOption")) {
        showDevice(int(message.wParam), false);
        return;
    }
    if (device_ < 0)
        return;
    if (type == QLatin1String("popcolor_ok")) {
        panel_->colourChosen(static_cast<std::uint32_t>(message.wParam));
        return;
    }
    if (type == QLatin1String("MyMenuClick")) {
        if (const auto* item = reinterpret_cast<const QString*>(message.wParam))
            menuCommand(*item);
        return;
    }
    if (panel_->handle(message))
        return;
    if (type != QLatin1String(notify::Click))
        return;
    if (message.senderName == ApplyButton)
        apply();
    else if (message.senderName == MoreButton)
        main_.openMenu(QString::fromLatin1(MoreMenu),
                       message.sender ? message.sender->widget() : nullptr);
}

void PadPage::showDevice(int deviceIndex, bool reload) {
    const DeviceRecord* shown =
        deviceToShow(main_.catalogue(), deviceIndex, device_, DevTypePad, reload,
                     QString::fromLatin1(PageSkin), QStringLiteral("tab_pad"));
    if (!shown)
        return;
    const DeviceRecord& record = *shown;
    const std::filesystem::path folder =
        deviceKindOf(DevTypePad)->modelFolder(main_.resourceRoot(), record);
    if (folder.empty()) {
        showOutcome(Outcome::failure(Status::Invalid, messagekey::Tip, padpage::JsonWarn,
                                     record.DevName + " names no usable model folder"));
        return;
    }
    device_ = deviceIndex;
    layOut(folder);
    showOutcome(model_.load(folder, record.DevName));
    panel_->show();
}

void PadPage::layOut(const std::filesystem::path& folder) {
    if (!host())
        return;
    const bool missing =
        !layOutByPositionSheets(folder, {MainPositions, BasePositions, LightPositions});
    // One warning for the whole page; the controls keep the places the skin gives them.
    if (missing)
        showOutcome(
            Outcome::failure(Status::Missing, messagekey::Tip, padpage::JsonWarn,
                             "a position file of " + folder.string() + " cannot be opened"));
}

void PadPage::languageChanged() {
    ShellPage::languageChanged();
    if (device_ >= 0)
        panel_->show();
}

void PadPage::deviceConfig(int operation) {
    if (device_ < 0)
        return;
    if (operation == 1)
        showDevice(device_, true);
    else if (operation == 2)
        showOutcome(model_.save());
}

void PadPage::apply() {
    // The shared lighting's repeat would write over the pad's own lighting.
    main_.stopLightingRepeat();
    if (const Outcome saved = model_.save(); !saved)
        showOutcome(saved.hasMessage() ? saved : saved.shown(messagekey::Error, padpage::SaveErr));
    writeToDevice();
}

void PadPage::writeToDevice() {
    const auto& devices = main_.catalogue().DeviceList;
    if (device_ < 0 || device_ >= int(devices.size()))
        return;
    const DeviceRecord& record = devices[std::size_t(device_)];
    // The page's own device object, with its own report buffer, writing to this pad.
    FindDev device(main_.backend());
    PadWriter writer(device, model_.image());
    writer.setTarget(record.WriteHandle);
    CapplyProgressWnd::RunApply(*deviceKindOf(DevTypePad), writer, &main_, pageWidget());
}

void PadPage::menuCommand(const QString& item) {
    if (item == QLatin1String("Import"))
        importFile();
    else if (item == QLatin1String("Export"))
        exportFile();
    else if (item == QLatin1String("Reset"))
        reset();
}

FileDialogRequest PadPage::exchangeDialog(const char* titleKey) const {
    return FileDialogService::exchangeRequest(main_.messageText(QString::fromLatin1(titleKey)),
                                              ExchangeFilter, ExchangeSuffix);
}

void PadPage::importFile() {
    const QString file = FileDialogService::open(pageWidget(), exchangeDialog("ImportTitle"));
    if (file.isEmpty())
        return;
    const Outcome imported = model_.importFrom(file.toStdString());
    showOutcome(imported);
    if (imported)
        panel_->show();
}

void PadPage::exportFile() {
    const QString file = FileDialogService::save(pageWidget(), exchangeDialog("ExportTitle"));
    if (file.isEmpty())
        return;
    showOutcome(model_.exportTo(file.toStdString()));
}

void PadPage::reset() {
    const Outcome reset = model_.reset();
    showOutcome(reset);
    if (!reset)
        return;
    panel_->show();
    // The factory lighting goes to the pad at once, as if applied.
    main_.stopLightingRepeat();
    writeToDevice();
}

} // namespace varnix
