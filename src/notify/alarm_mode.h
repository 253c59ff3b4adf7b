#pragma once
// Why an alarm line is carried out: it came due, or the user asked to hear or
// see it beforehand. Passed from the callers of the alarm action down to the
// notification window, which behaves differently for a preview (modal, no
// extension keys).
namespace kolvi {

enum class AlarmMode { fire, preview };

}  // namespace kolvi
