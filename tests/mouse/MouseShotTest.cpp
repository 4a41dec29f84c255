// throwaway screenshots
#include "mouse/MousePage.h"
#include "mouse/PopMouseKeySel.h"
#include "mouse/CPopPush.h"
#include "app/skin/SkinOption.h"
#include "tests/app/UiFixture.h"
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <gtest/gtest.h>
namespace varnix::test {
TEST(MouseShot, Pages) {
    std::vector<VirtualDeviceSetup> devs = {simDevice(0x1441, "Tavro_Quenra-Rum1"), simDevice(0x1441, "Tavro_Quenra-Rum2"),
        simDevice(0x1441, "Tavro_Quenra-Rum3"), simDevice(0x1441, "Tavro_Quenra-Rum4"), simDevice(0x1441, "Tavro_Quenra-Rum5")};
    const char* lang = getenv("SHOT_LANG");
    UiFixture ui(devs, std::string("[Set]\nLanguage=") + (lang ? lang : "1") + "\nDpiPopEn=1\n");
    CMainWnd& w = ui.open();
    for (int i = 0; i < 5; ++i) {
        SkinControl* c = w.findControl(QStringLiteral("btn_display%1").arg(i));
        if (!c) continue;
        QTest::mouseClick(c->widget(), Qt::LeftButton);
        pumpEvents(50);
        w.grab().save(QStringLiteral("/tmp/mouse%1.png").arg(i));
        { auto& pg = static_cast<MousePage&>(w.mousePage()); SkinControl* b = w.findControl("btn_MouseKey_Click6");
          printf("dev %d keyNum %d count %d vis6 %d text %s\n", pg.shownDevice(), pg.model().model().keyNum, pg.model().keyCount(), b ? int(b->isControlVisible()) : -1, b ? b->text().toStdString().c_str() : ""); }
        if (i == 1) {
            QTest::mouseClick(w.findControl("opt_Mouse_TabLight")->widget(), Qt::LeftButton);
            pumpEvents(50);
            w.grab().save(QStringLiteral("/tmp/mouse_light.png"));
            QTest::mouseClick(w.findControl("opt_Mouse_TabAdv")->widget(), Qt::LeftButton);
        }
    }
    auto& page = static_cast<MousePage&>(w.mousePage());
    for (int tab = 0; tab < 7; ++tab) {
        PopMouseKeySel pop(page.model(), 2, &w, &w);
        ASSERT_TRUE(pop.create());
        pop.open();
        QString opt = QString::fromLatin1(std::string(mousekeysel::tabOption(tab)).c_str());
        QTest::mouseClick(pop.findControl(opt)->widget(), Qt::LeftButton);
        pop.show();
        pumpEvents(50);
        pop.grab().save(QStringLiteral("/tmp/keysel%1.png").arg(tab));
    }
    w.dpiPopup()->showPush(DpiPushInfo{3, "1600", "Tavro_Quenra-Rum5", 8}, w.messageText("Current DPI Position"));
    pumpEvents(400);
    w.dpiPopup()->grab().save("/tmp/poppush.png");
    printf("popup geometry %d %d %d %d\n", w.dpiPopup()->x(), w.dpiPopup()->y(), w.dpiPopup()->width(), w.dpiPopup()->height());
}
}
