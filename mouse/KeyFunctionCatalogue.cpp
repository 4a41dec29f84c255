// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/KeyFunctionCatalogue.h"

#include "macro/KeyNames.h"
#include "macro/KeyboardLayout.h"
#include "macro/ScanCodes.h"

namespace varnix {

namespace {

struct FunctionRow {
    int code;
    const char* symbol;
    const char* itemValue;
    const char* caption;
    const char* displayText;
};

constexpr FunctionRow kScrollFunctionRows[] = {
    {0x00, "SCR_VOL_P", "ItemValue0x00_VolAdd", "Roll_Vol+", "rollup"},
    {0x01, "SCR_VOL_N", "ItemValue0x01_VolMin", "Roll_Vol-", "rolldn"},
    {0x02, "SCR_WHL_P", "ItemValue0x_Up", "Roll_Up", "wheelup"},
    {0x03, "SCR_WHL_N", "ItemValue0x_Down", "Roll_Down", "wheeldn"},
    {0x07, "SCR_LED_SPEED_P", "ItemValue0x_SpeedAdd", "spdup", "spdup"},
    {0x08, "SCR_LED_SPEED_N", "ItemValue0x_SpeedMin", "spddn", "spddn"},
    {0x09, "SCR_LED_BRIGHT_P", "ItemValue0x_BrighAdd", "brightup", "brightup"},
    {0x0A, "SCR_LED_BRIGHT_N", "ItemValue0x_BrighMin", "brightdn", "brightdn"},
};

// The names below are the program's own texts and stay exactly so: 0xB7 has two blanks after
// "Output", 0xCC is "Next" in its identifier while "Previous Track" belongs to 0xCD.
constexpr FunctionRow kFixedFunctionRows[] = {
    {0xF1, "KEY_FN", "ItemValue0xF1_Fn", "Fn", "Fn"},
    {0xB0, "SYS_POWER", "ItemValue0xB0_SysPower", "SysPower", "Power"},
    {0xB1, "SYS_SLEEP", "ItemValue0xB1_Sleep", "Sleep", "Sleep"},
    {0xB2, "SYS_WAKEUP", "ItemValue0xB2_Wakeup", "Wakeup", "Wakeup"},
    {0xB3, "MACRO_BOSS", "ItemValue0xB3_BOSS", "BOSS", "BOSS"},
    {0xB5, "MACRO_RMB", "ItemValue0xB5_\u00A5", "\u00A5", "\u00A5"},
    {0xB4, "MACRO_EUROPE", "ItemValue0xB4_\u20AC", "\u20AC", "\u20AC"},
    {0xB6, "MACRO_000", "ItemValue0xB6_000", "000", "Output '000'"},
    {0xB7, "MACRO_00", "ItemValue0xB7_00", "00", "Output  '00'"},
    {0xC9, "M_PLAY_PAUSE", "ItemValue0xC9_PlayPause", "播放/暂停", "Play/Pause"},
    {0xCA, "M_VOL_SUB", "ItemValue0xCA_VolMin", "音量-", "Volume Down"},
    {0xCB, "M_VOL_ADD", "ItemValue0xCB_VolAdd", "音量+", "Volume Up"},
    {0xCC, "M_PRE_TRACK", "ItemValue0xCC_Next", "下一首", "Next Track"},
    {0xCD, "M_NEXT_TRACK", "ItemValue0xCD_Previous", "上一首", "Previous Track"},
    {0xCE, "M_MEDIA", "ItemValue0xCE_Player", "播放器", "Media Player"},
    {0xCF, "M_MAIL", "ItemValue0xCF_Mail", "邮件", "Mail"},
    {0xD6, "M_MUTE", "ItemValue0xD6_Mute", "静音", "Mute"},
    {0xD7, "M_MYCP", "ItemValue0xD7_Computer", "我的电脑", "My Computer"},
    {0xD8, "M_STOP", "ItemValue0xD8_Stop", "停止", "Stop"},
    {0xD9, "M_CALC", "ItemValue0xD9_Calculator", "计算器", "Calculator"},
    {0xDA, "M_WEB", "ItemValue0xDA_WebBrowser", "浏览器", "Browser"},
    {0xEC, "KEY_ADD_SPD", "ItemValue0xEC_SpeedAdd", "灯光速度+", "Speed Up"},
    {0xED, "KEY_SUB_SPD", "ItemValue0xED_SpeedMin", "灯光速度-", "Speed Down"},
    {0xEA, "KEY_ADD_BRT", "ItemValue0xEA_BrightnessAdd", "灯光亮度+", "Brightness Up"},
    {0xEB, "KEY_SUB_BRT", "ItemValue0xEB_BrightnessMin", "灯光亮度-", "Brightness Down"},
    {0xF0, "KEY_ON_OFF", "ItemValue0xF0_BacklightOnOff", "灯光开关", "Backlight On/Off"},
    {0xD0, "M_WFORWARD", "ItemValue0xD0_WWWForward", "前进（网页）", "WWW Forward"},
    {0xD2, "M_WBACK", "ItemValue0xD2_WWWBack", "后退（网页）", "WWW Back"},
    {0xD1, "M_WSTOP", "ItemValue0xD1_WWWStop", "停止（网页）", "WWW Stop"},
    {0xD3, "M_WREFRESH", "ItemValue0xD3_WWWRefresh", "刷新（网页）", "WWW Refresh"},
    {0xD4, "M_WSEARCH", "ItemValue0xD4_WWWSearch", "搜索（网页）", "WWW Research"},
    {0xD5, "M_WFAVOR", "ItemValue0xD5_WWWFavorite", "收藏（网页）", "WWW Favorite"},
    {0xF3, "KEY_LOCK", "ItemValue0xF3_FullKeyLocked", "全键锁定", "Full-key Locked"},
    {0xE8, "KEY_CHG_COR", "ItemValue0xE8_lightColor", "灯光颜色切换", "Backlight Color Switch"},
    {0xE9, "KEY_CHG_MODE", "ItemValue0xE9_lightMode", "灯光模式切换", "Backlight Mode Switch"},
    {KeyFunctionCatalogue::kNoFunctionCode, "KEY_NULL", KeyFunctionCatalogue::kNoFunctionItemValue,
     "", "No Function"},
};

// Inserts a row; a code already present keeps its first row.
void insertRow(std::map<int, KeyFunctionEntry>& table, const FunctionRow& row) {
    table.emplace(row.code, KeyFunctionEntry{row.code, row.symbol, row.itemValue, row.caption,
                                             row.displayText});
}

std::string displayTextOf(const std::map<int, KeyFunctionEntry>& table, int code) {
    auto it = table.find(code);
    return it == table.end() ? std::string(kUnknownKeyName) : it->second.displayText;
}

} // namespace

void KeyFunctionCatalogue::rebuildCatalogue(const KeyboardLayout& layout) {
    keyFunctions_.clear();
    scrollFunctions_.clear();
    for (const FunctionRow& row : kScrollFunctionRows)
        insertRow(scrollFunctions_, row);
    for (int usage = 0; usage <= kLastOrdinaryUsage; ++usage) {
        std::string name = KeyNameForScanCode(usageToScanCode(usage), layout);
        if (name == kUnknownKeyName)
            continue;
        keyFunctions_.emplace(usage,
                              KeyFunctionEntry{usage, kOrdinaryKeySymbol, kOrdinaryKeyItemValue,
                                               kOrdinaryKeyCaption, std::move(name)});
    }
    for (const FunctionRow& row : kFixedFunctionRows)
        insertRow(keyFunctions_, row);
}

void KeyFunctionCatalogue::rebuildCatalogue() {
    rebuildCatalogue(*activeKeyboardLayout());
}

std::string
KeyFunctionCatalogue::keyDisplayName(int code,
                                     const std::vector<KeyCodeSubstitution>& substitutions) const {
    if (code >= kFirstSubstitutedCode) {
        for (const KeyCodeSubstitution& substitution : substitutions) {
            if (substitution.fromCode == code) {
                code = substitution.toCode;
                break;
            }
        }
    }
    return displayTextOf(keyFunctions_, code);
}

std::string KeyFunctionCatalogue::scrollDisplayName(int code) const {
    return displayTextOf(scrollFunctions_, code);
}

} // namespace varnix
