// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page: the tree of groups and macros, the items of the selected macro, recording from
// the keyboard and mouse, the item popup, and group export and import.
#pragma once

#include "app/KeyCapture.h"
#include "app/ShellPage.h"
#include "macro/MacroPageModel.h"
#include "macro/MacroRecorder.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QWidget;

namespace varnix {

class CMainWnd;
class SkinControl;
class SkinList;
class SkinTree;
class SkinTreeNode;

class MacroPage final : public ShellPage {
public:
    static constexpr const char* PageSkin = "MacroPage.xml";
    static constexpr const char* GroupNodeFile = "node.xml";
    static constexpr const char* MacroNodeFile = "node2.xml";
    static constexpr const char* ItemRowFile = "listitem.xml";
    static constexpr const char* BindingRowFile = "listBindkeys.xml";
    static constexpr const char* GroupMenu = "marco_group_menu.xml";
    static constexpr const char* MacroMenu = "marco_menu.xml";
    static constexpr const char* InsertMenu = "PopMacroInsert.xml";
    static constexpr const char* GroupFilter = "Config Flie(*.Macro.Config)";
    static constexpr const char* DatFilter = "Dat File(*.dat)";
    static constexpr const char* ExchangeSuffix = "Config";

    explicit MacroPage(CMainWnd& mainWindow);
    ~MacroPage() override;

    void init(SkinWindow& host) override;
    void notify(const SkinNotify& message) override;
    void languageChanged() override;
    // 2047: a device page changed which of its keys play which macro.
    void deviceMessage(int message, qintptr wParam, qintptr lParam) override;

    MacroPageModel& model() { return model_; }
    bool isRecording() const { return recorder_.isRecording(); }
    // Whether the page's skin is built (the first time the macro tab is shown).
    bool isBuilt() const { return built_; }
    // Ends a recording and keeps what was recorded (leaving the page, hiding, closing).
    void stopRecording();

private:
    friend class MacroPageInput;

    bool ensureBuilt();
    void rebuildTree();
    void selectTreeEntry(int index);
    void treeSelected(int row);
    // The tree entry of a row of the tree; -1 for none.
    int entryOfRow(int row) const;
    void showSelection();
    void rebuildItemList(int selectRow = -1);
    void rebuildBindings();
    void applyRows(const ViewRows& rows);
    SkinControl* makeItemRow(const MacroListRow& row);
    void fillItemRow(SkinControl* row, const MacroListRow& cells);
    int selectedRow() const;

    void onClick(const SkinNotify& message);
    void menuCommand(const QString& item);
    void openContextMenu(int treeIndex);
    void openEmptyTreeMenu();
    void startRename(int treeIndex);
    void finishRename(SkinControl* edit);
    void deleteGroup();
    void deleteMacro();
    void importGroup();
    void exportGroup();
    void resetMacros();
    void addGroup();
    void addMacro();

    void openInsertMenu(SkinControl* anchor);
    void openItemPopup(const MacroItemView& item, int mode);
    void popupClosed(int mode, const MacroItemView& item);
    void deleteItem();
    void repeatOptionClicked(const QString& option);
    void repeatFieldEdited();
    void repeatFieldCommitted();

    // Recording (MacroPageRecording.cpp).
    void toggleRecording();
    void beginRecording();
    void endRecording(bool byLimit);
    void recordEvent(int scanCode, bool pressed);
    void syncRecordBox();
    SkinControl* recordBox() const;

    bool showOutcome(const Outcome& outcome);
    bool ask(const char* messageKey);
    QString text(const char* key) const;
    QWidget* pageWidget() const;

    CMainWnd& main_;
    MacroPageModel model_;
    MacroRecorder recorder_;
    KeyCapture capture_;
    std::unique_ptr<QObject> input_; // mouse clicks while recording, right clicks in the tree
    bool built_ = false;
    SkinControl* root_ = nullptr;
    SkinTree* tree_ = nullptr;
    SkinList* items_ = nullptr;
    SkinList* bindings_ = nullptr;
    std::vector<SkinTreeNode*> nodes_; // in the order of model_.treeEntries()
    int menuNode_ = -1;                // the node right-clicked last
    QString itemRowXml_;
    QString bindingRowXml_;
    QString groupNodeXml_;
    QString macroNodeXml_;
    bool recordClick_ = false; // inside the record box's click, before it toggles itself
};

} // namespace varnix
