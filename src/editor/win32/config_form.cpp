#include "editor/win32/config_form.h"

#include <commctrl.h>
#include <imm.h>

#include "notify/win32/alarm_runner.h"
#include "platform/win32/text.h"
#include "resource.h"
#include "texts/common_texts.h"
#include "texts/editor_texts.h"

namespace kolvi {
namespace {

constexpr std::array<int, 3> kTimeTextIds{IDC_HOUR_TEXT, IDC_MINUTE_TEXT, IDC_SECOND_TEXT};
constexpr std::array<int, 3> kUpDownIds{IDC_HOUR_UPDOWN, IDC_MINUTE_UPDOWN, IDC_SECOND_UPDOWN};
// The up-down controls only report the direction of a click; their own
// position rests in the middle of a wide range, so it never meets an end.
constexpr int kUpDownRest = 500;

// Sub-menus of the preset menu resource, by position.
constexpr int kClockHourMenu = 0;
constexpr int kHourLengthMenu = 1;
constexpr int kMinuteMenu = 2;
constexpr int kSecondMenu = 3;
constexpr int kDayMenu = 4;

// A preset menu opens a little left of and above the clicked control's lower
// left corner (4 and 12 pixels at 96 dpi), where the group's frame ends.
constexpr int kMenuLeftOffset = 4;
constexpr int kMenuUpOffset = 12;

TimeField fieldOf(std::size_t index) { return static_cast<TimeField>(index); }

// The control a refusal puts the focus on; `name` is whichever name control
// is shown.
int controlOf(EditorField field, const EditorState& state) {
    switch (field) {
    case EditorField::name:
        return state.nameComboVisible() ? IDC_NAME_COMBO : IDC_NAME_TEXT;
    case EditorField::hour:
        return IDC_HOUR_TEXT;
    case EditorField::minute:
        return IDC_MINUTE_TEXT;
    case EditorField::second:
        return IDC_SECOND_TEXT;
    case EditorField::file:
        break;
    }
    return IDC_FILE_TEXT;
}

}  // namespace

// The dialog's command table: control, notification, handler.
struct ConfigFormCommands {
    using F = ConfigForm;
    static constexpr win32::CommandRoute<ConfigForm> kRoutes[] = {
        {IDC_SELECT_ALARM, BN_CLICKED, &F::selectAlarm_Click},
        {IDC_SELECT_TIMER, BN_CLICKED, &F::selectTimer_Click},
        {IDC_NAME_TEXT, EN_CHANGE, &F::nameText_Change},
        {IDC_NAME_TEXT, EN_SETFOCUS, &F::selectAll_Focus},
        {IDC_NAME_COMBO, CBN_EDITCHANGE, &F::nameCombo_Change},
        {IDC_NAME_COMBO, CBN_SELCHANGE, &F::nameCombo_Click},
        {IDC_NAME_COMBO, CBN_SETFOCUS, &F::selectAll_Focus},
        {IDC_DAY_CHECK0, BN_CLICKED, &F::dayCheck_Click, 7},
        {IDC_DAY_BUTTON, BN_CLICKED, &F::dayButton_Click},
        {IDC_HOUR_TEXT, EN_CHANGE, &F::hourText_Change},
        {IDC_MINUTE_TEXT, EN_CHANGE, &F::minuteText_Change},
        {IDC_SECOND_TEXT, EN_CHANGE, &F::secondText_Change},
        {IDC_HOUR_TEXT, EN_SETFOCUS, &F::selectAll_Focus},
        {IDC_MINUTE_TEXT, EN_SETFOCUS, &F::selectAll_Focus},
        {IDC_SECOND_TEXT, EN_SETFOCUS, &F::selectAll_Focus},
        {IDC_HOUR_LABEL, STN_CLICKED, &F::hourLabel_Click},
        {IDC_MINUTE_LABEL, STN_CLICKED, &F::minuteLabel_Click},
        {IDC_SECOND_LABEL, STN_CLICKED, &F::secondLabel_Click},
        {IDC_FILE_TEXT, EN_CHANGE, &F::fileText_Change},
        {IDC_FILE_TEXT, EN_SETFOCUS, &F::selectAll_Focus},
        {IDC_FILE_BUTTON, BN_CLICKED, &F::fileButton_Click},
        {IDC_FILE_PREVIEW, BN_CLICKED, &F::filePreview_Click},
        {IDC_DELETE_CHECK, BN_CLICKED, &F::deleteCheck_Click},
        {IDC_HISTORY_CHECK, BN_CLICKED, &F::historyCheck_Click},
        {IDOK, BN_CLICKED, &F::okButton_Click},
        {IDCANCEL, BN_CLICKED, &F::cancelButton_Click},
    };
};

ConfigForm::ConfigForm(ConfigFormServices services)
    : services_(std::move(services)), history_(services_.fs, services_.codec, services_.programDirectory) {}

std::optional<AlarmRecord> ConfigForm::showDialog(HWND owner, EditorPurpose purpose, const std::string& alarmLine,
                                                  EditorKind kind) {
    purpose_ = purpose;
    openingKind_ = kind;
    openingLine_ = alarmLine;
    result_.reset();
    runModal(IDD_CONFIGFORM, owner, services_.filter);
    toolTip_ = nullptr;  // destroyed with its owner
    return result_;
}

INT_PTR ConfigForm::form_Load() {
    model_.open(purpose_, openingLine_);
    historyRead_ = false;
    for (std::size_t i = 0; i < kTimeTextIds.size(); ++i) {
        const HWND field = item(kTimeTextIds[i]);
        SendMessageW(field, EM_LIMITTEXT, 2, 0);
        // Numbers only: no input method, and only digits and backspace are
        // typed (pasted text is judged when it arrives).
        ImmAssociateContextEx(field, nullptr, 0);
        timeFields_[i].attach(field, [](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_CHAR && !acceptsTimeKey(static_cast<char32_t>(wParam))) return 0;
            return std::nullopt;
        });
        SendMessageW(item(kUpDownIds[i]), UDM_SETRANGE32, 0, 2 * kUpDownRest);
        SendMessageW(item(kUpDownIds[i]), UDM_SETPOS32, 0, kUpDownRest);
    }
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (toolTip_ != nullptr) {
        const std::wstring tip = win32::widen(kPreviewToolTip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(item(IDC_FILE_PREVIEW));
        tool.lpszText = const_cast<wchar_t*>(tip.c_str());
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    render();
    model_.dialogShown();
    if (openingKind_ != EditorKind::timer || !model_.state().timerSelectable) return TRUE;
    selectTimer_Click();
    focusAndSelect(IDC_MINUTE_TEXT);
    return FALSE;  // the focus is placed
}

INT_PTR ConfigForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (rendering_) return FALSE;
        return routeCommand(*this, ConfigFormCommands::kRoutes, wParam) ? TRUE : FALSE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.code != UDN_DELTAPOS) return FALSE;
        for (std::size_t i = 0; i < kUpDownIds.size(); ++i) {
            if (header.idFrom == static_cast<UINT_PTR>(kUpDownIds[i])) {
                upDown_DeltaPos(fieldOf(i), reinterpret_cast<const NMUPDOWN&>(header).iDelta);
                // The control's own position stays where it rests.
                SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, 1);
                return TRUE;
            }
        }
        return FALSE;
    }
    case WM_CLOSE:
        cancelButton_Click();
        return TRUE;
    default:
        return FALSE;
    }
}

void ConfigForm::setText(int id, std::string_view value) {
    // Rewriting an unchanged text would move the caret under the user's hand.
    if (text(id) != value) SetDlgItemTextW(hwnd(), id, win32::widen(value).c_str());
}

std::string ConfigForm::text(int id) const {
    const HWND control = item(id);
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    buffer.resize(static_cast<std::size_t>(GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()))));
    return win32::narrow(buffer);
}

void ConfigForm::render() {
    rendering_ = true;
    const EditorState& s = model_.state();
    SetWindowTextW(hwnd(), win32::widen(s.title()).c_str());
    CheckRadioButton(hwnd(), IDC_SELECT_ALARM, IDC_SELECT_TIMER,
                     s.kind == EditorKind::alarm ? IDC_SELECT_ALARM : IDC_SELECT_TIMER);
    enableControl(IDC_SELECT_TIMER, s.timerSelectable);

    ShowWindow(item(IDC_NAME_TEXT), s.nameComboVisible() ? SW_HIDE : SW_SHOW);
    ShowWindow(item(IDC_NAME_COMBO), s.nameComboVisible() ? SW_SHOW : SW_HIDE);
    setText(IDC_NAME_TEXT, s.nameText);
    const HWND combo = item(IDC_NAME_COMBO);
    if (SendMessageW(combo, CB_GETCOUNT, 0, 0) != static_cast<LRESULT>(s.history.size())) {
        // A long history fills in one go: storage reserved up front and no
        // drawing until the last item is in.
        SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        SendMessageW(combo, CB_INITSTORAGE, s.history.size(), s.history.size() * 16 * sizeof(wchar_t));
        // In the model's order: an item's index is its place in s.history.
        for (const TimerHistoryItem& entry : s.history) {
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::widen(entry.name).c_str()));
        }
        SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
    }
    setText(IDC_NAME_COMBO, s.nameCombo);

    enableControl(IDC_DAY_FRAME, s.weekdaysEnabled());
    for (int day = 0; day < 7; ++day) {
        CheckDlgButton(hwnd(), IDC_DAY_CHECK0 + day, s.days[static_cast<std::size_t>(day)] ? BST_CHECKED : BST_UNCHECKED);
        enableControl(IDC_DAY_CHECK0 + day, s.weekdaysEnabled());
    }
    enableControl(IDC_DAY_BUTTON, s.weekdaysEnabled());

    setText(IDC_TIME_FRAME, s.timeFrameCaption());
    setText(IDC_HOUR_LABEL, s.hourCaption());
    setText(IDC_MINUTE_LABEL, s.minCaption());
    setText(IDC_SECOND_LABEL, s.secCaption());
    for (std::size_t i = 0; i < kTimeTextIds.size(); ++i) setText(kTimeTextIds[i], s.time(fieldOf(i)));

    setText(IDC_FILE_TEXT, s.fileText);
    enableControl(IDC_FILE_PREVIEW, s.previewEnabled());
    CheckDlgButton(hwnd(), IDC_DELETE_CHECK, s.deleteChecked ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), IDC_HISTORY_CHECK, s.historyChecked ? BST_CHECKED : BST_UNCHECKED);
    enableControl(IDC_HISTORY_CHECK, s.historyEnabled());
    rendering_ = false;
}

void ConfigForm::focusAndSelect(int id) {
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item(id)), TRUE);
    SendMessageW(item(id), EM_SETSEL, 0, -1);
}

void ConfigForm::selectAll_Focus() {
    // The focus arrives by tab, click or accelerator: the whole text is
    // selected, so that typing replaces it.
    const HWND focused = GetFocus();
    if (focused == item(IDC_NAME_COMBO) || GetParent(focused) == item(IDC_NAME_COMBO)) {
        SendMessageW(item(IDC_NAME_COMBO), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    } else {
        PostMessageW(focused, EM_SETSEL, 0, -1);
    }
}

void ConfigForm::selectAlarm_Click() {
    model_.selectType(EditorKind::alarm);
    render();
}

void ConfigForm::selectTimer_Click() {
    // The history is read when the countdown kind is first chosen, the only
    // kind that lists it, so that a long one does not slow every opening.
    if (!historyRead_ && model_.state().timerSelectable) {
        model_.setHistory(history_.load());
        historyRead_ = true;
    }
    model_.selectType(EditorKind::timer);
    render();
}

void ConfigForm::nameText_Change() { model_.setNameText(text(IDC_NAME_TEXT)); }

void ConfigForm::nameCombo_Change() { model_.setNameCombo(text(IDC_NAME_COMBO)); }

void ConfigForm::nameCombo_Click() {
    const HWND combo = item(IDC_NAME_COMBO);
    const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    const auto item = static_cast<std::size_t>(index);
    if (item < model_.state().history.size()) {
        const TimerHistoryItem chosen = model_.state().history[item];
        model_.applyTimerHistory(chosen.name, history_.entry(chosen.position));
        render();
    }
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), TRUE);
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void ConfigForm::dayCheck_Click() {
    for (int day = 0; day < 7; ++day) {
        model_.setDay(static_cast<std::size_t>(day), IsDlgButtonChecked(hwnd(), IDC_DAY_CHECK0 + day) == BST_CHECKED);
    }
    render();
}

void ConfigForm::timeText_Change(TimeField field) {
    if (model_.changeTimeText(field, text(kTimeTextIds[static_cast<std::size_t>(field)]))) render();
}

void ConfigForm::upDown_DeltaPos(TimeField field, int delta) {
    model_.step(field, delta > 0 ? 1 : -1);
    render();
    focusAndSelect(kTimeTextIds[static_cast<std::size_t>(field)]);
}

void ConfigForm::popUpPreset(int controlId, int menuPosition) {
    const win32::UniqueMenu menus(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_EDITOR_PRESETS)));
    const HMENU menu = GetSubMenu(menus.get(), menuPosition);
    RECT control{};
    GetWindowRect(item(controlId), &control);
    const int dpi = static_cast<int>(GetDpiForWindow(hwnd()));
    const int x = control.left - MulDiv(kMenuLeftOffset, dpi, 96);
    const int y = control.bottom - MulDiv(kMenuUpOffset, dpi, 96);
    const auto chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, x, y, 0, hwnd(),
                                                        nullptr));
    if (chosen == 0) return;
    const struct {
        int first, last;
        TimePreset preset;
    } presets[] = {
        {IDM_HOUR_AM0, IDM_HOUR_AM0 + 11, TimePreset::hourAm},
        {IDM_HOUR_PM0, IDM_HOUR_PM0 + 11, TimePreset::hourPm},
        {IDM_HOUR_LEN0, IDM_HOUR_LEN0 + 11, TimePreset::hourLength},
        {IDM_MINUTE0, IDM_MINUTE0 + 11, TimePreset::minute},
    };
    for (const auto& p : presets) {
        if (chosen >= p.first && chosen <= p.last) {
            const TimeField field = model_.applyPreset(p.preset, chosen - p.first);
            render();
            focusAndSelect(kTimeTextIds[static_cast<std::size_t>(field)]);
            return;
        }
    }
    if (chosen == IDM_SECOND0 || chosen == IDM_SECOND30) {
        const TimeField field = model_.applyPreset(TimePreset::second, chosen == IDM_SECOND30 ? 30 : 0);
        render();
        focusAndSelect(kTimeTextIds[static_cast<std::size_t>(field)]);
        return;
    }
    const DayPreset days[] = {DayPreset::everyday, DayPreset::workday, DayPreset::weekend, DayPreset::clear};
    if (chosen >= IDM_DAYS_EVERYDAY && chosen <= IDM_DAYS_CLEAR) {
        model_.applyDayPreset(days[chosen - IDM_DAYS_EVERYDAY]);
        render();
    }
}

void ConfigForm::hourLabel_Click() {
    popUpPreset(IDC_HOUR_LABEL,
                model_.state().hourMenu() == HourMenu::clockHours ? kClockHourMenu : kHourLengthMenu);
}

void ConfigForm::minuteLabel_Click() { popUpPreset(IDC_MINUTE_LABEL, kMinuteMenu); }

void ConfigForm::secondLabel_Click() { popUpPreset(IDC_SECOND_LABEL, kSecondMenu); }

void ConfigForm::dayButton_Click() { popUpPreset(IDC_DAY_BUTTON, kDayMenu); }

void ConfigForm::fileText_Change() {
    model_.setFileText(text(IDC_FILE_TEXT));
    render();
}

void ConfigForm::fileButton_Click() {
    const std::string chosen = services_.desktop.askOpenAnyFile(hwnd(), model_.browseFolder());
    if (chosen.empty()) return;
    model_.setFileText(chosen);
    render();
    focusAndSelect(IDC_FILE_TEXT);
}

void ConfigForm::filePreview_Click() {
    services_.runner.runAlarm(model_.previewLine(), AlarmMode::preview, hwnd(), nullptr);
}

void ConfigForm::deleteCheck_Click() { model_.setDeleteChecked(IsDlgButtonChecked(hwnd(), IDC_DELETE_CHECK) == BST_CHECKED); }

void ConfigForm::historyCheck_Click() {
    model_.setHistoryChecked(IsDlgButtonChecked(hwnd(), IDC_HISTORY_CHECK) == BST_CHECKED);
}

void ConfigForm::okButton_Click() {
    // A countdown that cannot be recorded is still set.
    const EditorResult result = model_.ok(services_.clock, services_.codec, [this](const TimerHistoryEntry& entry) {
        if (!history_.record(entry)) services_.desktop.showBox(hwnd(), history_.recordFailureText(), BoxIcon::error);
    });
    if (result.refusal) {
        services_.desktop.showBox(hwnd(), result.refusal->message, BoxIcon::warning);
        const HWND field = item(controlOf(result.refusal->focus, model_.state()));
        SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        return;
    }
    result_ = result.record;
    endDialog(IDOK);
}

void ConfigForm::cancelButton_Click() { endDialog(IDCANCEL); }

}  // namespace kolvi
