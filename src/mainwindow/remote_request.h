#pragma once
// Alarms and countdowns added from the command line. A second start of the
// program hands its words to the running copy, which reads them again with
// the same rules before it adds anything; a first start adds them itself once
// its file is open.
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/timer_history.h"
#include "platform/clock.h"
#include "platform/text_codec.h"
#include "store/alarm_record.h"

namespace kolvi {

enum class RemoteKind { timer, alarm };

struct RemoteRequest {
    RemoteKind kind = RemoteKind::timer;
    long long countdownSeconds = 0;        // timer
    std::array<long long, 3> timeOfDay{};  // alarm: hour, minute, second
    std::array<bool, 7> days{};            // alarm, Sunday first
    std::string name;
    std::string file;  // alarm
    friend bool operator==(const RemoteRequest&, const RemoteRequest&) = default;
};

// The request the words make (the first word is "/timer" or "/alarm", in any
// case), or the text of the box that refuses them: the usage when they fit
// no form, else the editor's own refusal (a countdown under a second or of a
// day or more, a time of day out of range, a comma or a character code page
// 932 cannot hold in the name or the file).
//   /timer <span> [name]                       span: H:MM:SS, M:SS, or 1h30m, 15m, 90s
//   /alarm <H:MM[:SS]> [days] [name] [file]    days: of 日月火水木金土, or 毎日 (the default)
// A second word of weekday characters only is the days; to name an alarm
// "月", give the days first.
struct RemoteParse {
    std::optional<RemoteRequest> request;
    std::string refusal;
};
RemoteParse parseRemoteRequest(std::span<const std::string> words, const TextCodec& codec);

// What a request adds at `now`. A countdown is made as the editor's countdown
// kind makes it: named "タイマー" when unnamed, every weekday, deleted after
// its run, due at now + span, and recorded in the timer history. An alarm is
// switched on, not deleted after its run, and recorded nowhere else.
struct RemoteAlarm {
    AlarmRecord record;
    std::optional<TimerHistoryEntry> history;
};
RemoteAlarm remoteAlarm(const RemoteRequest& request, const LocalTime& now);

// The program's start arguments: a leading "min" (start in the tray), then a
// request when the next word begins with "/". Arguments that are no request
// mean what they always did: "min" alone starts in the tray.
struct StartArguments {
    bool minimized = false;
    std::vector<std::string> request;
};
StartArguments splitStartArguments(std::span<const std::string> arguments);

// The running program's answer, carried back as WM_COPYDATA's result. 0 is no
// answer: a window not yet started, or data it does not take for a request.
enum class RemoteAnswer : int { none = 0, added = 1, noFileOpen = 2, refused = 3 };
// The second process's exit code: 0 added, 1 not added (no file open, or no
// answer), 2 refused.
int exitCodeFor(RemoteAnswer answer);

// The words on their way: UTF-8, each ended by a NUL. Decoding refuses empty
// or oversized data, and data that does not end with a NUL.
inline constexpr std::size_t kMaxRemoteRequestBytes = 128 * 1024;  // above any command line
std::string encodeRemoteRequest(std::span<const std::string> words);
std::optional<std::vector<std::string>> decodeRemoteRequest(std::string_view bytes);

}  // namespace kolvi
