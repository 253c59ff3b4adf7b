#include "mainwindow/window_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/posix/iconv_codec.h"
#include "support/memory_file_system.h"

namespace kolvi {
namespace {

constexpr const char* kIni = "C:\\prog\\kolvialarm.ini";

class WindowSettingsTest : public ::testing::Test {
protected:
    SettingsFile& withFile(const std::string& ascii) {
        fs.put(kIni, ascii);
        return settings;
    }
    // The file's lines without blank ones.
    std::vector<std::string> lines() const {
        std::vector<std::string> result;
        std::istringstream in(fs.content(kIni));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) result.push_back(line);
        }
        return result;
    }

    test::MemoryFileSystem fs;
    IconvCodec codec;
    SettingsFile settings{fs, codec, kIni};
};

TEST_F(WindowSettingsTest, DefaultsWithoutAFile) {
    const WindowSettings w = loadWindowSettings(settings);
    EXPECT_EQ(std::tuple(w.state, w.left, w.top, w.width, w.height, w.alpha),
              std::tuple(WindowState::normal, 0, 0, 7000, 3500, 255));
    EXPECT_EQ(std::tuple(w.list.sortKey, w.list.sortOrder, w.showToolTip, w.statusBarVisible),
              std::tuple(3, 0, false, true));
    EXPECT_EQ(w.list.columnWidths, (std::array<int, 6>{40, 40, 100, 70, 200, 40}));
    EXPECT_EQ(readCheckInterval(settings), 250);
    EXPECT_EQ(readTrayRefreshPeriod(settings), 0u);
}

TEST_F(WindowSettingsTest, HandEditedValuesAreBroughtIntoRange) {
    struct Case {
        std::string file;
        WindowState state;
        int width, height, alpha;
        bool toolTip, statusBar;
    };
    const Case cases[] = {
        {"[window]\r\nstate=1\r\n", WindowState::minimized, 7000, 3500, 255, false, true},
        {"[window]\r\nstate=2\r\n", WindowState::maximized, 7000, 3500, 255, false, true},
        {"[window]\r\nstate=3\r\n", WindowState::normal, 7000, 3500, 255, false, true},
        {"[window]\r\nstate=-1\r\narpha=-4\r\n", WindowState::normal, 7000, 3500, 0, false, true},
        {"[window]\r\narpha=300\r\nwidth=0\r\nheight=-20\r\n", WindowState::normal, 7000, 3500, 255, false, true},
        {"[window]\r\narpha=128\r\nwidth=9000\r\nheight=4000\r\n", WindowState::normal, 9000, 4000, 128, false, true},
        // Flags: only 1 is on; a fraction after the number is ignored.
        {"[list]\r\nshowtooltip=1\r\n[statusbar]\r\nvisible=0\r\n", WindowState::normal, 7000, 3500, 255, true, false},
        {"[list]\r\nshowtooltip=2\r\n[statusbar]\r\nvisible=2\r\n", WindowState::normal, 7000, 3500, 255, false, false},
        {"[list]\r\nshowtooltip=1.7\r\n[statusbar]\r\nvisible=x\r\n", WindowState::normal, 7000, 3500, 255, true, false},
        {"[list]\r\nshowtooltip=-1\r\n[statusbar]\r\nvisible=\r\n", WindowState::normal, 7000, 3500, 255, false, true},
    };
    for (const Case& c : cases) {
        const WindowSettings w = loadWindowSettings(withFile(c.file));
        SCOPED_TRACE(c.file);
        EXPECT_EQ(w.state, c.state);
        EXPECT_EQ(w.width, c.width);
        EXPECT_EQ(w.height, c.height);
        EXPECT_EQ(w.alpha, c.alpha);
        EXPECT_EQ(w.showToolTip, c.toolTip);
        EXPECT_EQ(w.statusBarVisible, c.statusBar);
    }
    // Positions left of or above the primary screen stay negative.
    const WindowSettings w = loadWindowSettings(withFile("[window]\r\nleft=-1200\r\ntop=-30\r\n"));
    EXPECT_EQ(w.left, -1200);
    EXPECT_EQ(w.top, -30);
}

TEST_F(WindowSettingsTest, TimerPeriods) {
    const std::pair<const char*, int> intervals[] = {
        {"", 250}, {"100", 100}, {"0", 0}, {"-5", 0}, {"65535", 65535}, {"70000", 65535},
    };
    for (const auto& [value, ms] : intervals) {
        EXPECT_EQ(readCheckInterval(withFile(std::string("[time]\r\ninterval=") + value + "\r\n")), ms) << value;
    }
    const std::pair<const char*, std::uint32_t> refreshes[] = {
        {"", 0},           {"-1", 0},          {"30", 30000u},        {"65", 65000u},  // beyond 65535 ms
        {"86400", 86400000u}, {"86401", 86400000u},
    };
    for (const auto& [value, ms] : refreshes) {
        EXPECT_EQ(readTrayRefreshPeriod(withFile(std::string("[window]\r\ntrayrefreshinterval=") + value + "\r\n")),
                  ms)
            << value;
    }
}

TEST_F(WindowSettingsTest, OnlyTheCloseCommandAsksAndOnlyWhenTheKeyIsNotZero) {
    const std::pair<const char*, bool> values[] = {{"", false}, {"0", false}, {"1", true}, {"2", true},
                                                   {"-1", true}, {"abc", false}};
    for (const auto& [value, asks] : values) {
        withFile(std::string("[window]\r\ncloseconfirm=") + value + "\r\n");
        EXPECT_EQ(closeNeedsConfirmation(CloseSource::closeCommand, settings), asks) << value;
        EXPECT_FALSE(closeNeedsConfirmation(CloseSource::programExit, settings)) << value;
        EXPECT_FALSE(closeNeedsConfirmation(CloseSource::sessionEnd, settings)) << value;
    }
}

TEST_F(WindowSettingsTest, ExitWritesExactlyTheKeptKeysInOrder) {
    WindowSettings w;
    w.state = WindowState::minimized;
    w.left = -1200;
    w.top = 450;
    w.width = 9000;
    w.height = 4005;
    w.alpha = 128;  // never written
    w.list.sortKey = 1;
    w.list.sortOrder = 1;
    w.list.columnWidths = {40, 120, 100, 70, 200, 40};
    w.showToolTip = true;
    w.statusBarVisible = false;
    saveWindowSettings(settings, w, "  list.alm ");

    const std::vector<std::string> expected{
        "[window]",    "state=1",       "left=-1200",    "top=450",       "width=9000",    "height=4005",
        "[list]",      "sortkey=1",     "sortorder=1",   "colwidth1=40",  "colwidth2=120", "colwidth3=100",
        "colwidth4=70", "colwidth5=200", "colwidth6=40", "lastopen=list.alm", "showtooltip=1", "[statusbar]",
        "visible=0",
    };
    EXPECT_EQ(lines(), expected);

    // What was written reads back as it was (the opacity excepted).
    const WindowSettings back = loadWindowSettings(settings);
    EXPECT_EQ(std::tuple(back.state, back.left, back.top, back.width, back.height, back.alpha),
              std::tuple(w.state, w.left, w.top, w.width, w.height, 255));
    EXPECT_EQ(std::tuple(back.list.sortKey, back.list.sortOrder, back.list.columnWidths, back.showToolTip,
                         back.statusBarVisible),
              std::tuple(w.list.sortKey, w.list.sortOrder, w.list.columnWidths, w.showToolTip, w.statusBarVisible));
}

TEST(StartUp, MinArgumentAndStoredStateDecideTheTray) {
    const std::pair<std::vector<std::string>, bool> arguments[] = {
        {{"min"}, true},  {{}, false}, {{"MIN"}, false}, {{" min"}, false}, {{"min", "x"}, false}, {{"x", "min"}, false},
    };
    for (const auto& [args, min] : arguments) {
        EXPECT_EQ(isMinimizedStartArgument(args), min) << (args.empty() ? "(none)" : args.front());
    }

    using S = WindowState;
    EXPECT_EQ(startPlan(S::normal, false), (StartPlan{S::normal, false}));
    EXPECT_EQ(startPlan(S::maximized, false), (StartPlan{S::maximized, false}));
    EXPECT_EQ(startPlan(S::minimized, false), (StartPlan{S::normal, true}));
    EXPECT_EQ(startPlan(S::normal, true), (StartPlan{S::normal, true}));
    EXPECT_EQ(startPlan(S::maximized, true), (StartPlan{S::maximized, true}));
}

}  // namespace
}  // namespace kolvi
