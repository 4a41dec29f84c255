// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroBodyEncoder.h"

#include "common/Diagnostics.h"

#include <algorithm>
#include <span>

namespace varnix {

using namespace macrobody;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
std::uint8_t high(int value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void putSigned16(Bytes& out, int value) {
    const auto word = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    out.push_back(low(word));
    out.push_back(high(word));
}

// The address bytes of a parameter area: low byte, then bits 8..13 with two flag bits on top.
void putAreaAddress(Bytes& out, int address, int flags) {
    out.push_back(low(address));
    out.push_back(static_cast<std::uint8_t>(((address >> 8) & AddressHighMask) |
                                            ((flags & 3) << AddressFlagShift)));
}

// A parameter block as the device reads it: the count byte less one, then the count's groups of
// four bytes and three more. A count that would reach past the block is cut at its end.
void putParameterBlock(Bytes& out, std::span<const std::uint8_t> block) {
    if (block.empty())
        return;
    const std::size_t count = block[0];
    out.push_back(static_cast<std::uint8_t>(count - 1));
    const std::size_t last = std::min(4 * count + 3, block.size() - 1);
    out.insert(out.end(), block.begin() + 1, block.begin() + static_cast<long>(last) + 1);
}

struct Entries {
    Bytes entries;
    Bytes ledArea;
    Bytes dataArea;
    int entryCount = 0;
};

} // namespace

int MacroBodyEncoder::delayUnits(int delayMs) const {
    return std::min(std::max(delayMs, 0), values_.maxDelayMs) / DelayUnitMs;
}

int MacroBodyEncoder::entryCount(const MacroData& macro) const {
    const int num = std::min<int>(macro.num, MacroSlotCount);
    int count = num;
    for (int k = 0; k + 1 < num; ++k) {
        const int units = delayUnits(macro.macDly[static_cast<std::size_t>(k)]);
        if (units > MaxUnitsPerEntry)
            count += units / MaxUnitsPerEntry;
    }
    return count;
}

int MacroBodyEncoder::layoutSize(const MacroData& macro) const {
    return (macro.numMedia + 2 * macro.numXY + macro.numCpi + macro.numWhl + entryCount(macro)) *
               2 +
           static_cast<int>(RepeatHeaderSize);
}

namespace {

Entries encodeEntries(const MacroBodyEncoder& encoder, const MacroDeviceValues& values,
                      const MacroData& macro, int ledBase, int dataBase) {
    Entries out;
    Bytes& bytes = out.entries;
    const std::uint8_t mode = macro.rptType & MacroRepeatModeMask;
    if (mode == MacroRepeatUntilClick || mode == MacroRepeatUntilRelease) {
        bytes.assign(std::begin(RepeatUntilHeader), std::end(RepeatUntilHeader));
    } else {
        bytes.push_back(low(macro.macRpt));
        bytes.push_back(high(macro.macRpt));
    }
    const int num = std::min<int>(macro.num, MacroSlotCount);
    for (int k = 0; k < num; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const std::uint8_t value = macro.macVal[i];
        const std::uint8_t status = macro.macSta[i];
        const int x = macro.extVal[i].x;
        const int y = macro.extVal[i].y;

        // The delay byte and the extra entries of a delay longer than one entry holds.
        Bytes extra;
        int delay = LastItemDelay;
        if (k + 1 < num) {
            const int units = encoder.delayUnits(macro.macDly[i]);
            delay = units == 0 ? 1 : units;
            if (units > MaxUnitsPerEntry) {
                int rest = units;
                for (int e = 0; e < units / MaxUnitsPerEntry; ++e) {
                    if (rest > MaxUnitsPerEntry) {
                        extra.insert(extra.end(), {MaxUnitsPerEntry, 0});
                        rest -= MaxUnitsPerEntry;
                    } else {
                        extra.insert(extra.end(), {0, 0});
                    }
                }
                delay = rest;
            }
        }
        const auto d = static_cast<std::uint8_t>(delay);
        ++out.entryCount;
        out.entryCount += static_cast<int>(extra.size() / 2);

        switch (value) {
        case MacroKindPointerMove:
            bytes.insert(bytes.end(), {d, value});
            if (status >= MacroStatusLeftDown && status <= MacroStatusRightUp) {
                const bool left = status == MacroStatusLeftDown || status == MacroStatusLeftUp;
                const bool up = status == MacroStatusLeftUp || status == MacroStatusRightUp;
                putSigned16(bytes, left ? -x : x);
                putSigned16(bytes, up ? -y : y);
            }
            break;
        case MacroKindWheel:
            bytes.insert(bytes.end(), {d, value});
            if (status == WheelUp || status == WheelDown)
                bytes.insert(bytes.end(), {low(status == WheelUp ? x : -x), 0});
            break;
        case MacroKindDpi:
            bytes.insert(bytes.end(), {0, 0});
            break;
        case MacroKindLed: {
            if (macro.numLed == 0)
                break;
            if (values.ledSwitchB != 0 && values.ledSwitchA != LedSwitchAKeepsLed) {
                bytes.insert(bytes.end(), {0, 0});
                break;
            }
            bytes.insert(bytes.end(), {d, value});
            const int flags = status == LedFlagOne ? 1 : status == LedFlagTwo ? 2 : 0;
            putAreaAddress(bytes, ledBase + static_cast<int>(out.ledArea.size()), flags);
            const std::size_t block = low(x);
            std::array<std::uint8_t, LedBlockSize> data{};
            if (block < LedBlockCount)
                data = macro.ledBlocks[block];
            putParameterBlock(out.ledArea, data);
            break;
        }
        case MacroKindMedia:
            bytes.push_back(status == MediaRelease ? d
                            : status == MediaPress ? static_cast<std::uint8_t>(d | PressBit)
                                                   : std::uint8_t{0});
            bytes.insert(bytes.end(), {value, low(x), high(x)});
            break;
        case MacroKindDataBlock: {
            if (macro.blockItemCount == 0)
                break;
            bytes.insert(bytes.end(), {d, value});
            putAreaAddress(bytes, dataBase + static_cast<int>(out.dataArea.size()), status & 3);
            std::array<std::uint8_t, DataBlockUsed> data{};
            if (static_cast<std::size_t>(x) < DataBlockCount)
                std::copy_n(macro.dataBlocks.begin() + static_cast<long>(DataBlockStride) * x,
                            DataBlockUsed, data.begin());
            putParameterBlock(out.dataArea, data);
            break;
        }
        default:
            if (value == MacroKindDelay || status == MacroStatusRelease)
                bytes.insert(bytes.end(), {d, value});
            else if (status == MacroStatusPress)
                bytes.insert(bytes.end(), {static_cast<std::uint8_t>(d | PressBit), value});
            break;
        }
        bytes.insert(bytes.end(), extra.begin(), extra.end());
    }
    return out;
}

} // namespace

Expected<MacroBody> MacroBodyEncoder::encode(const MacroData& macro, int address) const {
    // The parameter areas follow the entries, LED data first; their lengths do not depend on
    // where they go, so a first pass finds where the entries end.
    const Entries sizing = encodeEntries(*this, values_, macro, 0, 0);
    const int ledBase = address + static_cast<int>(sizing.entries.size());
    const int dataBase = ledBase + static_cast<int>(sizing.ledArea.size());
    Entries placed = encodeEntries(*this, values_, macro, ledBase, dataBase);

    MacroBody body;
    body.entryCount = placed.entryCount;
    body.entryAreaSize = static_cast<int>(placed.entries.size());
    body.bytes = std::move(placed.entries);
    body.bytes.insert(body.bytes.end(), placed.ledArea.begin(), placed.ledArea.end());
    body.bytes.insert(body.bytes.end(), placed.dataArea.begin(), placed.dataArea.end());
    body.size = std::max(layoutSize(macro), static_cast<int>(body.bytes.size()));

    const int end = address + static_cast<int>(body.bytes.size());
    if (address < 0 || end > AddressLimit)
        return Outcome::failure(Status::TooLarge,
                                formatText("the macro body at 0x%04X ends at 0x%04X, past 0x%04X",
                                           address, end, AddressLimit));
    return body;
}

} // namespace varnix
