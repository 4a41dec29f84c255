// SPDX-License-Identifier: GPL-3.0-or-later
// The modal colour picker a lighting page opens for one colour slot; OK posts the colour to the
// main window (2025), which hands it to the page as "popcolor_ok".
#pragma once

#include "app/skin/SkinWindow.h"
#include "common/WindowMessage.h"

#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

namespace varnix {

// What a page asks the picker: who asks, and the colour the slot has now (0xAARRGGBB).
struct ColorPickerRequest {
    int callerCode = 0;
    std::uint32_t current = 0;
};

class CPopColorWnd : public SkinWindow {
    Q_OBJECT
public:
    static constexpr int Width = 244;
    static constexpr int Height = 312;
    // Where the picker sits, from the top-left corner of the page window that opens it.
    static constexpr int OffsetX = 410;
    static constexpr int OffsetY = 200;

    // `mainWindow` receives 2025 on OK (may be null: then nothing is posted).
    CPopColorWnd(int callerCode, std::uint32_t current, SkinWindow* mainWindow,
                 QWidget* pageWindow = nullptr);

    QString skinFile() const override { return QStringLiteral("popcolor.xml"); }
    QString windowClassName() const override { return QStringLiteral("PopColorWnd"); }
    void notify(const SkinNotify& message) override;

    int callerCode() const { return callerCode_; }
    std::uint32_t currentColor() const { return current_; }
    // The colour OK would choose now: the entry's when it holds a colour, else the palette's;
    // the alpha byte is the current colour's.
    std::uint32_t selectedColor() const;
    // Whether the hexadecimal entry holds a colour.
    bool entryValid() const { return entryValid_; }
    // The colour OK chose; nothing after a cancel or while the picker is open.
    const std::optional<std::uint32_t>& chosen() const { return chosen_; }

    // Opens the picker modally over `pageWindow`, pre-set to `current`. OK posts 2025 to
    // `mainWindow` (wParam the caller code, lParam the colour) and returns the colour; Cancel,
    // Escape and closing the window return nothing and post nothing.
    static std::optional<std::uint32_t> RunColorPicker(QWidget* pageWindow, SkinWindow* mainWindow,
                                                       PageCode callerCode, std::uint32_t current);

    // While a responder is set, RunColorPicker shows no window: the responder answers the
    // request, and a colour it answers is posted as OK posts it.
    using Responder = std::function<std::optional<std::uint32_t>(const ColorPickerRequest&)>;
    static void setResponder(Responder responder);
    static bool hasResponder();

    // "#RRGGBB" or "RRGGBB", any case, surrounding blanks ignored: 0xRRGGBB; nothing otherwise.
    static std::optional<std::uint32_t> parseHexColor(const QString& text);
    // "#RRGGBB" of the colour's low 24 bits, upper case.
    static QString hexText(std::uint32_t color);
    // The picker's rectangle for a page window whose top-left corner is at `pageTopLeft`
    // (global), moved inside `available` when it would stick out of it.
    static QRect placement(const QPoint& pageTopLeft, const QRect& available);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showInitialColor();
    void entryEdited();
    void paletteMoved(std::uint32_t rgb);
    void showNewColor(std::uint32_t rgb);
    void markEntry(bool valid);
    void confirm();

    int callerCode_;
    std::uint32_t current_;
    QPointer<SkinWindow> mainWindow_;
    std::optional<std::uint32_t> chosen_;
    bool entryValid_ = true;
};

} // namespace varnix
