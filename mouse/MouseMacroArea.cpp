// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseMacroArea.h"

#include "common/Diagnostics.h"

#include <algorithm>
#include <array>
#include <utility>

namespace varnix {
namespace {

namespace mm = mousemacro;
namespace md = mousedevice;

using Entry = std::array<std::uint8_t, 2>;

std::uint8_t low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
std::uint8_t high(int value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// The delay after an item in runs of at most 127 units; the first run is never 0.
std::vector<int> delayRuns(int delayMs, bool lastItem) {
    int units = lastItem ? 1 : std::max(1, delayMs / mm::DelayUnitMs);
    std::vector<int> runs;
    while (units > 0) {
        const int run = std::min(units, mm::MaxDelayRun);
        runs.push_back(run);
        units -= run;
    }
    return runs;
}

// The entries of one item, without its extra delay entries; empty when the mouse plays nothing.
std::vector<Entry> itemEntries(const MacroData& data, std::size_t k, std::uint8_t run) {
    const std::uint8_t value = data.macVal[k];
    const std::uint8_t status = data.macSta[k];
    const MacroExtValue ext = data.extVal[k];
    switch (value) {
    case MacroKindPointerMove: {
        int x = 0;
        int y = 0;
        if (status >= 3 && status <= 6) {
            x = (status == 3 || status == 4) ? -ext.x : ext.x;
            y = (status == 4 || status == 6) ? -ext.y : ext.y;
        }
        return {{run, value}, {low(x), high(x)}, {low(y), high(y)}};
    }
    case MacroKindWheel: {
        const int amount = status == 8 ? -ext.x : (status == 7 ? ext.x : 0);
        return {{run, value}, {low(amount), 0}};
    }
    case MacroKindDpi:
        return {{run, value}, {low(ext.x), status}};
    case MacroKindMedia: {
        const std::uint8_t press = status == 12 ? mm::PressBit : 0;
        return {{static_cast<std::uint8_t>(run | press), value}, {low(ext.x), high(ext.x)}};
    }
    case MacroKindLed:
    case MacroKindDataBlock:
        return {};
    default:
        if (value == MacroKindDelay || status == MacroStatusRelease)
            return {{run, value}};
        if (status == MacroStatusPress)
            return {{static_cast<std::uint8_t>(run | mm::PressBit), value}};
        return {};
    }
}

struct DirectoryEntry {
    const MacroData* data = nullptr;
    bool userMacro = false;
};

void addBytes(ParameterImage& image, int address, std::initializer_list<std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes)
        image.add(address++, byte);
}

} // namespace

MouseMacroBody MouseMacroArea::encodeBody(const MacroData& data) {
    MouseMacroBody body;
    const std::size_t count = std::min<std::size_t>(data.num, MacroSlotCount);
    for (std::size_t k = 0; k < count; ++k) {
        const std::vector<int> runs = delayRuns(data.macDly[k], k + 1 == count);
        std::vector<Entry> entries = itemEntries(data, k, static_cast<std::uint8_t>(runs[0]));
        if (entries.empty())
            continue;
        for (std::size_t r = 1; r < runs.size(); ++r)
            entries.push_back({static_cast<std::uint8_t>(runs[r]), 0});
        // An item goes in whole or not at all, and nothing after a left-out item.
        if (body.bytes.size() + entries.size() * 2 > mm::BodyBufferSize) {
            body.truncated = true;
            break;
        }
        for (const Entry& entry : entries)
            body.bytes.insert(body.bytes.end(), entry.begin(), entry.end());
    }
    return body;
}

std::vector<std::string> MouseMacroArea::add(ParameterImage& image, const MouseDeviceValues& values,
                                             const std::vector<MacroGroup>& macros,
                                             const std::vector<MacroRecord>& shortcuts) {
    std::vector<DirectoryEntry> directory(mm::ShortcutEntries);
    std::vector<std::pair<std::string, std::string>> userMacros; // (group, macro) in entry order

    for (std::size_t p = 0; p < values.slots.size(); ++p) {
        for (std::size_t s = 0; s < values.slots[p].size(); ++s) {
            const int address = mm::KeyTableAddress +
                                static_cast<int>(p * md::SlotCount + s) * mm::KeyTableEntrySize;
            const MouseKeyType type = values.keyTypes[p][s];
            const MouseSlotBinding& slot = values.slots[p][s];
            int entry = -1;
            if (type.type == md::TypeMacro || type.type == md::TypeMacroWhileHeld) {
                if (slot.code >= md::FirstShortcutCode && slot.code <= md::LastShortcutCode) {
                    entry = slot.code - mm::FirstShortcutCode;
                    const auto index = static_cast<std::size_t>(entry);
                    if (index < shortcuts.size())
                        directory[index].data = &shortcuts[index].data;
                } else if (const MacroRecord* macro =
                               findBoundMacro(macros, slot.grpGuid, slot.macGuid)) {
                    const std::pair key{slot.grpGuid, slot.macGuid};
                    const auto known = std::find(userMacros.begin(), userMacros.end(), key);
                    entry = mm::ShortcutEntries + static_cast<int>(known - userMacros.begin());
                    if (known == userMacros.end()) {
                        userMacros.push_back(key);
                        directory.push_back({&macro->data, true});
                    }
                }
            }
            if (type.type == md::TypeConsumer)
                addBytes(image, address, {low(type.consumerUsage), high(type.consumerUsage)});
            else if (entry >= 0)
                addBytes(image, address, {low(entry), 0});
            else
                addBytes(image, address, {0, 0});
        }
    }

    const int entryCount = static_cast<int>(directory.size());
    image.add(mm::DirectoryCountAddress, low(entryCount));
    const int directoryEnd = mm::DirectoryAddress + entryCount * mm::EntrySize;
    int bodyAddress =
        (directoryEnd + mm::BodyAlignment - 1) / mm::BodyAlignment * mm::BodyAlignment;

    std::vector<std::string> warnings;
    for (int e = 0; e < entryCount; ++e) {
        const DirectoryEntry& entry = directory[static_cast<std::size_t>(e)];
        const int at = mm::DirectoryAddress + e * mm::EntrySize;
        if (!entry.data) {
            addBytes(image, at, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
            continue;
        }
        const MouseMacroBody body = encodeBody(*entry.data);
        if (body.truncated)
            warnings.push_back(formatText("macro of directory entry %d is longer than %zu bytes; "
                                          "its end was left out",
                                          e, mm::BodyBufferSize));
        const int mode = entry.data->rptType & MacroRepeatModeMask;
        const bool untilKey = mode == MacroRepeatUntilClick || mode == MacroRepeatUntilRelease;
        const int repeat = untilKey ? 1 : entry.data->macRpt;
        const int length = static_cast<int>(body.bytes.size());
        const std::uint8_t flags =
            static_cast<std::uint8_t>(mm::FlagPresent | (entry.userMacro ? mm::FlagUserMacro : 0));
        addBytes(image, at,
                 {flags, low(mode), low(repeat), high(repeat), low(bodyAddress), high(bodyAddress),
                  low(length), high(length), low(length / 2), high(length / 2)});
        for (const std::uint8_t byte : body.bytes)
            image.add(bodyAddress++, byte);
    }
    return warnings;
}

} // namespace varnix
