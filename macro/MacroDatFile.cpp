// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroDatFile.h"

#include "common/Diagnostics.h"
#include "common/IniFile.h"
#include "common/Utf16.h"
#include "macro/DatKeyTables.h"

#include <algorithm>
#include <cstdint>

namespace varnix {
namespace {

std::uint16_t word(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

} // namespace

std::vector<std::uint8_t> MacroDatFile::decodeRow(std::string_view row) {
    std::vector<std::uint8_t> bytes(RowBytes, 0);
    row = row.substr(0, std::min(row.size(), RowCharacters));
    for (std::size_t k = 0; k < RowBytes && 3 * k + 3 <= row.size(); ++k) {
        unsigned value = 0;
        bool digits = true;
        for (std::size_t i = 3 * k; i < 3 * k + 3; ++i) {
            if (row[i] < '0' || row[i] > '9') {
                digits = false;
                break;
            }
            value = value * 10 + static_cast<unsigned>(row[i] - '0');
        }
        bytes[k] = digits ? static_cast<std::uint8_t>(value & 0xFF) : 0;
    }
    return bytes;
}

MacroData MacroDatFile::bodyFromRow(const std::vector<std::uint8_t>& bytes,
                                    std::int32_t modelCode) {
    MacroData body;
    std::copy_n(bytes.begin() + OffsetHeader, MacroHeaderSize, body.header.begin());
    body.rptType = bytes[OffsetRptType];
    body.macRpt = word(bytes, OffsetMacRpt);
    // A count above the slots would send later code past them.
    body.num = std::min<std::uint16_t>(word(bytes, OffsetNum), MacroSlotCount);
    body.numXY = word(bytes, OffsetNumXY);
    body.numWhl = word(bytes, OffsetNumWhl);
    body.numCpi = word(bytes, OffsetNumCpi);
    body.numMedia = word(bytes, OffsetNumMedia);
    body.numLed = bytes[OffsetNumLed];
    body.blockItemCount = bytes[OffsetBlockItemCount];
    body.YStepEn = bytes[OffsetYStepEn];
    body.YStep = bytes[OffsetYStep];
    std::copy_n(bytes.begin() + OffsetReserved, MacroReservedSize, body.reserved.begin());
    for (std::size_t k = 0; k < MacroSlotCount; ++k) {
        const std::size_t at = OffsetItems + ItemBytes * k;
        body.macSta[k] = bytes[at];
        body.macVal[k] = convertDatKeyValue(modelCode, bytes[at + 1]);
        body.extVal[k].x = word(bytes, at + 2);
        body.extVal[k].y = word(bytes, at + 4);
        body.macDly[k] = word(bytes, at + 6);
    }
    for (std::size_t b = 0; b < LedBlockCount; ++b)
        std::copy_n(bytes.begin() + OffsetLedBlocks + b * LedBlockSize, LedBlockSize,
                    body.ledBlocks[b].begin());
    return body;
}

std::string MacroDatFile::headerName(const MacroData& body) {
    std::u16string name;
    for (std::size_t i = 0; i + 1 < MacroHeaderSize; i += 2) {
        const auto unit = static_cast<char16_t>(body.header[i] | (body.header[i + 1] << 8));
        if (unit == 0)
            break;
        name += unit;
    }
    return utf16ToUtf8(name);
}

Outcome MacroDatFile::parse(std::string_view text, std::int32_t modelCode) {
    bodies_.clear();
    const IniFile ini = IniFile::fromText(text);
    version_ = ini.getInt(SectionInit, KeyVersion);
    if (version_ != SupportedVersion)
        return Outcome::failure(Status::Invalid,
                                formatText("DAT_VER is %d; only version %d can be imported",
                                           version_, SupportedVersion));
    locked_ = ini.getString(SectionInit, KeyMarker) == LockMarker;
    // macroNum is a signed 16-bit number; 0 or less means no macros. A count the field cannot
    // hold is refused rather than cut to 16 bits, and so is one above what an import may add.
    const int declared = ini.getInt(SectionMacros, KeyMacroCount);
    if (declared < INT16_MIN || declared > INT16_MAX)
        return Outcome::failure(Status::Invalid,
                                formatText("macroNum %d does not fit its 16-bit field", declared));
    const int count = declared;
    if (count > MaxImportedMacros)
        return Outcome::failure(Status::Refused,
                                formatText("macroNum is %d; one import adds at most %d macros",
                                           count, MaxImportedMacros));
    // Only rows the file holds are imported: a count beyond them refuses the file.
    for (int i = 0; i < count; ++i) {
        const std::string key = std::to_string(i);
        if (!ini.hasKey(SectionMacros, key)) {
            bodies_.clear();
            return Outcome::failure(
                Status::Invalid,
                formatText("macroNum is %d but there is no macro row %d", count, i));
        }
        bodies_.push_back(bodyFromRow(
            decodeRow(ini.getString(SectionMacros, key, {}, RowCharacters + 1)), modelCode));
    }
    return Outcome::done();
}

} // namespace varnix
