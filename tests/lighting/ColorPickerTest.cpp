// SPDX-License-Identifier: GPL-3.0-or-later
// The colour picker through a real window (offscreen) and the main window's routing of 2025.
#include "app/skin/SkinColorPalette.h"
#include "app/skin/SkinEdit.h"
#include "lighting/CPopColorWnd.h"
#include "tests/app/UiFixture.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace varnix::test {
namespace {

const QString EntryName = QStringLiteral("edit_PopColor_Hex");

// Runs `act` on the picker once RunColorPicker shows it, while the returned watcher lives. A
// picker the step leaves open is closed afterwards, so that a failed step cannot keep the test
// waiting in the modal loop.
[[nodiscard]] std::unique_ptr<QTimer> whenPickerShown(std::function<void(CPopColorWnd&)> act) {
    auto poll = std::make_unique<QTimer>();
    poll->setInterval(0);
    QObject::connect(poll.get(), &QTimer::timeout, [timer = poll.get(), act = std::move(act)] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* picker = dynamic_cast<CPopColorWnd*>(top);
            if (!picker || !picker->isVisible() || !picker->isModalRunning())
                continue;
            timer->stop();
            act(*picker);
            if (picker->isModalRunning())
                picker->closeWindow(0);
            return;
        }
    });
    poll->start();
    return poll;
}

void click(CPopColorWnd& picker, const char* control) {
    SkinControl* target = picker.findControl(QString::fromLatin1(control));
    ASSERT_NE(target, nullptr) << control;
    QTest::mouseClick(target->widget(), Qt::LeftButton);
}

SkinEdit& entryOf(CPopColorWnd& picker) {
    auto* entry = picker.find<SkinEdit>(EntryName);
    EXPECT_NE(entry, nullptr);
    return *entry;
}

// Replaces the entry's text key by key, as a user types it.
void typeInto(CPopColorWnd& picker, const QString& text) {
    SkinEdit& entry = entryOf(picker);
    entry.selectAll();
    QTest::keyClick(&entry, Qt::Key_Backspace);
    QTest::keyClicks(&entry, text);
}

bool hintShown(CPopColorWnd& picker) {
    SkinControl* hint = picker.findControl(QStringLiteral("lab_PopColor_HexHint"));
    return hint && hint->isControlVisible();
}

struct PageCounts {
    explicit PageCounts(CMainWnd& window)
        : counts{window.mousePage().notificationCount(), window.keyboardPage().notificationCount(),
                 window.padPage().notificationCount(), window.homePage().notificationCount(),
                 window.macroPage().notificationCount()} {}
    bool operator==(const PageCounts&) const = default;
    std::array<int, 5> counts;
};

ShellPage* pageOfCode(CMainWnd& window, int code) {
    switch (code) {
    case PageCodeMouse:
        return &window.mousePage();
    case PageCodeKeyboard:
        return &window.keyboardPage();
    case PageCodePad:
        return &window.padPage();
    case PageCodeHome:
        return &window.homePage();
    default:
        return nullptr;
    }
}

// Delivers what is posted to the main window now; 2025 is posted, never sent.
void deliverPosted(CMainWnd& window) {
    QCoreApplication::sendPostedEvents(&window, 0);
}

class PickerResponder {
public:
    explicit PickerResponder(std::optional<std::uint32_t> answer) {
        CPopColorWnd::setResponder([this, answer](const ColorPickerRequest& request) {
            requests.push_back(request);
            for (QWidget* top : QApplication::topLevelWidgets())
                if (dynamic_cast<CPopColorWnd*>(top) && top->isVisible())
                    windowShown = true;
            return answer;
        });
    }
    ~PickerResponder() { CPopColorWnd::setResponder({}); }
    std::vector<ColorPickerRequest> requests;
    bool windowShown = false;
};

TEST(ColorPickerTest, HexEntryTexts) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> rgb;
    };
    const Case cases[] = {
        {"#00FF80", 0x00FF80u},
        {"00ff80", 0x00FF80u},
        {"#AbCdEf", 0xABCDEFu},
        {"abcdef", 0xABCDEFu},
        {" #123456 ", 0x123456u},
        {"#000000", 0x000000u},
        {"", std::nullopt},
        {"#", std::nullopt},
        {"#12345", std::nullopt},
        {"1234567", std::nullopt},
        {"#GG0000", std::nullopt},
        {"0x1234", std::nullopt},
        {"##123456", std::nullopt},
        {"#12 456", std::nullopt},
        {"+12345", std::nullopt},
        {"\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93\xEF\xBC\x94\xEF\xBC\x95\xEF\xBC\x96",
         std::nullopt}, // full-width digits
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPopColorWnd::parseHexColor(QString::fromUtf8(c.text)), c.rgb) << c.text;
    EXPECT_EQ(CPopColorWnd::hexText(0xFF12AB34), QStringLiteral("#12AB34"));
    EXPECT_EQ(CPopColorWnd::hexText(0x000000FF), QStringLiteral("#0000FF"));
}

TEST(ColorPickerTest, PlacementKeepsThePickerOnScreen) {
    struct Case {
        const char* what;
        QPoint pageTopLeft;
        QRect available;
        QPoint expected;
    };
    const QRect screen(0, 0, 1280, 800);
    const Case cases[] = {
        {"room enough", {100, 50}, screen, {510, 250}},
        {"right edge", {900, 50}, screen, {1280 - 244, 250}},
        {"bottom edge", {100, 600}, screen, {510, 800 - 312}},
        {"corner", {1200, 700}, screen, {1280 - 244, 800 - 312}},
        {"left of the screen", {-500, -300}, screen, {0, 0}},
        {"second screen", {1930, 10}, QRect(1920, 0, 1920, 1080), {2340, 210}},
        {"second screen, right edge", {3700, 10}, QRect(1920, 0, 1920, 1080), {3840 - 244, 210}},
        {"screen smaller than the picker", {0, 0}, QRect(0, 0, 200, 300), {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPopColorWnd::placement(c.pageTopLeft, c.available),
                  QRect(c.expected, QSize(244, 312)))
            << c.what;
}

TEST(ColorPickerTest, OpensModalAtItsPlaceBesideThePageWindow) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    const QRect available = window.screen()->availableGeometry();
    struct Case {
        const char* what;
        QPoint windowAt;
        bool fits; // whether 410/200 from the window leaves the picker on the screen
    };
    const Case cases[] = {
        {"room enough", available.topLeft() + QPoint(20, 30), true},
        {"near the bottom-right corner", available.bottomRight() - QPoint(300, 200), false},
    };
    for (const Case& c : cases) {
        window.move(c.windowAt);
        const QPoint corner = window.mapToGlobal(QPoint(0, 0));
        const QRect wanted(corner + QPoint(410, 200), QSize(244, 312));
        ASSERT_EQ(available.contains(wanted), c.fits) << c.what;
        QRect shownAt;
        Qt::WindowModality modality = Qt::NonModal;
        QString className;
        QWidget* parent = nullptr;
        const auto watcher = whenPickerShown([&](CPopColorWnd& picker) {
            shownAt = picker.frameGeometry();
            modality = picker.windowModality();
            className = picker.objectName();
            parent = picker.parentWidget();
            click(picker, "popcancel");
        });
        EXPECT_EQ(CPopColorWnd::RunColorPicker(&window, &window, PageCodeKeyboard, 0xFF112233),
                  std::nullopt);
        EXPECT_EQ(shownAt.size(), QSize(244, 312)) << c.what;
        if (c.fits)
            EXPECT_EQ(shownAt, wanted) << c.what;
        else
            EXPECT_TRUE(available.contains(shownAt)) << c.what;
        EXPECT_EQ(modality, Qt::ApplicationModal) << c.what;
        EXPECT_EQ(className, QStringLiteral("PopColorWnd"));
        EXPECT_EQ(parent, &window);
    }
}

TEST(ColorPickerTest, OkPostsTheColourAndTheMainWindowHandsItToThePage) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    for (int code : {PageCodeMouse, PageCodeKeyboard, PageCodePad, PageCodeHome}) {
        ShellPage* page = pageOfCode(window, code);
        const int before = page->notificationCount();
        const auto watcher = whenPickerShown([](CPopColorWnd& picker) {
            typeInto(picker, QStringLiteral("#00FF80"));
            click(picker, "popok");
        });
        const auto chosen =
            CPopColorWnd::RunColorPicker(&window, &window, PageCode(code), 0xFF112233);
        EXPECT_EQ(chosen, std::optional<std::uint32_t>(0xFF00FF80)) << code;
        QTRY_COMPARE(page->notificationCount(), before + 1);
        const SkinNotify& got = page->lastNotification();
        EXPECT_EQ(got.type, QStringLiteral("popcolor_ok")) << code;
        EXPECT_EQ(std::uint32_t(got.wParam), 0xFF00FF80u) << code;
        EXPECT_EQ(got.lParam, code);
    }
}

TEST(ColorPickerTest, CancelEscapeAndCloseChooseNothingAndPostNothing) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    const std::pair<const char*, std::function<void(CPopColorWnd&)>> ways[] = {
        {"popcancel", [](CPopColorWnd& picker) { click(picker, "popcancel"); }},
        {"Escape in the entry",
         [](CPopColorWnd& picker) { QTest::keyClick(&entryOf(picker), Qt::Key_Escape); }},
        {"Escape on a button",
         [](CPopColorWnd& picker) {
             QTest::keyClick(picker.findControl(QStringLiteral("popok"))->widget(), Qt::Key_Escape);
         }},
        {"window closed", [](CPopColorWnd& picker) { picker.close(); }},
    };
    for (const auto& [what, act] : ways) {
        const PageCounts before(window);
        bool stillOpen = true;
        const auto watcher = whenPickerShown([&, act = act](CPopColorWnd& picker) {
            // A colour picked first must not leak out of a cancel.
            typeInto(picker, QStringLiteral("#00FF80"));
            act(picker);
            stillOpen = picker.isModalRunning();
        });
        EXPECT_EQ(CPopColorWnd::RunColorPicker(&window, &window, PageCodePad, 0xFF112233),
                  std::nullopt)
            << what;
        EXPECT_FALSE(stillOpen) << what;
        deliverPosted(window);
        EXPECT_TRUE(PageCounts(window) == before) << what;
    }
}

TEST(ColorPickerTest, EntryDrivesTheResultAndInvalidTextFallsBackToThePalette) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    struct Case {
        const char* typed;
        bool valid;
        std::uint32_t rgb; // the entry's colour when valid
    };
    const Case cases[] = {
        {"#00ff80", true, 0x00FF80},
        {"00FF80", true, 0x00FF80},
        {"#AbCdEf", true, 0xABCDEF},
        {"abcdef", true, 0xABCDEF},
        {"12345", false, 0},
        {"#GG0000", false, 0},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        std::uint32_t palettePicked = 0;
        bool entryFollowedPalette = false;
        bool validSeen = !c.valid;
        bool hintSeen = c.valid;
        const auto watcher = whenPickerShown([&](CPopColorWnd& picker) {
            // A pick on the palette shows its colour in the entry ...
            auto* palette = picker.find<SkinColorPalette>(QStringLiteral("Pallet"));
            ASSERT_NE(palette, nullptr);
            QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(40, 30));
            palettePicked = palette->selectedColor().rgb() & 0xFFFFFF;
            entryFollowedPalette = entryOf(picker).text() == CPopColorWnd::hexText(palettePicked);
            // ... and a typed text takes over when it is a colour.
            typeInto(picker, QString::fromLatin1(c.typed));
            validSeen = picker.entryValid();
            hintSeen = hintShown(picker);
            click(picker, "popok");
        });
        const auto chosen =
            CPopColorWnd::RunColorPicker(&window, &window, PageCodeKeyboard, 0xFF112233);
        ASSERT_TRUE(chosen.has_value()) << c.typed;
        EXPECT_NE(palettePicked, 0x112233u) << "the palette click picked nothing new";
        EXPECT_TRUE(entryFollowedPalette) << c.typed;
        EXPECT_EQ(validSeen, c.valid) << c.typed;
        EXPECT_EQ(hintSeen, !c.valid) << c.typed;
        EXPECT_EQ(*chosen, 0xFF000000u | (c.valid ? c.rgb : palettePicked)) << c.typed;
        deliverPosted(window);
        EXPECT_EQ(std::uint32_t(window.keyboardPage().lastNotification().wParam), *chosen);
    }
}

TEST(ColorPickerTest, OkKeepsTheAlphaByteOfTheCurrentColour) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    struct Case {
        std::uint32_t current;
        const char* typed; // nothing typed: OK takes the current colour unchanged
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0xFF112233, nullptr, 0xFF112233},
        {0x7F112233, nullptr, 0x7F112233},
        {0x7F112233, "#445566", 0x7F445566},
        {0x00FF0000, "#00FF00", 0x0000FF00},
    };
    for (const Case& c : cases) {
        QString shownFirst;
        const auto watcher = whenPickerShown([&](CPopColorWnd& picker) {
            shownFirst = entryOf(picker).text();
            if (c.typed)
                typeInto(picker, QString::fromLatin1(c.typed));
            click(picker, "popok");
        });
        EXPECT_EQ(CPopColorWnd::RunColorPicker(&window, &window, PageCodePad, c.current),
                  std::optional<std::uint32_t>(c.expected));
        EXPECT_EQ(shownFirst, CPopColorWnd::hexText(c.current));
    }
}

TEST(ColorPickerTest, TheSameColourTwicePostsTwice) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    ShellPage& pad = window.padPage();
    const int before = pad.notificationCount();
    for (int round = 1; round <= 2; ++round) {
        const auto watcher = whenPickerShown([](CPopColorWnd& picker) { click(picker, "popok"); });
        EXPECT_EQ(CPopColorWnd::RunColorPicker(&window, &window, PageCodePad, 0xFF00FF00),
                  std::optional<std::uint32_t>(0xFF00FF00));
        QTRY_COMPARE(pad.notificationCount(), before + round);
        EXPECT_EQ(pad.lastNotification().type, QStringLiteral("popcolor_ok"));
        EXPECT_EQ(std::uint32_t(pad.lastNotification().wParam), 0xFF00FF00u);
    }
}

TEST(ColorPickerTest, KeyboardUseStartsInTheEntry) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    struct Case {
        const char* typed;
        bool returnConfirms;
    };
    for (const Case& c : {Case{"#123456", true}, Case{"#12345", false}}) {
        QString focusAtStart;
        QList<QString> tabbedTo;
        bool openAfterReturn = true;
        const auto watcher = whenPickerShown([&](CPopColorWnd& picker) {
            picker.activateWindow();
            focusAtStart = picker.focusWidget() ? picker.focusWidget()->objectName() : QString();
            for (int i = 0; i < 3; ++i) {
                QTest::keyClick(picker.focusWidget(), Qt::Key_Tab);
                tabbedTo << (picker.focusWidget() ? picker.focusWidget()->objectName() : QString());
            }
            entryOf(picker).setFocus();
            typeInto(picker, QString::fromLatin1(c.typed));
            QTest::keyClick(&entryOf(picker), Qt::Key_Return);
            openAfterReturn = picker.isModalRunning();
        });
        const auto chosen =
            CPopColorWnd::RunColorPicker(&window, &window, PageCodeKeyboard, 0xFFABCDEF);
        EXPECT_EQ(focusAtStart, EntryName);
        EXPECT_EQ(tabbedTo, (QList<QString>{QStringLiteral("popcancel"), QStringLiteral("popok"),
                                            EntryName}));
        EXPECT_EQ(openAfterReturn, !c.returnConfirms) << c.typed;
        EXPECT_EQ(chosen,
                  c.returnConfirms ? std::optional<std::uint32_t>(0xFF123456) : std::nullopt)
            << c.typed;
    }
}

TEST(ColorPickerTest, TextsComeFromTheLanguage) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    struct Case {
        int language;
        const char* title;
        const char* ok;
    };
    // Index 0 is the Chinese file, 1 the English one.
    for (const Case& c : {Case{1, "Colour", "OK"}, Case{0, "颜色", "确定"}}) {
        window.ApplyLanguage(c.language);
        QString title, ok, hint;
        const auto watcher = whenPickerShown([&](CPopColorWnd& picker) {
            title = picker.findControl(QStringLiteral("lab_PopColor_Title"))->text();
            ok = picker.findControl(QStringLiteral("popok"))->text();
            hint = picker.findControl(QStringLiteral("lab_PopColor_HexHint"))->text();
            click(picker, "popcancel");
        });
        CPopColorWnd::RunColorPicker(&window, &window, PageCodeHome, 0xFF000000);
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        EXPECT_EQ(ok, QString::fromUtf8(c.ok));
        EXPECT_TRUE(hint.contains(QStringLiteral("#RRGGBB"))) << hint.toStdString();
    }
}

TEST(ColorPickerTest, ResponderAnswersWithoutAWindowAndPostsLikeOk) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    {
        PickerResponder answer(0xFF445566u);
        const int before = window.homePage().notificationCount();
        EXPECT_EQ(CPopColorWnd::RunColorPicker(&window, &window, PageCodeHome, 0xFF010203),
                  std::optional<std::uint32_t>(0xFF445566));
        ASSERT_EQ(answer.requests.size(), 1u);
        EXPECT_EQ(answer.requests[0].callerCode, PageCodeHome);
        EXPECT_EQ(answer.requests[0].current, 0xFF010203u);
        EXPECT_FALSE(answer.windowShown);
        QTRY_COMPARE(window.homePage().notificationCount(), before + 1);
        EXPECT_EQ(window.homePage().lastNotification().type, QStringLiteral("popcolor_ok"));
        EXPECT_EQ(std::uint32_t(window.homePage().lastNotification().wParam), 0xFF445566u);
        EXPECT_EQ(window.homePage().lastNotification().lParam, PageCodeHome);
    }
    {
        PickerResponder cancel(std::nullopt);
        const PageCounts before(window);
        EXPECT_EQ(CPopColorWnd::RunColorPicker(&window, &window, PageCodeMouse, 0xFF010203),
                  std::nullopt);
        EXPECT_EQ(cancel.requests.size(), 1u);
        deliverPosted(window);
        EXPECT_TRUE(PageCounts(window) == before);
    }
    EXPECT_FALSE(CPopColorWnd::hasResponder());
}

TEST(ColorPickerTest, MainWindowRoutesPopColorOkByCallerCode) {
    UiFixture ui;
    CMainWnd& window = ui.open();
    const std::uint32_t colour = 0xFF336699;
    // Pages in the order PageCounts holds them; codes 1..4 name the first four.
    for (int code = 0; code <= 5; ++code) {
        const PageCounts before(window);
        window.postMessage(WM_PopColorOk, code, qintptr(colour));
        deliverPosted(window);
        std::array<int, 5> expected = before.counts;
        if (code >= PageCodeMouse && code <= PageCodeHome)
            ++expected[std::size_t(code - 1)];
        EXPECT_EQ(PageCounts(window).counts, expected) << "code " << code;
        if (ShellPage* target = pageOfCode(window, code)) {
            EXPECT_EQ(target->lastNotification().type, QStringLiteral("popcolor_ok")) << code;
            EXPECT_EQ(std::uint32_t(target->lastNotification().wParam), colour) << code;
            EXPECT_EQ(target->lastNotification().lParam, code);
        }
        // Consumed whatever the code.
        EXPECT_TRUE(window.handleMessage(WM_PopColorOk, code, qintptr(colour))) << code;
    }
}

} // namespace
} // namespace varnix::test
