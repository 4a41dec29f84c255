// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ParameterImage.h"

#include "common/Diagnostics.h"

#include <charconv>
#include <sstream>

namespace varnix {

namespace {

// Limits of the text form.
constexpr unsigned long MaxTextAddress = 0xFFFF;
constexpr unsigned long MaxTextByte = 0xFF;
constexpr char CommentMark = '#';

std::optional<unsigned long> parseHex(const std::string& text) {
    unsigned long value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value, 16);
    if (text.empty() || error != std::errc() || end != last)
        return std::nullopt;
    return value;
}

} // namespace

bool ParameterImage::add(int address, std::uint8_t value) {
    return entries_.try_emplace(address, value).second;
}

std::optional<std::uint8_t> ParameterImage::at(int address) const {
    const auto entry = entries_.find(address);
    if (entry == entries_.end())
        return std::nullopt;
    return entry->second;
}

int ParameterImage::endAddress() const {
    return entries_.empty() ? 0 : entries_.rbegin()->first + 1;
}

Expected<ParameterImage> ParameterImage::fromText(const std::string& text) {
    ParameterImage image;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream fields(line.substr(0, line.find(CommentMark)));
        std::string address;
        std::string value;
        std::string extra;
        if (!(fields >> address))
            continue;
        const std::string where = formatText("line %d: ", number);
        if (!(fields >> value) || (fields >> extra))
            return Outcome::failure(Status::Invalid,
                                    where + "expected ADDR BYTE (two hex numbers)");
        const auto parsedAddress = parseHex(address);
        if (!parsedAddress || *parsedAddress > MaxTextAddress)
            return Outcome::failure(Status::Invalid, where + "address \"" + address +
                                                         "\" is not a hex number 0..FFFF");
        const auto parsedValue = parseHex(value);
        if (!parsedValue || *parsedValue > MaxTextByte)
            return Outcome::failure(Status::Invalid,
                                    where + "byte \"" + value + "\" is not a hex number 0..FF");
        image.add(static_cast<int>(*parsedAddress), static_cast<std::uint8_t>(*parsedValue));
    }
    return image;
}

std::string ParameterImage::toText() const {
    std::string text;
    for (const auto& [address, value] : entries_)
        text += formatText("%04X %02X\n", static_cast<unsigned>(address), value);
    return text;
}

} // namespace varnix
