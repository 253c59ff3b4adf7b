#pragma once
// The rules an added alarm must keep, wherever it is typed: in the editor, or
// on the program's command line. Each gives the refusal the user sees.
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace kolvi {

// Where a refusal puts the focus; `name` is whichever name control is shown.
enum class EditorField { name, hour, minute, second, file };

struct EditorRefusal {
    std::string message;  // warning icon, program title
    EditorField focus;
    friend bool operator==(const EditorRefusal&, const EditorRefusal&) = default;
};

// A name or a file field: the alarm line splits at every comma, and the alarm
// file holds code page 932 only (control characters are refused too).
std::optional<EditorRefusal> checkStorableText(std::string_view text, EditorField field, const TextCodec& codec);
// A countdown of so many seconds: at least 1, less than a day.
std::optional<EditorRefusal> checkCountdown(long long seconds);
// A time of day: 0-23, 0-59, 0-59; the focus goes to the first at fault.
std::optional<EditorRefusal> checkTimeOfDay(long long hour, long long minute, long long second);

}  // namespace kolvi
