// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a keyboard image in 8-byte blocks up to its last byte, within the memory capacity.
#pragma once

#include "device/ApplyWriter.h"
#include "device/ImageWriteOut.h"

#include <functional>

namespace varnix {

// Highest usable memory address when the feature profile names none.
inline constexpr int DefaultEepCapacity = 2047;
// The top of the memory the image must leave free.
inline constexpr int KeyboardCapacityReserve = 72;

class KeyboardWriter final : public ApplyWriter {
public:
    static constexpr int BlockSize = SmallBlockSize;

    // capacity: the model's memory capacity (feature profile "EEP_CAP").
    KeyboardWriter(FindDev& device, ImageSource source, int capacity = DefaultEepCapacity);
    KeyboardWriter(FindDev& device, ParameterImage image, int capacity = DefaultEepCapacity);

    // Runs after activation of a complete write-out; the keyboard model remembers there what the
    // device now holds.
    void setCompletion(std::function<void()> completion) { completion_ = std::move(completion); }

    // The write-out stops after the last image byte; that address must not pass capacity - 72.
    static int stopOf(const ParameterImage& image) { return image.endAddress(); }
    static bool fits(const ParameterImage& image, int capacity);

protected:
    int blockSize() const override { return BlockSize; }
    int stopPosition(const ParameterImage& image) const override { return stopOf(image); }
    std::optional<std::string> whyTooLarge(const ParameterImage& image) const override;
    void completion() override;

private:
    int capacity_;
    std::function<void()> completion_;
};

} // namespace varnix
