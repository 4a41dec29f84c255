// SPDX-License-Identifier: GPL-3.0-or-later
// Names and keys of the keyboard model's files, relative to the model's resource folder.
#pragma once

namespace varnix::kbfiles {

// Per-model files (read only) and the user file.
inline constexpr const char* LayoutIni = "Config/KBconfig.ini";
inline constexpr const char* ExtKeysJson = "Config/ExtKeys.json";
inline constexpr const char* UserJson = "Config/KBconfig.json";
inline constexpr const char* ResetJson = "Config/ResetKBConfig.json";

// Config/KBconfig.ini, section "KBconfig".
inline constexpr const char* LayoutSection = "KBconfig";
inline constexpr const char* MatrixKeyFormat = "%d_%d"; // row, column
inline constexpr const char* FnKeyFormat = "FN_F%d";    // 1..12
inline constexpr const char* Scroll0Key = "SCROLL0";
inline constexpr const char* Scroll1Key = "SCROLL1";
inline constexpr std::size_t LayoutReadBuffer = 260;

// Config/ExtKeys.json.
inline constexpr const char* ExtKeysMember = "ExtKeys";
inline constexpr const char* ExtKeyName = "name";
inline constexpr const char* ExtKeyNumber = "number";
inline constexpr const char* ExtKeyMap = "map";

// Config/KBconfig.json and the exchange file.
inline constexpr const char* Root = "KBconfig";
inline constexpr const char* Main = "KBmain";
inline constexpr const char* MainVersion = "ver";
inline constexpr const char* MainProfile = "curporfile";
inline constexpr const char* Keys = "KBKey";
inline constexpr const char* KeyMacros = "KBKeyMacro";
inline constexpr const char* KeyMacroGroup = "grpGuid";
inline constexpr const char* KeyMacroMacro = "macGuid";
inline constexpr const char* OtherKeys = "KBOtherKey";
inline constexpr const char* Lighting = "KBled";
// Exchange file: the model name as UTF-16 code units beside the root.
inline constexpr const char* ModelName = "KBName";
inline constexpr const char* ExchangeExtension = ".KB.Config";
inline constexpr const char* ExchangeFilter = "Config Flie(*.KB.Config)";
inline constexpr const char* ExchangePattern = "*.KB.Config";
inline constexpr const char* ExchangeDefaultExtension = "Config";

inline constexpr int JsonIndent = 4;

// Extra settings of each profile.
inline constexpr const char* Scroll0Setting = "btn_scr0";
inline constexpr const char* Scroll1Setting = "btn_scr1";
inline constexpr const char* AltF4Lock = "btn_KB_AltF4En";
inline constexpr const char* WinAppLock = "btn_KB_WinAppEn";
inline constexpr const char* AllKeyLock = "btn_KB_AllKeyEn";
// Language key of the lock switches' text.
inline constexpr const char* LockText = "btn_En";

} // namespace varnix::kbfiles
