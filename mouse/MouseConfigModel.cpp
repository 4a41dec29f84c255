// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/MouseConfigModel.h"

#include "device/MouseFeatureProfile.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

namespace varnix {
namespace {

// DPI values of indexes 1..23: steps of 200 up to 2000, 400 up to 3200, 800 up to 11200, then
// 12800.
constexpr std::array<const char*, 23> DpiTexts{"200",  "400",  "600",   "800",   "1000", "1200",
                                               "1400", "1600", "1800",  "2000",  "2400", "3200",
                                               "4000", "4800", "5600",  "6400",  "7200", "8000",
                                               "8800", "9600", "10400", "11200", "12800"};

} // namespace

std::string dpiText(int index) {
    if (index < 1 || index > static_cast<int>(DpiTexts.size()))
        return mousemodel::NullDpiText;
    return DpiTexts[static_cast<std::size_t>(index - 1)];
}

std::string MouseConfigModel::bindingName(int index) {
    return mousemodel::BindingPrefix + std::to_string(index);
}

int MouseConfigModel::bindingIndex(const std::string& name) {
    const std::string_view prefix = mousemodel::BindingPrefix;
    if (name.size() <= prefix.size() || !name.starts_with(prefix))
        return -1;
    int index = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, error] = std::from_chars(first, last, index);
    if (error != std::errc() || end == first)
        return -1;
    return index;
}

MouseKeyProfile MouseConfigModel::templateProfile() {
    MouseKeyProfile profile;
    for (int i = 0; i < mousemodel::BindingCount; ++i) {
        MouseKeyBinding binding;
        binding.name = bindingName(i);
        profile.emplace(binding.name, binding);
    }
    return profile;
}

void MouseConfigModel::applyFeatureProfile(const MouseFeatureProfile& feature) {
    std::copy(feature.keyMap.begin(), feature.keyMap.end(), keyMap.begin());
    std::copy(feature.keyDefault.begin(), feature.keyDefault.end(), keyDefault.begin());
    keyNum = feature.keyNum;
}

void MouseConfigModel::refreshKeyTexts(const std::function<std::string(int code)>& secondText) {
    for (MouseKeyProfile& profile : profiles) {
        for (auto& [name, binding] : profile) {
            binding.text = secondText ? secondText(binding.code) : mousemodel::UnknownKeyText;
            const int k = bindingIndex(name);
            // keyDefault holds keys 0..11; the thirteenth binding has no factory code.
            binding.defaultCode = k >= 0 && k < mousemodel::FeatureKeyCount
                                      ? keyDefault[static_cast<std::size_t>(k)]
                                      : 0;
        }
    }
}

const MouseKeyBinding* MouseConfigModel::binding(int profile, int index) const {
    if (profile < 0 || profile >= mousemodel::ProfileCount)
        return nullptr;
    const MouseKeyProfile& keys = profiles[static_cast<std::size_t>(profile)];
    const auto found = keys.find(bindingName(index));
    return found == keys.end() ? nullptr : &found->second;
}

MouseKeyBinding* MouseConfigModel::binding(int profile, int index) {
    return const_cast<MouseKeyBinding*>(std::as_const(*this).binding(profile, index));
}

} // namespace varnix
