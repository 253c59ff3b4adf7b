#include "settings/safety_settings.h"

#include <algorithm>
#include <string_view>

namespace kolvi {
namespace {

constexpr std::string_view kAlarm = "alarm";

constexpr int kDefaultKeyGuardMs = 500;
constexpr int kLongestKeyGuardMs = 10'000;
constexpr int kDefaultActionDelay = 30;
constexpr int kLongestActionDelay = 60 * 60;
constexpr int kLongestMissedGrace = 24 * 60 * 60;

// Below 0 gives the default, above the longest the longest.
int readBounded(const SettingsFile& settings, std::string_view key, int defaultValue, int longest) {
    const int value = settings.readInt(kAlarm, key, defaultValue);
    return value < 0 ? defaultValue : std::min(value, longest);
}

}  // namespace

bool readWakeTimer(const SettingsFile& settings) { return settings.readFlag(kAlarm, "wake", false); }

int readMissedGrace(const SettingsFile& settings) {
    return readBounded(settings, "missedgrace", 0, kLongestMissedGrace);
}

std::uint32_t readKeyGuardMs(const SettingsFile& settings) {
    return static_cast<std::uint32_t>(readBounded(settings, "keyguard", kDefaultKeyGuardMs, kLongestKeyGuardMs));
}

int readActionDelay(const SettingsFile& settings) {
    return readBounded(settings, "actiondelay", kDefaultActionDelay, kLongestActionDelay);
}

bool readShowNextAlarm(const SettingsFile& settings) { return settings.readFlag("window", "shownext", true); }

}  // namespace kolvi
