// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/PadWriter.h"

#include "device/ImageWriteOut.h"

#include <algorithm>

namespace varnix {

PadWriter::PadWriter(FindDev& device, ImageSource source)
    : ApplyWriter(device, std::move(source)) {}

PadWriter::PadWriter(FindDev& device, ParameterImage image)
    : PadWriter(device, fixedImage(std::move(image))) {}

std::array<std::uint8_t, pad_identity::ProductStringSize>
PadWriter::productStringBytes(const std::string& product) {
    std::size_t length = std::min(product.size(), pad_identity::ProductStringMaxLength);
    // Never keep half of a multi-byte character: step back over continuation bytes.
    if (length < product.size())
        while (length > 0 && (static_cast<unsigned char>(product[length]) & 0xC0) == 0x80)
            --length;
    std::array<std::uint8_t, pad_identity::ProductStringSize> bytes{};
    std::copy_n(product.begin(), length, bytes.begin());
    return bytes;
}

std::optional<PadWriter::Identity> PadWriter::queryIdentity() {
    Identity identity;
    if (!device().QueryProductInfo(identity.product, identity.pid, identity.vid))
        return std::nullopt;
    return identity;
}

void PadWriter::restoreIdentity(const Identity& identity) {
    const auto product = productStringBytes(identity.product);
    for (std::size_t offset = 0; offset < product.size(); offset += SmallBlockSize)
        device().WriteBlock(pad_identity::ProductStringAddress + static_cast<int>(offset),
                            std::span(product).subspan(offset, SmallBlockSize));
    const std::array<std::uint8_t, pad_identity::IdsSize> ids{
        static_cast<std::uint8_t>(identity.pid & 0xFF),
        static_cast<std::uint8_t>((identity.pid >> 8) & 0xFF),
        static_cast<std::uint8_t>(identity.vid & 0xFF),
        static_cast<std::uint8_t>((identity.vid >> 8) & 0xFF)};
    device().WriteBlock(pad_identity::IdsAddress, ids);
}

void PadWriter::beforeImage() {
    // Without a first reading there is nothing trustworthy to restore, so no restore then.
    kept_ = queryIdentity();
}

void PadWriter::completion() {
    const std::optional<Identity> now = queryIdentity();
    if (kept_ && now && *now != *kept_)
        restoreIdentity(*kept_);
}

} // namespace varnix
