#pragma once
// What the main window asks of the desktop besides its own controls: the
// file dialogs, question and information boxes, and starting other programs.
// Tests replace it so that nothing modal or external appears.
#include <string>
#include <string_view>

namespace kolvi {

// The window a dialog or a box belongs to (an HWND on Windows); null for the
// desktop's own owner, the main window.
using OwnerWindow = void*;

enum class BoxIcon { warning, error };

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
    // Any file, starting in folder ("" for the system's choice); "" when
    // cancelled. Paths of any length the system allows come back whole.
    virtual std::string askOpenAnyFile(OwnerWindow owner, const std::string& folder) = 0;
    // A box titled with the program title, with OK and the icon.
    virtual void showBox(OwnerWindow owner, std::string_view text, BoxIcon icon) = 0;
    // An alarm's message box (its name, information icon, titled with the
    // program title): it comes to the front and stays above other windows,
    // also while the main window is in the notification area.
    virtual void showAlarmMessage(std::string_view name) = 0;
    // Starts a program of the system directory with its arguments (never
    // one of the same name in the program's own directory). Neither waits;
    // false when nothing could be started.
    virtual bool startSystemProgram(std::string_view program, std::string_view arguments) = 0;
    virtual bool openWithShell(std::string_view path) = 0;
};

}  // namespace kolvi
