// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/KeyboardImageBuilder.h"

#include "common/Diagnostics.h"
#include "keyboard/KeyboardFiles.h"
#include "keyboard/KeyboardImageLayout.h"
#include "macro/MacroBodyEncoder.h"

#include <cstdio>
#include <optional>

namespace varnix {

using namespace kbimage;

namespace {

enum Channel { Red, Green, Blue };

std::uint8_t channelNibble(std::uint32_t colour, Channel channel) {
    // The top four bits of red, green and blue sit at bits 20, 12 and 4 of 0xAARRGGBB.
    static constexpr int Shift[] = {20, 12, 4};
    return static_cast<std::uint8_t>(15 - ((colour >> Shift[channel]) & 0xF));
}

std::uint8_t byteOf(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t nibbles(int high, int low) {
    return static_cast<std::uint8_t>(((high & 0xF) << 4) | (low & 0xF));
}

void putWord(ParameterImage& image, int address, int value) {
    image.add(address, byteOf(value));
    image.add(address + 1, byteOf(value >> 8));
}

// "r_c" with r in 0..7 and c in 0..19.
std::optional<std::pair<int, int>> matrixCell(const std::string& position) {
    int row = -1;
    int column = -1;
    char tail = 0;
    if (std::sscanf(position.c_str(), "%d_%d%c", &row, &column, &tail) != 2)
        return std::nullopt;
    if (row < 0 || row >= MatrixRows || column < 0 || column >= MatrixColumns)
        return std::nullopt;
    return std::make_pair(row, column);
}

} // namespace

KeyboardImageBuilder::KeyboardImageBuilder(const KeyboardConfig& config,
                                           const std::vector<MacroGroup>& macroGroups,
                                           const KeyboardDeviceState& device)
    : config_(config), macroGroups_(macroGroups), device_(device) {}

const BindingMap& KeyboardImageBuilder::profileKeys() const {
    const int profile = std::clamp(config_.currentProfile, 0, KeyboardProfileCount - 1);
    return config_.keys[static_cast<std::size_t>(profile)];
}

const BindingMap& KeyboardImageBuilder::profileSettings() const {
    const int profile = std::clamp(config_.currentProfile, 0, KeyboardProfileCount - 1);
    return config_.otherKeys[static_cast<std::size_t>(profile)];
}

int KeyboardImageBuilder::settingCode(const char* name) const {
    const BindingMap& settings = profileSettings();
    const auto found = settings.find(name);
    return found != settings.end() ? found->second.code : 0;
}

ColourPlanes KeyboardImageBuilder::colourPlanes(const LedEffect& effect,
                                                const std::string& channelOrder) {
    const std::string order = channelOrder.empty() ? "RGB" : channelOrder;
    auto letter = [&](std::size_t i) { return i < order.size() ? order[i] : '\0'; };
    const Channel first = letter(0) == 'G' ? Green : letter(0) == 'B' ? Blue : Red;
    const Channel second = letter(1) == 'R' ? Red : letter(1) == 'B' ? Blue : Green;
    const Channel third = letter(2) == 'R' ? Red : letter(2) == 'G' ? Green : Blue;
    ColourPlanes planes;
    for (std::size_t s = 0; s < LedSlotCount; ++s) {
        const std::uint32_t colour = effect.slots[s].colour;
        planes.first[s] = channelNibble(colour, first);
        planes.second[s] = channelNibble(colour, second);
        planes.third[s] = channelNibble(colour, third);
    }
    return planes;
}

int KeyboardImageBuilder::slotNumber(const LedEffect& effect, int specialMode) {
    int number = 0;
    if (effect.mode == 2 || effect.colourType == LedSingleColour)
        number = effect.selectedSlot + 1;
    if (specialMode == SpecialModeAllSlots)
        return number > 0 ? number - 1 : 0;
    if (number == 1 && effect.firstEnabledSlot() >= 0)
        number = effect.firstEnabledSlot() + 1;
    return number;
}

int KeyboardImageBuilder::deviceDirection(int direction) {
    return direction == 0 ? 1 : direction == 1 ? 0 : direction;
}

const MacroRecord* KeyboardImageBuilder::boundMacro(const KeyBinding& binding) const {
    if (binding.grpGuid.empty() || binding.macGuid.empty())
        return nullptr;
    for (const MacroGroup& group : macroGroups_) {
        if (group.guid != binding.grpGuid)
            continue;
        for (const MacroRecord& macro : group.macros)
            if (macro.guid == binding.macGuid)
                return macro.data.num > 0 ? &macro : nullptr;
    }
    return nullptr;
}

std::uint8_t KeyboardImageBuilder::matrixCode(const KeyBinding& binding) const {
    // A key not assigned yet keeps the function of its legend.
    int code = binding.code == UnassignedKeyCode ? binding.defaultCode : binding.code;
    if (config_.macroSlotOf(code) && !boundMacro(binding))
        return 0;
    if (code > 0xFF) {
        const ExtKey* mapped = nullptr;
        for (const auto& [name, extKey] : config_.extKeys)
            if (extKey.number == code) {
                mapped = &extKey;
                break;
            }
        // An extra key this model does not know gets no function rather than a stray code.
        code = mapped ? mapped->map : 0;
    }
    return code < 0 ? 0 : byteOf(code);
}

void KeyboardImageBuilder::putHeader(ParameterImage& image, int base) const {
    const LedEffect& led = config_.lighting;
    const KeyboardFeatureProfile& feature = config_.feature;
    const int altF4 = settingCode(kbfiles::AltF4Lock);
    const int winApp = settingCode(kbfiles::WinAppLock);
    const int allKey = settingCode(kbfiles::AllKeyLock);
    constexpr int deviceFlag = 0; // bit 7: a device flag the page does not drive
    const int lock = (((((altF4 == 0 ? 2 : 0) | (deviceFlag * 4)) + feature.WIN_LOCK_SAVE_EN) * 2 +
                       feature.FN_W_ENB) *
                          4 +
                      winApp) *
                         4 +
                     allKey;
    image.add(base + LockByte, byteOf(lock));

    const ColourPlanes planes = colourPlanes(led, feature.RGBLED);
    const std::array<int, 3> x = device_.effectiveSettings();
    const std::array<int, 3> words = {SettingWord1, device_.switchSets[1], device_.switchSets[2]};
    for (std::size_t s = 0; s < LedSlotCount; ++s) {
        const int offset = static_cast<int>(s) * ColourStride;
        image.add(base + FirstColour + offset, nibbles(planes.first[s], planes.third[s]));
        int high = 0;
        if (s < SettingNibbleSlots)
            high = x[s];
        else if (s < WordNibbleSlot + words.size())
            high = words[s - WordNibbleSlot] >> 8;
        image.add(base + SecondColour + offset, nibbles(high, planes.second[s]));
    }

    for (int offset : OpenSettingBytes)
        image.add(base + offset, 0);
    image.add(base + ModeByte, byteOf(led.mode & 0xF));
    image.add(base + SwitchWord2Low, byteOf(words[1]));
    image.add(base + FlagPairByte, static_cast<std::uint8_t>((device_.flagX ? FlagXValue : 0) +
                                                             (device_.flagY ? FlagYValue : 0)));
    image.add(base + SwitchWord3Low, byteOf(words[2]));

    image.add(base + EffectByte, byteOf((((led.speed - 1) & 7) << SpeedShift) |
                                        (((7 - led.brightness) & 7) << BrightnessShift) |
                                        ((deviceDirection(led.direction) & 3) << DirectionShift)));
    image.add(base + ModeSlotByte,
              byteOf((led.mode & 0xF) |
                     ((slotNumber(led, device_.specialMode) & 7) << SlotNumberShift) |
                     ((led.symmetric ? 1 : 0) << SymmetryShift)));
    const std::uint8_t mask =
        device_.specialMode == SpecialModeAllSlots ? AllSlotsMask : led.enabledMask();
    image.add(base + EnableMaskByte, static_cast<std::uint8_t>(EnableMaskMarker | mask));
    image.add(base + Word1Low, byteOf(SettingWord1));
    putWord(image, base + MatrixPointer, base + MatrixStart);
    putWord(image, base + DirectoryPointer, base + DirectoryStart);
    image.add(base + KnobByte,
              nibbles(settingCode(kbfiles::Scroll1Setting), settingCode(kbfiles::Scroll0Setting)));
}

void KeyboardImageBuilder::putMatrixAndFn(ParameterImage& image, int base) const {
    std::array<std::uint8_t, MatrixRows * MatrixColumns> cells{};
    for (const auto& [name, binding] : profileKeys())
        if (const auto cell = matrixCell(binding.position))
            cells[static_cast<std::size_t>(cell->second * MatrixRows + cell->first)] =
                matrixCode(binding);
    for (std::size_t i = 0; i < cells.size(); ++i)
        image.add(base + MatrixStart + static_cast<int>(i), cells[i]);
    for (int i = 0; i < FnKeyCount; ++i)
        image.add(base + FnStart + i,
                  byteOf(settingCode(formatText(kbfiles::FnKeyFormat, i + 1).c_str())));
    for (int offset = FnPadStart; offset < DirectoryStart; ++offset)
        image.add(base + offset, 0);
}

Outcome KeyboardImageBuilder::putMacros(KeyboardImage& out, int base) const {
    const MacroBodyEncoder encoder(device_.macroValues);
    int address = (base + DirectoryEnd + BodyAlignment - 1) / BodyAlignment * BodyAlignment;
    for (int slot = 0; slot < MacroSlotCodeCount; ++slot) {
        KeyboardMacroSlot& entry = out.slots[static_cast<std::size_t>(slot)];
        entry.address = address;
        const std::int32_t slotCode = config_.macroSlotCodes.at(slot);
        for (const auto& [name, binding] : profileKeys())
            if (binding.code == slotCode && (entry.macro = boundMacro(binding)))
                break;
        int repeat = 0;
        if (entry.macro) {
            const Expected<MacroBody> body = encoder.encode(entry.macro->data, address);
            if (!body)
                return Outcome::failure(
                    body.outcome().status, messagekey::Tip, messagekey::MaxDataWarn,
                    formatText("macro slot %d: ", slot) + body.outcome().detail);
            for (std::size_t i = 0; i < body->bytes.size(); ++i)
                out.image.add(address + static_cast<int>(i), body->bytes[i]);
            entry.entryCount = body->entryCount;
            entry.size = body->size;
            repeat = entry.macro->data.rptType;
        }
        const int n = entry.entryCount;
        const int mode = repeat & MacroRepeatModeMask;
        const int at = base + DirectoryStart + slot * DirectoryEntrySize;
        out.image.add(at, DirectoryEntryMarker);
        out.image.add(at + 1, byteOf(((mode == MacroRepeatUntilRelease) << 7) | (n & 0x7F)));
        out.image.add(at + 2, byteOf(address));
        out.image.add(at + 3,
                      byteOf(((mode == MacroRepeatUntilClick) << 7) | (((repeat >> 2) & 1) << 6) |
                             ((address >> 8) & macrobody::AddressHighMask)));
        out.image.add(at + 4, byteOf(n & 0x80));
        address += entry.size;
    }
    return Outcome::done();
}

Expected<KeyboardImage> KeyboardImageBuilder::build(int base) const {
    KeyboardImage out;
    putHeader(out.image, base);
    putMatrixAndFn(out.image, base);
    if (Outcome placed = putMacros(out, base); !placed)
        return placed;
    return out;
}

} // namespace varnix
