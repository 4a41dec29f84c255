// SPDX-License-Identifier: GPL-3.0-or-later
// Reading JSON files that come from outside: a bounded nesting depth and checked numbers.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <string_view>
#include <type_traits>

namespace varnix {

// Far above anything the program writes (its files nest a handful of levels).
inline constexpr int MaxJsonDepth = 256;

// The nesting depth of the arrays and objects in a JSON text (strings skipped).
int jsonNestingDepth(std::string_view text);

// nlohmann::json::parse after a depth check: a deeper text is refused with a parse_error
// ("nesting deeper than 256 levels"), like any other unreadable file.
template <class Json = nlohmann::json> Json parseJson(std::string_view text) {
    if (jsonNestingDepth(text) > MaxJsonDepth)
        throw Json::parse_error::create(
            113, 0, "nesting deeper than " + std::to_string(MaxJsonDepth) + " levels", nullptr);
    return Json::parse(text);
}

// A number of an outside file converted to T. Booleans and integers convert as nlohmann does;
// an integer that does not fit T's width (as a signed or an unsigned value) and a floating value
// whose whole part does not fit T are a type_error naming the value. Non-numbers keep the
// library's own type_error.
template <class T, class Json> T jsonNumber(const Json& value) {
    static_assert(std::is_integral_v<T> && !std::is_same_v<T, bool>);
    using Signed = std::make_signed_t<T>;
    using Unsigned = std::make_unsigned_t<T>;
    auto refuse = [&]() -> T {
        throw Json::type_error::create(302, "number " + value.dump() + " does not fit", &value);
    };
    if (value.is_number_unsigned()) {
        if (value.template get<std::uint64_t>() > std::numeric_limits<Unsigned>::max())
            return refuse();
    } else if (value.is_number_integer()) {
        const std::int64_t v = value.template get<std::int64_t>();
        if (v < std::numeric_limits<Signed>::min() ||
            (v > 0 && static_cast<std::uint64_t>(v) > std::numeric_limits<Unsigned>::max()))
            return refuse();
    } else if (value.is_number_float()) {
        const double v = std::trunc(value.template get<double>());
        // Both bounds are exact powers of two as doubles; the upper one is exclusive.
        const double low = static_cast<double>(std::numeric_limits<T>::min());
        const double high = std::ldexp(1.0, std::numeric_limits<T>::digits);
        if (!(v >= low && v < high))
            return refuse();
    }
    return value.template get<T>();
}

} // namespace varnix
