// SPDX-License-Identifier: GPL-3.0-or-later
#include "macro/CPopMacroSetWnd.h"

#include "app/LanguageFile.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinEdit.h"
#include "common/Diagnostics.h"
#include "common/WindowMessage.h"
#include "macro/KeyNames.h"
#include "macro/ScanCodes.h"

#include <QKeyEvent>

namespace varnix {
namespace {

const QString TitleName = QStringLiteral("lab_Motify_Title");
const QString TypeName = QStringLiteral("btn_Modify_ListKeyType");
const QString MouseName = QStringLiteral("btn_Modify_MouseType");
const QString DirectionName = QStringLiteral("btn_Motify_XYType");
const QString XBoxName = QStringLiteral("chk_Motify_XDirect");
const QString YBoxName = QStringLiteral("chk_Motify_YDirect");
const QString DistancesName = QStringLiteral("Layout_Motify_XYValue");
const QString XName = QStringLiteral("edit_Motify_Xvalue");
const QString YName = QStringLiteral("edit_Motify_Yvalue");
const QString KeyName = QStringLiteral("chk_Modify_KeyboardValue");
const QString KeyHintName = QStringLiteral("lab_Motify_KeyHint");
const QString StatusTextName = QStringLiteral("lab_Motify_StatusText");
const QString StatusName = QStringLiteral("btn_Motify_Status");
const QString DelayName = QStringLiteral("edit_Motify_Delay");
const QString ApplyName = QStringLiteral("btn_Motify_Apply");
const QString CancelName = QStringLiteral("btn_Motify_Cancel");
const QString FocusSinkName = QStringLiteral("btn_Motify_Temp");
const QString ValueCaptionName = QStringLiteral("lab_Motify_Value");

CPopMacroSetWnd::Responder& responder() {
    static CPopMacroSetWnd::Responder current;
    return current;
}

CPopMacroSetWnd*& shownPopup() {
    static CPopMacroSetWnd* popup = nullptr;
    return popup;
}

void sendResult(SkinWindow* mainWindow, int mode, const std::optional<MacroItemView>& item) {
    if (!mainWindow)
        return;
    if (item)
        mainWindow->sendMessage(WM_MacroItemClosed, mode, reinterpret_cast<qintptr>(&*item));
    else
        mainWindow->sendMessage(WM_MacroItemCancel, 0, 0);
}

} // namespace

CPopMacroSetWnd::CPopMacroSetWnd(const MacroItemRequest& request, SkinWindow* mainWindow,
                                 const LanguageFile* language, QWidget* pageWindow)
    : SkinWindow(pageWindow, Qt::Tool | Qt::FramelessWindowHint), request_(request),
      mainWindow_(mainWindow), language_(language) {
    manager().setTextProvider(this);
    setWindowModality(Qt::ApplicationModal);
}

CPopMacroSetWnd::~CPopMacroSetWnd() {
    if (shownPopup() == this)
        shownPopup() = nullptr;
}

std::optional<QString> CPopMacroSetWnd::queryControlText(const QString& textId) {
    if (!language_)
        return std::nullopt;
    const std::string id = textId.toStdString();
    for (std::string_view section : {languagefile::MacroPopUI, languagefile::OthersUI})
        if (auto text = language_->text(section, id))
            return QString::fromStdString(*text);
    return std::nullopt;
}

void CPopMacroSetWnd::notify(const SkinNotify& message) {
    const QString& type = message.type;
    const QString& sender = message.senderName;
    if (type == QLatin1String(notify::WindowInit)) {
        showItem();
        return;
    }
    // Any other click, choice or focus change ends a key capture first.
    const bool keyFieldClick = type == QLatin1String(notify::Click) && sender == KeyName;
    if (!keyFieldClick &&
        (type == QLatin1String(notify::Click) || type == QLatin1String(notify::ItemSelect) ||
         type == QLatin1String(notify::SetFocus)))
        setCapture(false);
    if (keyFieldClick) {
        // The box toggles itself after the click; the capture follows the new state.
        setCapture(!capture_.active());
    } else if (type == QLatin1String(notify::Click) && sender == ApplyName) {
        apply();
    } else if (type == QLatin1String(notify::Click) && sender == CancelName) {
        cancel();
    } else if (type == QLatin1String(notify::ItemSelect) && sender == DirectionName) {
        if (message.wParam >= 0 && message.wParam <= 3)
            showDirection(int(message.wParam));
    } else if (type == QLatin1String(notify::ItemSelect) && sender == TypeName) {
        showTypeControls(int(message.wParam));
    } else if (type == QLatin1String(notify::TextChanged) && sender == DelayName) {
        if (auto* delay = find<SkinEdit>(DelayName)) {
            const std::string typed = delay->text().toStdString();
            const std::string shown = macroitem::delayFieldText(typed);
            if (shown != typed)
                delay->setText(QString::fromStdString(shown));
        }
    } else if (type == QLatin1String(notify::Return) && sender == DelayName) {
        if (SkinControl* sink = findControl(FocusSinkName))
            sink->widget()->setFocus();
    }
}

void CPopMacroSetWnd::showItem() {
    const macroitem::Fields fields = macroitem::fieldsOf(request_.item);
    if (SkinControl* title = findControl(TitleName)) {
        const bool edit = request_.mode == macropage::EditItem;
        title->setTextId(edit ? QStringLiteral("Motify_Edit") : QStringLiteral("Motify_Insert"));
        title->setText(edit ? QStringLiteral("Edit item") : QStringLiteral("Insert item"));
        title->reloadText();
    }
    keyValue_ = request_.item.value;
    keyText_ = QString::fromStdString(request_.item.text);
    scanCode_ = usageToScanCode(int(request_.item.value));
    if (auto* typeList = find<SkinCombo>(TypeName))
        typeList->selectItem(fields.type);
    if (auto* mouse = find<SkinCombo>(MouseName))
        mouse->selectItem(fields.mouseEntry);
    if (auto* direction = find<SkinCombo>(DirectionName))
        direction->selectItem(fields.directionEntry);
    if (SkinControl* key = findControl(KeyName))
        key->setText(keyText_);
    if (auto* x = find<SkinEdit>(XName))
        x->setText(QString::fromStdString(fields.x));
    if (auto* y = find<SkinEdit>(YName))
        y->setText(QString::fromStdString(fields.y));
    if (auto* status = find<SkinCheckBox>(StatusName))
        status->setCheck(fields.release, false);
    if (auto* delay = find<SkinEdit>(DelayName))
        delay->setText(QString::fromStdString(fields.delay));
    showDirection(fields.directionEntry);
    showTypeControls(fields.type);
}

void CPopMacroSetWnd::showTypeControls(int type) {
    const bool mouse = type == macroitem::TypeMouse;
    const bool move = type == macroitem::TypeMove;
    const bool key = !mouse && !move;
    auto show = [this](const QString& name, bool visible) {
        if (SkinControl* control = findControl(name))
            control->setControlVisible(visible);
    };
    show(MouseName, mouse);
    show(KeyName, key);
    show(DirectionName, move);
    show(XBoxName, move);
    show(YBoxName, move);
    show(DistancesName, move);
    show(StatusTextName, !move);
    show(StatusName, !move);
    show(KeyHintName, key && capture_.active());
    if (SkinControl* caption = findControl(ValueCaptionName)) {
        caption->setTextId(mouse  ? QStringLiteral("Motify_ValueMouse")
                           : move ? QStringLiteral("Motify_ValueMove")
                                  : QStringLiteral("Motify_Value"));
        caption->setText(mouse  ? QStringLiteral("Button")
                         : move ? QStringLiteral("Direction")
                                : QStringLiteral("Key"));
        caption->reloadText();
    }
}

void CPopMacroSetWnd::showDirection(int entry) {
    const auto [x, y] = macroitem::directionBoxes(entry);
    if (auto* box = find<SkinCheckBox>(XBoxName))
        box->setCheck(x, false);
    if (auto* box = find<SkinCheckBox>(YBoxName))
        box->setCheck(y, false);
}

void CPopMacroSetWnd::setCapture(bool on) {
    auto* field = find<SkinCheckBox>(KeyName);
    if (on && field) {
        capture_.start(
            field->widget(), [this](const CapturedKey& key) { keyCaptured(key); },
            [this] {
                if (auto* box = find<SkinCheckBox>(KeyName))
                    box->setCheck(false, false);
            });
    } else {
        capture_.stop();
        // Inside the field's own click it toggles itself afterwards.
        if (field && field->getCheck())
            field->setCheck(false, false);
    }
    if (SkinControl* hint = findControl(KeyHintName))
        hint->setControlVisible(capture_.active());
}

void CPopMacroSetWnd::keyCaptured(const CapturedKey& key) {
    if (!key.pressed)
        return;
    scanCode_ = key.scanCode;
    keyValue_ = ScanCodeToUsage(key.scanCode);
    keyText_ = QString::fromStdString(KeyNameForScanCode(key.scanCode));
    if (SkinControl* field = findControl(KeyName))
        field->setText(keyText_);
}

macroitem::Fields CPopMacroSetWnd::fields() const {
    macroitem::Fields fields;
    if (auto* typeList = find<SkinCombo>(TypeName))
        fields.type = typeList->currentIndex();
    if (auto* mouse = find<SkinCombo>(MouseName))
        fields.mouseEntry = mouse->currentIndex();
    if (auto* direction = find<SkinCombo>(DirectionName))
        fields.directionEntry = direction->currentIndex();
    if (auto* x = find<SkinEdit>(XName))
        fields.x = x->text().toStdString();
    if (auto* y = find<SkinEdit>(YName))
        fields.y = y->text().toStdString();
    if (auto* status = find<SkinCheckBox>(StatusName))
        fields.release = status->getCheck();
    if (auto* delay = find<SkinEdit>(DelayName))
        fields.delay = delay->text().toStdString();
    fields.keyValue = keyValue_;
    fields.keyText = keyText_.toStdString();
    return fields;
}

MacroItemView CPopMacroSetWnd::currentItem() const {
    return macroitem::itemOf(fields());
}

void CPopMacroSetWnd::apply() {
    setCapture(false);
    chosen_ = currentItem();
    answered_ = true;
    sendResult(mainWindow_, request_.mode, chosen_);
    closeWindow(1);
}

void CPopMacroSetWnd::cancel() {
    setCapture(false);
    chosen_.reset();
    if (!answered_) {
        answered_ = true;
        sendResult(mainWindow_, request_.mode, std::nullopt);
    }
    closeWindow(0);
}

void CPopMacroSetWnd::keyPressEvent(QKeyEvent* event) {
    // Escape cancels (while capturing it is a key to capture and never arrives here).
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        cancel();
        return;
    }
    SkinWindow::keyPressEvent(event);
}

void CPopMacroSetWnd::setResponder(Responder answer) {
    responder() = std::move(answer);
}

CPopMacroSetWnd* CPopMacroSetWnd::shown() {
    return shownPopup();
}

std::optional<MacroItemView> CPopMacroSetWnd::Open(QWidget* pageWindow, SkinWindow* mainWindow,
                                                   const MacroItemView& item, int mode,
                                                   const LanguageFile* language) {
    const MacroItemRequest request{item, mode};
    if (responder()) {
        const std::optional<MacroItemView> answer = responder()(request);
        sendResult(mainWindow, mode, answer);
        return answer;
    }
    CPopMacroSetWnd popup(request, mainWindow, language, pageWindow);
    if (!popup.create(QString::fromLatin1(Title))) {
        debugOutput("popmacroset.xml: " + popup.skinError().toStdString() + "\n");
        return std::nullopt;
    }
    popup.setWindowTitle(QString::fromLatin1(Title));
    if (pageWindow)
        popup.centerOn(pageWindow->frameGeometry());
    else
        popup.centerWindow();
    shownPopup() = &popup;
    popup.showModal();
    shownPopup() = nullptr;
    // Closed by the window manager: a cancel.
    if (!popup.answered_) {
        popup.answered_ = true;
        sendResult(mainWindow, mode, std::nullopt);
    }
    return popup.chosen_;
}

} // namespace varnix
