// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a pad image (addresses 0..1023, 8-byte blocks) and keeps the pad's USB identity.
#pragma once

#include "device/ApplyWriter.h"
#include "device/ImageWriteOut.h"

#include <array>
#include <cstdint>
#include <string>

namespace varnix {

// The pad image covers addresses 0..1023.
inline constexpr int PadStopPosition = 1024;

// Where the pad keeps its identity in parameter memory.
namespace pad_identity {
// Product string: 31 bytes and a terminating zero, zero-filled, in four 8-byte blocks.
inline constexpr int ProductStringAddress = 0xE0;
inline constexpr std::size_t ProductStringSize = 32;
inline constexpr std::size_t ProductStringMaxLength = ProductStringSize - 1;
// PID low, PID high, VID low, VID high.
inline constexpr int IdsAddress = 3;
inline constexpr std::size_t IdsSize = 4;
} // namespace pad_identity

class PadWriter final : public ApplyWriter {
public:
    static constexpr int BlockSize = SmallBlockSize;

    PadWriter(FindDev& device, ImageSource source);
    PadWriter(FindDev& device, ParameterImage image);

    // The product string as the pad stores it: UTF-8 cut to 31 bytes on a character boundary,
    // zero-filled to 32.
    static std::array<std::uint8_t, pad_identity::ProductStringSize>
    productStringBytes(const std::string& product);

    static int stopOf(const ParameterImage&) { return PadStopPosition; }

protected:
    int blockSize() const override { return BlockSize; }
    int stopPosition(const ParameterImage& image) const override { return stopOf(image); }
    std::optional<std::string> whyTooLarge(const ParameterImage&) const override {
        return std::nullopt;
    }
    // Reads the identity before the image is built and, after activation, restores it when the
    // image changed it.
    void beforeImage() override;
    void completion() override;

private:
    struct Identity {
        std::string product;
        int pid = 0;
        int vid = 0;
        bool operator==(const Identity&) const = default;
    };
    std::optional<Identity> queryIdentity();
    void restoreIdentity(const Identity& identity);

    std::optional<Identity> kept_;
};

} // namespace varnix
