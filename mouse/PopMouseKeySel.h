// SPDX-License-Identifier: GPL-3.0-or-later
// The key selection popup of the mouse page: seven tabs of functions (mouse buttons, shortcuts,
// macros, media, DPI, profiles, lighting) for one key. A choice is written into the key's binding
// at once and reported to the main window as message 2028 (1 chosen, 2 cancelled).
#pragma once

#include "app/skin/SkinWindow.h"
#include "mouse/MouseKeySelection.h"

#include <QPointer>
#include <functional>
#include <optional>

namespace varnix {

class MousePageModel;

class PopMouseKeySel : public SkinWindow {
    Q_OBJECT
public:
    static constexpr int Width = 208;
    static constexpr int Height = 309;
    // The popup's left edge lies this far left of the key button's.
    static constexpr int OffsetX = 36;
    static constexpr const char* PositionFile = "MouseKorv/MouseKeySel.json";
    static constexpr const char* NoPositionsText = "无法打开json文件";
    static constexpr int ResultChosen = 1;
    static constexpr int ResultCancelled = 2;

    PopMouseKeySel(MousePageModel& model, int key, SkinWindow* mainWindow, QWidget* owner);

    QString skinFile() const override { return QStringLiteral("PopMouseKeySel.xml"); }
    QString windowClassName() const override { return QStringLiteral("PopSetWnd"); }
    void notify(const SkinNotify& message) override;

    const KeyOpening& opening() const { return opening_; }
    // Fills the lists and combos and selects the key's function (after create()).
    void open();

    // Opens the popup for a key beside its button, modally; the choice is written into the
    // model and 2028 is posted to the main window. Returns ResultChosen or ResultCancelled.
    static int Open(MousePageModel& model, int key, SkinWindow* mainWindow, QWidget* keyButton);
    // While a responder is set, Open shows no window: the responder answers the opening with a
    // choice (nothing: cancelled), which is applied as the popup applies it.
    using Responder = std::function<std::optional<MouseKeyChoice>(const KeyOpening&)>;
    static void setResponder(Responder responder);
    // Where the popup goes for a key button at `buttonTopLeft` (global), inside `available`.
    static QRect placement(const QPoint& buttonTopLeft, const QRect& available);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillLists();
    void fillMacros(int group);
    void selectTab(int tab);
    void selectOpening();
    int selectedTab() const;
    std::optional<MouseKeyChoice> currentChoice() const;
    void choose();
    void finish(int result);
    static int applyChoice(MousePageModel& model, const KeyOpening& opening,
                           const std::optional<MouseKeyChoice>& choice, QWidget* owner);

    MousePageModel& model_;
    KeyOpening opening_;
    QPointer<SkinWindow> mainWindow_;
    bool initialised_ = false;
    bool finished_ = false;
};

} // namespace varnix
