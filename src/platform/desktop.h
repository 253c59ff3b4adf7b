#pragma once
// What the main window asks of the desktop besides its own controls: the
// file dialogs, question and information boxes, and starting other programs.
// Tests replace it so that nothing modal or external appears.
#include <string>
#include <string_view>

namespace kolvi {

class Desktop {
public:
    virtual ~Desktop() = default;
    // "" when cancelled.
    virtual std::string askOpenAlarmFile() = 0;
    // title "" means the system's own title.
    virtual std::string askSaveAlarmFile(std::string_view title) = 0;
    // Warning icon, OK and Cancel with Cancel the default; true for OK.
    virtual bool confirm(std::string_view text) = 0;
    // Information icon, OK.
    virtual void showInformation(std::string_view title, std::string_view text) = 0;
    // Neither waits; false when nothing could be started.
    virtual bool startCommandLine(std::string_view commandLine) = 0;
    virtual bool openWithShell(std::string_view path) = 0;
};

}  // namespace kolvi
