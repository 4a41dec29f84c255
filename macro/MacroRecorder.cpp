// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/MacroRecorder.h"

#include "macro/KeyNames.h"
#include "macro/MacroStore.h"
#include "macro/ScanCodes.h"

#include <algorithm>

namespace varnix {

namespace {

bool isKeyDown(int message) {
    return message == MacroRecorder::KeyDown || message == MacroRecorder::SystemKeyDown;
}

bool isKeyUp(int message) {
    return message == MacroRecorder::KeyUp || message == MacroRecorder::SystemKeyUp;
}

} // namespace

MacroRecorder::MacroRecorder(Clock& clock, KeyNameFunction keyName)
    : clock_(clock), keyName_(std::move(keyName)) {
    if (!keyName_)
        keyName_ = [](int scanCode) { return KeyNameForScanCode(scanCode); };
}

void MacroRecorder::resetState() {
    itemCount_ = 0;
    heldCount_ = 0;
    pressCount_ = 0;
    heldKeys_.fill(0);
    // A key still down when the last recording stopped must not make its next press look
    // like an auto-repeat.
    lastScanCode_ = -1;
    lastMessage_ = -1;
}

MacroRecorder::StartOutcome MacroRecorder::startRecording(Selection selected,
                                                          RecordingResult* stopped) {
    if (selected == Selection::Nothing)
        return StartOutcome::NothingSelected;
    if (selected != Selection::Macro)
        return StartOutcome::NotAMacro;
    if (recording_) {
        RecordingResult result = stopRecording(false);
        if (stopped)
            *stopped = std::move(result);
        return StartOutcome::StoppedRecording;
    }
    resetState();
    recording_ = true;
    return StartOutcome::Started;
}

RecordingResult MacroRecorder::stopRecording(bool byLimit) {
    recording_ = false;
    return RecordingResult{items(), byLimit};
}

std::vector<RecordedItem> MacroRecorder::items() const {
    return {items_.begin(), items_.begin() + itemCount_};
}

std::string MacroRecorder::RecordKeyEvent(int scanCode, int message) {
    const bool down = isKeyDown(message);
    if (!down && !isKeyUp(message))
        return kErrorResult;
    if (scanCode == lastScanCode_ && message == lastMessage_)
        return kErrorResult;
    if (itemCount_ >= kMaxItems || (pressCount_ >= kMaxPresses && down))
        return kOverResult;

    const int i = itemCount_;
    RecordedItem item;
    item.value = ScanCodeToUsage(scanCode);
    if (down) {
        // The table holds nine keys; a tenth key held at once is ignored like a release
        // whose press was not recorded, and so is its release later.
        if (heldCount_ >= kHeldKeySlots)
            return kErrorResult;
        heldKeys_[static_cast<std::size_t>(heldCount_++)] = scanCode;
        ++pressCount_;
        item.status = kPressStatus;
    } else {
        auto held = heldKeys_.begin() + heldCount_;
        auto found = std::find(heldKeys_.begin(), held, scanCode);
        if (found == held)
            return kErrorResult;
        std::copy(found + 1, held, found);
        heldKeys_[static_cast<std::size_t>(--heldCount_)] = 0;
        item.status = kReleaseStatus;
    }

    const std::uint32_t now = clock_.timeOfDayMs();
    std::int64_t gap = static_cast<std::int64_t>(now) - lastEventTime_;
    if (gap < 0)
        gap += Clock::kMsPerDay; // midnight passed
    gap = std::min<std::int64_t>(gap, kMaxDelayMs);
    lastEventTime_ = now;

    if (i > 0)
        items_[static_cast<std::size_t>(i - 1)].delay = static_cast<std::uint16_t>(gap);
    item.delay = kLastItemDelayMs;
    items_[static_cast<std::size_t>(i)] = item;

    lastIndex_ = i;
    itemCount_ = i + 1;
    lastScanCode_ = scanCode;
    lastMessage_ = message;
    return keyName_(scanCode);
}

Outcome applyRecording(MacroStore& store, int g, int m, const RecordingResult& recording) {
    MacroData& data = store.current.data;
    const std::size_t count =
        std::min<std::size_t>(recording.items.size(), MacroRecorder::kMaxItems);
    for (std::size_t i = 0; i < count; ++i) {
        const RecordedItem& item = recording.items[i];
        data.macSta[i] = item.status;
        data.macVal[i] = item.value;
        data.macDly[i] = item.delay;
        data.extVal[i] = MacroExtValue{};
    }
    data.num = static_cast<std::uint16_t>(count);
    data.macRpt = 1;
    data.numXY = 0;
    data.numWhl = 0;
    data.numCpi = 0;
    data.numMedia = 0;
    return store.SetMacroRepeat(g, m, MacroStore::OptionCycleTimes, 1);
}

} // namespace varnix
