// SPDX-License-Identifier: GPL-3.0-or-later
// The macro item popup: inserts or edits one item (mouse button, keyboard key or pointer move)
// with its press or release and its delay. OK sends 2027 to the main window with the item
// ("macsetclose" to the page), Cancel sends 2035 ("macsetcancel").
#pragma once

#include "app/KeyCapture.h"
#include "app/skin/SkinTextProvider.h"
#include "app/skin/SkinWindow.h"
#include "macro/MacroItemView.h"
#include "macro/MacroPageRules.h"

#include <QPointer>
#include <functional>
#include <optional>

namespace varnix {

class LanguageFile;

struct MacroItemRequest {
    MacroItemView item;
    int mode = macropage::InsertBefore; // 0 before, 1 after, 255 edit
};

class CPopMacroSetWnd : public SkinWindow, public SkinTextProvider {
    Q_OBJECT
public:
    static constexpr const char* Title = "MacroMotifyWnd";

    CPopMacroSetWnd(const MacroItemRequest& request, SkinWindow* mainWindow,
                    const LanguageFile* language, QWidget* pageWindow = nullptr);
    ~CPopMacroSetWnd() override;
    QString skinFile() const override { return QStringLiteral("popmacroset.xml"); }
    QString windowClassName() const override { return QStringLiteral("CPopMacroSetWnd"); }
    void notify(const SkinNotify& message) override;
    std::optional<QString> queryControlText(const QString& textId) override;

    // The item OK would return now.
    MacroItemView currentItem() const;
    bool capturing() const { return capture_.active(); }
    const std::optional<MacroItemView>& chosen() const { return chosen_; }

    // Opens the popup modally over the page. OK sends 2027 (wParam the mode, lParam the item)
    // to `mainWindow` and returns the item; Cancel, Escape and closing send 2035 and return
    // nothing. `language` gives the popup's texts (may be null: the skin's texts stay).
    static std::optional<MacroItemView> Open(QWidget* pageWindow, SkinWindow* mainWindow,
                                             const MacroItemView& item, int mode,
                                             const LanguageFile* language);
    // While a responder is set no window is shown: it answers, and its answer is sent as OK or
    // Cancel send theirs.
    using Responder = std::function<std::optional<MacroItemView>(const MacroItemRequest&)>;
    static void setResponder(Responder responder);
    // The popup open now (for tests and screenshots), or null.
    static CPopMacroSetWnd* shown();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showItem();
    void showTypeControls(int type);
    void showDirection(int entry);
    void setCapture(bool on);
    void keyCaptured(const CapturedKey& key);
    void apply();
    void cancel();
    macroitem::Fields fields() const;

    MacroItemRequest request_;
    QPointer<SkinWindow> mainWindow_;
    const LanguageFile* language_;
    KeyCapture capture_;
    int scanCode_ = 0;
    std::uint32_t keyValue_ = 4;
    QString keyText_;
    std::optional<MacroItemView> chosen_;
    bool answered_ = false;
};

} // namespace varnix
