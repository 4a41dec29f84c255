// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ModelFolder.h"

#include "device/DeviceRecord.h"

namespace fs = std::filesystem;

namespace varnix {

fs::path modelResourceFolder(const fs::path& resourceRoot, std::int32_t devType,
                             const std::string& devFolder) {
    std::string_view typeFolder;
    switch (devType) {
    case DevTypeMouse:
        typeFolder = MouseTypeFolder;
        break;
    case DevTypeKeyboard:
        typeFolder = KeyboardTypeFolder;
        break;
    case DevTypePad:
        typeFolder = PadTypeFolder;
        break;
    default:
        return {};
    }
    std::string folder = devFolder;
    for (char& c : folder)
        if (c == '\\')
            c = '/';
    const fs::path relative(folder);
    if (relative.has_root_path())
        return {};
    for (const fs::path& part : relative)
        if (part == "..")
            return {};
    const fs::path typeRoot = resourceRoot / typeFolder;
    return relative.empty() ? typeRoot : typeRoot / relative;
}

} // namespace varnix
