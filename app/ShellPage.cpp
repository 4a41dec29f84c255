// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ShellPage.h"

#include "app/ApplyPositionSheet.h"
#include "app/skin/SkinBuilder.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinWindow.h"
#include "common/Diagnostics.h"
#include "device/FindDev.h"

namespace varnix {

ShellPage::ShellPage(QString pageName, QString senderName, QString controlPrefix)
    : pageName_(std::move(pageName)), senderName_(std::move(senderName)),
      controlPrefix_(std::move(controlPrefix)) {}

bool ShellPage::ownsControl(const QString& controlName) const {
    return !controlPrefix_.isEmpty() && controlName.contains(controlPrefix_, Qt::CaseSensitive);
}

SkinControl* ShellPage::buildPageSkin(const QString& file, const QString& containerName) {
    if (pageRoot_ || !host_)
        return pageRoot_;
    auto* container = host_->find<SkinContainer>(containerName);
    if (!container) {
        debugOutput("page " + pageName_.toStdString() + ": no container " +
                    containerName.toStdString() + "\n");
        return nullptr;
    }
    SkinBuilder builder(host_->manager());
    SkinControl* root = builder.build(file);
    if (!root) {
        debugOutput("page " + pageName_.toStdString() + ": " + builder.error().toStdString() +
                    "\n");
        return nullptr;
    }
    container->add(root);
    host_->manager().reloadTexts();
    pageRoot_ = root;
    return root;
}

void ShellPage::init(SkinWindow& host) {
    host_ = &host;
}

void ShellPage::notify(const SkinNotify& message) {
    last_ = message;
    ++notifications_;
}

void ShellPage::setCatalogue(const FindDev&) {
    ++catalogueCopies_;
}

void ShellPage::languageChanged() {
    ++languageChanges_;
}

void ShellPage::deviceConfig(int) {}

void ShellPage::storePendingEdits() {}

void ShellPage::deviceMessage(int, qintptr, qintptr) {
    ++deviceMessages_;
}

bool ShellPage::layOutByPositionSheets(const std::filesystem::path& folder,
                                       std::initializer_list<const char*> sheets) {
    positioned_.clear();
    if (!host_)
        return false;
    bool all = true;
    for (const char* name : sheets) {
        bool opened = false;
        LoadAndApplyPositionSheet(QString::fromStdString((folder / name).string()),
                                  host_->manager(), positioned_, &opened);
        all = all && opened;
    }
    return all;
}

const DeviceRecord* ShellPage::deviceToShow(const FindDev& catalogue, int deviceIndex,
                                            int shownIndex, int deviceType, bool reload,
                                            const QString& skinFile, const QString& containerName) {
    const auto& devices = catalogue.DeviceList;
    if (deviceIndex < 0 || deviceIndex >= int(devices.size()))
        return nullptr;
    const DeviceRecord& record = devices[std::size_t(deviceIndex)];
    if (record.DevType != deviceType || (deviceIndex == shownIndex && !reload))
        return nullptr;
    return buildPageSkin(skinFile, containerName) ? &record : nullptr;
}

} // namespace varnix
