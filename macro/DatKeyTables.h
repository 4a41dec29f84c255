// SPDX-License-Identifier: GPL-3.0-or-later
// Key value conversion of .dat macro items: the device family's key code -> HID keyboard usage.
#pragma once

#include <array>
#include <cstdint>

namespace varnix {

using DatKeyTable = std::array<std::uint8_t, 256>;

// Which conversion a model code selects.
enum class DatKeyConversion { Table, AllZero, Unchanged };

struct DatKeyChoice {
    DatKeyConversion conversion = DatKeyConversion::Unchanged;
    char table = 0; // 'A'..'M' for DatKeyConversion::Table
    const DatKeyTable* map = nullptr;
};

// The table for a model code: 0, 1, 10..14, 17, 19 -> A; 2 B; 3 C; 4 D; 5, 6 E; 7 F; 8 every
// value 0; 9 G; 15 H; 16 I; 18 J; 20 K; 21 L; 22 M; any other code leaves values unchanged.
DatKeyChoice datKeyChoiceFor(std::int32_t modelCode);

// The HID usage for a .dat item's key value under the model code's conversion.
std::uint8_t convertDatKeyValue(std::int32_t modelCode, std::uint8_t value);

} // namespace varnix
