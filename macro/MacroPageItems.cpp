// SPDX-License-Identifier: GPL-3.0-or-later
// The macro page: the item list, the insert menu, the item popup, the repeat controls and
// recording.
#include "app/CMainWnd.h"
#include "app/PopupService.h"
#include "app/skin/SkinBuilder.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinEdit.h"
#include "app/skin/SkinList.h"
#include "app/skin/SkinWindow.h"
#include "common/Diagnostics.h"
#include "macro/CPopMacroSetWnd.h"
#include "macro/MacroPage.h"
#include "macro/MacroPageInput.h"

namespace varnix {
namespace {

const QString RecordBoxName = QStringLiteral("btn_Macro_Record");
const QString CountFieldName = QStringLiteral("Edit_Macro_Time");
const QString RecordHintName = QStringLiteral("lab_Macro_RecordHint");

QString imageOf(const std::string& file) {
    return file.empty() ? QString() : QString::fromStdString(file);
}

} // namespace

// --- the item list ---

SkinControl* MacroPage::makeItemRow(const MacroListRow& cells) {
    SkinBuilder builder(host()->manager());
    SkinControl* row = builder.buildText(itemRowXml_);
    if (!row) {
        debugOutput("macro page: a list row cannot be built: " + builder.error().toStdString() +
                    "\n");
        return nullptr;
    }
    fillItemRow(row, cells);
    return row;
}

void MacroPage::fillItemRow(SkinControl* row, const MacroListRow& cells) {
    auto* container = dynamic_cast<SkinContainer*>(row);
    if (!container)
        return;
    if (SkinControl* type = container->findSubControl(QStringLiteral("type")))
        type->setAttribute(
            QStringLiteral("bkimage"),
            QStringLiteral("file='%1' dest='0,0,25,25'").arg(imageOf(cells.typeImage)));
    if (SkinControl* key = container->findSubControl(QStringLiteral("key"))) {
        key->setText(QString::fromStdString(cells.key));
        key->widget()->setToolTip(QString::fromStdString(cells.key));
    }
    if (SkinControl* option = container->findSubControl(QStringLiteral("option")))
        option->setAttribute(
            QStringLiteral("bkimage"),
            cells.optionImage.empty()
                ? QString()
                : QStringLiteral("file='%1' dest='0,0,25,25'").arg(imageOf(cells.optionImage)));
    if (SkinControl* delay = container->findSubControl(QStringLiteral("delay")))
        delay->setText(QString::fromStdString(cells.delay));
}

void MacroPage::rebuildItemList(int selectRow) {
    if (!items_)
        return;
    items_->setUpdatesEnabled(false);
    items_->removeAll();
    QList<SkinControl*> rows;
    for (const MacroListRow& cells : model_.listRows())
        if (SkinControl* row = makeItemRow(cells))
            rows.append(row);
    items_->addRows(rows);
    if (selectRow >= 0 && selectRow < items_->count())
        items_->selectItem(selectRow, false);
    items_->setUpdatesEnabled(true);
    host()->scheduleFocusOrder();
}

int MacroPage::selectedRow() const {
    return items_ ? items_->currentSel() : -1;
}

void MacroPage::openInsertMenu(SkinControl* anchor) {
    if (showOutcome(model_.checkInsert()))
        return;
    const bool after = model_.insertSide() == macropage::InsertAfter;
    main_.openMenu(QString::fromLatin1(InsertMenu), anchor ? anchor->widget() : nullptr,
                   {after ? QStringLiteral("opt_InsertAfter") : QStringLiteral("opt_InsertBefor")},
                   {});
}

void MacroPage::openItemPopup(const MacroItemView& item, int mode) {
    if (!model_.macroSelected()) {
        showOutcome(model_.checkInsert());
        return;
    }
    CPopMacroSetWnd::Open(pageWidget(), &main_, item, mode, &main_.language());
}

void MacroPage::popupClosed(int mode, const MacroItemView& item) {
    if (mode == macropage::EditItem) {
        const int row = selectedRow() >= 0 ? selectedRow() : 0;
        showOutcome(model_.editItem(row, item));
        // The row changes in place: the popup may have been opened by a button inside it.
        if (items_ && row < items_->count() && std::size_t(row) < model_.rows().size()) {
            const std::vector<MacroListRow> rows = model_.listRows();
            fillItemRow(items_->itemAt(row), rows[std::size_t(row)]);
            items_->selectItem(row, false);
        }
        return;
    }
    int inserted = -1;
    const Outcome outcome = model_.insertItem(selectedRow(), item, &inserted);
    showOutcome(outcome);
    rebuildItemList(inserted);
}

void MacroPage::deleteItem() {
    int next = -1;
    const Outcome deleted = model_.deleteRow(selectedRow(), &next);
    if (showOutcome(deleted) || !deleted)
        return;
    rebuildItemList(next);
}

// --- repeat ---

void MacroPage::repeatOptionClicked(const QString& option) {
    auto* field = host()->find<SkinEdit>(CountFieldName);
    const std::string count = field ? field->text().toStdString() : std::string("1");
    showOutcome(model_.chooseRepeatOption(option.toStdString(), count));
    applyRows(model_.repeatRows());
}

void MacroPage::repeatFieldEdited() {
    auto* field = host()->find<SkinEdit>(CountFieldName);
    if (!field)
        return;
    const std::string typed = field->text().toStdString();
    const std::string shown = repeatCountFieldText(typed);
    if (shown != typed)
        field->setText(QString::fromStdString(shown));
}

void MacroPage::repeatFieldCommitted() {
    auto* field = host()->find<SkinEdit>(CountFieldName);
    if (!field || !model_.macroSelected() || !field->isControlEnabled())
        return;
    showOutcome(model_.commitRepeatCount(field->text().toStdString()));
}

// --- recording ---

SkinControl* MacroPage::recordBox() const {
    return host() ? host()->findControl(RecordBoxName) : nullptr;
}

void MacroPage::syncRecordBox() {
    auto* box = dynamic_cast<SkinCheckBox*>(recordBox());
    if (!box)
        return;
    // Inside its click the box toggles itself afterwards: set the opposite.
    const bool checked = recorder_.isRecording();
    box->setCheck(recordClick_ ? !checked : checked, false);
    if (SkinControl* hint = host()->findControl(RecordHintName))
        hint->setControlVisible(checked);
}

void MacroPage::toggleRecording() {
    recordClick_ = true;
    if (recorder_.isRecording()) {
        endRecording(false);
    } else {
        const Outcome allowed = model_.checkRecord();
        if (allowed)
            beginRecording();
        else
            showOutcome(allowed);
    }
    syncRecordBox();
    recordClick_ = false;
}

void MacroPage::beginRecording() {
    if (recorder_.startRecording(model_.recorderSelection()) !=
        MacroRecorder::StartOutcome::Started)
        return;
    if (items_)
        items_->removeAll();
    applyRows({{MacroStore::OptionCycleTimes, viewattr::Selected, "true"},
               {"Edit_Macro_Time", viewattr::Text, "1"},
               {"Edit_Macro_Time", viewattr::Enabled, "true"}});
    // The hidden focus sink takes the keys, so that no field or button acts on them.
    SkinControl* sink = host()->findControl(QStringLiteral("btn_Macro_Temp"));
    QWidget* receiver = sink ? sink->widget() : pageWidget();
    receiver->setFocus();
    capture_.start(
        receiver,
        [this](const CapturedKey& key) {
            if (!key.autoRepeat)
                recordEvent(key.scanCode, key.pressed);
        },
        [this] {
            // The window was hidden or the receiver went away: keep what was recorded.
            if (recorder_.isRecording())
                endRecording(false);
        });
    if (auto* input = static_cast<MacroPageInput*>(input_.get()))
        input->setRecording(true);
    syncRecordBox();
}

void MacroPage::recordEvent(int scanCode, bool pressed) {
    if (!recorder_.isRecording())
        return;
    const std::string name =
        recorder_.RecordKeyEvent(scanCode, pressed ? MacroRecorder::KeyDown : MacroRecorder::KeyUp);
    if (name == MacroRecorder::kOverResult) {
        endRecording(true);
        showOutcome(Outcome::notice(macropage::Tip, macropage::RecordWarn));
        return;
    }
    if (name == MacroRecorder::kErrorResult || !items_)
        return;
    const std::vector<RecordedItem> recorded = recorder_.items();
    const RecordedItem& last = recorded.back();
    MacroListRow cells =
        macroListRow({last.value, name, last.status, last.delay}, MacroItemType::Keyboard);
    if (last.value >= MacroKindLeftButton && last.value <= MacroKindButton5) {
        cells.type = MacroItemType::Mouse;
        cells.typeImage = macropage::MouseIcon;
    }
    if (SkinControl* row = makeItemRow(cells)) {
        items_->add(row);
        items_->selectItem(items_->count() - 1, false);
    }
    // The row before now shows the time until this event.
    if (recorded.size() >= 2 && items_->count() >= 2)
        if (auto* before = dynamic_cast<SkinContainer*>(items_->itemAt(items_->count() - 2)))
            if (SkinControl* delay = before->findSubControl(QStringLiteral("delay")))
                delay->setText(
                    QString::fromStdString(delayText(recorded[recorded.size() - 2].delay)));
}

void MacroPage::endRecording(bool byLimit) {
    if (!recorder_.isRecording())
        return;
    const RecordingResult result = recorder_.stopRecording(byLimit);
    capture_.stop();
    if (auto* input = static_cast<MacroPageInput*>(input_.get()))
        input->setRecording(false);
    showOutcome(model_.finishRecording(result));
    if (built_) {
        applyRows(model_.repeatRows());
        rebuildItemList();
        syncRecordBox();
    }
}

void MacroPage::stopRecording() {
    endRecording(false);
}

} // namespace varnix
