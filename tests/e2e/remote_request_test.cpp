// The command line against the real program: with no copy running a request
// starts it and adds its row; with one running, another process hands it a
// countdown that is saved and rings, and a refused request changes nothing.
#include <utility>

#include "e2e/program_fixture.h"

namespace kolvi::e2e {
namespace {

class RemoteRequestTest : public ProgramTest {
protected:
    // Starts the exe again, as a batch file would, and returns its exit
    // code; a box it shows first is closed and its text kept in `box`.
    DWORD again(const std::string& arguments, std::string* box = nullptr) {
        const PROCESS_INFORMATION running = std::exchange(process_, launch(arguments));
        if (box != nullptr) *box = closeBox();
        DWORD code = 99;
        EXPECT_EQ(WaitForSingleObject(process_.hProcess, kPatienceMs), WAIT_OBJECT_0);
        GetExitCodeProcess(process_.hProcess, &code);
        stop();  // it has no window: only its handles are closed
        process_ = running;
        return code;
    }
    bool saved(const std::string& text) const { return alarms().find(text) != std::string::npos; }
};

TEST_F(RemoteRequestTest, ARequestStartsTheProgramOrReachesTheRunningOneAndItsCountdownRings) {
    prepare("");
    const HWND main = start("min /timer 10m");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(waitFor(true, [&] { return saved(",タイマー,1,1,1,1,1,1,1,"); })) << alarms();
    EXPECT_FALSE(IsWindowVisible(main));
    const std::string before = alarms();

    std::string box;
    EXPECT_EQ(again("/alarm 25:00", &box), 2u);
    EXPECT_EQ(box + alarms(), "時刻が正しくありません。" + before);
    EXPECT_EQ(again("/timer 0:05 お茶"), 0u);
    EXPECT_TRUE(saved(",お茶,1,1,1,1,1,1,1,")) << alarms();
    EXPECT_EQ(closeBox(), "お茶");
    EXPECT_EQ(waitFor(before, [&] { return alarms(); }), before);  // deleted after its run
    stop(WM_COMMAND, kTrayExit);
}

}  // namespace
}  // namespace kolvi::e2e
