// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page: building the page, the tree, its menus, renames and the group files.
#include "macro/MacroPage.h"

#include "app/CMainWnd.h"
#include "app/FileDialogService.h"
#include "app/PopupService.h"
#include "app/ViewRowsApply.h"
#include "app/skin/SkinBuilder.h"
#include "app/skin/SkinEdit.h"
#include "app/skin/SkinList.h"
#include "app/skin/SkinOption.h"
#include "app/skin/SkinTabLayout.h"
#include "app/skin/SkinTree.h"
#include "app/skin/SkinTreeNode.h"
#include "app/skin/SkinWindow.h"
#include "common/Diagnostics.h"
#include "macro/KeyNames.h"
#include "macro/MacroPageInput.h"

#include <QFile>
#include <QTimer>

namespace varnix {
namespace {

const QString TreeName = QStringLiteral("tre_Macro_GroupDisplay");
const QString ItemListName = QStringLiteral("list_Macro_KeyDisplay");
const QString BindingListName = QStringLiteral("VLayout_BindKeys");
const QString GroupEditName = QStringLiteral("EditGrpNode");
const QString MacroEditName = QStringLiteral("EditMacNode");

QString readSkinText(const std::filesystem::path& root, const char* file) {
    QFile in(QString::fromStdString((root / file).string()));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(in.readAll());
}

// The inline edit field of a tree node.
SkinEdit* nodeEdit(SkinTreeNode* node) {
    if (!node)
        return nullptr;
    if (auto* edit = dynamic_cast<SkinEdit*>(node->findSubControl(GroupEditName)))
        return edit;
    return dynamic_cast<SkinEdit*>(node->findSubControl(MacroEditName));
}

} // namespace

MacroPage::MacroPage(CMainWnd& mainWindow)
    : ShellPage(QStringLiteral("macro"), QString(), QStringLiteral("_Macro")), main_(mainWindow),
      model_(mainWindow.resourceRoot()) {}

MacroPage::~MacroPage() {
    // The program ends: what was recorded so far stays in the macro.
    stopRecording();
}

void MacroPage::init(SkinWindow& host) {
    ShellPage::init(host);
}

QWidget* MacroPage::pageWidget() const {
    return host();
}

QString MacroPage::text(const char* key) const {
    return main_.messageText(QString::fromUtf8(key));
}

bool MacroPage::showOutcome(const Outcome& outcome) {
    if (!outcome.ok())
        debugOutput("macro page: " + outcome.detail + "\n");
    return PopupService::showOutcome(pageWidget(), outcome,
                                     [this](const QString& key) { return main_.messageText(key); });
}

bool MacroPage::ask(const char* messageKey) {
    return PopupService::question(pageWidget(), text(macropage::Tip), text(messageKey),
                                  text("MessageOK"), text("MessageCancel")) == 1;
}

void MacroPage::applyRows(const ViewRows& rows) {
    if (host())
        applyViewRows(host()->manager(), rows);
}

bool MacroPage::ensureBuilt() {
    if (built_)
        return true;
    root_ = buildPageSkin(QString::fromLatin1(PageSkin), QStringLiteral("tab_macro"));
    if (!root_)
        return false;
    tree_ = host()->find<SkinTree>(TreeName);
    items_ = host()->find<SkinList>(ItemListName);
    bindings_ = host()->find<SkinList>(BindingListName);
    if (!tree_ || !items_ || !bindings_) {
        debugOutput("macro page: the skin lacks the tree or a list\n");
        return false;
    }
    const std::filesystem::path& res = main_.resourceRoot();
    itemRowXml_ = readSkinText(res, ItemRowFile);
    bindingRowXml_ = readSkinText(res, BindingRowFile);
    groupNodeXml_ = readSkinText(res, GroupNodeFile);
    macroNodeXml_ = readSkinText(res, MacroNodeFile);
    input_ = std::make_unique<MacroPageInput>(*this, tree_, root_);
    built_ = true;
    // The page's layout file is the skin here; the macro file is read once, when first shown.
    showOutcome(model_.open());
    rebuildTree();
    showSelection();
    return true;
}

void MacroPage::languageChanged() {
    ShellPage::languageChanged();
}

void MacroPage::deviceMessage(int message, qintptr wParam, qintptr lParam) {
    ShellPage::deviceMessage(message, wParam, lParam);
    if (message != WM_MacroTakeKeys)
        return;
    // The keyboard (2) or a mouse (any other value) wrote which of its keys play which macro.
    const Outcome taken = model_.takeBindingsFromFile();
    if (!taken)
        debugOutput("macro page: the device's key list was not taken: " + taken.detail + "\n");
    if (built_)
        rebuildBindings();
}

// --- notifications ---

void MacroPage::notify(const SkinNotify& message) {
    ShellPage::notify(message);
    const QString& type = message.type;
    const QString& sender = message.senderName;
    if (type == QLatin1String("ClickOption") || type == QLatin1String("ClickDevice")) {
        // The tab's option selects itself after its click: the page shown tells.
        auto* tabs = host() ? host()->find<SkinTabLayout>(QStringLiteral("tab_main")) : nullptr;
        if (tabs && tabs->currentSel() == PageMacro)
            ensureBuilt();
        else
            stopRecording(); // the page was left
        return;
    }
    if (!built_)
        return;
    if (recorder_.isRecording()) {
        // While recording only clicks count (the record box stops it); Tab comes as 2029.
        if (type == QLatin1String(notify::Click))
            onClick(message);
        else if (type == QLatin1String("Recording_KeyUp"))
            recordEvent(0x0F, true);
        return;
    }
    if (type == QLatin1String(notify::Click)) {
        onClick(message);
    } else if (type == QLatin1String(notify::ItemSelect) && sender == TreeName) {
        treeSelected(int(message.wParam));
    } else if (type == QLatin1String(notify::ItemRClick) &&
               dynamic_cast<SkinTreeNode*>(message.sender)) {
        openContextMenu(int(message.wParam));
    } else if (type == QLatin1String(notify::TreeItemDbClick)) {
        if (dynamic_cast<SkinTreeNode*>(message.sender)) {
            startRename(entryOfRow(int(message.wParam)));
        } else if (items_ && message.sender && items_->indexOf(message.sender) >= 0 &&
                   std::size_t(message.wParam) < model_.rows().size()) {
            items_->selectItem(int(message.wParam), false);
            openItemPopup(model_.rows()[std::size_t(message.wParam)], macropage::EditItem);
        }
    } else if (type == QLatin1String(notify::TextChanged) && sender == "Edit_Macro_Time") {
        repeatFieldEdited();
    } else if ((type == QLatin1String(notify::KillFocus) ||
                type == QLatin1String(notify::Return)) &&
               sender == "Edit_Macro_Time") {
        repeatFieldCommitted();
        if (type == QLatin1String(notify::Return))
            if (SkinControl* sink = host()->findControl(QStringLiteral("btn_Macro_Temp")))
                sink->widget()->setFocus();
    } else if ((type == QLatin1String(notify::KillFocus) ||
                type == QLatin1String(notify::Return)) &&
               (sender == GroupEditName || sender == MacroEditName)) {
        finishRename(message.sender);
    } else if (type == QLatin1String("MyMenuClick")) {
        if (const auto* item = reinterpret_cast<const QString*>(message.wParam))
            menuCommand(*item);
    } else if (type == QLatin1String("macsetclose")) {
        if (const auto* item = reinterpret_cast<const MacroItemView*>(message.lParam))
            popupClosed(int(message.wParam), *item);
    } else if (type == QLatin1String("EditFoucs")) {
        startRename(menuNode_);
    }
}

void MacroPage::onClick(const SkinNotify& message) {
    const QString& name = message.senderName;
    if (name == QLatin1String("btn_Macro_Record")) {
        toggleRecording();
        return;
    }
    if (recorder_.isRecording())
        return;
    if (name == QLatin1String("opt_Macro_AddMacGroup"))
        addGroup();
    else if (name == QLatin1String("opt_Macro_AddNewMac"))
        addMacro();
    else if (name == QLatin1String("btn_Macro_InsertKey"))
        openInsertMenu(message.sender);
    else if (name == QLatin1String("btn_Macro_Delete"))
        deleteItem();
    else if (name == QLatin1String("modify") && message.sender) {
        // The row of the button: select it and edit its item.
        SkinControl* row = message.sender->parentContainer();
        const int index = row && items_ ? items_->indexOf(row) : -1;
        if (index >= 0 && std::size_t(index) < model_.rows().size()) {
            items_->selectItem(index, false);
            openItemPopup(model_.rows()[std::size_t(index)], macropage::EditItem);
        }
    } else if (name == QLatin1String(MacroStore::OptionCycleTimes) ||
               name == QLatin1String(MacroStore::OptionCycleUntilClick) ||
               name == QLatin1String(MacroStore::OptionCycleUntilRelease)) {
        repeatOptionClicked(name);
    } else if (name == QLatin1String("btn_Macro_Temp")) {
        if (items_ && items_->count() >= 2)
            if (auto* last = dynamic_cast<SkinContainer*>(items_->itemAt(items_->count() - 1)))
                if (SkinControl* delay = last->findSubControl(QStringLiteral("delay")))
                    delay->setText(QString::fromStdString(delayText(macropage::NewItemDelay)));
    } else if (name == QLatin1String("btn_Macro_Temp1")) {
        startRename(menuNode_);
    }
}

// --- the tree ---

void MacroPage::rebuildTree() {
    if (!tree_)
        return;
    tree_->removeAll();
    nodes_.clear();
    SkinBuilder builder(host()->manager());
    SkinTreeNode* group = nullptr;
    for (const MacroTreeEntry& entry : model_.treeEntries()) {
        const bool isGroup = entry.macro < 0;
        auto* node =
            dynamic_cast<SkinTreeNode*>(builder.buildText(isGroup ? groupNodeXml_ : macroNodeXml_));
        if (!node) {
            debugOutput(
                "macro page: a tree node cannot be built: " + builder.error().toStdString() + "\n");
            node = new SkinTreeNode;
            node->attach(&host()->manager());
        }
        const QString name = QString::fromStdString(entry.text);
        node->setItemText(name);
        node->widget()->setToolTip(name);
        if (isGroup) {
            tree_->addNode(node);
            group = node;
        } else if (group) {
            group->addChildNode(node);
        }
        nodes_.push_back(node);
    }
    host()->scheduleFocusOrder();
}

void MacroPage::selectTreeEntry(int index) {
    if (tree_)
        tree_->selectItem(index >= 0 && std::size_t(index) < nodes_.size()
                              ? tree_->indexOf(nodes_[std::size_t(index)])
                              : -1,
                          false);
    treeSelected(index >= 0 && std::size_t(index) < nodes_.size()
                     ? tree_->indexOf(nodes_[std::size_t(index)])
                     : -1);
}

int MacroPage::entryOfRow(int row) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        if (tree_ && tree_->indexOf(nodes_[i]) == row)
            return int(i);
    return -1;
}

void MacroPage::treeSelected(int row) {
    const std::vector<MacroTreeEntry> entries = model_.treeEntries();
    const int index = entryOfRow(row);
    if (index < 0 || std::size_t(index) >= entries.size()) {
        model_.clearSelection();
    } else if (entries[std::size_t(index)].macro >= 0) {
        model_.selectMacro(entries[std::size_t(index)].group, entries[std::size_t(index)].macro);
    } else {
        model_.selectGroup(entries[std::size_t(index)].group);
    }
    showSelection();
}

void MacroPage::showSelection() {
    applyRows(model_.repeatRows());
    rebuildItemList();
    rebuildBindings();
}

void MacroPage::rebuildBindings() {
    applyRows(model_.bindingRows());
    if (!bindings_)
        return;
    bindings_->removeAll();
    const MacroRecord* macro = model_.shownMacro();
    if (!macro)
        return;
    SkinBuilder builder(host()->manager());
    for (const MacroBindingRow& binding : macroBindingRows(*macro)) {
        auto* row = dynamic_cast<SkinContainer*>(builder.buildText(bindingRowXml_));
        if (!row)
            continue;
        auto set = [row](const char* name, const std::string& value) {
            if (SkinControl* cell = row->findSubControl(QString::fromLatin1(name))) {
                cell->setText(QString::fromStdString(value));
                cell->widget()->setToolTip(QString::fromStdString(value));
            }
        };
        set("DeviceName", binding.device);
        set("DeviceConfig", binding.config);
        set("DeviceKey", binding.key);
        bindings_->add(row);
    }
}

void MacroPage::openContextMenu(int row) {
    if (!tree_)
        return;
    tree_->selectItem(row, false);
    treeSelected(row);
    menuNode_ = entryOfRow(row);
    if (menuNode_ < 0)
        return;
    const bool group = model_.treeEntries()[std::size_t(menuNode_)].macro < 0;
    main_.openMenu(QString::fromLatin1(group ? GroupMenu : MacroMenu), nullptr);
}

void MacroPage::openEmptyTreeMenu() {
    if (!built_ || recorder_.isRecording() || !nodes_.empty())
        return;
    menuNode_ = -1;
    main_.openMenu(QString::fromLatin1(GroupMenu), nullptr, {},
                   {QStringLiteral("group_rename"), QStringLiteral("GroupDelete"),
                    QStringLiteral("group_export")});
}

void MacroPage::menuCommand(const QString& item) {
    if (item == QLatin1String("group_rename") || item == QLatin1String("marco_rename")) {
        SkinNotify focus;
        focus.type = QStringLiteral("EditFoucs");
        notify(focus);
    } else if (item == QLatin1String("GroupDelete")) {
        deleteGroup();
    } else if (item == QLatin1String("marco_delete")) {
        deleteMacro();
    } else if (item == QLatin1String("group_import")) {
        importGroup();
    } else if (item == QLatin1String("group_export")) {
        exportGroup();
    } else if (item == QLatin1String("group_reset")) {
        resetMacros();
    } else if (item == QLatin1String("menu_Macro_InsertMouse")) {
        openItemPopup(
            {MacroKindLeftButton, "Left Click", MacroStatusPress, macropage::NewItemDelay},
            model_.insertSide());
    } else if (item == QLatin1String("menu_Macro_InsertKB")) {
        openItemPopup({4, KeyNameForUsage(4), MacroStatusPress, macropage::NewItemDelay},
                      model_.insertSide());
    } else if (item == QLatin1String("menu_Macro_InsertXY")) {
        openItemPopup(
            {MacroKindPointerMove, "[←]:0,[↓]:1", MacroStatusLeftUp, macropage::NewItemDelay},
            model_.insertSide());
    } else if (item == QLatin1String("opt_InsertBefor")) {
        model_.setInsertSide(macropage::InsertBefore);
    } else if (item == QLatin1String("opt_InsertAfter")) {
        model_.setInsertSide(macropage::InsertAfter);
    }
}

void MacroPage::startRename(int index) {
    if (index < 0 || std::size_t(index) >= nodes_.size())
        return;
    SkinTreeNode* node = nodes_[std::size_t(index)];
    menuNode_ = index;
    if (SkinEdit* edit = nodeEdit(node)) {
        edit->setText(node->itemText());
        edit->setControlVisible(true);
        edit->setFocus();
        edit->setSelAll();
    }
}

void MacroPage::finishRename(SkinControl* sender) {
    auto* edit = dynamic_cast<SkinEdit*>(sender);
    if (!edit || !edit->isControlVisible())
        return;
    int index = -1;
    for (std::size_t i = 0; i < nodes_.size(); ++i)
        if (nodeEdit(nodes_[i]) == edit)
            index = int(i);
    // Hidden first: hiding takes the focus away, and the killfocus that follows finds it hidden.
    edit->setControlVisible(false);
    if (index < 0)
        return;
    const MacroTreeEntry entry = model_.treeEntries()[std::size_t(index)];
    const std::string typed = edit->text().trimmed().toStdString();
    Outcome outcome;
    const std::string name = entry.macro < 0
                                 ? model_.renameGroup(entry.group, typed, &outcome)
                                 : model_.renameMacro(entry.group, entry.macro, typed, &outcome);
    showOutcome(outcome);
    nodes_[std::size_t(index)]->setItemText(QString::fromStdString(name));
    nodes_[std::size_t(index)]->widget()->setToolTip(QString::fromStdString(name));
}

// --- groups and macros ---

void MacroPage::addGroup() {
    showOutcome(model_.addGroup(text(macropage::NewGroup).toStdString(),
                                text(macropage::NewMacro).toStdString()));
    rebuildTree();
    selectTreeEntry(model_.treeIndexOf(model_.selectedGroup(), model_.selectedMacro()));
}

void MacroPage::addMacro() {
    showOutcome(model_.addMacro(text(macropage::NewGroup).toStdString(),
                                text(macropage::NewMacro).toStdString()));
    rebuildTree();
    selectTreeEntry(model_.treeIndexOf(model_.selectedGroup(), model_.selectedMacro()));
}

void MacroPage::deleteGroup() {
    const int g = menuNode_ >= 0 ? model_.treeEntries()[std::size_t(menuNode_)].group
                                 : model_.selectedGroup();
    if (g < 0)
        return;
    if (model_.groupIsBound(g) && !ask(macropage::DelMacro))
        return;
    showOutcome(model_.deleteGroup(g));
    menuNode_ = -1;
    rebuildTree();
    selectTreeEntry(model_.treeIndexOf(model_.selectedGroup(), -1));
}

void MacroPage::deleteMacro() {
    if (menuNode_ < 0)
        return;
    const MacroTreeEntry entry = model_.treeEntries()[std::size_t(menuNode_)];
    if (entry.macro < 0)
        return;
    if (model_.macroIsBoundAt(entry.group, entry.macro) && !ask(macropage::DelMacro))
        return;
    showOutcome(model_.deleteMacro(entry.group, entry.macro));
    menuNode_ = -1;
    rebuildTree();
    selectTreeEntry(model_.treeIndexOf(model_.selectedGroup(), model_.selectedMacro()));
}

void MacroPage::importGroup() {
    FileDialogRequest request;
    request.title = text("ImportMacroTitle");
    request.filter =
        QString::fromLatin1(GroupFilter) + QStringLiteral(";;") + QString::fromLatin1(DatFilter);
    request.defaultSuffix = QString::fromLatin1(ExchangeSuffix);
    const QString file = FileDialogService::open(pageWidget(), request);
    if (file.isEmpty())
        return;
    const MacroImportFormat format = file.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive)
                                         ? MacroImportFormat::Dat
                                         : MacroImportFormat::GroupFile;
    const Outcome imported = model_.importGroup(file.toStdString(), format);
    showOutcome(imported);
    if (!imported)
        return;
    rebuildTree();
    selectTreeEntry(model_.treeIndexOf(model_.selectedGroup(), -1));
}

void MacroPage::exportGroup() {
    const int g = menuNode_ >= 0 ? model_.treeEntries()[std::size_t(menuNode_)].group
                                 : model_.selectedGroup();
    if (g < 0)
        return;
    FileDialogRequest request;
    request.title = text("ExportMacroTitle");
    request.filter = QString::fromLatin1(GroupFilter);
    request.defaultSuffix = QString::fromLatin1(ExchangeSuffix);
    const QString file = FileDialogService::save(pageWidget(), request);
    if (file.isEmpty())
        return;
    const Outcome exported = model_.exportGroup(g, file.toStdString());
    showOutcome(exported.ok() || exported.hasMessage()
                    ? exported
                    : exported.shown(macropage::Tip, macropage::ExportErr));
}

void MacroPage::resetMacros() {
    showOutcome(model_.reset());
    menuNode_ = -1;
    rebuildTree();
    showSelection();
}

} // namespace varnix
