// SPDX-License-Identifier: GPL-3.0-or-later
// Item edits of the current macro and the display text of its items.
#include "common/Diagnostics.h"
#include "macro/MacroStore.h"

#include <algorithm>
#include <cstring>

namespace varnix {
namespace {

constexpr std::uint8_t RepeatKeepMask = 0xF8;      // keeps bits 3-7 for the two "until" modes
constexpr std::uint8_t RepeatCountKeepMask = 0xF4; // the "times" mode also clears bit 3

void decrement(std::uint16_t& counter) {
    if (counter > 0)
        --counter;
}
void decrement(std::uint8_t& counter) {
    if (counter > 0)
        --counter;
}

// Removing the block item at `position` (kind `kind`, block index in x): every later item of the
// same kind takes the block index one lower and its block moves down one place; the block at the
// old last index is zeroed. Block indices outside the area are renumbered but move no bytes.
template <typename BlockAt>
void closeBlockGap(MacroData& data, int position, std::uint8_t kind, std::size_t blockCount,
                   std::size_t blockBytes, BlockAt blockAt) {
    std::size_t lastIndex = data.extVal[position].x;
    for (int i = position + 1; i < data.num; ++i) {
        if (data.macVal[i] != kind || data.extVal[i].x == 0)
            continue;
        const std::size_t from = data.extVal[i].x;
        const std::size_t to = from - 1;
        if (from < blockCount)
            std::memcpy(blockAt(to), blockAt(from), blockBytes);
        data.extVal[i].x = static_cast<std::uint16_t>(to);
        lastIndex = from;
    }
    if (lastIndex < blockCount)
        std::memset(blockAt(lastIndex), 0, blockBytes);
}

} // namespace

Outcome MacroStore::InsertMacroItem(int g, int m, int index, const MacroItemView& item) {
    if (datLocked)
        return Outcome::failure(Status::Refused, "the items of a .dat import are locked");
    MacroData& data = current.data;
    if (data.num >= MacroSlotCount)
        return Outcome::failure(Status::Refused, MessageCaption, MoreThanLimitText,
                                formatText("the macro already holds %d items", MacroSlotCount));
    const int at = std::clamp(index, 0, static_cast<int>(data.num));
    ++data.num;
    for (int i = data.num - 1; i > at; --i) {
        data.macSta[i] = data.macSta[i - 1];
        data.macVal[i] = data.macVal[i - 1];
        data.extVal[i] = data.extVal[i - 1];
        data.macDly[i] = data.macDly[i - 1];
    }
    data.macSta[at] = static_cast<std::uint8_t>(item.status);
    data.macVal[at] = static_cast<std::uint8_t>(item.value);
    data.macDly[at] = static_cast<std::uint16_t>(std::clamp(item.delay, 0, 0xFFFF));
    bool pastPointerMoveLimit = false;
    if (data.macVal[at] == MacroKindPointerMove) {
        data.extVal[at] = parsePointerMoveText(item.text);
        pastPointerMoveLimit = data.numXY + 1 > MAC_XY_MAX;
        if (!pastPointerMoveLimit)
            ++data.numXY;
    }
    Outcome stored = storeCurrent(g, m);
    // The item stays even past the limit; the user is told that it is not counted. A failed
    // store is the more important news and is returned as it is.
    if (stored && pastPointerMoveLimit)
        return Outcome::notice(MessageCaption, XYLimitText,
                               formatText("more than %d pointer moves", MAC_XY_MAX));
    return stored;
}

Outcome MacroStore::DeleteMacroItem(int g, int m, int position) {
    MacroData& data = current.data;
    if (data.num > 0 && position >= 0 && position < data.num) {
        switch (data.macVal[position]) {
        case MacroKindPointerMove:
            decrement(data.numXY);
            break;
        case MacroKindWheel:
            decrement(data.numWhl);
            break;
        case MacroKindDpi:
            decrement(data.numCpi);
            break;
        case MacroKindMedia:
            decrement(data.numMedia);
            break;
        case MacroKindLed:
            decrement(data.numLed);
            closeBlockGap(data, position, MacroKindLed, LedBlockCount, LedBlockSize,
                          [&](std::size_t k) { return data.ledBlocks[k].data(); });
            break;
        case MacroKindDataBlock:
            decrement(data.blockItemCount);
            closeBlockGap(
                data, position, MacroKindDataBlock, DataBlockCount, DataBlockUsed,
                [&](std::size_t k) { return data.dataBlocks.data() + k * DataBlockStride; });
            break;
        default:
            break;
        }
        const int last = data.num - 1;
        for (int i = position; i < last; ++i) {
            data.macSta[i] = data.macSta[i + 1];
            data.macVal[i] = data.macVal[i + 1];
            data.extVal[i] = data.extVal[i + 1];
            data.macDly[i] = data.macDly[i + 1];
        }
        data.macSta[last] = 0;
        data.macVal[last] = 0;
        data.extVal[last] = {};
        data.macDly[last] = 0;
        --data.num;
    }
    return storeCurrent(g, m);
}

Outcome MacroStore::SetMacroRepeat(int g, int m, const std::string& option, int count) {
    std::uint8_t& type = current.data.rptType;
    if (option == OptionCycleUntilRelease)
        type = static_cast<std::uint8_t>((type & RepeatKeepMask) | MacroRepeatUntilRelease);
    else if (option == OptionCycleUntilClick)
        type = static_cast<std::uint8_t>((type & RepeatKeepMask) | MacroRepeatUntilClick);
    else
        type = static_cast<std::uint8_t>(type & RepeatCountKeepMask);
    current.data.macRpt = static_cast<std::uint16_t>(std::clamp(count, 0, 0xFFFF));
    return storeCurrent(g, m);
}

MacroItemView MacroStore::ItemDisplayText(int position) const {
    MacroItemView view;
    if (position < 0 || position >= MacroSlotCount)
        return view;
    const MacroData& data = current.data;
    view.value = data.macVal[position];
    view.status = data.macSta[position];
    view.delay = data.macDly[position];
    view.text = macroItemText(data.macVal[position], data.macSta[position], data.extVal[position],
                              keyNames);
    return view;
}

} // namespace varnix
