// SPDX-License-Identifier: GPL-3.0-or-later
// Recording a macro from the keyboard: key events in, press and release items with delays out.
#pragma once

#include "common/Clock.h"
#include "common/Outcome.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace varnix {

class MacroStore;

// One recorded item, as it goes into a macro's item slots (macSta, macVal, macDly; the extra
// values of a recorded item are always (0, 0)).
struct RecordedItem {
    std::uint8_t status = 0; // 1 = press, 2 = release
    std::uint8_t value = 0;  // HID keyboard usage, 0xFF for a key without one
    std::uint16_t delay = 0; // milliseconds until the next item
    bool operator==(const RecordedItem&) const = default;
};

// What a finished recording leaves: the items for the current macro, which then gets
// num = items.size(), repeat count 1 and no pointer-move, wheel, DPI or media items.
struct RecordingResult {
    std::vector<RecordedItem> items;
    bool stoppedByLimit = false; // the record check box is cleared and "RecordWarn" shown
};

class MacroRecorder {
public:
    static constexpr int kMaxItems = 110;
    static constexpr int kMaxPresses = 55;
    static constexpr int kHeldKeySlots = 9;
    static constexpr std::uint16_t kLastItemDelayMs = 20;
    static constexpr std::uint16_t kMaxDelayMs = 65535;
    static constexpr std::uint8_t kPressStatus = 1;
    static constexpr std::uint8_t kReleaseStatus = 2;
    // RecordKeyEvent's answers besides a key name.
    static constexpr const char* kErrorResult = "Error"; // event ignored
    static constexpr const char* kOverResult = "Over";   // limit reached: stop recording

    // Keyboard messages as the keyboard grab forwards them.
    enum KeyMessage : int {
        KeyDown = 256,
        KeyUp = 257,
        SystemKeyDown = 260,
        SystemKeyUp = 261,
    };

    // What is selected in the macro tree when recording is asked for.
    enum class Selection { Nothing, Group, Macro };
    enum class StartOutcome {
        NothingSelected,  // nothing happens; the record box stays checked
        NotAMacro,        // the page shows "SelMacro"; the record box stays checked
        StoppedRecording, // recording ran and was stopped by the user
        Started,
    };

    using KeyNameFunction = std::function<std::string(int scanCode)>;

    // Delays come from `clock`'s time of day; names from `keyName` (KeyNameForScanCode under
    // the active layout when empty).
    explicit MacroRecorder(Clock& clock = systemClock(), KeyNameFunction keyName = {});

    // The record button: starts recording on a selected macro, or stops a running recording
    // (then `stopped`, when given, receives its result).
    StartOutcome startRecording(Selection selected, RecordingResult* stopped = nullptr);
    // Ends recording, by the user or because RecordKeyEvent answered "Over".
    RecordingResult stopRecording(bool byLimit);
    bool isRecording() const { return recording_; }

    // Appends one key event (set-1 scan code, keyboard message) to the recording. Returns the
    // key's name, "Error" when the event is ignored (a repeat of the previous event, a release
    // whose press was not recorded, a tenth key held down, another message) or "Over" when
    // 110 items or 55 presses are recorded already.
    std::string RecordKeyEvent(int scanCode, int message);

    // Recording state.
    int itemCount() const { return itemCount_; }
    int lastIndex() const { return lastIndex_; }
    int heldCount() const { return heldCount_; }
    int pressCount() const { return pressCount_; }
    const std::array<int, kHeldKeySlots>& heldKeys() const { return heldKeys_; }
    // The items recorded so far.
    std::vector<RecordedItem> items() const;

private:
    void resetState();

    Clock& clock_;
    KeyNameFunction keyName_;
    bool recording_ = false;
    int itemCount_ = 0;
    int lastIndex_ = 0;
    int heldCount_ = 0;
    int pressCount_ = 0;
    std::array<int, kHeldKeySlots> heldKeys_{};
    std::array<RecordedItem, kMaxItems> items_{};
    // The previous accepted event and its time of day; the time carries over between
    // recordings, the event is forgotten when a recording starts.
    std::uint32_t lastEventTime_ = 0;
    int lastScanCode_ = -1;
    int lastMessage_ = -1;
};

// Puts a finished recording into the store's current macro, which is macro m of group g:
// items 0..n-1 become the recorded ones (slots after them keep what they held), num = n,
// repeat once ("opt_Macro_CycleTimes", count 1), no pointer-move, wheel, DPI or media items;
// then the macro is stored and the file saved; the store's outcome says whether it could.
Outcome applyRecording(MacroStore& store, int g, int m, const RecordingResult& recording);

} // namespace varnix
