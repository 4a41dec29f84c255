// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse page's commands beside the controls: the macro file's usage records, the more
// menu's exchange files and factory reset, and the desktop's own mouse settings.
#include "app/CMainWnd.h"
#include "app/CapplyProgressWnd.h"
#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "common/Diagnostics.h"
#include "device/MouseWriter.h"
#include "kinds/DeviceKind.h"
#include "macro/MacroStore.h"
#include "mouse/MousePage.h"

#include <QProcess>
#include <QStandardPaths>

namespace varnix {

namespace mp = mousepage;

// --- macros ---

std::vector<MacroGroup> MousePage::macroStore() const {
    MacroStore store(main_.resourceRoot());
    if (const Outcome loaded = store.LoadMacroFile(); !loaded)
        debugOutput("mouse page: the macros cannot be read: " + loaded.detail + "\n");
    return store.groups;
}

void MousePage::saveMacroUsage() {
    // The macro file keeps which keys of this mouse play which macro, and the use counts.
    MacroStore store(main_.resourceRoot());
    if (const Outcome loaded = store.LoadMacroFile(); !loaded || store.groups.empty())
        return;
    bool changed = false;
    for (MacroGroup& group : store.groups)
        for (MacroRecord& macro : group.macros)
            for (const MacroGroup& mine : model_.macros())
                if (mine.guid == group.guid)
                    for (const MacroRecord& record : mine.macros)
                        if (record.guid == macro.guid) {
                            auto before = macro.bindings;
                            macro.bindings.erase(model_.mouseName());
                            if (auto it = record.bindings.find(model_.mouseName());
                                it != record.bindings.end())
                                macro.bindings[it->first] = it->second;
                            changed = changed || before != macro.bindings ||
                                      macro.bindKeyCount != record.bindKeyCount;
                            macro.bindKeyCount = record.bindKeyCount;
                        }
    if (!changed)
        return;
    store.RebuildDocument();
    if (const Outcome saved = store.SaveMacroFile(); !saved)
        showOutcome(saved.hasMessage() ? saved : saved.shown(messagekey::Error, mp::SaveErr));
}

// --- more menu ---

void MousePage::menuCommand(const QString& item) {
    if (item == QLatin1String("Import"))
        importFile();
    else if (item == QLatin1String("Export"))
        exportFile();
    else if (item == QLatin1String("Reset"))
        reset();
}

FileDialogRequest MousePage::exchangeDialog(const char* titleKey) const {
    return FileDialogService::exchangeRequest(main_.messageText(QString::fromLatin1(titleKey)),
                                              ExchangeFilter, ExchangeSuffix);
}

void MousePage::importFile() {
    const QString file = FileDialogService::open(pageWidget(), exchangeDialog("MouseImportTitle"));
    if (file.isEmpty())
        return;
    model_.macros() = macroStore();
    const Outcome imported = model_.importFrom(file.toStdString());
    showOutcome(imported);
    showAll();
}

void MousePage::exportFile() {
    const QString file = FileDialogService::save(pageWidget(), exchangeDialog("MouseExportTitle"));
    if (file.isEmpty())
        return;
    showOutcome(model_.exportTo(file.toStdString()));
}

void MousePage::reset() {
    model_.macros() = macroStore();
    const Outcome reset = model_.reset();
    if (showOutcome(reset) || !reset)
        return;
    showAll();
    saveMacroUsage();
    // The factory settings go to the mouse at once, as if applied.
    main_.stopLightingRepeat();
    FindDev device(main_.backend());
    std::unique_ptr<MouseWriter> writer = writerFor(device);
    CapplyProgressWnd::RunApply(*deviceKindOf(DevTypeMouse), *writer, &main_, pageWidget());
}

// --- the desktop's mouse settings ---

const QList<QStringList>& MousePage::systemMouseSettings() {
    static const QList<QStringList> commands = {
        {QStringLiteral("gnome-control-center"), QStringLiteral("mouse")},
        {QStringLiteral("systemsettings"), QStringLiteral("kcm_mouse")},
        {QStringLiteral("kcmshell6"), QStringLiteral("kcm_mouse")},
        {QStringLiteral("kcmshell5"), QStringLiteral("mouse")},
        {QStringLiteral("cinnamon-settings"), QStringLiteral("mouse")},
        {QStringLiteral("mate-mouse-properties")},
        {QStringLiteral("xfce4-mouse-settings")},
        {QStringLiteral("lxqt-config-input")},
    };
    return commands;
}

void MousePage::openSystemSettings() {
    for (const QStringList& command : systemMouseSettings()) {
        const QString program = QStandardPaths::findExecutable(command.front());
        if (program.isEmpty())
            continue;
        if (QProcess::startDetached(program, command.mid(1)))
            return;
    }
    PopupService::information(pageWidget(), main_.messageText(QStringLiteral("Tip")),
                              main_.messageText(QStringLiteral("NoMouseSettings")),
                              main_.messageText(QStringLiteral("MessageOK")));
}

} // namespace varnix
