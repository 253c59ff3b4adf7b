#include "mainwindow/win32/main_form.h"

#include <commctrl.h>
#include <shellscalingapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "resource.h"
#include "kolvi_version.h"
#include "mainwindow/file_state.h"
#include "mainwindow/list_interaction.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/running_state.h"
#include "mainwindow/version_box.h"
#include "mainwindow/window_geometry.h"
#include "command/control_command.h"
#include "schedule/alarm_action.h"
#include "schedule/countdown_text.h"
#include "platform/win32/text.h"
#include "platform/win32/ui_font.h"

namespace kolvi {
namespace {

constexpr wchar_t kClassName[] = L"KolviAlarmMainForm";
constexpr UINT_PTR kListSubclassId = 1;
constexpr int kListId = 100;
constexpr int kStatusId = 101;
constexpr UINT_PTR kAlarmTimerId = 1;
constexpr UINT_PTR kTrayRefreshId = 2;
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kSoundFormClosed = WM_APP + 2;  // lParam: the SoundForm
constexpr UINT kExitProgram = WM_APP + 3;
constexpr int kPopupListMenu = 0;  // sub-menus of the pop-up menu resource
constexpr int kPopupTrayMenu = 1;
constexpr int kViewSortPosition = 3;  // in the view menu

constexpr char kDateTimeCommand[] = "control.exe timedate.cpl";
constexpr char kVolumeCommand[] = "sndvol.exe";
constexpr char kOldVolumeCommand[] = "sndvol32.exe";

Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        auto& areas = *reinterpret_cast<std::vector<Rect>*>(data);
        // The primary monitor goes first.
        if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
            areas.insert(areas.begin(), toRect(info.rcWork));
        } else {
            areas.push_back(toRect(info.rcWork));
        }
    }
    return TRUE;
}

std::vector<Rect> monitorWorkAreas() {
    std::vector<Rect> areas;
    EnumDisplayMonitors(nullptr, nullptr, &collectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// Window placements are in workspace coordinates, which differ from the
// screen's where a taskbar sits on the top or left edge.
RECT workspaceToScreen(const RECT& r) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info);
    const int dx = info.rcWork.left - info.rcMonitor.left;
    const int dy = info.rcWork.top - info.rcMonitor.top;
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

MainForm::MainForm(const MainFormServices& services)
    : model_(services.list),
      files_(services.files),
      settings_(services.settings),
      desktop_(services.desktop),
      clock_(services.clock),
      system_(services.system),
      sound_(services.sound) {}

MainForm::~MainForm() = default;

bool MainForm::start(bool minimizedStart, const std::string& path) {
    const WindowSettings stored = loadWindowSettings(settings_);
    const StartPlan plan = startPlan(stored.state, minimizedStart);
    tray_ = TrayIconState(readTrayRefreshPeriod(settings_), plan.shownState);
    checkIntervalMs_ = readCheckInterval(settings_);

    // The exit writes twips with the dpi of the monitor the window is on; read
    // them back with the dpi of the monitor the stored place falls on.
    const auto toPixels = [&stored](int dpi) {
        Rect r{twipsToPixels(stored.left, dpi), twipsToPixels(stored.top, dpi), 0, 0};
        r.right = r.left + twipsToPixels(stored.width, dpi);
        r.bottom = r.top + twipsToPixels(stored.height, dpi);
        return r;
    };
    int dpi = static_cast<int>(GetDpiForSystem());
    Rect place = toPixels(dpi);
    const RECT guess{place.left, place.top, place.right, place.bottom};
    UINT monitorDpiX = 0, monitorDpiY = 0;
    if (SUCCEEDED(GetDpiForMonitor(MonitorFromRect(&guess, MONITOR_DEFAULTTONEAREST), MDT_EFFECTIVE_DPI,
                                   &monitorDpiX, &monitorDpiY)) &&
        monitorDpiX != 0 && static_cast<int>(monitorDpiX) != dpi) {
        dpi = static_cast<int>(monitorDpiX);
        place = toPixels(dpi);
    }
    const std::vector<Rect> areas = monitorWorkAreas();
    if (!areas.empty()) place = placeWindowOnScreen(place, areas, placementMetricsForDpi(dpi));

    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
    menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINMENU));
    popupMenus_.reset(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_POPUPMENUS)));
    accelerators_ = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_ACCELERATORS));
    model_.setUpAlarmColumns();
    if (!createWindow(kClassName, icon_, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      win32::widen(kProgramTitle).c_str(), place.left, place.top, place.width(), place.height(),
                      nullptr, menu_)) {
        return false;
    }
    trayIcon_.emplace(hwnd(), kTrayCallback, icon_);
    applyAlarmSwitch(true);

    showFileState(openAlarmFile(model_, files_, path));

    // Opacity applies to the main window only.
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(stored.alpha), LWA_ALPHA);

    model_.setColumnWidths(stored.list.columnWidths);
    applyColumnWidths();
    model_.applySort(stored.list.sortKey, stored.list.sortOrder);
    statusBarVisible_ = stored.statusBarVisible;
    toolTipsOn_ = stored.showToolTip;
    ShowWindow(status_, statusBarVisible_ ? SW_SHOW : SW_HIDE);
    refreshList();
    renderMenus();

    if (plan.startInTray) {
        ShowWindow(hwnd(), SW_SHOWMINNOACTIVE);
    } else {
        ShowWindow(hwnd(), plan.shownState == WindowState::maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
        UpdateWindow(hwnd());
    }
    return true;
}

int MainForm::scale(int logicalPixels) const { return MulDiv(logicalPixels, static_cast<int>(dpi_), 96); }

LRESULT MainForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The shell restarted and forgot every icon.
        if (tray_.onTaskbarCreated()) trayIcon_->add(win32::widen(fitTrayTip(tray_.tip())));
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        return form_Create();
    case WM_SIZE:
        form_Resize(wParam);
        return 0;
    case WM_DPICHANGED:
        return form_DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    case WM_NOTIFY:
        return form_Notify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        return form_Command(LOWORD(wParam), HIWORD(wParam) == 1);
    case WM_INITMENUPOPUP:
        renderMenus();
        return 0;
    case WM_TIMER:
        if (wParam == kAlarmTimerId) alarmTimer_Timer();
        if (wParam == kTrayRefreshId) trayRefresh_Timer();
        return 0;
    case kTrayCallback:
        notifyIcon_MouseMove(LOWORD(lParam));
        return 0;
    case kSoundFormClosed:
        soundForm_Closed(*reinterpret_cast<SoundForm*>(lParam));
        return 0;
    case kExitProgram:
        DestroyWindow(hwnd());
        return 0;
    case WM_SETFOCUS:
        if (list_ != nullptr && IsWindowVisible(list_)) SetFocus(list_);
        return 0;
    case WM_SYSCOLORCHANGE:
        SendMessageW(list_, WM_SYSCOLORCHANGE, 0, 0);
        applyAlarmSwitch(allowAlarmCheck_);  // new colours, the same running state
        return 0;
    case WM_CLOSE:
        if (form_QueryUnload()) DestroyWindow(hwnd());
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;  // never ask while Windows ends the session
    case WM_ENDSESSION:
        if (wParam != 0) form_Unload();
        return 0;
    case WM_DESTROY:
        form_Unload();
        if (list_ != nullptr) RemoveWindowSubclass(list_, &MainForm::listSubclassProc, kListSubclassId);
        PostQuitMessage(0);
        return 0;
    default:
        return WindowBase::handleMessage(message, wParam, lParam);
    }
}

LRESULT MainForm::form_Create() {
    dpi_ = GetDpiForWindow(hwnd());
    if (dpi_ == 0) dpi_ = 96;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS,
                            0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                            GetModuleHandleW(nullptr), nullptr);
    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), GetModuleHandleW(nullptr),
                              nullptr);
    if (list_ == nullptr || status_ == nullptr) return -1;
    // Check boxes must be on before any row exists.
    ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER |
                                                 LVS_EX_LABELTIP);
    // The model holds the check and fired marks; the control asks for them.
    SendMessageW(list_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK | LVIS_CUT, 0);
    SetWindowSubclass(list_, &MainForm::listSubclassProc, kListSubclassId, reinterpret_cast<DWORD_PTR>(this));
    for (int c = 0; c < kColumnCount; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        const std::wstring header = win32::widen(model_.column(c).header);
        column.pszText = const_cast<wchar_t*>(header.c_str());
        column.cx = scale(model_.column(c).width);
        column.iSubItem = c;
        ListView_InsertColumn(list_, c, &column);
    }
    ShowWindow(status_, SW_SHOW);
    // One tool covering the list; its text is worked out when it is shown.
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (toolTip_ != nullptr) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = list_;
        tool.uId = 1;
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, 800);
    }
    applyFont();
    return 0;
}

void MainForm::layoutList() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    SendMessageW(status_, WM_SIZE, 0, 0);  // the status bar places itself
    RECT statusRect{};
    GetWindowRect(status_, &statusRect);
    const bool statusVisible = (GetWindowLongW(status_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (const auto r = layoutAlarmList({client.right, client.bottom}, statusVisible,
                                       statusRect.bottom - statusRect.top)) {
        MoveWindow(list_, r->left, r->top, r->width(), r->height(), TRUE);
        if (toolTip_ != nullptr) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = list_;
            tool.uId = 1;
            GetClientRect(list_, &tool.rect);
            SendMessageW(toolTip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

void MainForm::form_Resize(WPARAM kind) {
    if (tray_.exitStarted()) return;
    layoutList();
    if (kind != SIZE_RESTORED && kind != SIZE_MINIMIZED && kind != SIZE_MAXIMIZED) return;
    const auto state = kind == SIZE_MINIMIZED   ? WindowState::minimized
                       : kind == SIZE_MAXIMIZED ? WindowState::maximized
                                                : WindowState::normal;
    const TrayIconState::ResizeActions actions = tray_.onResize(state);
    if (actions.addIcon) trayIcon_->add(win32::widen(fitTrayTip(tray_.tip())));
    if (actions.hideWindow) ShowWindow(hwnd(), SW_HIDE);
    if (actions.refreshTimerEnabled) setTrayRefresh(*actions.refreshTimerEnabled);
}

void MainForm::setTrayRefresh(bool enabled) {
    if (enabled && tray_.refreshPeriodMs() > 0) {
        SetTimer(hwnd(), kTrayRefreshId, tray_.refreshPeriodMs(), nullptr);
    } else {
        KillTimer(hwnd(), kTrayRefreshId);
    }
}

LRESULT MainForm::form_DpiChanged(UINT dpi, const RECT& suggested) {
    readColumnWidthsFromControl();
    dpi_ = dpi;
    applyFont();
    applyColumnWidths();
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void MainForm::applyFont() {
    // The controls hold the old font until they have the new one.
    win32::UniqueFont old = std::move(font_);
    font_ = win32::createUiFont(dpi_);
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    layoutList();
}

// Stored widths are pixels at 96 dpi; the control holds them at its own dpi.
void MainForm::applyColumnWidths() {
    for (int c = 0; c < kColumnCount; ++c) ListView_SetColumnWidth(list_, c, scale(model_.column(c).width));
}

void MainForm::readColumnWidthsFromControl() {
    for (int c = 0; c < kColumnCount; ++c) {
        model_.setColumnWidth(c, MulDiv(ListView_GetColumnWidth(list_, c), 96, static_cast<int>(dpi_)));
    }
}

void MainForm::refreshHeaders() {
    for (int c = 0; c < kColumnCount; ++c) {
        const std::wstring header = win32::widen(model_.column(c).header);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(header.c_str());
        ListView_SetColumn(list_, c, &column);
    }
}

void MainForm::showFileState(const std::string& openedPath) {
    if (openedPath.empty()) {
        model_.clearRows();
        model_.setTag("");
    }
    SetWindowTextW(hwnd(), win32::widen(mainWindowTitle(openedPath)).c_str());
    refreshList();
    ShowWindow(list_, model_.isFileOpen() ? SW_SHOW : SW_HIDE);
    renderMenus();
    if (const auto text = firstPanelTextAfterFileState(model_.isFileOpen(), alarmTimerRunning_)) {
        setFirstPanel(*text);
    }
}

void MainForm::refreshList() {
    // The user's column widths belong to the control between start and exit.
    ListView_SetItemCountEx(list_, static_cast<int>(model_.rowCount()), LVSICF_NOSCROLL);
    refreshHeaders();
    syncSelection();
    InvalidateRect(list_, nullptr, FALSE);
}

void MainForm::syncSelection() {
    syncing_ = true;
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (const auto current = model_.currentPosition()) {
        const int item = static_cast<int>(*current);
        const bool highlighted = model_.row(*current).selected;
        ListView_SetItemState(list_, item, highlighted ? (LVIS_SELECTED | LVIS_FOCUSED) : LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(list_, item);
        if (highlighted) ListView_EnsureVisible(list_, item, FALSE);
    }
    syncing_ = false;
}

void MainForm::setFirstPanel(std::string_view text) {
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(win32::widen(text).c_str()));
}

MainWindowState MainForm::windowState() const {
    MainWindowState state;
    state.fileOpen = model_.isFileOpen();
    state.hasCurrentRow = model_.hasCurrentRow();
    state.sortKey = model_.sortKey();
    state.alarmSwitchOn = alarmSwitchOn_;
    state.statusBarVisible = statusBarVisible_;
    state.toolTipsOn = toolTipsOn_;
    state.readmeExists = files_.fs.isOrdinaryFile(readmePath());
    return state;
}

std::string MainForm::readmePath() const { return files_.programDirectory + "\\readme.txt"; }

// Menus are rendered whole from the model: the menu bar's top-level items
// and the sort sub-menu by position, everything else by command.
void MainForm::renderMenus() {
    const MainWindowState state = windowState();
    const auto flags = [](const MenuItemState& s) {
        return static_cast<UINT>(s.enabled ? MF_ENABLED : MF_GRAYED);
    };
    for (const MenuItem item : allMenuItems()) {
        if (isSeparator(item)) continue;
        const MenuItemState s = menuItemState(item, state);
        const int id = commandId(item);
        if (id != 0) {
            HMENU owner = GetMenuState(menu_, static_cast<UINT>(id), MF_BYCOMMAND) != static_cast<UINT>(-1)
                              ? menu_
                              : popupMenus_.get();
            EnableMenuItem(owner, static_cast<UINT>(id), MF_BYCOMMAND | flags(s));
            CheckMenuItem(owner, static_cast<UINT>(id), MF_BYCOMMAND | (s.checked ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    const MenuItem topLevel[] = {MenuItem::file, MenuItem::view, MenuItem::alarm, MenuItem::help};
    for (UINT i = 0; i < std::size(topLevel); ++i) {
        EnableMenuItem(menu_, i, MF_BYPOSITION | flags(menuItemState(topLevel[i], state)));
    }
    EnableMenuItem(GetSubMenu(menu_, 1), kViewSortPosition,
                   MF_BYPOSITION | flags(menuItemState(MenuItem::viewSort, state)));
    DrawMenuBar(hwnd());
}

void MainForm::applyAlarmSwitch(bool allow) {
    allowAlarmCheck_ = allow;
    const AlarmSwitchDecision decision = decideAlarmSwitch(allow, alarmSwitchOn_, checkIntervalMs_);
    // Alarms still waiting for their turn belong to the seconds just gone;
    // they must not fire whenever the check comes back.
    if (!decision.timerRunning) check_.forgetWaiting();
    alarmTimerRunning_ = decision.timerRunning;
    if (decision.timerRunning) {
        SetTimer(hwnd(), kAlarmTimerId, static_cast<UINT>(checkIntervalMs_), nullptr);
    } else {
        KillTimer(hwnd(), kAlarmTimerId);
    }
    if (decision.firstPanelText) setFirstPanel(*decision.firstPanelText);
    const COLORREF background = GetSysColor(static_cast<int>(decision.listBackground));
    ListView_SetBkColor(list_, background);
    ListView_SetTextBkColor(list_, background);
    InvalidateRect(list_, nullptr, TRUE);
}

void MainForm::alarmTimer_Timer() {
    const std::size_t rowsBefore = model_.rowCount();
    const std::uint64_t firedBefore = check_.firedCount();
    const LocalTime now = clock_.now();
    const std::string status = check_.tick(model_, now, *this);
    if (!IsWindow(hwnd())) return;
    // An action that stopped the check (a preview, the master switch) has
    // already said so in the panel.
    if (alarmTimerRunning_) setFirstPanel(status);
    // Repaint only when the tick changed what the list shows: a row fired
    // (highlighted, dimmed) or was deleted, or the fired marks of the last
    // second are cleared now.
    const bool fired = check_.firedCount() != firedBefore;
    const std::string second = clockTimeText(now);
    if (fired || model_.rowCount() != rowsBefore || (firedSecond_ && *firedSecond_ != second)) {
        firedSecond_.reset();
        refreshList();
    }
    if (fired) firedSecond_ = second;
}

void MainForm::save() { saveAlarmFile(model_, files_); }

void MainForm::runAlarm(const std::string& line, int mode) {
    const AlarmAction action = decideAlarmAction(line, mode, settings_, &isControlCommand);
    switch (action.kind) {
    case AlarmActionKind::message:
        SetForegroundWindow(hwnd());
        if (action.showMessageBox) desktop_.showInformation(kProgramTitle, action.name);
        break;
    case AlarmActionKind::controlCommand:
        runControlCommand(action.file, system_, [this] { exitProgram(); });
        break;
    case AlarmActionKind::shellOpen:
        desktop_.openWithShell(action.file);
        break;
    case AlarmActionKind::soundWindow: {
        SoundForm::Services services{sound_, clock_, settings_, &model_,
                                     [this](const std::string& extension) { addExtension(extension); },
                                     [this] { desktop_.showInformation(kProgramTitle, kNoFileToExtendText); },
                                     {}};
        if (action.mode == kAlarmModeFire) {
            // A fired alarm's window outlives this call; it is forgotten once
            // it has closed.
            services.closed = [this](SoundForm& form) {
                PostMessageW(hwnd(), kSoundFormClosed, 0, reinterpret_cast<LPARAM>(&form));
            };
            soundForms_.push_back(std::make_unique<SoundForm>(std::move(services)));
            soundForms_.back()->playSound(action.file, action.title, action.message, action.mode, action.apiType,
                                          line);
            if (soundForms_.back()->hwnd() == nullptr) soundForms_.pop_back();  // could not be created
        } else {
            // Owned by the main window, which stays disabled while it plays.
            services.owner = hwnd();
            SoundForm preview(std::move(services));
            preview.playSound(action.file, action.title, action.message, action.mode, action.apiType, line);
        }
        break;
    }
    }
}

void MainForm::addExtension(const std::string& line) {
    model_.addAlarmLine(line);
    refreshList();
    saveAlarmFile(model_, files_);
}

void MainForm::soundForm_Closed(SoundForm& form) {
    soundForms_.remove_if([&](const std::unique_ptr<SoundForm>& f) { return f.get() == &form; });
}

const SoundForm* MainForm::notificationWindow(std::size_t i) const {
    auto it = soundForms_.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(std::min(i, soundForms_.size())));
    return it == soundForms_.end() ? nullptr : it->get();
}

bool MainForm::preTranslateMessage(MSG& message) {
    for (const auto& form : soundForms_) {
        const HWND dialog = form->hwnd();
        if (dialog == nullptr || (message.hwnd != dialog && !IsChild(dialog, message.hwnd))) continue;
        // The window sees typed characters before its button does.
        if (message.message == WM_CHAR) {
            form->form_KeyPress(static_cast<wchar_t>(message.wParam));
            return true;
        }
        return IsDialogMessageW(dialog, &message) != 0;
    }
    // The main window's shortcuts belong to the main window alone.
    if (message.hwnd == hwnd() || IsChild(hwnd(), message.hwnd)) {
        return TranslateAcceleratorW(hwnd(), accelerators_, &message) != 0;
    }
    return false;
}

std::string MainForm::toolTipTextAt(POINT listPoint) const {
    LVHITTESTINFO hit{};
    hit.pt = listPoint;
    const int item = ListView_HitTest(list_, &hit);
    const AlarmRow* row = item >= 0 && static_cast<std::size_t>(item) < model_.rowCount()
                              ? &model_.row(static_cast<std::size_t>(item))
                              : nullptr;
    return rowCountdownText(toolTipsOn_, row, clock_.now());
}

LRESULT MainForm::toolTip_GetDispInfo(NMHDR& header) {
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(list_, &at);
    toolTipText_ = win32::widen(toolTipTextAt(at));
    info.lpszText = toolTipText_.data();
    return 0;
}

void MainForm::alarmPreview_Click() {
    applyAlarmSwitch(false);
    if (const std::string* line = model_.currentTag(); line != nullptr && model_.hasCurrentRow()) {
        const std::string copy = *line;  // the row may change while the preview is open
        runAlarm(copy, kAlarmModePreview);
    }
    applyAlarmSwitch(true);
}

void MainForm::trayRefresh_Timer() {
    if (!tray_.onRefreshTimer()) return;
    trayIcon_->remove();
    trayIcon_->add(win32::widen(fitTrayTip(tray_.tip())));
}

void MainForm::notifyIcon_MouseMove(UINT mouseMessage) {
    switch (trayCallbackAction(mouseMessage)) {
    case TrayCallbackAction::updateTip:
        if (const auto tip = tray_.updateTip(model_.tag())) trayIcon_->modify(win32::widen(fitTrayTip(*tip)));
        break;
    case TrayCallbackAction::restore:
        trayPopupSize_Click();
        break;
    case TrayCallbackAction::openMenu: {
        const HMENU menu = GetSubMenu(popupMenus_.get(), kPopupTrayMenu);
        SetMenuDefaultItem(menu, IDM_TRAY_SIZE, FALSE);
        POINT at{};
        GetCursorPos(&at);
        // Without the foreground the menu would not close when clicked away.
        SetForegroundWindow(hwnd());
        TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
        PostMessageW(hwnd(), WM_NULL, 0, 0);
        break;
    }
    case TrayCallbackAction::ignore:
        break;
    }
}

void MainForm::trayPopupSize_Click() {
    trayIcon_->remove();
    const WindowState state = tray_.restore();
    ShowWindow(hwnd(), state == WindowState::maximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool MainForm::form_QueryUnload() {
    if (!closeNeedsConfirmation(CloseSource::closeCommand, settings_)) return true;
    return desktop_.confirm(kCloseConfirmText);
}

void MainForm::closeNotificationWindows() {
    // Closing a window removes it from the list only later, so walk a copy.
    std::vector<SoundForm*> open;
    for (const auto& form : soundForms_) open.push_back(form.get());
    for (SoundForm* form : open) form->unloadWithoutExtension();
}

void MainForm::exitProgram() {
    closeNotificationWindows();
    // Destroying the window from inside a tick would pull the list out from
    // under it; the posted message ends the program as soon as the tick is done.
    if (!exitPosted_) {
        exitPosted_ = true;
        PostMessageW(hwnd(), kExitProgram, 0, 0);
    }
}

void MainForm::form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // However the program ends, every sound stops and nothing is extended.
    closeNotificationWindows();
    const bool inTray = tray_.inTray();
    tray_.beginExit();
    KillTimer(hwnd(), kAlarmTimerId);
    KillTimer(hwnd(), kTrayRefreshId);
    if (trayIcon_) trayIcon_->remove();

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd(), &placement);
    const RECT normal = workspaceToScreen(placement.rcNormalPosition);
    WindowSettings window;
    window.state = inTray ? WindowState::minimized
                          : (IsZoomed(hwnd()) ? WindowState::maximized : WindowState::normal);
    const int dpi = static_cast<int>(dpi_);
    window.left = pixelsToTwips(normal.left, dpi);
    window.top = pixelsToTwips(normal.top, dpi);
    window.width = pixelsToTwips(normal.right - normal.left, dpi);
    window.height = pixelsToTwips(normal.bottom - normal.top, dpi);
    readColumnWidthsFromControl();
    window.list.sortKey = model_.sortKey();
    window.list.sortOrder = model_.sortOrder();
    for (int c = 0; c < kColumnCount; ++c) window.list.columnWidths[static_cast<std::size_t>(c)] = model_.column(c).width;
    window.showToolTip = toolTipsOn_;
    window.statusBarVisible = statusBarVisible_;
    saveWindowSettings(settings_, window, model_.tag());
}

LRESULT MainForm::form_Notify(NMHDR& header) {
    struct Handler {
        UINT code;
        LRESULT (MainForm::*handler)(NMHDR&);
    };
    static constexpr Handler kListHandlers[] = {
        {LVN_GETDISPINFOW, &MainForm::alarmList_GetDispInfo},
        {LVN_COLUMNCLICK, &MainForm::alarmList_ColumnClickNotify},
        {LVN_ITEMCHANGED, &MainForm::alarmList_ItemChanged},
    };
    static constexpr Handler kStatusHandlers[] = {
        {NM_DBLCLK, &MainForm::statusBar_DblClick},
    };
    if (header.hwndFrom == list_) {
        for (const Handler& h : kListHandlers) {
            if (h.code == header.code) return (this->*h.handler)(header);
        }
    } else if (header.hwndFrom == toolTip_ && header.code == TTN_GETDISPINFOW) {
        return toolTip_GetDispInfo(header);
    } else if (header.hwndFrom == status_) {
        for (const Handler& h : kStatusHandlers) {
            if (h.code == header.code) return (this->*h.handler)(header);
        }
    }
    return 0;
}

LRESULT MainForm::form_Command(int id, bool fromAccelerator) {
    const std::optional<MenuItem> item = menuItemForCommand(id);
    if (!item) return 0;
    // A shortcut obeys the same enabling rules as its menu item, worked out
    // afresh now rather than when the menu last opened.
    if (fromAccelerator && !shortcutAllowed(*item, windowState())) return 0;
    if (!isCommandAvailable(*item, windowState())) return 0;
    struct Command {
        MenuItem item;
        void (MainForm::*handler)();
    };
    static constexpr Command kCommands[] = {
        {MenuItem::fileNew, &MainForm::fileNew_Click},
        {MenuItem::fileOpen, &MainForm::fileOpen_Click},
        {MenuItem::fileSaveAs, &MainForm::fileSaveAs_Click},
        {MenuItem::fileDateTime, &MainForm::fileDateTime_Click},
        {MenuItem::fileVolume, &MainForm::fileVolume_Click},
        {MenuItem::fileExit, &MainForm::exitProgram},
        {MenuItem::viewStatus, &MainForm::viewStatus_Click},
        {MenuItem::viewToolTip, &MainForm::viewToolTip_Click},
        {MenuItem::alarmEnable, &MainForm::alarmEnable_Click},
        {MenuItem::alarmDelete, &MainForm::alarmDelete_Click},
        {MenuItem::popupDelete, &MainForm::alarmDelete_Click},
        {MenuItem::helpReadme, &MainForm::helpReadme_Click},
        {MenuItem::helpAbout, &MainForm::helpAbout_Click},
        {MenuItem::alarmPreview, &MainForm::alarmPreview_Click},
        {MenuItem::popupPreview, &MainForm::alarmPreview_Click},
        {MenuItem::trayPopupSize, &MainForm::trayPopupSize_Click},
        {MenuItem::trayPopupExit, &MainForm::exitProgram},
    };
    for (const Command& c : kCommands) {
        if (c.item == *item) {
            (this->*c.handler)();
            return 0;
        }
    }
    if (*item == MenuItem::fileClose) showFileState("");
    if (const auto column = sortColumnForItem(*item)) alarmList_ColumnClick(*column);
    return 0;
}

void MainForm::fileNew_Click() {
    const std::string path = desktop_.askSaveAlarmFile(kNewFileDialogTitle);
    if (path.empty()) return;
    showFileState(createAlarmFile(files_, path) ? openAlarmFile(model_, files_, path) : std::string());
}

void MainForm::fileOpen_Click() {
    const std::string path = desktop_.askOpenAlarmFile();
    if (path.empty()) return;
    showFileState(openAlarmFile(model_, files_, path));
}

void MainForm::fileSaveAs_Click() {
    const std::string path = desktop_.askSaveAlarmFile("");
    if (path.empty()) return;
    const std::string oldTag = model_.tag();
    model_.setTag(path);
    if (!saveAlarmFile(model_, files_)) {
        // The new copy could not be written (the message said so): stay with
        // the file that is still open and intact instead of losing the list.
        model_.setTag(oldTag);
        return;
    }
    showFileState(openAlarmFile(model_, files_, path));
}

void MainForm::fileDateTime_Click() { desktop_.startCommandLine(kDateTimeCommand); }

void MainForm::fileVolume_Click() {
    if (!desktop_.startCommandLine(kVolumeCommand)) desktop_.startCommandLine(kOldVolumeCommand);
}

void MainForm::viewStatus_Click() {
    statusBarVisible_ = !statusBarVisible_;
    ShowWindow(status_, statusBarVisible_ ? SW_SHOW : SW_HIDE);
    renderMenus();
    layoutList();
}

void MainForm::viewToolTip_Click() {
    toolTipsOn_ = !toolTipsOn_;
    renderMenus();
}

void MainForm::alarmEnable_Click() {
    alarmSwitchOn_ = !alarmSwitchOn_;
    renderMenus();
    applyAlarmSwitch(true);
}

void MainForm::alarmDelete_Click() {
    model_.deleteCurrentRow();
    refreshList();
    saveAlarmFile(model_, files_);
}

void MainForm::helpReadme_Click() { desktop_.openWithShell(readmePath()); }

void MainForm::helpAbout_Click() {
    desktop_.showInformation(kVersionBoxTitle,
                             versionBoxText(KOLVI_VERSION_MAJOR, KOLVI_VERSION_MINOR, KOLVI_VERSION_PATCH));
}

LRESULT MainForm::statusBar_DblClick(NMHDR&) {
    fileDateTime_Click();
    return 0;
}

LRESULT MainForm::alarmList_GetDispInfo(NMHDR& header) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= model_.rowCount()) return 0;
    const AlarmRow& row = model_.row(static_cast<std::size_t>(item.iItem));
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0 && item.iSubItem >= 0 &&
        item.iSubItem < kColumnCount) {
        const std::wstring text = win32::widen(row.texts[static_cast<std::size_t>(item.iSubItem)]);
        const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
        std::wmemcpy(item.pszText, text.data(), n);
        item.pszText[n] = L'\0';
    }
    if ((item.mask & LVIF_STATE) != 0) {
        item.state = INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1) | (row.ghosted ? LVIS_CUT : 0);
        item.stateMask = LVIS_STATEIMAGEMASK | LVIS_CUT;
    }
    return 0;
}

LRESULT MainForm::alarmList_ColumnClickNotify(NMHDR& header) {
    alarmList_ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem + 1);
    return 0;
}

void MainForm::alarmList_ColumnClick(int column) {
    // The number column only follows the order; it is never a click target.
    if (column <= 1 || column > kColumnCount) return;
    model_.applySort(column - 1, -1);
    refreshList();
}

LRESULT MainForm::alarmList_ItemChanged(NMHDR& header) {
    const NMLISTVIEW& change = reinterpret_cast<NMLISTVIEW&>(header);
    if (syncing_ || change.iItem < 0 || (change.uChanged & LVIF_STATE) == 0) return 0;
    const bool nowSelected = (change.uNewState & LVIS_SELECTED) != 0;
    const bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
    if (nowSelected && !wasSelected && static_cast<std::size_t>(change.iItem) < model_.rowCount()) {
        model_.makeCurrent(static_cast<std::size_t>(change.iItem), true);
    }
    return 0;
}

void MainForm::alarmList_ItemCheck(std::size_t position) {
    if (position >= model_.rowCount()) return;
    const bool checked = !model_.row(position).checked;
    if (model_.changeCheck(position, checked)) saveAlarmFile(model_, files_);
    ListView_RedrawItems(list_, static_cast<int>(position), static_cast<int>(position));
}

void MainForm::alarmList_MouseDown(POINT at) {
    LVHITTESTINFO hit{};
    hit.pt = at;
    const int item = ListView_HitTest(list_, &hit);
    const bool onRow = item >= 0 && (hit.flags & LVHT_ONITEM) != 0;
    switch (listMouseDown(onRow, model_.hasCurrentRow())) {
    case MouseDownAction::makeCurrent:
        model_.makeCurrent(static_cast<std::size_t>(item), true);
        break;
    case MouseDownAction::clearCurrent:
        model_.clearCurrent();
        break;
    case MouseDownAction::nothing:
        break;
    }
    syncSelection();
}

void MainForm::alarmList_MouseUp(POINT) {
    ListPopupRequest request;
    request.fileOpen = model_.isFileOpen();
    request.hasCurrentRow = model_.hasCurrentRow();
    request.fromKeyboard = false;
    if (const auto plan = planListPopup(request)) showListPopup(plan->defaultItem, false, {});
}

void MainForm::alarmList_KeyboardMenu() {
    ListPopupRequest request;
    request.fileOpen = model_.isFileOpen();
    request.hasCurrentRow = model_.hasCurrentRow();
    request.fromKeyboard = true;
    RECT client{};
    GetClientRect(list_, &client);
    request.listSize = {client.right, client.bottom};
    if (const auto current = model_.currentPosition(); current && request.hasCurrentRow) {
        ListView_EnsureVisible(list_, static_cast<int>(*current), FALSE);
        RECT row{};
        row.left = LVIR_BOUNDS;
        if (ListView_GetItemRect(list_, static_cast<int>(*current), &row, LVIR_BOUNDS)) {
            request.currentRowRect = toRect(row);
        }
    }
    if (const auto plan = planListPopup(request)) {
        showListPopup(plan->defaultItem, plan->anchor == PopupAnchor::atPoint, {plan->point.x, plan->point.y});
    }
}

void MainForm::showListPopup(MenuItem defaultItem, bool atPoint, POINT clientPoint) {
    if (!model_.isFileOpen()) return;
    renderMenus();
    const HMENU menu = GetSubMenu(popupMenus_.get(), kPopupListMenu);
    SetMenuDefaultItem(menu, static_cast<UINT>(commandId(defaultItem)), FALSE);
    POINT at = clientPoint;
    if (atPoint) {
        ClientToScreen(list_, &at);
    } else {
        GetCursorPos(&at);
    }
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

// Check boxes, mouse presses and the keyboard menu are handled here: an
// owner-data list view keeps no check state of its own, and doing it here
// behaves the same on every version of the control (no double toggles, no
// missed space key, the context menu on the button's release).
LRESULT CALLBACK MainForm::listSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    auto* self = reinterpret_cast<MainForm*>(data);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        LVHITTESTINFO hit{};
        hit.pt = at;
        const int item = ListView_HitTest(hwnd, &hit);
        if (item >= 0 && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
            SetFocus(hwnd);
            self->alarmList_ItemCheck(static_cast<std::size_t>(item));
            return 0;
        }
        self->alarmList_MouseDown(at);
        break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        SetFocus(hwnd);
        self->alarmList_MouseDown(at);
        return 0;
    case WM_RBUTTONUP:
        self->alarmList_MouseUp(at);
        return 0;
    case WM_MBUTTONDOWN:
        self->alarmList_MouseDown(at);
        break;
    case WM_MOUSEMOVE: {
        // A new row under the pointer asks the tip for its text again.
        LVHITTESTINFO hit{};
        hit.pt = at;
        const int item = ListView_HitTest(hwnd, &hit);
        if (item != self->hoveredRow_) {
            self->hoveredRow_ = item;
            if (self->toolTip_ != nullptr) SendMessageW(self->toolTip_, TTM_POP, 0, 0);
        }
        break;
    }
    case WM_CONTEXTMENU:
        return 0;  // opened by the handlers above
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        const bool ctrl = GetKeyState(VK_CONTROL) < 0;
        const bool alt = GetKeyState(VK_MENU) < 0;
        if (opensListPopupFromKeyboard(static_cast<int>(wParam), shift, ctrl, alt)) {
            self->alarmList_KeyboardMenu();
            return 0;
        }
        if (message == WM_KEYDOWN && wParam == VK_SPACE) {
            int item = ListView_GetNextItem(hwnd, -1, LVNI_FOCUSED);
            if (item < 0) {
                if (const auto current = self->model_.currentPosition()) item = static_cast<int>(*current);
            }
            if (item >= 0) self->alarmList_ItemCheck(static_cast<std::size_t>(item));
            return 0;
        }
        break;
    }
    case WM_CHAR:
        if (wParam == L' ') return 0;  // already handled as a key; no search beep
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace kolvi
