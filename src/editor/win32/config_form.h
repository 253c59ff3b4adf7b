#pragma once
// The alarm editor dialog. Its decisions live in EditorModel; this class
// forwards each control's event to one model call and renders the model's
// state back into the controls.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/editor_model.h"
#include "editor/timer_history.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/text_codec.h"
#include "store/alarm_record.h"
#include "platform/win32/control_subclass.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/unique_handle.h"

namespace kolvi {

class AlarmRunner;

struct ConfigFormServices {
    const Clock& clock;
    const TextCodec& codec;
    FileSystem& fs;
    std::string programDirectory;
    // Plays the preview with the editor as its owner.
    AlarmRunner& runner;
    // The program's message filter, for the editor's own loop.
    win32::MessageFilter* filter = nullptr;
    // The open-file dialog and the message boxes, owned by the editor.
    Desktop& desktop;
};

class ConfigForm final : public win32::DialogBase {
public:
    explicit ConfigForm(ConfigFormServices services);

    // Shows the dialog modally over owner, filled from the alarm line; the
    // new alarm on OK, nullopt on Cancel, Esc or the close box. Adding may
    // open in the countdown kind, with the focus in the minutes.
    std::optional<AlarmRecord> showDialog(HWND owner, EditorPurpose purpose, const std::string& alarmLine,
                                          EditorKind kind = EditorKind::alarm);

private:
    friend struct ConfigFormCommands;  // the command table names the handlers

    INT_PTR form_Load() override;
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void render();
    void setText(int id, std::string_view text);
    std::string text(int id) const;
    void focusAndSelect(int id);
    void popUpPreset(int labelId, int menuPosition);
    void timeText_Change(TimeField field);
    void upDown_DeltaPos(TimeField field, int delta);

    void selectAlarm_Click();
    void selectTimer_Click();
    void nameText_Change();
    void nameCombo_Change();
    void nameCombo_Click();
    void dayCheck_Click();
    void dayButton_Click();
    void hourText_Change() { timeText_Change(TimeField::hour); }
    void minuteText_Change() { timeText_Change(TimeField::minute); }
    void secondText_Change() { timeText_Change(TimeField::second); }
    void hourLabel_Click();
    void minuteLabel_Click();
    void secondLabel_Click();
    void fileText_Change();
    void fileButton_Click();
    void filePreview_Click();
    void deleteCheck_Click();
    void historyCheck_Click();
    void selectAll_Focus();
    void okButton_Click();
    void cancelButton_Click();

    ConfigFormServices services_;
    TimerHistory history_;
    EditorModel model_;
    EditorPurpose purpose_ = EditorPurpose::add;
    EditorKind openingKind_ = EditorKind::alarm;
    std::string openingLine_;
    std::optional<AlarmRecord> result_;
    std::array<win32::ControlSubclass, 3> timeFields_;
    HWND toolTip_ = nullptr;
    bool historyRead_ = false;
    bool rendering_ = false;  // change notices caused by render() itself
};

}  // namespace kolvi
