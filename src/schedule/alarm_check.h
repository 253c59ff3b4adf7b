#pragma once
// The alarm check: run on every tick of the alarm timer, it finds the alarm
// that is due now, hands it to the alarm action, deletes it afterwards when it
// deletes itself after running, and says what the first status panel shows.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "schedule/missed_alarms.h"
#include "store/alarm_list.h"

namespace kolvi {

// What the check asks of the window it runs in.
class AlarmCheckHost {
public:
    virtual ~AlarmCheckHost() = default;
    // Carries out one due alarm (mode 0: fire). May run a modal loop that
    // calls tick() again before returning, and may change the list in any
    // way: add or delete rows, close the file, even end the program. The line
    // is the check's own copy and stays valid for the whole call.
    virtual void runAlarm(const std::string& line) = 0;
    // Writes the whole list to the open alarm file. Called only after a
    // fired alarm deleted itself.
    virtual void saveAlarmFile() = 0;
    // How many seconds late an alarm of a skip may still fire (the settings'
    // alarm/missedgrace); asked only when a tick finds a skip. 0, the
    // default, leaves the alarms of a skip alone, as the check always has.
    virtual int missedGrace() { return 0; }
    // The alarms of a skip that came due longer ago than the grace, in due
    // order; they are not fired, and rows that delete themselves after
    // running are kept. Called inside the tick before anything fires: show
    // them in a modeless window, without a modal loop.
    virtual void reportMissed(const std::vector<MissedAlarm>&) {}
};

// "HH:MM:SS" of a moment, as the time column writes a row's time; a field
// outside 0-99 gives a text that matches no row.
std::string clockTimeText(const LocalTime& now);
// Today's one-character weekday name as the day column writes it; "" for a
// weekday outside 0-6.
std::string_view clockDayName(const LocalTime& now);

struct TickResult {
    // The first status panel: the no-file hint when no file is open (also
    // when the alarm's action closed it), else "HH:MM:SS", followed by
    // " (name)" when an alarm with a name fired in this tick.
    std::string status;
    // What the list shows changed: a row fired (highlighted and dimmed, or
    // deleted after its run), or the fired mark of an earlier second went.
    bool listChanged = false;
};

class AlarmCheck {
public:
    // One tick at the moment now (read once by the caller).
    //
    // One alarm fires per tick: the first row in list order that is checked
    // and either due now (time text equal, today's day in its day text, not
    // already fired in this second) or still waiting from an earlier second,
    // in which a tick saw it due but fired other rows first. A row whose
    // second passes without any tick never fires for that day, unless the
    // tick after it finds a skip: the clock moved on by more than
    // kLongestTickGap seconds since the check's last tick. Then, with a grace
    // from the host, the alarms that came due in the unseen seconds and are
    // at most that late fire first, one per tick, in due order, exactly once;
    // the older ones are reported instead.
    //
    // Re-entrant: the alarm's action may call tick() again (a message box's
    // modal loop delivers timer ticks); nested ticks fire other rows, never the
    // one being run. The list and this object must outlive every call.
    TickResult tick(AlarmList& list, const LocalTime& now, AlarmCheckHost& host);

    // The check was stopped (the master switch, the editor, a preview): drops
    // the alarms still waiting for their turn, so that they do not fire when
    // the check runs again, and forgets its last tick, so that the time it
    // was stopped is no skip.
    void forgetWaiting();

private:
    bool isWaiting(std::uint64_t id) const;
    void takeSkip(const AlarmList& list, const LocalTime& now, std::int64_t lastTick, AlarmCheckHost& host);
    std::optional<std::size_t> takeGraced(const AlarmList& list);

    // Ids of rows that came due in a second some tick saw and have not fired
    // yet, sorted. Rebuilt by every tick that looks at the rows, so rows that
    // were deleted, unchecked or belong to a closed file drop out at once.
    std::vector<std::uint64_t> waiting_;
    // localSeconds of the last tick while the check ran; none after a stop.
    std::optional<std::int64_t> lastTick_;
    // Ids of skipped alarms still to fire, in due order.
    std::vector<std::uint64_t> graced_;
    // The next waiting_ while a tick walks the rows (kept to reuse its memory).
    std::vector<std::uint64_t> collecting_;
};

}  // namespace kolvi
