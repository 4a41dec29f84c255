// SPDX-License-Identifier: GPL-3.0-or-later
// varnixctl feature: the feature profile of a catalogue row's model, one NAME=VALUE per line.
#include "cli/CommandRegistry.h"
#include "device/KeyboardFeatureProfile.h"
#include "device/LightingFeature.h"
#include "device/ModelFolder.h"
#include "device/MouseFeatureProfile.h"
#include "device/PadFeatureProfile.h"

#include <cstdio>
#include <string>

namespace varnix::cli {
namespace {

void printValue(const std::string& name, const std::string& value) {
    std::printf("%s=%s\n", name.c_str(), value.c_str());
}

void printValue(const std::string& name, int value) {
    printValue(name, std::to_string(value));
}

std::string ledTableText(const LedTable& table) {
    std::string text;
    for (std::size_t i = 0; i < table.size(); ++i)
        text += (i ? "," : "") + std::to_string(table[i]);
    return text;
}

void printMouse(const std::filesystem::path& folder) {
    using namespace mousefeature;
    const MouseFeatureProfile profile = MouseFeatureProfile::read(folder);
    for (int i = 1; i <= KeyCount; ++i)
        printValue("K" + std::to_string(i) + "_MAP", profile.keyMap[i - 1]);
    for (int i = 1; i <= KeyCount; ++i)
        printValue("K" + std::to_string(i) + "_DEF", profile.keyDefault[i - 1]);
    printValue(std::string(KeyNumKey), profile.keyNum);
    for (const auto& key : MouseFeatureProfile::configKeys())
        printValue(std::string(key.name), profile.*key.member);
    printValue(std::string(LedDataKey), ledTableText(profile.startupLedTable));
    for (int p = 0; p < ProfileCount; ++p)
        printValue(std::string(ProfileLedSection) + "_" + std::to_string(p),
                   ledTableText(profile.profileLedTables[p]));
    printValue("ledcount", LightingFeature::read(DevTypeMouse, folder).ledCount);
    printValue("longhold", profile.longHoldSwitch() ? 1 : 0);
}

void printKeyboard(const std::filesystem::path& folder) {
    using namespace keyboardfeature;
    const KeyboardFeatureProfile profile = KeyboardFeatureProfile::read(folder);
    const LightingFeature lighting = LightingFeature::read(DevTypeKeyboard, folder);
    printValue(std::string(EepCapKey), profile.EEP_CAP);
    printValue(std::string(RgbLedKey), profile.RGBLED);
    printValue(std::string(WinLockSaveKey), profile.WIN_LOCK_SAVE_EN);
    printValue(std::string(FnWKey), profile.FN_W_ENB);
    printValue(lighting.ledCountKey, lighting.ledCountText);
    printValue("capacity", profile.capacity);
    printValue("ledcount", lighting.ledCount);
}

void printPad(const std::filesystem::path& folder) {
    const PadFeatureProfile profile = PadFeatureProfile::read(folder);
    const LightingFeature lighting = LightingFeature::read(DevTypePad, folder);
    printValue(lighting.ledCountKey, lighting.ledCountText);
    printValue(std::string(keyboardfeature::RgbLedKey), lighting.channelOrder);
    printValue(std::string(padfeature::BrightMaxKey), profile.BrightMax);
    printValue("brightmax", profile.brightMax);
    printValue("ledcount", lighting.ledCount);
}

int runFeature(CliContext& context, const CommandArguments& arguments) {
    if (arguments.size() != 3 || arguments[1] != "--device")
        throw UsageError("usage: feature mouse|keyboard|pad --device INDEX");
    const std::string& typeName = arguments[0];
    int type = 0;
    if (typeName == "mouse")
        type = DevTypeMouse;
    else if (typeName == "keyboard")
        type = DevTypeKeyboard;
    else if (typeName == "pad")
        type = DevTypePad;
    else
        throw UsageError("feature takes mouse, keyboard or pad, not " + typeName);

    const std::string& indexText = arguments[2];
    std::size_t used = 0;
    long index = -1;
    try {
        index = std::stol(indexText, &used, 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != indexText.size() || index < 0)
        throw UsageError("--device takes a catalogue index, not " + indexText);
    const FindDev& catalogue = context.catalogue();
    if (static_cast<std::size_t>(index) >= catalogue.DeviceList.size())
        throw UsageError("no catalogue row " + indexText + " (the catalogue has " +
                         std::to_string(catalogue.DeviceList.size()) + " rows)");
    const DeviceRecord& record = catalogue.DeviceList[static_cast<std::size_t>(index)];
    if (record.DevType != type)
        throw UsageError("catalogue row " + indexText + " is a " + record.DevTypeString +
                         " (DevType " + std::to_string(record.DevType) + "), not a " + typeName);
    const std::filesystem::path folder =
        modelResourceFolder(context.resolvedResourceRoot(), record.DevType, record.DevFolder);
    if (folder.empty())
        throw UsageError("catalogue row " + indexText + " has an unusable folder \"" +
                         record.DevFolder + "\"");

    if (type == DevTypeMouse)
        printMouse(folder);
    else if (type == DevTypeKeyboard)
        printKeyboard(folder);
    else
        printPad(folder);
    return ExitOk;
}

const CommandRegistration registration{
    "feature",
    {"mouse|keyboard|pad --device INDEX",
     "print the feature profile of a catalogue row's model as NAME=VALUE lines", runFeature}};

} // namespace
} // namespace varnix::cli
