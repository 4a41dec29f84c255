// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/CPopColorWnd.h"

#include "app/skin/SkinColorPalette.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinEdit.h"
#include "common/Diagnostics.h"
#include "common/ViewRow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

namespace varnix {
namespace {

const QString PaletteName = QStringLiteral("Pallet");
const QString OkName = QStringLiteral("popok");
const QString CancelName = QStringLiteral("popcancel");
const QString EntryName = QStringLiteral("edit_PopColor_Hex");
const QString CurrentSwatchName = QStringLiteral("lab_PopColor_Current");
const QString NewSwatchName = QStringLiteral("lab_PopColor_New");
const QString EntryHintName = QStringLiteral("lab_PopColor_HexHint");
// The palette's own notification while the user picks; wParam is 0xRRGGBB.
const QString PaletteChanged = QStringLiteral("colorchanged");

constexpr std::uint32_t RgbMask = 0x00FFFFFF;
constexpr std::uint32_t AlphaMask = 0xFF000000;

// The entry's border while its text is not a colour; the width matches the focus border of the
// theme, so that marking it does not shift the text.
const QString InvalidEntryStyle =
    QStringLiteral("QLineEdit { border: 1px solid #FFE5484D; }"
                   "QLineEdit:focus { border: 2px solid #FFE5484D; padding: 1px 5px; }");

CPopColorWnd::Responder& responder() {
    static CPopColorWnd::Responder current;
    return current;
}

void postChoice(SkinWindow* mainWindow, int callerCode, std::uint32_t color) {
    if (mainWindow)
        mainWindow->postMessage(WM_PopColorOk, callerCode, qintptr(color));
}

// A swatch shows the colour as the device lights it: the alpha byte plays no part there.
void paintSwatch(SkinControl* swatch, std::uint32_t rgb) {
    if (swatch)
        swatch->setAttribute(QString::fromLatin1(viewattr::BkColor),
                             QString::fromStdString(viewColour(AlphaMask | (rgb & RgbMask))));
}

} // namespace

CPopColorWnd::CPopColorWnd(int callerCode, std::uint32_t current, SkinWindow* mainWindow,
                           QWidget* pageWindow)
    : SkinWindow(pageWindow, Qt::Tool | Qt::FramelessWindowHint), callerCode_(callerCode),
      current_(current), mainWindow_(mainWindow) {}

std::optional<std::uint32_t> CPopColorWnd::parseHexColor(const QString& text) {
    QStringView digits = QStringView(text).trimmed();
    if (digits.startsWith(QLatin1Char('#')))
        digits = digits.mid(1);
    if (digits.size() != 6)
        return std::nullopt;
    const bool allHex = std::all_of(digits.begin(), digits.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
    });
    if (!allHex)
        return std::nullopt;
    bool ok = false;
    const std::uint32_t rgb = digits.toUInt(&ok, 16);
    return ok ? std::optional<std::uint32_t>(rgb) : std::nullopt;
}

QString CPopColorWnd::hexText(std::uint32_t color) {
    return QStringLiteral("#%1").arg(color & RgbMask, 6, 16, QLatin1Char('0')).toUpper();
}

QRect CPopColorWnd::placement(const QPoint& pageTopLeft, const QRect& available) {
    QRect area(pageTopLeft + QPoint(OffsetX, OffsetY), QSize(Width, Height));
    if (available.isEmpty())
        return area;
    // Right and bottom first, so that a screen smaller than the picker keeps its top-left
    // corner (and the caption) visible.
    area.moveRight(std::min(area.right(), available.right()));
    area.moveBottom(std::min(area.bottom(), available.bottom()));
    area.moveLeft(std::max(area.left(), available.left()));
    area.moveTop(std::max(area.top(), available.top()));
    return area;
}

std::uint32_t CPopColorWnd::selectedColor() const {
    std::uint32_t rgb = current_ & RgbMask;
    const auto* entry = find<SkinEdit>(EntryName);
    if (const auto typed = entry ? parseHexColor(entry->text()) : std::nullopt)
        rgb = *typed;
    else if (const auto* palette = find<SkinColorPalette>(PaletteName))
        rgb = palette->selectedColor().rgb() & RgbMask;
    return (current_ & AlphaMask) | rgb;
}

void CPopColorWnd::notify(const SkinNotify& message) {
    const QString& sender = message.senderName;
    if (message.type == QLatin1String(notify::WindowInit)) {
        showInitialColor();
    } else if (message.type == QLatin1String(notify::Click)) {
        if (sender == OkName)
            confirm();
        else if (sender == CancelName)
            closeWindow(0);
    } else if (message.type == PaletteChanged && sender == PaletteName) {
        paletteMoved(std::uint32_t(message.wParam));
    } else if (message.type == QLatin1String(notify::TextChanged) && sender == EntryName) {
        entryEdited();
    } else if (message.type == QLatin1String(notify::Return) && sender == EntryName) {
        // Return confirms what the entry says; a text that is no colour stays to be corrected.
        if (entryValid_)
            confirm();
    }
}

void CPopColorWnd::showInitialColor() {
    const std::uint32_t rgb = current_ & RgbMask;
    if (auto* palette = find<SkinColorPalette>(PaletteName))
        palette->setSelectedColor(QColor::fromRgb(QRgb(rgb)));
    paintSwatch(findControl(CurrentSwatchName), rgb);
    showNewColor(rgb);
    if (auto* entry = find<SkinEdit>(EntryName)) {
        entry->setText(hexText(rgb));
        // The user can type a colour at once; Tab goes on to the buttons.
        entry->setFocus(Qt::OtherFocusReason);
        entry->selectAll();
    }
    markEntry(true);
}

void CPopColorWnd::entryEdited() {
    const auto* entry = find<SkinEdit>(EntryName);
    const std::optional<std::uint32_t> typed = entry ? parseHexColor(entry->text()) : std::nullopt;
    if (typed) {
        if (auto* palette = find<SkinColorPalette>(PaletteName))
            palette->setSelectedColor(QColor::fromRgb(QRgb(*typed)));
        showNewColor(*typed);
    } else if (const auto* palette = find<SkinColorPalette>(PaletteName)) {
        // OK would take the palette's colour now; the new swatch says so.
        showNewColor(palette->selectedColor().rgb() & RgbMask);
    }
    markEntry(typed.has_value());
}

void CPopColorWnd::paletteMoved(std::uint32_t rgb) {
    if (auto* entry = find<SkinEdit>(EntryName))
        entry->setText(hexText(rgb));
    showNewColor(rgb);
    markEntry(true);
}

void CPopColorWnd::showNewColor(std::uint32_t rgb) {
    paintSwatch(findControl(NewSwatchName), rgb);
}

void CPopColorWnd::markEntry(bool valid) {
    entryValid_ = valid;
    if (auto* entry = find<SkinEdit>(EntryName)) {
        const QString style = valid ? QString() : InvalidEntryStyle;
        // A new style sheet polishes the entry again; only a change of state needs one.
        if (entry->styleSheet() != style)
            entry->setStyleSheet(style);
    }
    if (SkinControl* hint = findControl(EntryHintName))
        hint->setControlVisible(!valid);
}

void CPopColorWnd::confirm() {
    chosen_ = selectedColor();
    postChoice(mainWindow_, callerCode_, *chosen_);
    closeWindow(1);
}

void CPopColorWnd::keyPressEvent(QKeyEvent* event) {
    // Escape cancels, wherever the focus is (the entry and the buttons pass it on).
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        closeWindow(0);
        return;
    }
    SkinWindow::keyPressEvent(event);
}

void CPopColorWnd::setResponder(Responder answer) {
    responder() = std::move(answer);
}

bool CPopColorWnd::hasResponder() {
    return static_cast<bool>(responder());
}

std::optional<std::uint32_t> CPopColorWnd::RunColorPicker(QWidget* pageWindow,
                                                          SkinWindow* mainWindow,
                                                          PageCode callerCode,
                                                          std::uint32_t current) {
    if (responder()) {
        const std::optional<std::uint32_t> answer = responder()({callerCode, current});
        if (answer)
            postChoice(mainWindow, callerCode, *answer);
        return answer;
    }
    CPopColorWnd popup(callerCode, current, mainWindow, pageWindow);
    if (!popup.create()) {
        debugOutput("popcolor.xml: " + popup.skinError().toStdString() + "\n");
        return std::nullopt;
    }
    const QPoint pageTopLeft = pageWindow ? pageWindow->mapToGlobal(QPoint(0, 0)) : QPoint();
    QScreen* screen = QGuiApplication::screenAt(pageTopLeft + QPoint(OffsetX, OffsetY));
    if (!screen)
        screen = pageWindow ? pageWindow->screen() : QGuiApplication::primaryScreen();
    popup.setGeometry(placement(pageTopLeft, screen ? screen->availableGeometry() : QRect()));
    popup.showModal();
    return popup.chosen();
}

} // namespace varnix
