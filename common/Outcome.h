// SPDX-License-Identifier: GPL-3.0-or-later
// How a core operation ended: a status, the language keys of what the user is to be told, and a
// detail line for the debug channel or a command line. Pages turn it into message boxes.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace varnix {

enum class Status {
    Done,        // the operation did what was asked
    Created,     // a missing file was created with the defaults (a success)
    Missing,     // a file to read cannot be opened; nothing changed
    Invalid,     // the input does not parse or holds a wrong type; nothing changed
    NoName,      // an exchange file without its model name
    OtherModel,  // an exchange file made for another model
    WriteFailed, // the target could not be written; it is unchanged
    Refused,     // a rule of the model refuses the change; nothing changed
    TooLarge,    // an image does not fit the device; nothing was written
    Abandoned,   // an image could not be built; nothing was written
    DeviceGone,  // the device went away during a write-out, which stopped there
    Failed,      // any other failure (see detail)
};

// Language keys used by several outcomes.
namespace messagekey {
inline constexpr const char* Error = "Error";
inline constexpr const char* Tip = "Tip";
inline constexpr const char* ImportErr = "ImportErr";
inline constexpr const char* MaxDataWarn = "maxDataWarn";
inline constexpr const char* ApplyErr = "ApplyErr";
} // namespace messagekey

struct Outcome {
    Status status = Status::Done;
    // What to show: the language key of the message and of its title. Empty messageKey: nothing
    // to show. A successful outcome may carry a notice (the change was made, the user is told
    // about a limit). A key that the language file lacks is shown as written.
    std::string messageKey;
    std::string titleKey;
    // The reason in words, for the debug channel or a command line; never shown in a popup.
    std::string detail;

    bool ok() const { return status == Status::Done || status == Status::Created; }
    explicit operator bool() const { return ok(); }
    bool hasMessage() const { return !messageKey.empty(); }

    static Outcome done() { return {}; }
    // A success the user is told about.
    static Outcome notice(std::string titleKey, std::string messageKey, std::string detail = {}) {
        return {Status::Done, std::move(messageKey), std::move(titleKey), std::move(detail)};
    }
    // A failure without a message box: the detail goes to the debug channel.
    static Outcome failure(Status status, std::string detail) {
        return {status, {}, {}, std::move(detail)};
    }
    // A failure shown to the user.
    static Outcome failure(Status status, std::string titleKey, std::string messageKey,
                           std::string detail) {
        return {status, std::move(messageKey), std::move(titleKey), std::move(detail)};
    }
    // The same outcome with a message box added (the status and detail stay).
    Outcome shown(std::string title, std::string message) const {
        Outcome copy = *this;
        copy.titleKey = std::move(title);
        copy.messageKey = std::move(message);
        return copy;
    }
};

// A value, or the outcome that explains why there is none.
template <typename T> class Expected {
public:
    Expected(T value) : value_(std::move(value)) {} // NOLINT: implicit like std::optional
    Expected(Outcome failure) : outcome_(std::move(failure)) {} // NOLINT

    bool has_value() const { return value_.has_value(); }
    explicit operator bool() const { return has_value(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& value() { return value_.value(); }
    const T& value() const { return value_.value(); }
    // Done when there is a value, otherwise the failure.
    const Outcome& outcome() const { return outcome_; }

private:
    std::optional<T> value_;
    Outcome outcome_;
};

} // namespace varnix
