// SPDX-License-Identifier: GPL-3.0-or-later
// The skin engine: building from XML, attributes, notifications and position sheets.
#include "UiFixture.h"
#include "app/ApplyPositionSheet.h"
#include "app/skin/SkinCheckBox.h"
#include "app/skin/SkinCombo.h"
#include "app/skin/SkinTextProvider.h"
#include "app/skin/SkinTree.h"
#include "app/skin/SkinTreeNode.h"
#include "app/skin/SkinWindow.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace varnix::test {
namespace {

// A window over a skin given as text, keeping what it was told.
class RecordingWindow : public SkinWindow {
public:
    explicit RecordingWindow(QString file) : file_(std::move(file)) {}
    QString skinFile() const override { return file_; }
    QString windowClassName() const override { return QStringLiteral("Test"); }
    void notify(const SkinNotify& message) override {
        QString line = message.type + QLatin1Char(':') + message.senderName;
        if (auto* box = dynamic_cast<SkinCheckBox*>(message.sender))
            line += box->getCheck() ? QStringLiteral("=on") : QStringLiteral("=off");
        seen << line;
    }
    QStringList seen;

private:
    QString file_;
};

const char* Skin = R"(<?xml version="1.0"?>
<Window size="400,300">
  <Container name="bkpanel">
    <Button name="btn_a" float="true" pos="0,0,10,10"/>
    <Option name="opt_b" float="true" pos="0,0,10,10" visible="false"/>
    <CheckBox name="chk_c" float="true" pos="200,0,260,20" text="Check"/>
    <Option name="opt_x" group="g" float="true" pos="0,100,50,120"/>
    <Option name="opt_y" group="g" float="true" pos="60,100,110,120" selected="true"/>
    <TreeView name="tre_t" float="true" pos="0,150,200,300">
      <TreeNode name="node_1" text="Group"><TreeNode name="node_2" text="Child"/></TreeNode>
    </TreeView>
  </Container>
</Window>)";

struct SkinFixture {
    SkinFixture() {
        writeTextFile(ui.root() / "test.xml", Skin);
        EXPECT_TRUE(window.create()) << window.skinError().toStdString();
        window.show();
    }
    UiFixture ui;
    RecordingWindow window{QStringLiteral("test.xml")};
};

TEST(SkinEngineTest, ClickArrivesBeforeTheCheckBoxToggles) {
    SkinFixture f;
    f.window.seen.clear();
    QTest::mouseClick(f.window.findControl(QStringLiteral("chk_c"))->widget(), Qt::LeftButton);
    const QStringList wanted{QStringLiteral("click:chk_c=off"),
                             QStringLiteral("selectchanged:chk_c=on")};
    EXPECT_EQ(f.window.seen.filter(QStringLiteral("chk_c")), wanted);
}

TEST(SkinEngineTest, OptionGroupKeepsOneSelected) {
    SkinFixture f;
    auto* x = f.window.find<SkinOption>(QStringLiteral("opt_x"));
    auto* y = f.window.find<SkinOption>(QStringLiteral("opt_y"));
    ASSERT_TRUE(x && y);
    EXPECT_TRUE(y->isSelected());
    QTest::mouseClick(x->widget(), Qt::LeftButton);
    EXPECT_TRUE(x->isSelected());
    EXPECT_FALSE(y->isSelected());
    QTest::mouseClick(x->widget(), Qt::LeftButton); // a grouped option stays selected
    EXPECT_TRUE(x->isSelected());
}

TEST(SkinEngineTest, TreeNodesNestAndFold) {
    SkinFixture f;
    auto* tree = f.window.find<SkinTree>(QStringLiteral("tre_t"));
    auto* group = f.window.find<SkinTreeNode>(QStringLiteral("node_1"));
    auto* child = f.window.find<SkinTreeNode>(QStringLiteral("node_2"));
    ASSERT_TRUE(tree && group && child);
    EXPECT_EQ(tree->count(), 2);
    EXPECT_EQ(child->parentNode(), group);
    EXPECT_EQ(group->childCount(), 1);
    group->setExpanded(false);
    EXPECT_FALSE(child->isControlVisible());
    EXPECT_TRUE(tree->removeNode(group));
    EXPECT_EQ(tree->count(), 0);
}

TEST(SkinEngineTest, ImageTextsAsTheSkinsWriteThem) {
    struct Case {
        const char* text;
        const char* file;
        QRect source;
        QRect dest;
    };
    const Case cases[] = {
        {"file='a.png' source='1,2,3,4'", "a.png", QRect(QPoint(1, 2), QPoint(2, 3)), QRect()},
        {"  file = 'b c.png'   dest='0,0,5,5' ", "b c.png", QRect(), QRect(0, 0, 5, 5)},
        {"profile='x.png' file='d.png'", "d.png", QRect(), QRect()}, // a key inside another
        {"Skin/plain.png", "Skin/plain.png", QRect(), QRect()},      // a bare file name
        {"file='unterminated", "", QRect(), QRect()},
    };
    for (const Case& c : cases) {
        const SkinImage image = SkinImage::parse(QString::fromUtf8(c.text));
        EXPECT_EQ(image.file(), QString::fromUtf8(c.file)) << c.text;
        EXPECT_EQ(image.source(), c.source) << c.text;
        EXPECT_EQ(image.dest(), c.dest) << c.text;
    }
}

TEST(SkinEngineTest, AttributesUnderstoodAsTheFilesWriteThem) {
    SkinFixture f;
    SkinControl* button = f.window.findControl(QStringLiteral("btn_a"));
    EXPECT_TRUE(button->setAttribute(QStringLiteral("pos"), QStringLiteral("10,20,40,60")));
    EXPECT_EQ(button->widget()->geometry(), QRect(10, 20, 30, 40));
    EXPECT_TRUE(button->setAttribute(QStringLiteral("normalimage"),
                                     QStringLiteral("file='a.png' source='1,2,3,4'")));
    EXPECT_EQ(button->image(QStringLiteral("normalimage")).file(), QStringLiteral("a.png"));
    EXPECT_EQ(button->image(QStringLiteral("normalimage")).source(),
              QRect(QPoint(1, 2), QPoint(2, 3)));
    EXPECT_TRUE(button->setAttribute(QStringLiteral("enabled"), QStringLiteral("false")));
    EXPECT_FALSE(button->isControlEnabled());
    EXPECT_TRUE(button->setAttribute(QStringLiteral("width"), QStringLiteral("77")));
    EXPECT_EQ(button->widget()->width(), 77);
    EXPECT_FALSE(button->setAttribute(QStringLiteral("pos"), QStringLiteral("1,2,3")));
    EXPECT_FALSE(button->setAttribute(QStringLiteral("nosuchthing"), QStringLiteral("1")));
}

TEST(SkinEngineTest, PositionSheetMovesAndSkinsControls) {
    SkinFixture f;
    writeTextFile(f.ui.root() / "sheet.json", R"({
        "Containerinfo": {"containname": "bkpanel", "width": 400, "height": 300,
                          "bkimage": "Skin/bk.png", "normalimage": "Skin/n.png",
                          "overimage": "Skin/o.png", "downimage": "Skin/d.png"},
        "Controlinfo": [
            {"type": "button", "ctrlname": "btn_a", "pos": [10, 20, 30, 40]},
            {"type": "option", "ctrlname": "opt_b", "pos": [50, 60, 20, 10], "visible": "true"},
            {"type": "button", "ctrlname": "btn_missing", "pos": [1, 1, 1, 1]}
        ]})");
    QStringList positioned;
    bool opened = false;
    EXPECT_TRUE(LoadAndApplyPositionSheet(QStringLiteral("sheet.json"), f.window.manager(),
                                          positioned, &opened));
    EXPECT_TRUE(opened);
    EXPECT_EQ(positioned, (QStringList{QStringLiteral("btn_a"), QStringLiteral("opt_b"),
                                       QStringLiteral("btn_missing")}));
    SkinControl* a = f.window.findControl(QStringLiteral("btn_a"));
    EXPECT_EQ(a->widget()->geometry(), QRect(10, 20, 30, 40));
    EXPECT_EQ(a->image(QStringLiteral("hotimage")).file(), QStringLiteral("Skin/o.png"));
    EXPECT_EQ(a->image(QStringLiteral("normalimage")).source(), QRect(10, 20, 30, 40));
    SkinControl* b = f.window.findControl(QStringLiteral("opt_b"));
    EXPECT_TRUE(b->isControlVisible());
    EXPECT_EQ(b->image(QStringLiteral("selectedimage")).file(), QStringLiteral("Skin/d.png"));
    EXPECT_EQ(
        f.window.findControl(QStringLiteral("bkpanel"))->image(QStringLiteral("bkimage")).file(),
        QStringLiteral("Skin/bk.png"));

    // A sheet whose container is missing sets nothing.
    writeTextFile(f.ui.root() / "other.json",
                  R"({"Containerinfo": {"containname": "nothere", "normalimage": "x.png"},
                      "Controlinfo": [{"type": "button", "ctrlname": "btn_a", "pos": [0, 0, 5, 5]}]})");
    DiagnosticCapture capture;
    EXPECT_FALSE(
        LoadAndApplyPositionSheet(QStringLiteral("other.json"), f.window.manager(), positioned));
    EXPECT_EQ(a->widget()->geometry(), QRect(10, 20, 30, 40));
}

TEST(SkinEngineTest, StateBackgroundsLieUnderTheButtonsImage) {
    UiFixture ui;
    const QColor glyph(0x20, 0xC0, 0x40);
    QImage picture(8, 8, QImage::Format_ARGB32);
    picture.fill(glyph);
    ASSERT_TRUE(picture.save(QString::fromStdString((ui.root() / "glyph.png").string())));
    writeTextFile(ui.root() / "state.xml", R"(<?xml version="1.0"?>
<Window size="100,100"><Container>
  <Button name="btn_g" float="true" pos="0,0,40,40" normalimage="file='glyph.png' dest='10,10,30,30'"
          hotbkcolor="#FF0000FF" pushedbkcolor="#FFFF0000"/>
</Container></Window>)");
    RecordingWindow window(QStringLiteral("state.xml"));
    ASSERT_TRUE(window.create()) << window.skinError().toStdString();
    window.show();
    QWidget* button = window.findControl(QStringLiteral("btn_g"))->widget();

    struct Case {
        const char* state;
        QColor background; // invalid: nothing drawn around the picture
    };
    for (const Case& c : {Case{"normal", QColor()}, Case{"hot", QColor(0, 0, 255)},
                          Case{"pushed", QColor(255, 0, 0)}}) {
        const QString state = QString::fromLatin1(c.state);
        if (state == QLatin1String("hot")) {
            QEnterEvent enter(QPointF(20, 20), QPointF(20, 20), QPointF(20, 20));
            QApplication::sendEvent(button, &enter);
        } else if (state == QLatin1String("pushed")) {
            QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
        }
        const QImage shown = button->grab().toImage();
        EXPECT_EQ(shown.pixelColor(20, 20), glyph) << c.state;
        if (c.background.isValid()) {
            EXPECT_EQ(shown.pixelColor(20, 4), c.background) << c.state;
        } else {
            EXPECT_NE(shown.pixelColor(20, 4), glyph) << c.state;
        }
    }
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
}

TEST(SkinEngineTest, ReturnAndSpacePressOnlyTheFocusedControl) {
    struct Case {
        const char* control;
        Qt::Key key;
        QStringList wanted; // every notification, in order
    };
    const QStringList button{QStringLiteral("click:btn_a")};
    const QStringList check{QStringLiteral("click:chk_c=off"),
                            QStringLiteral("selectchanged:chk_c=on")};
    // Selecting opt_x clears the other option of its group.
    const QStringList option{QStringLiteral("click:opt_x"), QStringLiteral("selectchanged:opt_y"),
                             QStringLiteral("selectchanged:opt_x")};
    for (const Case& c :
         {Case{"btn_a", Qt::Key_Return, button}, Case{"btn_a", Qt::Key_Space, button},
          Case{"chk_c", Qt::Key_Enter, check}, Case{"chk_c", Qt::Key_Space, check},
          Case{"opt_x", Qt::Key_Return, option}, Case{"opt_x", Qt::Key_Space, option}}) {
        SkinFixture f;
        QWidget* target = f.window.findControl(QString::fromLatin1(c.control))->widget();
        target->setFocus(Qt::TabFocusReason);
        f.window.seen.clear();
        QTest::keyClick(target, c.key);
        QStringList seen = f.window.seen;
        seen.removeIf([](const QString& line) { return line.startsWith(QLatin1String("mouse")); });
        EXPECT_EQ(seen, c.wanted) << c.control << " " << c.key;
    }
}

TEST(SkinEngineTest, TheFocusedControlShowsARing) {
    SkinFixture f;
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    QColor ring;
    ASSERT_TRUE(parseSkinColor(QString::fromLatin1(FocusRingColor), ring));
    auto edgeColour = [](QWidget* widget) {
        return widget->grab().toImage().pixelColor(1, widget->height() / 2);
    };
    for (const char* name : {"chk_c", "opt_x"}) {
        QWidget* control = f.window.findControl(QString::fromLatin1(name))->widget();
        EXPECT_NE(edgeColour(control), ring) << name;
        control->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(control->hasFocus()) << name;
        EXPECT_EQ(edgeColour(control), ring) << name;
    }
    // A list shows the ring on its current row while it has the focus; arrows move the row.
    auto* tree = f.window.find<SkinTree>(QStringLiteral("tre_t"));
    tree->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(tree->hasFocus());
    QTest::keyClick(tree, Qt::Key_Down);
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(tree->currentSel(), 1);
    EXPECT_EQ(edgeColour(tree->itemAt(1)->widget()), ring);
    EXPECT_NE(edgeColour(tree->itemAt(0)->widget()), ring);
}

// Answers from a table that a test can change, as a language switch does.
class TableTexts : public SkinTextProvider {
public:
    std::optional<QString> queryControlText(const QString& textId) override {
        if (auto it = texts.find(textId); it != texts.end())
            return *it;
        return std::nullopt;
    }
    QHash<QString, QString> texts;
};

TEST(SkinEngineTest, ComboItemsAndTooltipsTakeTheirTextsFromTextIds) {
    UiFixture ui;
    writeTextFile(ui.root() / "texts.xml", R"(<?xml version="1.0"?>
<Window size="200,100"><Container>
  <Combo name="cmb_mode" float="true" pos="0,0,150,30" selecteditem="Wave">
    <Item name="Mute" text="Mute" textid="Mode_Mute"/>
    <Item name="Wave" text="Wave" textid="Mode_Wave"/>
    <Item name="Flow" text="Flow"/>
  </Combo>
  <Button name="btn_tip" float="true" pos="0,40,30,70" tooltip="Pick" tooltipid="Tip_Pick"/>
</Container></Window>)");
    TableTexts texts;
    texts.texts = {{QStringLiteral("Mode_Mute"), QStringLiteral("Off")},
                   {QStringLiteral("Tip_Pick"), QStringLiteral("Choose a colour")}};
    RecordingWindow window(QStringLiteral("texts.xml"));
    window.manager().setTextProvider(&texts);
    ASSERT_TRUE(window.create()) << window.skinError().toStdString();
    auto* combo = window.find<SkinCombo>(QStringLiteral("cmb_mode"));
    ASSERT_NE(combo, nullptr);
    // Named before its item existed, the item is selected, without a notification.
    EXPECT_EQ(combo->itemName(combo->currentIndex()), QStringLiteral("Wave"));
    EXPECT_TRUE(window.seen.filter(QStringLiteral("itemselect")).isEmpty());
    // An id the provider answers gives the text; an id it does not know keeps the skin's text.
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Off"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Wave"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Flow"));
    QWidget* tip = window.findControl(QStringLiteral("btn_tip"))->widget();
    EXPECT_EQ(tip->toolTip(), QStringLiteral("Choose a colour"));

    // Another language: the texts are asked again; names and the selection stay.
    texts.texts = {{QStringLiteral("Mode_Mute"), QStringLiteral("Aus")},
                   {QStringLiteral("Mode_Wave"), QStringLiteral("Welle")},
                   {QStringLiteral("Tip_Pick"), QStringLiteral("Farbe wählen")}};
    window.manager().reloadTexts();
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Aus"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("Welle"));
    EXPECT_EQ(combo->itemName(1), QStringLiteral("Wave"));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(tip->toolTip(), QStringLiteral("Farbe wählen"));

    // Selecting an existing item by name, again without a notification.
    EXPECT_TRUE(combo->setAttribute(QStringLiteral("selecteditem"), QStringLiteral("Flow")));
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_TRUE(window.seen.filter(QStringLiteral("itemselect")).isEmpty());
}

TEST(SkinEngineTest, AControlWithoutATabStopTakesTheFocusOnlyFromCode) {
    UiFixture ui;
    writeTextFile(ui.root() / "sink.xml", R"(<?xml version="1.0"?>
<Window size="200,100"><Container>
  <Button name="btn_first" float="true" pos="0,0,40,30"/>
  <Button name="btn_sink" float="true" pos="0,0,0,0" tabstop="false"/>
  <Button name="btn_next" float="true" pos="50,0,90,30"/>
</Container></Window>)");
    RecordingWindow window(QStringLiteral("sink.xml"));
    ASSERT_TRUE(window.create()) << window.skinError().toStdString();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QWidget* first = window.findControl(QStringLiteral("btn_first"))->widget();
    QWidget* sink = window.findControl(QStringLiteral("btn_sink"))->widget();
    QWidget* next = window.findControl(QStringLiteral("btn_next"))->widget();
    first->setFocus(Qt::TabFocusReason);
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next); // Tab passes the sink by
    sink->setFocus();
    EXPECT_TRUE(sink->hasFocus()); // though it has no room, code can hand it the focus
    QTest::keyClick(sink, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next); // and Tab goes on from its place
}

} // namespace
} // namespace varnix::test
