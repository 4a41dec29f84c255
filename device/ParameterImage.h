// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes one apply writes: an ordered map from device address to byte.
#pragma once

#include "common/Outcome.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace varnix {

class ParameterImage {
public:
    using Entries = std::map<int, std::uint8_t>;

    // Enters a byte; an address entered before keeps its first value and the call returns false.
    bool add(int address, std::uint8_t value);
    std::optional<std::uint8_t> at(int address) const;
    bool contains(int address) const { return entries_.contains(address); }

    // The number of entries: the total the progress percentage is measured against.
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // The first address after the last entry; 0 for an empty image.
    int endAddress() const;

    // The text form: one "ADDR BYTE" pair of hex numbers (no prefix) per line, '#' starts a
    // comment, blank lines are skipped; addresses 0..FFFF, bytes 0..FF. A bad line gives no
    // image but Invalid, with "line N: why" as detail.
    static Expected<ParameterImage> fromText(const std::string& text);
    // One "AAAA BB" line per entry, in address order.
    std::string toText() const;

    const Entries& entries() const { return entries_; }
    bool operator==(const ParameterImage&) const = default;
    Entries::const_iterator begin() const { return entries_.begin(); }
    Entries::const_iterator end() const { return entries_.end(); }

private:
    Entries entries_;
};

} // namespace varnix
