// SPDX-License-Identifier: GPL-3.0-or-later
// A writable copy of the shipped keyboard model for the keyboard tests.
#pragma once

#include "tests/support/TestSupport.h"

#include <filesystem>

namespace varnix::test {

inline constexpr const char* ShippedKeyboardName = "Tavro_Quenra-Sel1";

// Copies res/KeyboardKorv/KeyboardA into dir/KeyboardA and returns that folder.
inline std::filesystem::path copyShippedKeyboard(const TempDir& dir) {
    const std::filesystem::path target = dir / "KeyboardA";
    std::filesystem::copy(sourceResDir() / "KeyboardKorv" / "KeyboardA", target,
                          std::filesystem::copy_options::recursive);
    return target;
}

} // namespace varnix::test
