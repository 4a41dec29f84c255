// SPDX-License-Identifier: GPL-3.0-or-later
// The .dat files of every family were written by the family's Windows tool, which records keys as
// Windows virtual-key codes; table A turns those into HID keyboard usages:
//  - 0..7 (no key and the mouse-button virtual keys), 223..239 (OEM codes without a fixed key)
//    and 245..255 (the macro item kinds pointer move, wheel, DPI, LED, media, data block and the
//    values above them) are kept as they are.
//  - 241..244 are kept too: in a macro they are the mouse buttons, shared by every family.
//  - every virtual key with a key on the HID keyboard page gets that usage (letters, digits,
//    F1..F24, navigation, keypad, modifiers with their left/right forms, OEM punctuation of the
//    US layout, IME keys, volume keys);
//  - a virtual key without one (browser and media launch keys, sleep, unassigned codes) becomes
//    0xFF, the store's "key without a usage", never a different key.
// Tables B..M belong to families of which no .dat sample or key list is known to differ from
// table A; they start as copies of it and each can take its own rows below without touching the
// others.
#include "macro/DatKeyTables.h"

namespace varnix {
namespace {

constexpr std::uint8_t NoUsage = 0xFF;

constexpr DatKeyTable makeVirtualKeyTable() {
    DatKeyTable t{};
    for (int v = 0; v < 256; ++v)
        t[v] = NoUsage;
    for (int v = 0; v <= 7; ++v)
        t[v] = static_cast<std::uint8_t>(v);
    for (int v = 223; v <= 239; ++v)
        t[v] = static_cast<std::uint8_t>(v);
    for (int v = 241; v <= 255; ++v)
        t[v] = static_cast<std::uint8_t>(v);
    t[0x08] = 0x2A; // Backspace
    t[0x09] = 0x2B; // Tab
    t[0x0C] = 0x9C; // Clear
    t[0x0D] = 0x28; // Enter
    t[0x10] = 0xE1; // Shift
    t[0x11] = 0xE0; // Ctrl
    t[0x12] = 0xE2; // Alt
    t[0x13] = 0x48; // Pause
    t[0x14] = 0x39; // Caps Lock
    t[0x15] = 0x90; // Kana / Hangul: LANG1
    t[0x19] = 0x91; // Kanji / Hanja: LANG2
    t[0x1B] = 0x29; // Escape
    t[0x1C] = 0x8A; // Convert: International4
    t[0x1D] = 0x8B; // Non-convert: International5
    t[0x20] = 0x2C; // Space
    t[0x21] = 0x4B; // Page Up
    t[0x22] = 0x4E; // Page Down
    t[0x23] = 0x4D; // End
    t[0x24] = 0x4A; // Home
    t[0x25] = 0x50; // Left
    t[0x26] = 0x52; // Up
    t[0x27] = 0x4F; // Right
    t[0x28] = 0x51; // Down
    t[0x29] = 0x77; // Select
    t[0x2B] = 0x74; // Execute
    t[0x2C] = 0x46; // Print Screen
    t[0x2D] = 0x49; // Insert
    t[0x2E] = 0x4C; // Delete
    t[0x2F] = 0x75; // Help
    t[0x30] = 0x27; // 0
    for (int v = 0x31; v <= 0x39; ++v)
        t[v] = static_cast<std::uint8_t>(0x1E + (v - 0x31)); // 1..9
    for (int v = 0x41; v <= 0x5A; ++v)
        t[v] = static_cast<std::uint8_t>(0x04 + (v - 0x41)); // A..Z
    t[0x5B] = 0xE3;                                          // left Windows
    t[0x5C] = 0xE7;                                          // right Windows
    t[0x5D] = 0x65;                                          // Application
    t[0x60] = 0x62;                                          // keypad 0
    for (int v = 0x61; v <= 0x69; ++v)
        t[v] = static_cast<std::uint8_t>(0x59 + (v - 0x61)); // keypad 1..9
    t[0x6A] = 0x55;                                          // keypad *
    t[0x6B] = 0x57;                                          // keypad +
    t[0x6C] = 0x85;                                          // keypad separator
    t[0x6D] = 0x56;                                          // keypad -
    t[0x6E] = 0x63;                                          // keypad .
    t[0x6F] = 0x54;                                          // keypad /
    for (int v = 0x70; v <= 0x7B; ++v)
        t[v] = static_cast<std::uint8_t>(0x3A + (v - 0x70)); // F1..F12
    for (int v = 0x7C; v <= 0x87; ++v)
        t[v] = static_cast<std::uint8_t>(0x68 + (v - 0x7C)); // F13..F24
    t[0x90] = 0x53;                                          // Num Lock
    t[0x91] = 0x47;                                          // Scroll Lock
    t[0xA0] = 0xE1;                                          // left Shift
    t[0xA1] = 0xE5;                                          // right Shift
    t[0xA2] = 0xE0;                                          // left Ctrl
    t[0xA3] = 0xE4;                                          // right Ctrl
    t[0xA4] = 0xE2;                                          // left Alt
    t[0xA5] = 0xE6;                                          // right Alt
    t[0xAD] = 0x7F;                                          // Mute
    t[0xAE] = 0x81;                                          // Volume Down
    t[0xAF] = 0x80;                                          // Volume Up
    t[0xBA] = 0x33;                                          // ;
    t[0xBB] = 0x2E;                                          // =
    t[0xBC] = 0x36;                                          // ,
    t[0xBD] = 0x2D;                                          // -
    t[0xBE] = 0x37;                                          // .
    t[0xBF] = 0x38;                                          // /
    t[0xC0] = 0x35;                                          // `
    t[0xDB] = 0x2F;                                          // [
    t[0xDC] = 0x31;                                          // backslash
    t[0xDD] = 0x30;                                          // ]
    t[0xDE] = 0x34;                                          // '
    return t;
}

constexpr DatKeyTable TableA = makeVirtualKeyTable();
// B..M: see the file comment; a family's own rows go into its copy here.
constexpr DatKeyTable TableB = TableA;
constexpr DatKeyTable TableC = TableA;
constexpr DatKeyTable TableD = TableA;
constexpr DatKeyTable TableE = TableA;
constexpr DatKeyTable TableF = TableA;
constexpr DatKeyTable TableG = TableA;
constexpr DatKeyTable TableH = TableA;
constexpr DatKeyTable TableI = TableA;
constexpr DatKeyTable TableJ = TableA;
constexpr DatKeyTable TableK = TableA;
constexpr DatKeyTable TableL = TableA;
constexpr DatKeyTable TableM = TableA;

constexpr std::int32_t AllZeroModelCode = 8;

DatKeyChoice tableChoice(char name, const DatKeyTable& table) {
    return {DatKeyConversion::Table, name, &table};
}

} // namespace

DatKeyChoice datKeyChoiceFor(std::int32_t modelCode) {
    switch (modelCode) {
    case 0:
    case 1:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 17:
    case 19:
        return tableChoice('A', TableA);
    case 2:
        return tableChoice('B', TableB);
    case 3:
        return tableChoice('C', TableC);
    case 4:
        return tableChoice('D', TableD);
    case 5:
    case 6:
        return tableChoice('E', TableE);
    case 7:
        return tableChoice('F', TableF);
    case AllZeroModelCode:
        return {DatKeyConversion::AllZero, 0, nullptr};
    case 9:
        return tableChoice('G', TableG);
    case 15:
        return tableChoice('H', TableH);
    case 16:
        return tableChoice('I', TableI);
    case 18:
        return tableChoice('J', TableJ);
    case 20:
        return tableChoice('K', TableK);
    case 21:
        return tableChoice('L', TableL);
    case 22:
        return tableChoice('M', TableM);
    default:
        return {DatKeyConversion::Unchanged, 0, nullptr};
    }
}

std::uint8_t convertDatKeyValue(std::int32_t modelCode, std::uint8_t value) {
    const DatKeyChoice choice = datKeyChoiceFor(modelCode);
    switch (choice.conversion) {
    case DatKeyConversion::Table:
        return (*choice.map)[value];
    case DatKeyConversion::AllZero:
        return 0;
    case DatKeyConversion::Unchanged:
        break;
    }
    return value;
}

} // namespace varnix
