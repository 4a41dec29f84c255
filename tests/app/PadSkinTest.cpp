// SPDX-License-Identifier: GPL-3.0-or-later
// The pad page's skin: the controls its page binds to, the models' position files, room for what
// the busiest mode shows and for the texts of the shipped languages, and its Tab order.
#include "UiFixture.h"
#include "app/ApplyPositionSheet.h"
#include "app/LanguageFile.h"
#include "app/PositionSheet.h"
#include "app/QueryControlText.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinContainer.h"
#include "app/skin/SkinLabel.h"
#include "app/skin/SkinMenu.h"
#include "app/skin/SkinSlider.h"
#include "device/DeviceRecord.h"
#include "lighting/LedMode.h"
#include "lighting/LedPanelRules.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

const char* const Models[] = {"PadA", "PadB"};
const char* const SheetFiles[] = {"Pad_main.json", "Pad_base.json", "Padlight.json"};
const QStringList SheetContainers = {"Pad_Main", "Pad_Base", "Pad_Light"};

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

LedPanel padPanel() {
    return *LedPanel::fromPrefix(PadLedPrefix);
}

std::filesystem::path sheetPath(const std::filesystem::path& root, const char* model,
                                const char* file) {
    return root / "PadKorv" / model / "Position" / file;
}

// Opens the main window on the demo devices and shows the pad page.
// The pad page in the mode that shows every control of the panel: Flow with a single colour.
CMainWnd& openPadPage(UiFixture& ui) {
    CMainWnd& window = ui.open();
    QTest::mouseClick(window.findControl(QStringLiteral("btn_display2"))->widget(), Qt::LeftButton);
    EXPECT_EQ(window.currentTabKind(), TabPad);
    auto* modes = window.find<SkinCombo>(QStringLiteral("btn_PadLed_LedMode"));
    EXPECT_NE(modes, nullptr);
    if (modes)
        modes->setCurrentIndex(modes->findItem(QStringLiteral("Flow")));
    QTest::mouseClick(window.findControl(QStringLiteral("opt_PadLed_SigleColor"))->widget(),
                      Qt::LeftButton);
    return window;
}

void applyModelSheets(CMainWnd& window, const char* model) {
    QStringList positioned;
    for (const char* file : SheetFiles) {
        bool opened = false;
        EXPECT_TRUE(LoadAndApplyPositionSheet(
            QStringLiteral("PadKorv/%1/Position/%2").arg(QLatin1String(model), QLatin1String(file)),
            window.manager(), positioned, &opened))
            << model << " " << file;
        EXPECT_TRUE(opened) << model << " " << file;
    }
}

QRect windowRect(CMainWnd& window, const QString& name) {
    QWidget* widget = window.findControl(name)->widget();
    return QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size());
}

enum class Kind { Container, Combo, Option, CheckBox, Slider, Label, Button };

struct Expected {
    std::string name;
    Kind kind;
    std::string group; // options only
};

std::vector<Expected> pageControls() {
    const LedPanel panel = padPanel();
    std::vector<Expected> all = {
        {"Pad_Main", Kind::Container, {}},
        {"Pad_Base", Kind::Container, {}},
        {"Pad_Light", Kind::Container, {}},
        {"btn_Pad_SelProfile", Kind::Combo, {}},
        {"btn_Pad_More", Kind::Button, {}},
        {"btn_Pad_apply", Kind::Button, {}},
        {"btn_Pad_Temp", Kind::Button, {}},
        {panel.modeList(), Kind::Combo, {}},
        {panel.control("opt", "SigleCycleBar"), Kind::Container, {}},
        {panel.control("opt", "SigleColor"), Kind::Option, panel.colourTypeGroup()},
        {panel.control("opt", "CycleColor"), Kind::Option, panel.colourTypeGroup()},
        {panel.control("label", "BrightText"), Kind::Label, {}},
        {panel.control("slider", "BrightVal"), Kind::Slider, {}},
        {panel.control("label", "BrightValText"), Kind::Label, {}},
        {panel.control("label", "SpeedText"), Kind::Label, {}},
        {panel.control("slider", "SpeedVal"), Kind::Slider, {}},
        {panel.control("label", "SpeedValText"), Kind::Label, {}},
        {panel.control("label", "SymmeText"), Kind::Label, {}},
        {panel.control("Chk", "SymnetryVal"), Kind::CheckBox, {}},
        {panel.control("label", "DirtectText"), Kind::Label, {}},
    };
    for (const char* direction : {"BackwardVal", "PositiveVal", "TwowayVal", "CoverVal"})
        all.push_back({panel.control("opt", direction), Kind::Option, panel.directionGroup()});
    for (int slot = 0; slot < LedSlotCount; ++slot) {
        all.push_back({panel.colourButton(slot), Kind::Button, {}});
        all.push_back({panel.enableBox(slot), Kind::CheckBox, {}});
        all.push_back({panel.colourSelect(slot), Kind::Option, panel.colourSelectGroup()});
    }
    return all;
}

bool hasKind(SkinControl* control, const Expected& expected) {
    auto* option = dynamic_cast<SkinOption*>(control);
    const bool check = dynamic_cast<SkinCheckBox*>(control) != nullptr;
    switch (expected.kind) {
    case Kind::Container:
        return dynamic_cast<SkinContainer*>(control) != nullptr;
    case Kind::Combo:
        return dynamic_cast<SkinCombo*>(control) != nullptr;
    case Kind::Option:
        return option && !check && option->group() == qt(expected.group);
    case Kind::CheckBox:
        return check && option->group().isEmpty();
    case Kind::Slider:
        return dynamic_cast<SkinSlider*>(control) != nullptr;
    case Kind::Label:
        return dynamic_cast<SkinLabel*>(control) != nullptr;
    case Kind::Button:
        return dynamic_cast<SkinButton*>(control) != nullptr && !option;
    }
    return false;
}

QStringList groupNames(CMainWnd& window, const std::string& group) {
    QStringList names;
    for (SkinOption* option : window.manager().optionGroup(qt(group)))
        names << option->name();
    return names;
}

TEST(PadSkinTest, EveryControlThePageBindsToIsThereWithItsKind) {
    UiFixture ui;
    CMainWnd& window = openPadPage(ui);
    for (const Expected& expected : pageControls()) {
        SkinControl* control = window.findControl(qt(expected.name));
        ASSERT_NE(control, nullptr) << expected.name;
        EXPECT_TRUE(hasKind(control, expected))
            << expected.name << " is a " << control->className().toStdString();
    }
    // The page takes a direction and a colour type as positions in their groups.
    const LedPanel panel = padPanel();
    EXPECT_EQ(groupNames(window, panel.directionGroup()),
              (QStringList{"opt_PadLed_BackwardVal", "opt_PadLed_PositiveVal",
                           "opt_PadLed_TwowayVal", "opt_PadLed_CoverVal"}));
    EXPECT_EQ(groupNames(window, panel.colourTypeGroup()),
              (QStringList{"opt_PadLed_SigleColor", "opt_PadLed_CycleColor"}));
    QStringList selectors;
    for (int slot = 0; slot < LedSlotCount; ++slot)
        selectors << qt(panel.colourSelect(slot));
    EXPECT_EQ(groupNames(window, panel.colourSelectGroup()), selectors);

    // The mode list's item names are the twelve mode names, in code order.
    auto* modes = window.find<SkinCombo>(qt(panel.modeList()));
    ASSERT_EQ(modes->count(), LedModeCount);
    for (int code = 0; code < LedModeCount; ++code) {
        EXPECT_EQ(modes->itemName(code).toStdString(), LedModeNames[code]) << code;
        EXPECT_FALSE(modes->itemTextId(code).isEmpty()) << code;
    }

    // The "more" menu offers its three commands by name.
    auto menu = SkinMenu::build(QStringLiteral("pad_exmenu.xml"), &window.manager());
    ASSERT_TRUE(menu);
    QStringList commands;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            commands << action->objectName();
    EXPECT_EQ(commands, (QStringList{"Import", "Export", "Reset"}));
}

TEST(PadSkinTest, PositionFilesPlaceEveryFloatingControlOfTheirContainer) {
    UiFixture ui;
    CMainWnd& window = openPadPage(ui);
    for (const char* model : Models) {
        for (const char* file : SheetFiles) {
            const std::string label = std::string(model) + "/" + file;
            PositionSheet sheet;
            ASSERT_TRUE(LoadPositionSheet(sheetPath(ui.root(), model, file), sheet)) << label;
            auto* container = window.find<SkinContainer>(qt(sheet.containerName));
            ASSERT_NE(container, nullptr) << label;
            QSet<QString> named;
            for (const auto& record : sheet.controls) {
                SkinControl* control = window.findControl(qt(record->name()));
                ASSERT_NE(control, nullptr) << label << ": " << record->name();
                EXPECT_TRUE(control->isFloat()) << label << ": " << record->name();
                // The page's mode layout shows and hides the controls, not the files.
                EXPECT_EQ(record->visibility(), positionfile::VisNoChange) << record->name();
                named << control->name();
            }
            // ... and every floating control inside the container has its place in the file.
            std::function<void(SkinContainer*)> walk = [&](SkinContainer* box) {
                for (int i = 0; i < box->count(); ++i) {
                    SkinControl* item = box->itemAt(i);
                    if (item->isFloat()) {
                        EXPECT_TRUE(named.contains(item->name()))
                            << label << ": " << item->name().toStdString();
                    }
                    // A container with a file of its own is that file's business.
                    auto* inner = dynamic_cast<SkinContainer*>(item);
                    if (inner && !SheetContainers.contains(inner->name()))
                        walk(inner);
                }
            };
            walk(container);
            if (sheet.containerName == "Pad_Base") {
                EXPECT_FALSE(SkinImage::parse(qt(sheet.bkImage)).pixmap().isNull()) << label;
            }
        }
    }
}

TEST(PadSkinTest, TheFlowModesControlsAndThePagesButtonsDoNotOverlap) {
    UiFixture ui;
    CMainWnd& window = openPadPage(ui);
    ASSERT_EQ(window.size(), QSize(990, 690));
    applyModelSheets(window, "PadA");
    const LedPanel panel = padPanel();
    const ModeLayout flow = modeLayout(panel, LedModeFlow, LedSingleColour);
    ASSERT_TRUE(flow.known && flow.colourBar);
    std::vector<std::string> shown = flow.controls.shown;
    for (const std::string& name : colourBarLayout(panel, *flow.colourBar).shown)
        shown.push_back(name);
    shown.push_back(panel.modeList());

    const QRect panelArea = windowRect(window, QStringLiteral("Pad_Light"));
    std::vector<std::pair<std::string, QRect>> placed;
    for (const std::string& name : shown) {
        SkinControl* control = window.findControl(qt(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(control->widget()->isVisible()) << name;
        const QRect area = windowRect(window, qt(name));
        EXPECT_FALSE(area.isEmpty()) << name;
        EXPECT_TRUE(panelArea.contains(area)) << name;
        placed.emplace_back(name, area);
    }
    // A container and the options it holds lie on each other by design.
    auto related = [&](const std::string& a, const std::string& b) {
        QWidget* wa = window.findControl(qt(a))->widget();
        QWidget* wb = window.findControl(qt(b))->widget();
        return wa->isAncestorOf(wb) || wb->isAncestorOf(wa);
    };
    for (std::size_t i = 0; i < placed.size(); ++i)
        for (std::size_t j = i + 1; j < placed.size(); ++j)
            if (!related(placed[i].first, placed[j].first)) {
                EXPECT_FALSE(placed[i].second.intersects(placed[j].second))
                    << placed[i].first << " and " << placed[j].first;
            }

    // The page's own parts lie side by side inside the page area below the device bar.
    const QRect page = windowRect(window, QStringLiteral("tab_main"));
    const QStringList parts = {"Pad_Base", "Pad_Light", "btn_Pad_SelProfile", "btn_Pad_More",
                               "btn_Pad_apply"};
    for (int i = 0; i < parts.size(); ++i) {
        const QRect area = windowRect(window, parts[i]);
        EXPECT_TRUE(page.contains(area)) << parts[i].toStdString();
        for (int j = i + 1; j < parts.size(); ++j)
            EXPECT_FALSE(area.intersects(windowRect(window, parts[j])))
                << parts[i].toStdString() << " and " << parts[j].toStdString();
    }
}

// Every text the page shows comes from both shipped languages and fits its control.
TEST(PadSkinTest, TextsOfTheShippedLanguagesFitTheirControls) {
    UiFixture ui;
    CMainWnd& window = openPadPage(ui);
    QList<SkinControl*> controls;
    std::function<void(SkinControl*)> collect = [&](SkinControl* control) {
        controls << control;
        if (auto* box = dynamic_cast<SkinContainer*>(control))
            for (int i = 0; i < box->count(); ++i)
                collect(box->itemAt(i));
    };
    collect(window.findControl(QStringLiteral("Pad_Main")));
    auto menu = SkinMenu::build(QStringLiteral("pad_exmenu.xml"), nullptr);
    ASSERT_TRUE(menu);

    for (const char* file : {"lan_en.ini", "lan_cn.ini"}) {
        const LanguageFile language = LanguageFile::read(ui.root() / "Language" / file);
        auto textOf = [&](const QString& id) -> std::optional<QString> {
            if (auto text = QueryControlText(language, id.toStdString(), PagePad, DevTypePad))
                return qt(*text);
            return std::nullopt;
        };
        int measured = 0;
        for (SkinControl* control : controls) {
            const std::string label = std::string(file) + ": " + control->name().toStdString();
            if (!control->toolTipId().isEmpty()) {
                EXPECT_TRUE(textOf(control->toolTipId())) << label << " tooltip";
            }
            if (auto* combo = dynamic_cast<SkinCombo*>(control)) {
                // The drop-down's frame and arrow take about 40 pixels.
                const QFontMetrics metrics(combo->font());
                for (int i = 0; i < combo->count(); ++i) {
                    const auto text = textOf(combo->itemTextId(i));
                    ASSERT_TRUE(text) << label << " item " << i;
                    EXPECT_LE(metrics.horizontalAdvance(*text) + 40, combo->width())
                        << label << " " << text->toStdString();
                    ++measured;
                }
                continue;
            }
            if (control->textId().isEmpty())
                continue;
            const auto text = textOf(control->textId());
            ASSERT_TRUE(text) << label;
            control->setText(*text);
            EXPECT_LE(control->estimateSize().width(), control->widget()->width())
                << label << " " << text->toStdString();
            ++measured;
        }
        EXPECT_GE(measured, 27) << file; // the mode names, the profile and the 14 labelled controls
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) {
                EXPECT_TRUE(textOf(QStringLiteral("Pad_Menu_") + action->objectName())) << file;
            }
    }
}

TEST(PadSkinTest, TabWalksThePanelAsItReadsAndPassesTheFocusSinkBy) {
    UiFixture ui;
    CMainWnd& window = openPadPage(ui);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    applyModelSheets(window, "PadA");
    const LedPanel panel = padPanel();
    QStringList wanted = {qt(panel.modeList()), "opt_PadLed_SigleColor", "opt_PadLed_CycleColor"};
    for (auto name : {&LedPanel::colourButton, &LedPanel::enableBox, &LedPanel::colourSelect})
        for (int slot = 0; slot < LedSlotCount; ++slot)
            wanted << qt((panel.*name)(slot));
    wanted << "slider_PadLed_BrightVal"
           << "slider_PadLed_SpeedVal"
           << "Chk_PadLed_SymnetryVal"
           << "opt_PadLed_BackwardVal"
           << "opt_PadLed_PositiveVal"
           << "opt_PadLed_TwowayVal"
           << "opt_PadLed_CoverVal"
           << "btn_Pad_SelProfile"
           << "btn_Pad_More"
           << "btn_Pad_apply";
    window.findControl(wanted.front())->widget()->setFocus(Qt::TabFocusReason);
    QStringList walked;
    for (int step = 0; step < wanted.size(); ++step) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        walked << focus->objectName();
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    EXPECT_EQ(walked, wanted);

    // The sink takes no room and is never reached by Tab, yet takes the focus from code (a colour
    // swatch hands it the focus before the picker opens); Tab then goes on to the slots' switches.
    QWidget* sink = window.findControl(QStringLiteral("btn_Pad_Temp"))->widget();
    EXPECT_TRUE(sink->isVisible());
    EXPECT_EQ(sink->size(), QSize(0, 0));
    sink->setFocus();
    EXPECT_TRUE(sink->hasFocus());
    QTest::keyClick(sink, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), qt(panel.enableBox(0)));
}

} // namespace
} // namespace varnix::test
