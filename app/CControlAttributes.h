// SPDX-License-Identifier: GPL-3.0-or-later
// Base of the control records of a layout position file: name, rectangle, visibility.
#pragma once

#include "app/AttributeAssignment.h"

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace varnix {

namespace positionfile {
inline constexpr std::string_view CtrlNameKey = "ctrlname";
inline constexpr std::string_view PosKey = "pos";
inline constexpr std::string_view VisibleKey = "visible";
inline constexpr std::string_view ThumbImageKey = "thumbimage";
// Visibility of an entry without "visible": the control keeps what its skin says.
inline constexpr std::string_view VisNoChange = "VisNoChange";
inline constexpr const char* PosFormat = "%d,%d,%d,%d";
inline constexpr const char* ImageFormat = "file='%s' source='%d,%d,%d,%d'";
} // namespace positionfile

struct ControlRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const ControlRect&) const = default;
};

// The three full-page skin images whose regions give controls their looks.
struct SkinPaths {
    std::string normal;
    std::string hover;
    std::string pressed;
};

class CControlAttributes {
public:
    virtual ~CControlAttributes() = default;

    // Fills the record from one element of "Controlinfo". A JSON error is written as one line
    // to the console channel; the fields read before it are kept.
    virtual void parse(const nlohmann::json& entry);
    const std::string& name() const { return name_; }
    const ControlRect& rectangle() const { return rect_; }
    const std::string& visibility() const { return visibility_; }
    // The attributes this record sets, in order; the UI sends them to the named controls.
    virtual std::vector<AttributeAssignment> attributePairs(const SkinPaths& skins) const = 0;
    // "option", "button", "optver", "slider" or "label".
    virtual std::string_view kind() const = 0;

    // "l,t,r,b" of a rectangle; "file='path' source='l,t,r,b'" of a skin region.
    static std::string posText(const ControlRect& rect);
    static std::string imageText(const std::string& skin, const ControlRect& rect);

protected:
    // Reads "ctrlname", optionally "visible", then "pos"; throws the JSON library's errors.
    void readName(const nlohmann::json& entry);
    void readVisibility(const nlohmann::json& entry);
    void readPos(const nlohmann::json& entry);
    static void reportParseError(const std::exception& error);

    // pos and, with a normal skin, the three state images, then visible when given.
    std::vector<AttributeAssignment> stateImagePairs(const SkinPaths& skins,
                                                     std::string_view selectedAttribute,
                                                     bool withVisibility) const;
    AttributeAssignment pair(std::string attribute, std::string value) const;

    std::string name_;
    ControlRect rect_;
    std::string visibility_{positionfile::VisNoChange};
};

} // namespace varnix
