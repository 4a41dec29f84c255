// SPDX-License-Identifier: GPL-3.0-or-later
// The home page on the simulated demo devices: Apply writes one effect to every device on a
// worker, the repeat timer writes it again without holding up the window, a device plugged in
// joins at once, and a device page's Apply stops the repeat.
#include "lighting/HomePage.h"

#include "app/PopupService.h"
#include "app/PositionSheet.h"
#include "app/skin/SkinControl.h"
#include "app/skin/SkinOption.h"
#include "common/WindowMessage.h"
#include "device/HotplugMonitor.h"
#include "lighting/CPopColorWnd.h"
#include "lighting/LedMode.h"
#include "tests/app/UiFixture.h"

#include <QTest>
#include <QTimer>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <nlohmann/json.hpp>

namespace varnix::test {
namespace {

namespace fs = std::filesystem;

// The demo devices on the simulated backend.
constexpr int SimMouse = 0;
constexpr int SimKeyboard = 1;
constexpr int SimPad = 2;
constexpr int PadModeByte = 305;
// A write to three devices takes about half a second with the protocol's pauses.
constexpr int WriteTimeoutMs = 20000;

struct Popups {
    Popups() {
        PopupService::setResponder([this](const PopupRequest& request) {
            requests.push_back(request);
            return 0;
        });
    }
    ~Popups() { PopupService::setResponder({}); }
    std::vector<PopupRequest> requests;
};

// Holds the first frame any device receives until released, so that a write stays on its way.
class FrameGate {
public:
    explicit FrameGate(SimulatedBackend& backend) : backend_(backend) {
        for (int device = 0; device < backend.deviceCount(); ++device)
            backend.setFaultHook(device, [this](const std::vector<std::uint8_t>&) {
                std::unique_lock lock(mutex_);
                if (!held_) {
                    held_ = true;
                    changed_.notify_all();
                    changed_.wait(lock, [this] { return released_; });
                }
                return FrameFate::Accept;
            });
    }
    ~FrameGate() {
        release();
        for (int device = 0; device < backend_.deviceCount(); ++device)
            backend_.setFaultHook(device, {});
    }
    bool held() {
        std::lock_guard lock(mutex_);
        return held_;
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
    }

private:
    SimulatedBackend& backend_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool released_ = false;
};

class HomePageTest : public ::testing::Test {
protected:
    explicit HomePageTest(std::vector<VirtualDeviceSetup> devices = demoDevices())
        : ui(std::move(devices)) {}
    void open() {
        window = &ui.open();
        pumpEvents(20);
    }
    HomePage& page() { return static_cast<HomePage&>(window->homePage()); }
    void click(const char* name) {
        SkinControl* control = window->findControl(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr) << name;
        QTest::mouseClick(control->widget(), Qt::LeftButton);
    }
    QString status() {
        return window->findControl(QString::fromLatin1(homepage::StatusControl))->text();
    }
    // Apply, and wait until its write has reached `devices` devices.
    void applyAndWait(int devices) {
        const int before = page().writesStarted();
        click(HomePage::ApplyButton);
        ASSERT_EQ(page().writesStarted(), before + 1);
        QTRY_VERIFY_WITH_TIMEOUT(!page().writing() && !page().runState().writing, WriteTimeoutMs);
        ASSERT_EQ(page().runState().written, devices);
    }
    void plug(int device, std::uint16_t pid, bool in) {
        const std::string name =
            deviceInterfaceName(FamilyVendorId, pid, ui.backend.readPath(device));
        if (in)
            ui.backend.plug(device);
        else
            ui.backend.unplug(device);
        ASSERT_TRUE(window->OnDeviceChange(
            in ? DeviceChangeEvent::Arrival : DeviceChangeEvent::Removal, name));
    }

    Popups popups;
    UiFixture ui;
    CMainWnd* window = nullptr;
};

TEST_F(HomePageTest, ApplyWritesOneEffectToEveryDeviceAndKeepsThemInStep) {
    open();
    ASSERT_TRUE(popups.requests.empty()) << popups.requests.front().text.toStdString();
    EXPECT_EQ(status(), QStringLiteral("Apply sets this effect on every connected device"));
    click("opt_PublicLed_Mode2"); // Flow, three colours of the shipped file at speed 3
    ASSERT_EQ(page().model().panel().effect().mode, 2);
    ui.backend.clearFrames();
    applyAndWait(3);

    for (int device : {SimMouse, SimKeyboard, SimPad}) {
        EXPECT_FALSE(ui.backend.sentFrames(device).empty()) << device;
        EXPECT_EQ(ui.backend.activationCount(device), 1) << device;
    }
    EXPECT_EQ(ui.backend.memory(SimPad)[PadModeByte] & 0x0F, LedModeFlow);
    SharedLighting saved;
    ASSERT_TRUE(isOk(SharedLighting::load(ui.root() / sharedfile::ConfigFile, saved)));
    EXPECT_EQ(saved.mode, 2);
    // Flow: (7 - 3) x 12 LEDs x 3 colours x 212 ms.
    ASSERT_TRUE(window->lightingRepeatActive());
    EXPECT_GT(window->lightingRepeatRemainingMs(), 25000);
    EXPECT_LE(window->lightingRepeatRemainingMs(), 4 * 12 * 3 * 212);
    EXPECT_EQ(status(), QStringLiteral("In step on 3 devices · repeats every 31 s"));
    EXPECT_TRUE(popups.requests.empty());

    // One colour of Breathing is written once and stops the repeat.
    for (int slot : {1, 2})
        click(("chk_PublicLed_ColEn" + std::to_string(slot)).c_str());
    click("opt_PublicLed_Mode0");
    applyAndWait(3);
    EXPECT_FALSE(window->lightingRepeatActive());
    EXPECT_EQ(status(), QStringLiteral("Set on 3 devices"));
    EXPECT_EQ(ui.backend.memory(SimPad)[PadModeByte] & 0x0F, LedModeBreathing);
}

TEST_F(HomePageTest, ATickWritesAgainWhileTheWindowKeepsRunning) {
    open();
    applyAndWait(3); // the shipped file: Breathing with three colours repeats
    ASSERT_TRUE(window->lightingRepeatActive());
    ui.backend.clearFrames();

    // The event loop goes on while the write is held at its first frame.
    int turns = 0;
    QTimer counter;
    QObject::connect(&counter, &QTimer::timeout, [&turns] { ++turns; });
    counter.start(1);
    FrameGate gate(ui.backend);
    const int started = page().writesStarted();
    window->postMessage(WM_HomeRefresh);
    QTRY_VERIFY(gate.held());
    EXPECT_EQ(page().writesStarted(), started + 1);
    const int turnsAtHold = turns;
    QTRY_VERIFY(turns >= turnsAtHold + 20);
    EXPECT_TRUE(page().writing());
    // A tick that comes while the write is on its way is skipped, not queued.
    window->postMessage(WM_HomeRefresh);
    QTRY_COMPARE(page().ticksSkipped(), 1);
    EXPECT_EQ(page().writesStarted(), started + 1);

    // An Apply meanwhile is not lost: it runs when the write on its way has ended.
    click("opt_PublicLed_Mode2");
    click(HomePage::ApplyButton);
    EXPECT_EQ(page().writesStarted(), started + 1);
    EXPECT_EQ(status(), QStringLiteral("Writing the effect to 3 devices…"));

    gate.release();
    QTRY_COMPARE_WITH_TIMEOUT(page().writesStarted(), started + 2, WriteTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(!page().writing() && !page().runState().writing, WriteTimeoutMs);
    EXPECT_EQ(page().writesFinished(), started + 2);
    EXPECT_EQ(page().runState().written, 3);
    for (int device : {SimMouse, SimKeyboard, SimPad})
        EXPECT_EQ(ui.backend.activationCount(device), 3) << device;
    EXPECT_EQ(ui.backend.memory(SimPad)[PadModeByte] & 0x0F, LedModeFlow);
    SharedLighting saved;
    ASSERT_TRUE(isOk(SharedLighting::load(ui.root() / sharedfile::ConfigFile, saved)));
    EXPECT_EQ(saved.mode, 2);
}

// A device pulled out during a write is missed; the others still get the effect.
TEST_F(HomePageTest, ADevicePulledOutDuringAWriteIsMissedAndTheOthersGetTheEffect) {
    open();
    applyAndWait(3);
    int frames = 0;
    ui.backend.setFaultHook(SimKeyboard, [&frames](const std::vector<std::uint8_t>&) {
        return ++frames > 5 ? FrameFate::Vanish : FrameFate::Accept;
    });
    window->postMessage(WM_HomeRefresh);
    QTRY_COMPARE_WITH_TIMEOUT(page().writesFinished(), 2, WriteTimeoutMs);
    EXPECT_EQ(page().runState().written, 2);
    EXPECT_EQ(page().runState().missed, 1);
    EXPECT_FALSE(ui.backend.isPlugged(SimKeyboard));
    for (int device : {SimMouse, SimPad})
        EXPECT_EQ(ui.backend.activationCount(device), 2) << device;
    EXPECT_EQ(status(),
              QStringLiteral("In step on 2 devices · repeats every 51 s · 1 not reached"));
    EXPECT_TRUE(popups.requests.empty());
}

TEST_F(HomePageTest, AColourFromThePickerReachesTheEffect) {
    open();
    std::vector<ColorPickerRequest> requests;
    CPopColorWnd::setResponder(
        [&](const ColorPickerRequest& request) -> std::optional<std::uint32_t> {
            requests.push_back(request);
            return 0xFF10E0A0;
        });
    click("btn_PublicLed_ColVal2"); // an enabled slot of the shipped file
    pumpEvents(30);
    CPopColorWnd::setResponder({});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].callerCode, PageCodeHome);
    EXPECT_EQ(page().model().lighting().slots[2].colour, 0xFF10E0A0u);
}

class HomePageHotplugTest : public HomePageTest {
protected:
    // The keyboard starts unplugged.
    HomePageHotplugTest()
        : HomePageTest({simDevice(0x1441, "Tavro_Quenra-Rum1"),
                        simDevice(0x2351, "Tavro_Quenra-Sel1", false),
                        simDevice(0x3031, "Tavro_Quenra-Wel1")}) {}
};

TEST_F(HomePageHotplugTest, AKeyboardPluggedInJoinsAtOnceAndTheTimerStartsAgain) {
    open();
    applyAndWait(2);
    EXPECT_TRUE(ui.backend.sentFrames(SimKeyboard).empty());
    pumpEvents(300);
    const int remainingBefore = window->lightingRepeatRemainingMs();
    const int started = page().writesStarted();

    plug(SimKeyboard, 0x2351, true);
    // Written with the others at once, and the timer counts its whole interval again.
    EXPECT_EQ(page().writesStarted(), started + 1);
    EXPECT_GT(window->lightingRepeatRemainingMs(), remainingBefore);
    QTRY_VERIFY_WITH_TIMEOUT(!page().writing() && !page().runState().writing, WriteTimeoutMs);
    EXPECT_EQ(page().runState().written, 3);
    EXPECT_EQ(ui.backend.activationCount(SimKeyboard), 1);
    for (int device : {SimMouse, SimPad})
        EXPECT_EQ(ui.backend.activationCount(device), 2) << device;
    EXPECT_EQ(status(), QStringLiteral("In step on 3 devices · repeats every 51 s"));

    // A device that leaves is dropped; the others are not written again for it.
    plug(SimKeyboard, 0x2351, false);
    pumpEvents(20);
    EXPECT_EQ(page().writesStarted(), started + 1);
    EXPECT_TRUE(window->lightingRepeatActive());
    EXPECT_EQ(page().runState().connected, 2);
    // The next tick writes the two that are left.
    window->postMessage(WM_HomeRefresh);
    QTRY_COMPARE(page().writesStarted(), started + 2);
    QTRY_VERIFY_WITH_TIMEOUT(!page().writing(), WriteTimeoutMs);
    QTRY_COMPARE(page().runState().written, 2);
    EXPECT_EQ(page().runState().missed, 0);
}

TEST_F(HomePageTest, ADevicePagesApplyStopsTheRepeat) {
    open();
    applyAndWait(3);
    ASSERT_TRUE(window->lightingRepeatActive());
    // The keyboard page's Apply stops the repeat through the main window, as every device page
    // does; a tick already on its way then writes nothing.
    window->postMessage(WM_HomeRefresh);
    window->stopLightingRepeat();
    pumpEvents(30);
    EXPECT_FALSE(page().writing());
    EXPECT_EQ(page().writesStarted(), 1);
    click("btn_console");
    EXPECT_EQ(status(), QStringLiteral("Not repeating: a device page applied its own lighting"));

    // An Apply kept for the end of a write on its way is dropped when a device page applies
    // meanwhile: the device page's lighting is the newer one.
    applyAndWait(3);
    {
        FrameGate gate(ui.backend);
        const int started = page().writesStarted();
        window->postMessage(WM_HomeRefresh);
        QTRY_VERIFY(gate.held());
        click(HomePage::ApplyButton);
        window->stopLightingRepeat();
        gate.release();
        QTRY_VERIFY_WITH_TIMEOUT(!page().writing(), WriteTimeoutMs);
        pumpEvents(30);
        EXPECT_EQ(page().writesStarted(), started + 1);
        EXPECT_FALSE(page().writing());
    }

    // The pad page's Apply does the same.
    applyAndWait(3);
    ASSERT_TRUE(window->lightingRepeatActive());
    click("btn_display2");
    click("btn_Pad_apply");
    pumpEvents(30);
    EXPECT_FALSE(window->lightingRepeatActive());
}

TEST_F(HomePageTest, CancelShowsTheFactoryEffectAndWritesNothing) {
    open();
    const std::string file = readTextFile(ui.root() / sharedfile::ConfigFile);
    click("opt_PublicLed_Mode6");
    ui.backend.clearFrames();
    click(HomePage::CancelButton);
    SharedLighting factory;
    ASSERT_TRUE(isOk(SharedLighting::load(ui.root() / sharedfile::ResetFile, factory)));
    EXPECT_EQ(page().model().lighting(), factory);
    auto* mode = window->find<SkinOption>(QStringLiteral("opt_PublicLed_Mode%1").arg(factory.mode));
    ASSERT_NE(mode, nullptr);
    EXPECT_TRUE(mode->isSelected());
    pumpEvents(30);
    EXPECT_TRUE(ui.backend.frames().empty());
    EXPECT_EQ(readTextFile(ui.root() / sharedfile::ConfigFile), file);
    EXPECT_EQ(page().writesStarted(), 0);
}

// Every control the layout file names is placed where the file says (a control the file misplaces
// ends up without room and vanishes from the page).
TEST_F(HomePageTest, TheLayoutFilePlacesEveryControl) {
    open();
    const nlohmann::json file =
        nlohmann::json::parse(readTextFile(ui.root() / homepage::LayoutFile));
    const nlohmann::json& entries = file.at("Controlinfo");
    ASSERT_GT(entries.size(), 40u);
    EXPECT_EQ(page().positionedControls().size(), qsizetype(entries.size()));
    for (const nlohmann::json& entry : entries) {
        const std::string name = entry.at("ctrlname").get<std::string>();
        SkinControl* control = window->findControl(QString::fromStdString(name));
        ASSERT_NE(control, nullptr) << name;
        const std::vector<int> pos = entry.at("pos").get<std::vector<int>>();
        EXPECT_EQ(control->widget()->geometry(), QRect(pos[0], pos[1], pos[2], pos[3])) << name;
    }
}

TEST_F(HomePageTest, AMissingLayoutFileIsToldOnceAndThePageStillWorks) {
    fs::remove(ui.root() / homepage::LayoutFile);
    open();
    ASSERT_EQ(popups.requests.size(), 1u);
    EXPECT_EQ(popups.requests[0].kind, PopupKind::PlainMessage);
    EXPECT_EQ(popups.requests[0].text, QString::fromUtf8("无法打开json文件"));
    click("btn_display0");
    click("btn_console");
    EXPECT_EQ(popups.requests.size(), 1u);
    applyAndWait(3);
}

} // namespace
} // namespace varnix::test
