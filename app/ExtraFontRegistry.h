// SPDX-License-Identifier: GPL-3.0-or-later
// The extra fonts of ExFont.json, registered for this process while the main window lives.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <filesystem>

namespace varnix {

class ExtraFontRegistry {
public:
    ExtraFontRegistry() = default;
    ~ExtraFontRegistry() { unregisterAll(); }
    ExtraFontRegistry(const ExtraFontRegistry&) = delete;
    ExtraFontRegistry& operator=(const ExtraFontRegistry&) = delete;

    // Reads the list and registers every font file that loads; returns how many did.
    int registerFrom(const std::filesystem::path& listFile);
    // Removes every font registered here.
    void unregisterAll();
    int count() const { return ids_.size(); }
    QStringList families() const { return families_; }

private:
    QList<int> ids_;
    QStringList families_;
};

} // namespace varnix
