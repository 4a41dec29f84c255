// SPDX-License-Identifier: GPL-3.0-or-later
// The part of the mouse image after the key tables: key parameters, macro directory, bodies.
//
// Layout (absolute device addresses):
//
//   0x0080 .. 0x00EF  key parameter table, 2 bytes per device key slot, profile-major:
//                     address 0x80 + (profile * 14 + slot) * 2.
//                       consumer key (type 15): usage low byte, usage high byte
//                       macro key (type 13, 14): directory entry number, 0
//                       any other key:           0, 0
//   0x00F0            number of directory entries (10 + user macros)
//   0x00F1 ...        directory, 10-byte entries. Entries 0..9 belong to the shortcut macros
//                     that function codes 40..49 play (entry = code - 40, taken from the mouse's
//                     shortcut list); entries 10 and up to the user macros bound to keys, in
//                     the order of their first key (profile 0 slot 0 upwards).
//                       0     flags: bit 0 entry holds a macro, bit 1 user macro
//                       1     repeat mode (rptType & 3)
//                       2, 3  repeat count, low, high (macRpt; 1 for modes 1 and 2)
//                       4, 5  body address, low, high
//                       6, 7  body length in bytes, low, high
//                       8, 9  body entries (length / 2), low, high
//   bodies            from the first multiple of 32 after the directory, one after another.
//
// A body is a list of 2-byte entries built in a 560-byte buffer; what does not fit is left out
// and reported. Delays count in units of 4 ms (a delay of d ms is d / 4 units, at least 1; the
// last item always waits 1 unit). An item's first byte carries its first delay run in bits 0..6
// and bit 7 for a press; a delay of 128 units or more continues in extra entries (run, 0) of at
// most 127 units each. Items:
//   key or mouse button, status 1/2  (press<<7 | run, value); other statuses send nothing
//   delay only (value 0)             (run, 0)
//   246 pointer move                 (run, 246), (X low, X high), (Y low, Y high); X < 0 left,
//                                    Y < 0 up; direction 3/4 left, 5/6 right, 4/6 up, 3/5 down
//   247 wheel                        (run, 247), (+x for status 7 or -x for status 8, 0)
//   248 DPI                          (run, 248), (level, status)
//   250 media                        (press<<7 | run, 250), (usage low, usage high); press is
//                                    status 12
//   249 LED and 251 data block items are keyboard features; the mouse skips them.
#pragma once

#include "device/ParameterImage.h"
#include "macro/MacroGroup.h"
#include "mouse/MouseDeviceValues.h"

#include <cstdint>
#include <string>
#include <vector>

namespace varnix {

namespace mousemacro {
inline constexpr int KeyTableAddress = 0x80;
inline constexpr int KeyTableEntrySize = 2;
inline constexpr int DirectoryCountAddress = 0xF0;
inline constexpr int DirectoryAddress = 0xF1;
inline constexpr int EntrySize = 10;
inline constexpr int ShortcutEntries = 10; // codes 40..49
inline constexpr int FirstShortcutCode = 40;
inline constexpr int BodyAlignment = 32;
inline constexpr std::size_t BodyBufferSize = 560;
inline constexpr int DelayUnitMs = 4;
inline constexpr int MaxDelayRun = 127;
inline constexpr std::uint8_t PressBit = 0x80;
// Entry fields.
inline constexpr int EntryFlags = 0;
inline constexpr int EntryRepeatMode = 1;
inline constexpr int EntryRepeatCount = 2;
inline constexpr int EntryBodyAddress = 4;
inline constexpr int EntryBodyLength = 6;
inline constexpr int EntryBodyEntries = 8;
inline constexpr std::uint8_t FlagPresent = 0x01;
inline constexpr std::uint8_t FlagUserMacro = 0x02;
} // namespace mousemacro

static_assert(mousemacro::KeyTableAddress + mousemodel::ProfileCount * mousedevice::SlotCount *
                                                mousemacro::KeyTableEntrySize ==
                  mousemacro::DirectoryCountAddress,
              "the directory follows the key parameter table");

// One encoded body.
struct MouseMacroBody {
    std::vector<std::uint8_t> bytes;
    bool truncated = false; // items left out because the buffer was full
};

class MouseMacroArea {
public:
    // Encodes a macro into a body of at most 560 bytes.
    static MouseMacroBody encodeBody(const MacroData& data);

    // Adds the key parameter table, the directory and the bodies to the image. `macros` are the
    // groups the keys' GUIDs refer to, `shortcuts` the shortcut list (entry i for code 40 + i).
    // Returns one line per body that did not fit its buffer.
    static std::vector<std::string> add(ParameterImage& image, const MouseDeviceValues& values,
                                        const std::vector<MacroGroup>& macros,
                                        const std::vector<MacroRecord>& shortcuts);
};

} // namespace varnix
