// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard page's key assignment popup: eight ways to set one key of the current profile
// (default, a captured key, a macro, four function lists, disabled). Apply stores the choice in
// the page's model; both Apply and Cancel post 2028 to the main window, which hands the result
// to the page as "PopSetValue".
#pragma once

#include "app/KeyCapture.h"
#include "app/skin/SkinWindow.h"
#include "keyboard/KeyboardPageModel.h"

#include <QPointer>
#include <filesystem>
#include <functional>
#include <optional>

namespace varnix {

class CPopSetWnd : public SkinWindow {
    Q_OBJECT
public:
    static constexpr int Width = 800;
    static constexpr int Height = 572;
    // Relative to the resource root.
    static constexpr const char* PositionFile = "KeyboardKorv/KBKeySel.json";
    // "PopSetValue" results.
    static constexpr int Applied = 1;
    static constexpr int Cancelled = 2;

    CPopSetWnd(KeyboardPageModel& model, std::string key, SkinWindow* mainWindow,
               std::filesystem::path resourceRoot, QWidget* pageWindow = nullptr);
    ~CPopSetWnd() override;

    QString skinFile() const override { return QStringLiteral("popset.xml"); }
    QString windowClassName() const override { return QStringLiteral("PopSetWnd"); }
    void notify(const SkinNotify& message) override;

    const KeyPopupRequest& request() const { return request_; }
    KeySetTab selectedTab() const;
    bool capturing() const { return capture_.active(); }
    // The key the KeyBoard tab offers now (code and name).
    int keyboardCode() const { return keyboardCode_; }
    const std::string& keyboardText() const { return keyboardText_; }

    // Opens the popup for a key modally over the page window and returns the result (Applied
    // or Cancelled), posted to `mainWindow` as 2028 too. The keyboard is never left grabbed.
    static int Run(QWidget* pageWindow, SkinWindow* mainWindow, KeyboardPageModel& model,
                   const std::string& key, const std::filesystem::path& resourceRoot);

    // While a responder is set, Run shows no window: the responder answers the request, a
    // choice is applied as Apply applies it, nothing is a cancel.
    using Responder = std::function<std::optional<KeyChoice>(const KeyPopupRequest&)>;
    static void setResponder(Responder responder);
    // Called with each popup Run shows, once its modal loop runs (tests drive it from there).
    using OpenedHook = std::function<void(CPopSetWnd&)>;
    static void setOpenedHook(OpenedHook hook);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();
    void fillFunctionList(KeySetTab tab, const char* combo);
    void fillMacros(int group);
    void selectTab(KeySetTab tab, bool notify);
    void startCapture();
    void stopCapture();
    void keyCaptured(const CapturedKey& key);
    void renameKeys();
    void apply();
    void finish(int result);
    void setControlText(const char* name, const std::string& text);

    KeyboardPageModel& model_;
    KeyPopupRequest request_;
    QPointer<SkinWindow> main_;
    std::filesystem::path resourceRoot_;
    KeyCapture capture_;
    int keyboardCode_ = DisabledKeyCode;
    int keyboardScanCode_ = 0xFF;
    std::string keyboardText_;
    bool finished_ = false;
};

} // namespace varnix
