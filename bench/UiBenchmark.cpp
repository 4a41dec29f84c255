// SPDX-License-Identifier: GPL-3.0-or-later
// The window's start-up and page switches on the simulated demo devices, against a bare Qt
// window of the same size built in the same tree. Each start runs in a fresh child process (the
// bench starts itself with --child), so that its peak memory is its own. Figures: time from the
// exec of the child to the first paint of the shown window, peak RSS (VmHWM) at that moment, and
// the time from a device-card click to the painted page. Goals: Varnix / bare <= 1.5 for start-up
// time and for peak RSS; card click to page <= 50 ms; a DPI report of the shown mouse to the
// painted DPI notice <= 20 ms at p99. The home page's shared write to the three devices: the
// longest stall of the UI thread from the Apply click (or a repeat tick) until its result is
// shown, measured as the longest gap between turns of a 1 ms timer; goal < 16 ms.
//   build/bench/ui_bench [runs per case, default 5]            offscreen
//   xvfb-run -a build/bench/ui_bench [runs]                    offscreen and xcb
#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "app/skin/SkinControl.h"
#include "common/WindowMessage.h"
#include "lighting/HomePage.h"
#include "mouse/CPopPush.h"
#include "keyboard/CPopSetWnd.h"
#include "app/skin/SkinTree.h"
#include "macro/MacroPage.h"
#include "macro/MacroStore.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace varnix;

namespace {

constexpr int BareWidth = CMainWnd::Width;
constexpr int BareHeight = CMainWnd::Height;
constexpr int ClickRepeats = 7;
constexpr int DemoCards = 3;
constexpr int SharedWriteRepeats = 5;
// A child that shows nothing for this long is stuck.
constexpr int ChildTimeoutMs = 20000;

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double msSince(std::int64_t startNs) {
    return double(monotonicNs() - startNs) / 1e6;
}

// Peak resident set of this process, in KiB.
long peakRssKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Calls `done` once, after the first paint pass of `target` has finished.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* target, std::function<void()> done) : done_(std::move(done)) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && done_) {
            watched->removeEventFilter(this);
            // The children paint in the same pass; the queued call runs after all of them.
            QTimer::singleShot(0, this, [done = std::move(done_)] { done(); });
        }
        return false;
    }

private:
    std::function<void()> done_;
};

// Runs the event loop until `target` has been painted; false after the timeout.
bool waitForPaint(QWidget* target) {
    QEventLoop loop;
    bool painted = false;
    FirstPaint watch(target, [&] {
        painted = true;
        loop.quit();
    });
    QTimer::singleShot(ChildTimeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return painted;
}

// The page of tab_main that a card's device opens.
QWidget* pageOfCard(CMainWnd& window) {
    static const char* const pages[] = {"tab_console", "tab_macro", "tab_mouse", "tab_keyboard",
                                        "tab_pad"};
    const int kind = window.currentTabKind();
    const int page = kind == TabMouse ? PageMouse : kind == TabPad ? PagePad : PageKeyboard;
    SkinControl* control = window.findControl(QString::fromLatin1(pages[page]));
    return control ? control->widget() : nullptr;
}

// Clicks every demo card a few times, going home in between; prints the times.
void measureCardClicks(CMainWnd& window) {
    for (int card = 0; card < DemoCards; ++card) {
        SkinControl* button = window.findControl(QStringLiteral("btn_display%1").arg(card));
        SkinControl* home = window.findControl(QStringLiteral("btn_console"));
        if (!button || !home)
            continue;
        std::printf("click%d", card);
        for (int repeat = 0; repeat < ClickRepeats; ++repeat) {
            QTest::mouseClick(home->widget(), Qt::LeftButton);
            waitForPaint(window.findControl(QStringLiteral("tab_console"))->widget());
            const std::int64_t start = monotonicNs();
            QTest::mouseClick(button->widget(), Qt::LeftButton);
            QWidget* page = pageOfCard(window);
            if (!page || !waitForPaint(page))
                continue;
            std::printf(" %.3f", msSince(start));
        }
        std::printf("\n");
    }
}

// Apply on the home page, then repeat ticks; prints "stall/total" in ms for each write.
void measureSharedWrites(CMainWnd& window) {
    auto& page = static_cast<HomePage&>(window.homePage());
    SkinControl* home = window.findControl(QStringLiteral("btn_console"));
    SkinControl* apply = window.findControl(QString::fromLatin1(HomePage::ApplyButton));
    if (!home || !apply)
        return;
    QTest::mouseClick(home->widget(), Qt::LeftButton);
    std::printf("sharedwrite");
    for (int repeat = 0; repeat < SharedWriteRepeats; ++repeat) {
        QEventLoop loop;
        QTimer turn;
        turn.setTimerType(Qt::PreciseTimer);
        double longest = 0;
        const int before = page.writesFinished();
        std::int64_t last = monotonicNs();
        const std::int64_t start = last;
        QObject::connect(&turn, &QTimer::timeout, [&] {
            const std::int64_t now = monotonicNs();
            longest = std::max(longest, double(now - last) / 1e6);
            last = now;
            if (page.writesFinished() > before)
                loop.quit();
        });
        QTimer::singleShot(ChildTimeoutMs, &loop, &QEventLoop::quit);
        turn.start(1);
        // The click runs its handler (save, start of the worker) inside this call: it counts.
        if (repeat == 0)
            QTest::mouseClick(apply->widget(), Qt::LeftButton);
        else
            window.postMessage(WM_HomeRefresh);
        loop.exec();
        if (page.writesFinished() > before)
            std::printf(" %.3f/%.3f", longest, msSince(start));
    }
    std::printf("\n");
}

// The mouse page: DPI reports of the shown mouse (message 2031, as the event consumer posts
// them) until the DPI notice is painted with the new level; the notice is hidden before each.
constexpr int DpiReports = 200;
constexpr int DpiKeyButton = 5; // the demo mouse's DPI key

void measureDpiNotice(CMainWnd& window) {
    SkinControl* card = window.findControl(QStringLiteral("btn_display0"));
    if (!card)
        return;
    QTest::mouseClick(card->widget(), Qt::LeftButton);
    QCoreApplication::processEvents();
    CPopPush* notice = window.dpiPopup();
    if (window.currentTabKind() != TabMouse || !notice)
        return;
    if (!window.settings().dpiPopupEnabled())
        window.ToggleDpiPopup();
    std::printf("dpi");
    for (int report = 0; report < DpiReports; ++report) {
        notice->hidePush();
        QCoreApplication::processEvents();
        const std::int64_t start = monotonicNs();
        window.postMessage(WM_DpiStage, DpiKeyButton * 256 + report % 6, window.shownDevice());
        if (!waitForPaint(notice))
            break;
        std::printf(" %.3f", msSince(start));
    }
    std::printf("\n");
}

// Opens the keyboard page, then clicks a key a few times: the time until its popup is shown
// and has drawn itself (its modal loop runs then), closing it in between.
void measureKeyPopups(CMainWnd& window) {
    constexpr int KeyboardCard = 1;
    SkinControl* card = window.findControl(QStringLiteral("btn_display%1").arg(KeyboardCard));
    if (!card)
        return;
    QTest::mouseClick(card->widget(), Qt::LeftButton);
    waitForPaint(pageOfCard(window));
    SkinControl* key = window.findControl(QStringLiteral("btn_KBKey_Q"));
    if (!key)
        return;
    std::printf("keypopup");
    for (int repeat = 0; repeat < ClickRepeats; ++repeat) {
        std::int64_t start = 0;
        CPopSetWnd::setOpenedHook([&](CPopSetWnd& popup) {
            QCoreApplication::processEvents();
            std::printf(" %.3f", msSince(start));
            popup.closeWindow(CPopSetWnd::Cancelled);
        });
        start = monotonicNs();
        QTest::mouseClick(key->widget(), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    CPopSetWnd::setOpenedHook({});
    std::printf("\n");
}

// The macro page: the first tab click (the page is built then) and later ones, each to the painted
// page; then a click on the 275-item macro to its painted list. Goal: <= 50 ms each. Printed to
// the standard error stream, which the child shares with the bench.
void measureMacroPage(CMainWnd& window) {
    SkinControl* tab = window.findControl(QStringLiteral("btn_Mac"));
    SkinControl* home = window.findControl(QStringLiteral("btn_console"));
    SkinControl* page = window.findControl(QStringLiteral("tab_macro"));
    if (!tab || !home || !page)
        return;
    std::fprintf(stderr, "%s macro tab click to page (20 groups x 20 macros), ms:",
                 qPrintable(QGuiApplication::platformName()));
    for (int repeat = 0; repeat < ClickRepeats; ++repeat) {
        QTest::mouseClick(home->widget(), Qt::LeftButton);
        waitForPaint(window.findControl(QStringLiteral("tab_console"))->widget());
        const std::int64_t start = monotonicNs();
        QTest::mouseClick(tab->widget(), Qt::LeftButton);
        if (waitForPaint(page->widget()))
            std::fprintf(stderr, " %.1f", msSince(start));
    }
    auto* tree = window.find<SkinTree>(QStringLiteral("tre_Macro_GroupDisplay"));
    SkinControl* list = window.findControl(QStringLiteral("list_Macro_KeyDisplay"));
    std::fprintf(stderr, "\n%s 275-item macro selected to list, ms:",
                 qPrintable(QGuiApplication::platformName()));
    for (int repeat = 0; tree && list && repeat < ClickRepeats; ++repeat) {
        // Another macro first, then the long one.
        QTest::mouseClick(tree->itemAt(2)->widget(), Qt::LeftButton, {}, QPoint(60, 10));
        waitForPaint(list->widget());
        const std::int64_t start = monotonicNs();
        QTest::mouseClick(tree->itemAt(1)->widget(), Qt::LeftButton, {}, QPoint(60, 10));
        if (waitForPaint(static_cast<QAbstractScrollArea*>(list->widget())->viewport()))
            std::fprintf(stderr, " %.1f", msSince(start));
    }
    std::fprintf(stderr, "\n");
}

// 20 groups of 20 macros; the first macro holds 275 key items.
void writeBenchMacros(const std::filesystem::path& root) {
    MacroStore store(root);
    for (int g = 0; g < 20; ++g) {
        store.AddGroup(g - 1, "Group " + std::to_string(g));
        for (int m = 0; m < 20; ++m)
            store.AddMacro(g, m - 1, "Macro " + std::to_string(m));
    }
    store.SelectMacro(0, 0);
    MacroData& data = store.current.data;
    data.num = MacroSlotCount;
    for (int i = 0; i < MacroSlotCount; ++i) {
        data.macVal[std::size_t(i)] = std::uint8_t(4 + i % 26);
        data.macSta[std::size_t(i)] = std::uint8_t(1 + i % 2);
        data.macDly[std::size_t(i)] = 30;
    }
    store.CommitMacro(0, 0);
}

int childVarnix(int argc, char** argv, std::int64_t execNs) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("varnix"));
    QApplication::setQuitOnLastWindowClosed(false);
    StartOptions options;
    options.instanceName = QStringLiteral("varnix-ui-bench-%1").arg(getpid());
    FirstPaint* watch = nullptr;
    options.windowShown = [&](CMainWnd& window) {
        watch = new FirstPaint(&window, [&window, execNs] {
            std::printf("startup %.3f\nrss %ld\n", msSince(execNs), peakRssKib());
            measureCardClicks(window);
            measureSharedWrites(window);
            measureDpiNotice(window);
            measureKeyPopups(window);
            measureMacroPage(window);
            std::fflush(stdout);
            window.exitProgram();
        });
    };
    const int code = runVarnixWindow(options);
    delete watch;
    return code;
}

// The bare window; with `withText` it shows one line of text, the least any real window draws,
// so that the font system starts up as it does for every program with words in its window.
int childBare(int argc, char** argv, std::int64_t execNs, bool withText) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(BareWidth, BareHeight);
    if (withText)
        (new QLabel(QStringLiteral("Varnix"), &window))->move(20, 20);
    FirstPaint watch(&window, [execNs] {
        std::printf("startup %.3f\nrss %ld\n", msSince(execNs), peakRssKib());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}

struct ChildFigures {
    double startupMs = -1;
    double rssMib = -1;
    std::map<int, std::vector<double>> clicks; // card -> times
    std::vector<double> sharedStalls;          // longest UI stall of each shared write
    std::vector<double> sharedTotals;          // each shared write, start to result shown
    std::vector<double> dpiNotice;             // DPI report to the painted notice
    std::vector<double> keyPopups;
};

// Starts this program again as a child of the given case on a platform and reads its figures.
bool runChild(const std::string& self, const std::string& kind, const std::string& platform,
              ChildFigures& figures) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return false;
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::int64_t start = monotonicNs();
    const std::string startText = std::to_string(start);
    std::vector<std::string> args = {self, "--child", kind, startText};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return false;
    }
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, std::size_t(got));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);

    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "startup")
            words >> figures.startupMs;
        else if (key == "rss") {
            long kib = 0;
            words >> kib;
            figures.rssMib = double(kib) / 1024.0;
        } else if (key == "sharedwrite") {
            for (std::string pair; words >> pair;) {
                const std::size_t slash = pair.find('/');
                if (slash == std::string::npos)
                    continue;
                figures.sharedStalls.push_back(std::atof(pair.substr(0, slash).c_str()));
                figures.sharedTotals.push_back(std::atof(pair.substr(slash + 1).c_str()));
            }
        } else if (key == "dpi") {
            for (double ms; words >> ms;)
                figures.dpiNotice.push_back(ms);
        } else if (key == "keypopup") {
            for (double ms; words >> ms;)
                figures.keyPopups.push_back(ms);
        } else if (key.rfind("click", 0) == 0) {
            const int card = std::atoi(key.c_str() + 5);
            for (double ms; words >> ms;)
                figures.clicks[card].push_back(ms);
        }
    }
    return figures.startupMs >= 0 && figures.rssMib >= 0;
}

double median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void benchPlatform(const std::string& self, const std::string& platform, int runs) {
    constexpr int Bare = 0;
    constexpr int Text = 1;
    constexpr int Varnix = 2;
    constexpr int Cases = 3;
    std::vector<double> startup[Cases];
    std::vector<double> rss[Cases];
    std::map<int, std::vector<double>> clicks;
    std::vector<double> sharedStalls;
    std::vector<double> sharedTotals;
    std::vector<double> mouseFirst, mouseLater, dpiNotice;
    std::vector<double> keyPopups;
    const char* const kinds[Cases] = {"bare", "text", "varnix"};
    // The cases take turns, so that a slow phase of the machine hits each.
    for (int run = 0; run < runs; ++run)
        for (int kind = 0; kind < Cases; ++kind) {
            ChildFigures figures;
            if (!runChild(self, kinds[kind], platform, figures)) {
                std::fprintf(stderr, "ui_bench: the %s child on %s gave no figures\n", kinds[kind],
                             platform.c_str());
                continue;
            }
            startup[kind].push_back(figures.startupMs);
            rss[kind].push_back(figures.rssMib);
            for (auto& [card, times] : figures.clicks)
                clicks[card].insert(clicks[card].end(), times.begin(), times.end());
            sharedStalls.insert(sharedStalls.end(), figures.sharedStalls.begin(),
                                figures.sharedStalls.end());
            sharedTotals.insert(sharedTotals.end(), figures.sharedTotals.begin(),
                                figures.sharedTotals.end());
            // Card 0 is the mouse: its first click builds the page's skin.
            if (auto mouse = figures.clicks.find(0);
                mouse != figures.clicks.end() && !mouse->second.empty()) {
                mouseFirst.push_back(mouse->second.front());
                mouseLater.insert(mouseLater.end(), mouse->second.begin() + 1, mouse->second.end());
            }
            dpiNotice.insert(dpiNotice.end(), figures.dpiNotice.begin(), figures.dpiNotice.end());
            keyPopups.insert(keyPopups.end(), figures.keyPopups.begin(), figures.keyPopups.end());
        }
    const double bareStart = median(startup[Bare]);
    const double textStart = median(startup[Text]);
    const double varnixStart = median(startup[Varnix]);
    const double bareRss = median(rss[Bare]);
    const double textRss = median(rss[Text]);
    const double varnixRss = median(rss[Varnix]);
    std::printf("%s, medians of %d starts each:\n", platform.c_str(), runs);
    std::printf(
        "  exec to first paint  varnix %7.1f ms   bare %7.1f ms   ratio %.2f  (goal <= 1.5)\n",
        varnixStart, bareStart, varnixStart / bareStart);
    std::printf("                       bare with a line of text %7.1f ms   ratio %.2f\n",
                textStart, varnixStart / textStart);
    std::printf(
        "  peak RSS             varnix %7.1f MiB  bare %7.1f MiB  ratio %.2f  (goal <= 1.5)\n",
        varnixRss, bareRss, varnixRss / bareRss);
    std::printf("                       bare with a line of text %7.1f MiB  ratio %.2f\n", textRss,
                varnixRss / textRss);
    for (const auto& [card, times] : clicks)
        std::printf("  btn_display%d click to page painted  %6.2f ms  (median of %zu, max %.2f; "
                    "goal <= 50)\n",
                    card, median(times), times.size(),
                    *std::max_element(times.begin(), times.end()));
    if (!sharedStalls.empty())
        std::printf("  home shared write to 3 devices: longest UI stall %.2f ms (median of %zu, "
                    "max %.2f; goal < 16), write %.0f ms\n",
                    median(sharedStalls), sharedStalls.size(),
                    *std::max_element(sharedStalls.begin(), sharedStalls.end()),
                    median(sharedTotals));
    if (!mouseFirst.empty() && !mouseLater.empty())
        std::printf("  mouse page: first click %6.2f ms, later clicks %6.2f ms  (medians; goal "
                    "<= 50)\n",
                    median(mouseFirst), median(mouseLater));
    if (!dpiNotice.empty()) {
        std::sort(dpiNotice.begin(), dpiNotice.end());
        const double p99 = dpiNotice[std::min(dpiNotice.size() - 1, dpiNotice.size() * 99 / 100)];
        std::printf("  DPI report to notice painted  median %6.2f ms, p99 %6.2f ms over %zu  "
                    "(goal p99 <= 20)\n",
                    median(dpiNotice), p99, dpiNotice.size());
    }
    if (!keyPopups.empty())
        std::printf("  keyboard key click to popup shown    %6.2f ms  (median of %zu, max %.2f; "
                    "goal <= 30)\n",
                    median(keyPopups), keyPopups.size(),
                    *std::max_element(keyPopups.begin(), keyPopups.end()));
}

// A copy of the resource tree, as the program writes into its resource root.
std::filesystem::path copyResources() {
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/varnix-ui-bench-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made)
        throw std::runtime_error(std::strerror(errno));
    const fs::path root = fs::path(made) / "res";
    fs::copy(fs::path(VARNIX_SOURCE_DIR) / "res", root, fs::copy_options::recursive);
    return root;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0) {
        const std::int64_t execNs = std::strtoll(argv[3], nullptr, 10);
        int childArgc = 1;
        if (std::strcmp(argv[2], "varnix") == 0)
            return childVarnix(childArgc, argv, execNs);
        return childBare(childArgc, argv, execNs, std::strcmp(argv[2], "text") == 0);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    const std::filesystem::path root = copyResources();
    setenv("VARNIX_RES", root.c_str(), 1);
    writeBenchMacros(root);
    setenv("VARNIX_BACKEND", "sim", 1);
    setenv("VARNIX_SIM", (root / "sim" / "demo.json").c_str(), 1);
    unsetenv("VARNIX_SCREENSHOT");

    benchPlatform(self, "offscreen", runs);
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        benchPlatform(self, "xcb", runs);
    else
        std::printf("xcb: no DISPLAY; run under xvfb-run for the X figures\n");
    std::filesystem::remove_all(root.parent_path());
    return 0;
}
