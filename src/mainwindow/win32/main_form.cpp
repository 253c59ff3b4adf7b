#include "mainwindow/win32/main_form.h"

#include <commctrl.h>

#include <vector>

#include "kolvi_version.h"
#include "mainwindow/file_state.h"
#include "mainwindow/running_state.h"
#include "mainwindow/version_box.h"
#include "mainwindow/window_geometry.h"
#include "mainwindow/list_interaction.h"
#include "mainwindow/win32/window_placement.h"
#include "mainwindow/window_settings.h"
#include "settings/safety_settings.h"
#include "platform/win32/text.h"
#include "platform/win32/ui_font.h"
#include "resource.h"
#include "texts/audio_texts.h"
#include "texts/common_texts.h"
#include "texts/main_window_texts.h"
#include "texts/remote_texts.h"

namespace kolvi {
namespace {

constexpr int kListId = 100;
constexpr int kStatusId = 101;
constexpr UINT kExitProgram = WM_APP + 3;
constexpr int kPopupTrayMenu = 1;  // a sub-menu of the pop-up menu resource

// The portable rules name colours as Windows does.
static_assert(static_cast<int>(SystemColor::window) == COLOR_WINDOW);
static_assert(static_cast<int>(SystemColor::buttonFace) == COLOR_BTNFACE);

}  // namespace

MainForm::MainForm(const MainFormServices& services)
    : alarms_(services.alarms),
      files_(services.files),
      settings_(services.settings),
      desktop_(services.desktop),
      clock_(services.clock),
      alarmAudio_(services.audio, services.files.fs, services.settings),
      runner_({services.sound, services.clock, services.settings, services.desktop, services.system,
               [this] { exitProgram(); }, &alarmAudio_}),
      editor_({services.clock, services.files.codec, services.files.fs, services.files.programDirectory, runner_, this,
               services.desktop}),
      listView_(services.alarms, services.clock, *this),
      menus_(services.startup),
      statusBar_(services.audio, services.files.fs, services.settings),
      tray_(alarms_, statusBar_.nextLine(), services.notifyIcon),
      wake_(services.wakeTimer, services.settings),
      remote_(*this, services.settings, services.desktop,
              TimerHistory(services.files.fs, services.files.codec, services.files.programDirectory)) {}

MainForm::~MainForm() = default;

bool MainForm::start(bool minimizedStart, const std::string& path) {
    SettingsFile& settings = settings_;
    const WindowSettings stored = loadWindowSettings(settings);
    const StartPlan plan = startPlan(stored.state, minimizedStart);
    model_ = MainWindowModel(readCheckInterval(settings), stored.statusBarVisible, stored.showToolTip);
    statusBar_.resetNextLine(readShowNextAlarm(settings));

    // The place is first taken at the system's dpi; once the window exists
    // it knows the dpi of the monitor it is on, and the place is read again
    // with that one if it differs.
    const int systemDpi = static_cast<int>(GetDpiForSystem());
    const Rect place = storedWindowPlace(stored, systemDpi);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    menus_.popups.reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_POPUPMENUS)));
    menus_.accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    alarms_.setUpAlarmColumns();
    // The list view takes the stored widths as it makes its columns.
    alarms_.setColumnWidths(stored.list.columnWidths);
    if (!createWindow(kMainFormClassName, LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP)), 0,
                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, win32::widen(kProgramTitle).c_str(), place.left,
                      place.top, place.width(), place.height(), nullptr,
                      LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU)))) {
        return false;
    }
    if (static_cast<int>(dpi()) != systemDpi) {
        const Rect again = storedWindowPlace(stored, static_cast<int>(dpi()));
        SetWindowPos(hwnd(), nullptr, again.left, again.top, again.width(), again.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    icons_ = win32::loadWindowIcons(dpi());
    win32::setWindowIcons(hwnd(), icons_);
    tray_.create(hwnd(), GetSubMenu(menus_.popups.get(), kPopupTrayMenu), icons_.small.get(),
                 TrayIconState(readTrayRefreshPeriod(settings), plan.shownState), [this] { trayPopupSize_Click(); });
    applyAlarmSwitch(model_.alarmSwitch());

    // Sorted before the rows arrive, so that the file opens with its first
    // row in display order current and in view.
    alarms_.applySort(stored.list.sortColumn, stored.list.sortOrder);
    const std::string opened = openAlarmFile(alarms_, files_, path);
    model_.rememberStart(path.empty() && opened.empty() && !settings.readString("list", "lastopen", "").empty());
    showFileState(opened);

    // Opacity applies to the main window only; a layered window is drawn
    // through an extra buffer, so it is layered only when it is see-through.
    if (stored.alpha < 255) {
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(stored.alpha), LWA_ALPHA);
    }
    listView_.setToolTipsOn(model_.toolTipsOn());
    statusBar_.setVisible(model_.statusBarVisible());

    // The rows and the menus were brought up to date with the file's state;
    // the first paint comes from the message loop.
    ShowWindow(hwnd(), plan.startInTray                                 ? SW_SHOWMINNOACTIVE
                       : plan.shownState == WindowState::maximized ? SW_SHOWMAXIMIZED
                                                                   : SW_SHOWNORMAL);
    remote_.start(hwnd());
    return true;
}

LRESULT MainForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tray_.handleMessage(message, wParam, lParam)) return 0;
    if (const auto result = remote_.handleMessage(message, wParam, lParam)) return *result;
    switch (message) {
    case WM_CREATE:
        return form_Create();
    case WM_SIZE:
        form_Resize(wParam);
        return 0;
    case WM_DPICHANGED:
        return form_DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_NOTIFY:
        return routeNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        routeCommand(LOWORD(wParam), HIWORD(wParam) == 1);
        return 0;
    case WM_INITMENUPOPUP:
        // The Run entry may have been changed elsewhere since the file menu last opened.
        if (HIWORD(lParam) == FALSE && reinterpret_cast<HMENU>(wParam) == GetSubMenu(GetMenu(hwnd()), 0)) {
            menus_.startup.refresh();
        }
        renderMenus();
        return 0;
    case WM_TIMER:
        // A tick queued before the check stopped is not a tick.
        if (wParam == alarmTimer_.id() && alarmTimer_.running()) alarmTimer_Timer();
        return 0;
    case kExitProgram:
        DestroyWindow(hwnd());
        return 0;
    case WM_SETFOCUS:
        if (listView_.hwnd() != nullptr && IsWindowVisible(listView_.hwnd())) SetFocus(listView_.hwnd());
        return 0;
    case WM_SYSCOLORCHANGE:
        SendMessageW(listView_.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
        applyAlarmSwitch(model_.alarmSwitch());  // new colours, the same running state
        return 0;
    case WM_CLOSE:
        if (form_QueryUnload()) DestroyWindow(hwnd());
        return 0;
    case WM_POWERBROADCAST:
        // Back from sleep, maybe woken for an alarm. The skipped seconds are
        // seen by the next tick, whose clock has jumped.
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) wake_.resumed(clock_.now());
        return TRUE;
    case WM_QUERYENDSESSION:
        return TRUE;  // never ask while Windows ends the session
    case WM_ENDSESSION:
        if (wParam != 0) form_Unload();
        return 0;
    case WM_DESTROY:
        form_Unload();
        PostQuitMessage(0);
        return 0;
    default:
        return WindowBase::handleMessage(message, wParam, lParam);
    }
}

LRESULT MainForm::form_Create() {
    font_ = win32::createUiFont(dpi());
    if (!statusBar_.create(hwnd(), kStatusId, font_.get()) || !listView_.create(hwnd(), kListId, dpi(), font_.get())) {
        return -1;
    }
    layoutList();
    return 0;
}

UINT MainForm::dpi() const {
    const UINT dpi = GetDpiForWindow(hwnd());
    return dpi != 0 ? dpi : 96;
}

void MainForm::layoutList() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int statusHeight = statusBar_.layout(client.right);
    if (const auto r = layoutAlarmList({client.right, client.bottom}, statusBar_.visible(), statusHeight)) {
        listView_.moveTo(*r);
    }
}

void MainForm::form_Resize(WPARAM kind) {
    if (tray_.state().exitStarted()) return;
    layoutList();
    if (kind != SIZE_RESTORED && kind != SIZE_MINIMIZED && kind != SIZE_MAXIMIZED) return;
    tray_.onResize(kind == SIZE_MINIMIZED   ? WindowState::minimized
                   : kind == SIZE_MAXIMIZED ? WindowState::maximized
                                            : WindowState::normal);
}

LRESULT MainForm::form_DpiChanged(UINT dpi, const RECT& suggested) {
    // The tray keeps the old icon until it is handed the new one.
    win32::WindowIcons old = std::move(icons_);
    icons_ = win32::loadWindowIcons(dpi);
    win32::setWindowIcons(hwnd(), icons_);
    tray_.setIcon(icons_.small.get());
    listView_.setDpi(dpi);
    applyFont(dpi);
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void MainForm::applyFont(UINT dpi) {
    // The controls hold the old font until they have the new one.
    win32::UniqueFont old = std::move(font_);
    font_ = win32::createUiFont(dpi);
    listView_.setFont(font_.get());
    statusBar_.setFont(font_.get());
    layoutList();
}

void MainForm::showFileState(const std::string& openedPath) {
    if (openedPath.empty()) {
        alarms_.clearRows();
        alarms_.setTag("");
    }
    SetWindowTextW(hwnd(), win32::widen(mainWindowTitle(openedPath)).c_str());
    listView_.refresh();
    listView_.scrollToTop();
    armWakeTimer();
    ShowWindow(listView_.hwnd(), alarms_.isFileOpen() ? SW_SHOW : SW_HIDE);
    renderMenus();
    if (const auto text = firstPanelTextAfterFileState(alarms_.isFileOpen(), alarmTimer_.running())) {
        statusBar_.setFirstPanel(*text);
    }
}

std::string MainForm::readmePath() const { return files_.programDirectory + "\\readme.txt"; }

LRESULT MainForm::routeNotify(NMHDR& header) {
    if (const auto handled = listView_.notify(header)) return *handled;
    if (header.hwndFrom == statusBar() && header.code == static_cast<UINT>(NM_DBLCLK)) statusBar_DblClick();
    return 0;
}

bool MainForm::preTranslateMessage(MSG& message) {
    if (runner_.preTranslateMessage(message) || missed_.preTranslateMessage(message)) return true;
    // The main window's shortcuts belong to the main window alone.
    if (message.hwnd == hwnd() || IsChild(hwnd(), message.hwnd)) {
        return TranslateAcceleratorW(hwnd(), menus_.accelerators, &message) != 0;
    }
    return false;
}

void MainForm::applyAlarmSwitch(const AlarmSwitchDecision& decision) {
    // Alarms still waiting for their turn belong to the seconds just gone;
    // they must not fire whenever the check comes back.
    if (!decision.timerRunning) check_.forgetWaiting();
    if (decision.timerRunning) {
        alarmTimer_.start(hwnd(), static_cast<UINT>(model_.checkIntervalMs()));
    } else {
        alarmTimer_.stop();
    }
    if (decision.firstPanelText) statusBar_.setFirstPanel(*decision.firstPanelText);
    listView_.setBackground(GetSysColor(static_cast<int>(decision.listBackground)));
}

void MainForm::alarmTimer_Timer() {
    const LocalTime now = clock_.now();
    const TickResult result = check_.tick(alarms_, now, *this);
    if (!IsWindow(hwnd())) return;
    // An action that stopped the check (a preview, the master switch) has
    // already said so in the panel.
    if (alarmTimer_.running()) statusBar_.showStatus(result.status);
    if (result.listChanged) listView_.refresh();
    if (!alarmTimer_.running()) return;
    showNextAlarm(statusBar_.followNextAlarm(alarms_, now, clock_.milliseconds()));
    wake_.follow(alarms_, alarmsOn(), now);
}

void MainForm::showNextAlarm(bool changed) {
    if (changed) tray_.updateTip();
}

bool MainForm::alarmsOn() const { return model_.alarmSwitchOn(); }

void MainForm::armWakeTimer() { wake_.refresh(alarms_, alarmsOn(), clock_.now()); }

int MainForm::missedGrace() { return readMissedGrace(settings_); }

void MainForm::reportMissed(const std::vector<MissedAlarm>& missed) { missed_.report(missed); }

void MainForm::runAlarm(const std::string& line) {
    wake_.alarmFired();
    runner_.runAlarm(line, AlarmMode::fire, hwnd(), this);
}

void MainForm::saveAlarmFile() {
    kolvi::saveAlarmFile(alarms_, files_);
    armWakeTimer();
}

void MainForm::addExtension(const std::string& line) {
    alarms_.addAlarmLine(line);
    listView_.refresh();
    saveAlarmFile();
}

void MainForm::exitProgram() {
    runner_.closeAll();
    // Destroying the window from inside a tick would pull the list out from
    // under it; the posted message ends the program as soon as the tick is done.
    if (model_.requestExit()) PostMessageW(hwnd(), kExitProgram, 0, 0);
}

bool MainForm::form_QueryUnload() {
    if (!closeNeedsConfirmation(CloseSource::closeCommand, settings_)) return true;
    return desktop_.confirm(kCloseConfirmText);
}

void MainForm::form_Unload() {
    if (!model_.beginUnload()) return;
    // However the program ends, every sound stops and nothing is extended.
    runner_.closeAll();
    const bool inTray = tray_.beginExit();
    alarmTimer_.stop();
    wake_.stop();
    remote_.stop();

    WindowSettings window;
    captureWindowPlace(hwnd(), static_cast<int>(dpi()), inTray, window);
    listView_.readColumnWidths();
    window.list.sortColumn = alarms_.sortColumn();
    window.list.sortOrder = alarms_.sortOrder();
    for (int c = 0; c < kColumnCount; ++c) window.list.columnWidths[static_cast<std::size_t>(c)] = alarms_.column(c).width;
    window.showToolTip = model_.toolTipsOn();
    window.statusBarVisible = model_.statusBarVisible();
    saveWindowSettings(settings_, window, alarms_.tag(), model_.keepRememberedFile());
}

void MainForm::fileNew_Click() {
    const std::string path = desktop_.askSaveAlarmFile(kNewFileDialogTitle);
    if (path.empty()) return;
    if (const auto opened = createAndOpenAlarmFile(alarms_, files_, path)) {
        model_.fileCommandUsed();
        showFileState(*opened);
    }
}

void MainForm::fileOpen_Click() {
    const std::string path = desktop_.askOpenAlarmFile();
    if (path.empty()) return;
    model_.fileCommandUsed();
    showFileState(openAlarmFile(alarms_, files_, path));
}

void MainForm::fileSaveAs_Click() {
    const std::string path = desktop_.askSaveAlarmFile("");
    if (path.empty()) return;
    // A copy that could not be written leaves the open file open and intact.
    if (saveAlarmFileAs(alarms_, files_, path)) {
        model_.fileCommandUsed();
        showFileState(openAlarmFile(alarms_, files_, path));
    }
}

void MainForm::fileClose_Click() {
    model_.fileCommandUsed();
    showFileState("");
}

void MainForm::fileDateTime_Click() { desktop_.startSystemProgram("control.exe", "timedate.cpl"); }

void MainForm::fileVolume_Click() { startVolumeControl(desktop_); }

void MainForm::fileStartup_Click() {
    if (const std::string error = menus_.startup.toggle(); !error.empty()) {
        desktop_.showBox(hwnd(), std::string(kStartupWriteFailed) + error, BoxIcon::error);
    }
    renderMenus();
}

void MainForm::viewStatus_Click() {
    model_.toggleStatusBar();
    statusBar_.setVisible(model_.statusBarVisible());
    renderMenus();
    layoutList();
}

void MainForm::viewToolTip_Click() {
    model_.toggleToolTips();
    listView_.setToolTipsOn(model_.toolTipsOn());
    renderMenus();
}

void MainForm::sortBy(Column column) {
    alarms_.applySort(column, SortOrder::toggle);
    listView_.refresh();
    if (const auto row = alarms_.rowToShowAfterSort()) listView_.showRow(*row);
}

void MainForm::alarmEnable_Click() {
    applyAlarmSwitch(model_.toggleAlarmSwitch());
    // With the alarms off no alarm is next, and none wakes the machine.
    if (!model_.alarmSwitchOn()) showNextAlarm(statusBar_.clearNextAlarm());
    armWakeTimer();
    renderMenus();
}

// The editor runs with the alarm check paused; the file is saved afterwards
// whether it was confirmed or not.
void MainForm::alarmAdd_Click() { addAlarm(EditorKind::alarm); }

void MainForm::addAlarm(EditorKind kind) {
    applyAlarmSwitch(model_.pause());
    if (const auto record = editor_.showDialog(hwnd(), EditorPurpose::add, std::string(kDefaultAlarmLine), kind)) {
        alarms_.addAlarmRow(*record);
    }
    finishEditing();
}

void MainForm::alarmEdit_Click() {
    const std::optional<std::uint64_t> id = alarms_.currentRowId();
    if (!id) return;
    const std::string line = *alarms_.currentTag();
    applyAlarmSwitch(model_.pause());
    // By identity: an extension added meanwhile becomes the current row.
    if (const auto edited = editor_.showDialog(hwnd(), EditorPurpose::edit, line)) alarms_.replaceRow(*id, *edited);
    finishEditing();
}

void MainForm::finishEditing() {
    alarms_.renumberRows();
    listView_.refresh();
    saveAlarmFile();
    applyAlarmSwitch(model_.resume());
}

void MainForm::alarmDelete_Click() {
    alarms_.deleteCurrentRow();
    listView_.refresh();
    saveAlarmFile();
}

void MainForm::alarmPreview_Click() {
    applyAlarmSwitch(model_.pause());
    if (const std::string* line = alarms_.currentTag(); line != nullptr && alarms_.hasCurrentRow()) {
        const std::string copy = *line;  // the row may change while the preview is open
        runner_.runAlarm(copy, AlarmMode::preview, hwnd(), this);
    }
    applyAlarmSwitch(model_.resume());
}

void MainForm::helpReadme_Click() { desktop_.openWithShell(readmePath()); }

void MainForm::helpAbout_Click() {
    desktop_.showInformation(kVersionBoxTitle,
                             versionBoxText(KOLVI_VERSION_MAJOR, KOLVI_VERSION_MINOR, KOLVI_VERSION_PATCH));
}

void MainForm::alarmList_ItemCheck(std::size_t position) {
    if (toggleRowCheck(alarms_, position)) saveAlarmFile();
    listView_.redrawRow(position);
}

void MainForm::alarmList_ColumnClick(int subitem) {
    if (const auto column = sortColumnForHeaderClick(subitem)) sortBy(*column);
}

void MainForm::alarmList_Activate() {
    switch (listActivation(alarms_.isFileOpen(), alarms_.hasCurrentRow())) {
    case ListActivation::addAlarm:
        alarmAdd_Click();
        break;
    case ListActivation::editAlarm:
        alarmEdit_Click();
        break;
    case ListActivation::none:
        break;
    }
}

void MainForm::trayPopupSize_Click() {
    const WindowState state = tray_.restore();
    // The first call restores the placement (a hidden window ignores the
    // show state of a restore), the second makes it visible again; the
    // redraw repaints children that were hidden with it.
    ShowWindow(hwnd(), state == WindowState::maximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

RemoteAnswer MainForm::remote_Request(std::span<const std::string> words) {
    // The sender tries again, and finds no window.
    return tray_.state().exitStarted() ? RemoteAnswer::none : addRequest(words);
}

RemoteAnswer MainForm::addRequest(std::span<const std::string> words) {
    const RemoteParse parsed = parseRemoteRequest(words, files_.codec);
    if (!parsed.request) return RemoteAnswer::refused;
    if (!alarms_.isFileOpen()) {
        ReplyMessage(static_cast<LRESULT>(RemoteAnswer::noFileOpen));
        desktop_.showBox(hwnd(), kMsgNoAlarmFileOpen, BoxIcon::warning);
        return RemoteAnswer::noFileOpen;
    }
    const RemoteAlarm alarm = remoteAlarm(*parsed.request, clock_.now());
    alarms_.addAlarmRow(alarm.record);
    alarms_.renumberRows();
    listView_.refresh();
    if (const auto row = alarms_.currentPosition()) listView_.showRow(*row);
    saveAlarmFile();
    // The sender ends once the row is saved. A countdown that cannot be
    // recorded is still set.
    ReplyMessage(static_cast<LRESULT>(RemoteAnswer::added));
    if (alarm.history) remote_.record(*alarm.history);
    return RemoteAnswer::added;
}

// From anywhere: the window comes back from the tray and the editor opens for
// a countdown. While a modal window of the program is up, that one comes to
// the front instead.
void MainForm::hotKey_Pressed() {
    if (!IsWindowEnabled(hwnd())) {
        SetForegroundWindow(GetLastActivePopup(hwnd()));
        return;
    }
    if (tray_.state().inTray()) {
        trayPopupSize_Click();
    } else {
        SetForegroundWindow(hwnd());
    }
    if (isCommandAvailable(MenuItem::alarmAdd, menuState())) addAlarm(EditorKind::timer);
}

}  // namespace kolvi
