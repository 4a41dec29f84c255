// SPDX-License-Identifier: GPL-3.0-or-later
// The older INI-style macro exchange file (.dat): [Init] DAT_VER and MacMd5, [Macros] macroNum
// and one row of three-digit decimal byte groups per macro.
#pragma once

#include "common/Outcome.h"
#include "macro/MacroData.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

class MacroDatFile {
public:
    static constexpr const char* SectionInit = "Init";
    static constexpr const char* SectionMacros = "Macros";
    static constexpr const char* KeyVersion = "DAT_VER";
    static constexpr const char* KeyMarker = "MacMd5";
    static constexpr const char* KeyMacroCount = "macroNum";
    // The most macros one import may add (a .dat file or a group file).
    static constexpr int MaxImportedMacros = 1000;
    static constexpr const char* LockMarker = "MacMd5";
    static constexpr int SupportedVersion = 3;
    static constexpr std::size_t RowCharacters = 26649; // longer rows are cut here
    static constexpr std::size_t RowBytes = RowCharacters / 3;

    // Byte positions inside a decoded row.
    static constexpr std::size_t OffsetHeader = 0;
    static constexpr std::size_t OffsetRptType = 60;
    static constexpr std::size_t OffsetMacRpt = 61;
    static constexpr std::size_t OffsetNum = 63;
    static constexpr std::size_t OffsetNumXY = 65;
    static constexpr std::size_t OffsetNumWhl = 67;
    static constexpr std::size_t OffsetNumCpi = 69;
    static constexpr std::size_t OffsetNumMedia = 71;
    static constexpr std::size_t OffsetNumLed = 73;
    static constexpr std::size_t OffsetBlockItemCount = 74;
    static constexpr std::size_t OffsetYStepEn = 75;
    static constexpr std::size_t OffsetYStep = 76;
    static constexpr std::size_t OffsetReserved = 77;
    static constexpr std::size_t OffsetItems = 81;
    static constexpr std::size_t ItemBytes = 8; // status, value, x lo/hi, y lo/hi, delay lo/hi
    static constexpr std::size_t OffsetLedBlocks = OffsetItems + MacroSlotCount * ItemBytes;
    static_assert(OffsetLedBlocks == 2281);
    static_assert(OffsetLedBlocks + LedBlockCount * LedBlockSize == 2621);
    static_assert(OffsetReserved + MacroReservedSize == OffsetItems);

    // Reads the text of a .dat file. Invalid, with the reason as detail and no bodies, for a
    // version other than 3 or a macro row that macroNum names but the file lacks.
    Outcome parse(std::string_view text, std::int32_t modelCode);

    int version() const { return version_; }
    bool locked() const { return locked_; }
    const std::vector<MacroData>& bodies() const { return bodies_; }

    // One row: group k (three decimal digits) is byte k; a group with a non-digit or cut off by
    // the row's end is 0, bytes past the row are 0, characters past RowCharacters are ignored.
    // A group above 255 keeps its low 8 bits.
    static std::vector<std::uint8_t> decodeRow(std::string_view row);
    // A decoded row as a macro body; item key values go through the model code's table.
    static MacroData bodyFromRow(const std::vector<std::uint8_t>& bytes, std::int32_t modelCode);
    // The header's UTF-16LE name up to its zero code unit, as UTF-8.
    static std::string headerName(const MacroData& body);

private:
    int version_ = 0;
    bool locked_ = false;
    std::vector<MacroData> bodies_;
};

} // namespace varnix
