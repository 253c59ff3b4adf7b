#include "mainwindow/win32/main_form.h"

#include <commctrl.h>

#include <vector>

#include "kolvi_version.h"
#include "mainwindow/file_state.h"
#include "mainwindow/running_state.h"
#include "mainwindow/version_box.h"
#include "mainwindow/window_geometry.h"
#include "mainwindow/window_settings.h"
#include "schedule/next_due.h"
#include "settings/safety_settings.h"
#include "mainwindow/list_interaction.h"
#include "platform/win32/file_dialogs.h"
#include "platform/win32/proc_guard.h"
#include "platform/win32/text.h"
#include "platform/win32/ui_font.h"
#include "resource.h"
#include "texts/common_texts.h"
#include "texts/main_window_texts.h"

namespace kolvi {
namespace {

constexpr wchar_t kClassName[] = L"KolviAlarmMainForm";
constexpr int kListId = 100;
constexpr int kStatusId = 101;
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr UINT kExitProgram = WM_APP + 3;
constexpr int kPopupListMenu = 0;  // sub-menus of the pop-up menu resource
constexpr int kPopupTrayMenu = 1;
constexpr int kViewSortPosition = 3;  // in the view menu
constexpr UINT kTrayRetryMs = 2000;


// The portable rules name colours and mouse messages as Windows does.
static_assert(static_cast<int>(SystemColor::window) == COLOR_WINDOW);
static_assert(static_cast<int>(SystemColor::buttonFace) == COLOR_BTNFACE);
static_assert(trayMouse::kMove == WM_MOUSEMOVE && trayMouse::kLeftDoubleClick == WM_LBUTTONDBLCLK &&
              trayMouse::kRightButtonUp == WM_RBUTTONUP);

// Every command of the menus, the accelerators and the tray menu, with its
// handler. A command that is not in the table cannot be chosen.
struct CommandRoute {
    int id;
    MenuItem item;
    void (MainForm::*handler)();
};

}  // namespace

// Outside the anonymous namespace: the handlers are private members.
struct MainFormCommands {
    static constexpr CommandRoute kRoutes[] = {
        {IDM_FILE_NEW, MenuItem::fileNew, &MainForm::fileNew_Click},
        {IDM_FILE_OPEN, MenuItem::fileOpen, &MainForm::fileOpen_Click},
        {IDM_FILE_SAVEAS, MenuItem::fileSaveAs, &MainForm::fileSaveAs_Click},
        {IDM_FILE_CLOSE, MenuItem::fileClose, &MainForm::fileClose_Click},
        {IDM_FILE_DATETIME, MenuItem::fileDateTime, &MainForm::fileDateTime_Click},
        {IDM_FILE_VOLUME, MenuItem::fileVolume, &MainForm::fileVolume_Click},
        {IDM_FILE_EXIT, MenuItem::fileExit, &MainForm::exitProgram},
        {IDM_VIEW_STATUS, MenuItem::viewStatus, &MainForm::viewStatus_Click},
        {IDM_VIEW_TOOLTIP, MenuItem::viewToolTip, &MainForm::viewToolTip_Click},
        {IDM_VIEW_SORT_NAME, MenuItem::viewSortName, &MainForm::viewSortName_Click},
        {IDM_VIEW_SORT_DAY, MenuItem::viewSortDay, &MainForm::viewSortDay_Click},
        {IDM_VIEW_SORT_TIME, MenuItem::viewSortTime, &MainForm::viewSortTime_Click},
        {IDM_VIEW_SORT_FILE, MenuItem::viewSortFile, &MainForm::viewSortFile_Click},
        {IDM_VIEW_SORT_DELETE, MenuItem::viewSortDelete, &MainForm::viewSortDelete_Click},
        {IDM_ALARM_ENABLE, MenuItem::alarmEnable, &MainForm::alarmEnable_Click},
        {IDM_ALARM_EDIT, MenuItem::alarmEdit, &MainForm::alarmEdit_Click},
        {IDM_ALARM_DELETE, MenuItem::alarmDelete, &MainForm::alarmDelete_Click},
        {IDM_ALARM_ADD, MenuItem::alarmAdd, &MainForm::alarmAdd_Click},
        {IDM_ALARM_PREVIEW, MenuItem::alarmPreview, &MainForm::alarmPreview_Click},
        {IDM_HELP_README, MenuItem::helpReadme, &MainForm::helpReadme_Click},
        {IDM_HELP_ABOUT, MenuItem::helpAbout, &MainForm::helpAbout_Click},
        {IDM_POPUP_EDIT, MenuItem::popupEdit, &MainForm::alarmEdit_Click},
        {IDM_POPUP_DELETE, MenuItem::popupDelete, &MainForm::alarmDelete_Click},
        {IDM_POPUP_ADD, MenuItem::popupAdd, &MainForm::alarmAdd_Click},
        {IDM_POPUP_PREVIEW, MenuItem::popupPreview, &MainForm::alarmPreview_Click},
        {IDM_TRAY_SIZE, MenuItem::trayPopupSize, &MainForm::trayPopupSize_Click},
        {IDM_TRAY_EXIT, MenuItem::trayPopupExit, &MainForm::exitProgram},
        {IDM_TRAY_CANCEL, MenuItem::trayPopupCancel, &MainForm::trayPopupCancel_Click},
    };

    // Every item that is not a menu has exactly one route.
    static constexpr bool coverEveryCommand() {
        for (std::size_t i = 0; i < kMenuItemCount; ++i) {
            const auto item = static_cast<MenuItem>(i);
            int routes = 0;
            for (const CommandRoute& route : kRoutes) routes += route.item == item ? 1 : 0;
            if (routes != (isMenu(item) ? 0 : 1)) return false;
        }
        return true;
    }
    static const CommandRoute* find(int id) {
        for (const CommandRoute& route : kRoutes) {
            if (route.id == id) return &route;
        }
        return nullptr;
    }
};
static_assert(MainFormCommands::coverEveryCommand(), "each menu command needs exactly one route");

namespace {

Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    return win32::guarded<BOOL>(FALSE, [&] {
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
    });
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
    : alarms_(services.alarms),
      files_(services.files),
      settings_(services.settings),
      desktop_(services.desktop),
      clock_(services.clock),
      runner_({services.sound, services.clock, services.settings, services.desktop, services.system,
               [this] { exitProgram(); }}),
      editor_({services.clock, services.files.codec, services.files.fs, services.files.programDirectory, runner_, this,
               services.chooseFile ? services.chooseFile : &win32::askOpenAnyFile,
               services.showBox ? services.showBox
                                : [](HWND owner, std::string_view text, UINT icon) {
                                      MessageBoxW(owner, win32::widen(text).c_str(), win32::widen(kProgramTitle).c_str(),
                                                  MB_OK | icon);
                                  }}),
      listView_(services.alarms, services.clock, *this),
      wakeTimer_(services.wakeTimer) {}

MainForm::~MainForm() = default;

bool MainForm::start(bool minimizedStart, const std::string& path) {
    const WindowSettings stored = loadWindowSettings(settings_);
    const StartPlan plan = startPlan(stored.state, minimizedStart);
    tray_ = TrayIconState(readTrayRefreshPeriod(settings_), plan.shownState);
    model_ = MainWindowModel(readCheckInterval(settings_), stored.statusBarVisible, stored.showToolTip);
    nextLine_ = NextAlarmLine(readShowNextAlarm(settings_));

    // The exit writes twips with the dpi of the monitor the window is on; read
    // them back with the dpi of the monitor the stored place falls on.
    const auto toPixels = [&stored](int dpi) {
        Rect r{twipsToPixels(stored.left, dpi), twipsToPixels(stored.top, dpi), 0, 0};
        r.right = r.left + twipsToPixels(stored.width, dpi);
        r.bottom = r.top + twipsToPixels(stored.height, dpi);
        return r;
    };
    // The place is first taken at the system's dpi; once the window exists
    // it knows the dpi of the monitor it is on, and the place is read again
    // with that one if it differs.
    const int systemDpi = static_cast<int>(GetDpiForSystem());
    const std::vector<Rect> areas = monitorWorkAreas();
    const auto placeAt = [&](int dpi) {
        const Rect r = toPixels(dpi);
        return areas.empty() ? r : placeWindowOnScreen(r, areas, placementMetricsForDpi(dpi));
    };
    const Rect place = placeAt(systemDpi);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    icon_ = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    menu_ = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    popupMenus_.reset(LoadMenuW(instance, MAKEINTRESOURCEW(IDR_POPUPMENUS)));
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    alarms_.setUpAlarmColumns();
    if (!createWindow(kClassName, icon_, 0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      win32::widen(kProgramTitle).c_str(), place.left, place.top, place.width(), place.height(),
                      nullptr, menu_)) {
        return false;
    }
    if (static_cast<int>(dpi_) != systemDpi) {
        const Rect again = placeAt(static_cast<int>(dpi_));
        SetWindowPos(hwnd(), nullptr, again.left, again.top, again.width(), again.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    icons_ = win32::loadWindowIcons(dpi_);
    win32::setWindowIcons(hwnd(), icons_);
    trayIcon_ = std::make_unique<win32::TrayIcon>(hwnd(), kTrayCallback, icons_.small.get());
    applyAlarmSwitch(model_.alarmSwitch());

    // Sorted before the rows arrive, so that the file opens with its first
    // row in display order current and in view.
    alarms_.setColumnWidths(stored.list.columnWidths);
    listView_.applyColumnWidths();
    alarms_.applySort(stored.list.sortKey, stored.list.sortOrder);
    const std::string opened = openAlarmFile(alarms_, files_, path);
    model_.rememberStart(path.empty() && opened.empty() && !settings_.readString("list", "lastopen", "").empty());
    showFileState(opened);

    // Opacity applies to the main window only; a layered window is drawn
    // through an extra buffer, so it is layered only when it is see-through.
    if (stored.alpha < 255) {
        SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(stored.alpha), LWA_ALPHA);
    }
    listView_.setToolTipsOn(model_.toolTipsOn());
    ShowWindow(statusBar_, model_.statusBarVisible() ? SW_SHOW : SW_HIDE);

    // The rows and the menus were brought up to date with the file's state;
    // the first paint comes from the message loop.
    ShowWindow(hwnd(), plan.startInTray                                 ? SW_SHOWMINNOACTIVE
                       : plan.shownState == WindowState::maximized ? SW_SHOWMAXIMIZED
                                                                   : SW_SHOWNORMAL);
    return true;
}

LRESULT MainForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        // The shell restarted and forgot every icon.
        if (tray_.onTaskbarCreated()) addTrayIcon();
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
        return routeNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        routeCommand(LOWORD(wParam), HIWORD(wParam) == 1);
        return 0;
    case WM_INITMENUPOPUP:
        renderMenus();
        return 0;
    case WM_TIMER:
        // A tick queued before the check stopped is not a tick.
        if (wParam == alarmTimer_.id() && alarmTimer_.running()) alarmTimer_Timer();
        if (wParam == trayRefresh_.id()) trayRefresh_Timer();
        if (wParam == trayRetry_.id()) trayRetry_Timer();
        return 0;
    case kTrayCallback:
        notifyIcon_MouseMove(LOWORD(lParam));
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
        // Back from sleep: the next alarm may have moved. The skipped seconds
        // are seen by the next tick, whose clock has jumped.
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            wakeArmedAt_.reset();
            armWakeTimer();
        }
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
    dpi_ = GetDpiForWindow(hwnd());
    if (dpi_ == 0) dpi_ = 96;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)), GetModuleHandleW(nullptr),
                                 nullptr);
    if (statusBar_ == nullptr || !listView_.create(hwnd(), kListId, dpi_)) return -1;
    ShowWindow(statusBar_, SW_SHOW);
    applyFont();
    return 0;
}

void MainForm::layoutList() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);  // the status bar places itself
    // The next alarm, when shown, has the status bar's second panel.
    const int parts[] = {nextLine_.shown() ? client.right * 2 / 5 : -1, -1};
    SendMessageW(statusBar_, SB_SETPARTS, parts[0] == -1 ? 1 : 2, reinterpret_cast<LPARAM>(parts));
    RECT statusRect{};
    GetWindowRect(statusBar_, &statusRect);
    const bool statusVisible = (GetWindowLongW(statusBar_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (const auto r = layoutAlarmList({client.right, client.bottom}, statusVisible,
                                       statusRect.bottom - statusRect.top)) {
        listView_.moveTo(*r);
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
    if (actions.addIcon) addTrayIcon();
    if (actions.hideWindow) ShowWindow(hwnd(), SW_HIDE);
    if (actions.refreshTimerEnabled) setTrayRefresh(*actions.refreshTimerEnabled);
}

void MainForm::setTrayRefresh(bool enabled) {
    if (enabled && tray_.refreshPeriodMs() > 0) {
        trayRefresh_.start(hwnd(), tray_.refreshPeriodMs());
    } else {
        trayRefresh_.stop();
    }
}

LRESULT MainForm::form_DpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The tray keeps the old icon until it is handed the new one.
    win32::WindowIcons old = std::move(icons_);
    icons_ = win32::loadWindowIcons(dpi_);
    win32::setWindowIcons(hwnd(), icons_);
    if (trayIcon_) {
        trayIcon_->setIcon(icons_.small.get());
        if (trayIcon_->shown()) trayIcon_->modify(win32::widen(fitTrayTip(tray_.tip())));
    }
    listView_.setDpi(dpi);
    applyFont();
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void MainForm::applyFont() {
    // The controls hold the old font until they have the new one.
    win32::UniqueFont old = std::move(font_);
    font_ = win32::createUiFont(dpi_);
    listView_.setFont(font_.get());
    SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
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
        setFirstPanel(*text);
    }
}

void MainForm::setFirstPanel(std::string_view text) {
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(win32::widen(text).c_str()));
}

MainWindowState MainForm::menuState() const {
    return model_.menuState(alarms_, files_.fs.isOrdinaryFile(readmePath()));
}

std::string MainForm::readmePath() const { return files_.programDirectory + "\\readme.txt"; }

// Menus are rendered whole from the rules: the menu bar's top-level items
// and the sort sub-menu by position, every command by its id.
void MainForm::renderMenus() {
    const MainWindowState state = menuState();
    const auto flags = [](const MenuItemState& s) { return static_cast<UINT>(s.enabled ? MF_ENABLED : MF_GRAYED); };
    for (const CommandRoute& route : MainFormCommands::kRoutes) {
        const MenuItemState s = menuItemState(route.item, state);
        const UINT id = static_cast<UINT>(route.id);
        const HMENU owner =
            GetMenuState(menu_, id, MF_BYCOMMAND) != static_cast<UINT>(-1) ? menu_ : popupMenus_.get();
        EnableMenuItem(owner, id, MF_BYCOMMAND | flags(s));
        CheckMenuItem(owner, id, MF_BYCOMMAND | (s.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    const MenuItem topLevel[] = {MenuItem::file, MenuItem::view, MenuItem::alarm, MenuItem::help};
    for (UINT i = 0; i < std::size(topLevel); ++i) {
        EnableMenuItem(menu_, i, MF_BYPOSITION | flags(menuItemState(topLevel[i], state)));
    }
    EnableMenuItem(GetSubMenu(menu_, 1), kViewSortPosition,
                   MF_BYPOSITION | flags(menuItemState(MenuItem::viewSort, state)));
    if (IsWindowVisible(hwnd())) DrawMenuBar(hwnd());  // a hidden window draws it when shown
}

void MainForm::routeCommand(int id, bool fromAccelerator) {
    const CommandRoute* route = MainFormCommands::find(id);
    if (route == nullptr) return;
    // The context menu's commands act on the row it was opened for, even if
    // an alarm fired (and became current) while the menu was open.
    if (route->item == MenuItem::popupEdit || route->item == MenuItem::popupDelete ||
        route->item == MenuItem::popupPreview) {
        const auto position = popupRowId_ ? alarms_.findRow(*popupRowId_) : std::nullopt;
        if (!position) return;
        alarms_.makeCurrent(*position, true);
        listView_.refresh();
    }
    // A shortcut obeys the same enabling rules as its menu item, worked out
    // afresh now rather than when the menu last opened.
    const MainWindowState state = menuState();
    if (fromAccelerator && !shortcutAllowed(route->item, state)) return;
    if (!isCommandAvailable(route->item, state)) return;
    (this->*route->handler)();
}

LRESULT MainForm::routeNotify(NMHDR& header) {
    if (const auto handled = listView_.notify(header)) return *handled;
    if (header.hwndFrom == statusBar_ && header.code == static_cast<UINT>(NM_DBLCLK)) statusBar_DblClick();
    return 0;
}

bool MainForm::preTranslateMessage(MSG& message) {
    if (runner_.preTranslateMessage(message)) return true;
    // The main window's shortcuts belong to the main window alone.
    if (message.hwnd == hwnd() || IsChild(hwnd(), message.hwnd)) {
        return TranslateAcceleratorW(hwnd(), accelerators_, &message) != 0;
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
    if (decision.firstPanelText) setFirstPanel(*decision.firstPanelText);
    listView_.setBackground(GetSysColor(static_cast<int>(decision.listBackground)));
}

void MainForm::alarmTimer_Timer() {
    const LocalTime now = clock_.now();
    const TickResult result = check_.tick(alarms_, now, *this);
    if (!IsWindow(hwnd())) return;
    // An action that stopped the check (a preview, the master switch) has
    // already said so in the panel.
    if (alarmTimer_.running()) setFirstPanel(result.status);
    if (result.listChanged) {
        listView_.refresh();
        armWakeTimer();
    }
    if (alarmTimer_.running()) showNextAlarm(nextLine_.update(alarms_, now));
}

void MainForm::showNextAlarm(const std::optional<std::string>& line) {
    if (!line) return;
    SendMessageW(statusBar_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(win32::widen(*line).c_str()));
    if (const auto tip = tray_.updateTip(alarms_.tag(), *line); tip && trayIcon_->shown()) {
        trayIcon_->modify(win32::widen(fitTrayTip(*tip)));
    }
}

// One timer, armed for the next moment an alarm comes due, while the setting
// asks for it and a file is open.
void MainForm::armWakeTimer() {
    if (wakeTimer_ == nullptr) return;
    const std::optional<DueAlarm> next =
        alarms_.isFileOpen() && readWakeTimer(settings_) ? nextDue(alarms_, clock_.now()) : std::nullopt;
    if (!next) {
        if (wakeArmedAt_) wakeTimer_->cancel();
        wakeArmedAt_.reset();
        return;
    }
    if (wakeArmedAt_ == next->at) return;
    wakeArmedAt_ = next->at;
    wakeTimer_->arm(next->at);
}

int MainForm::missedGrace() { return readMissedGrace(settings_); }

void MainForm::reportMissed(const std::vector<MissedAlarm>& missed) { missed_.report(missed); }

void MainForm::runAlarm(const std::string& line) { runner_.runAlarm(line, AlarmMode::fire, hwnd(), this); }

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
    const bool inTray = tray_.inTray();
    tray_.beginExit();
    alarmTimer_.stop();
    trayRefresh_.stop();
    trayRetry_.stop();
    trayIcon_->remove();
    if (wakeTimer_ != nullptr) wakeTimer_->cancel();

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd(), &placement);
    const RECT normal = workspaceToScreen(placement.rcNormalPosition);
    WindowSettings window;
    window.state = inTray ? WindowState::minimized : (IsZoomed(hwnd()) ? WindowState::maximized : WindowState::normal);
    const int dpi = static_cast<int>(dpi_);
    window.left = pixelsToTwips(normal.left, dpi);
    window.top = pixelsToTwips(normal.top, dpi);
    window.width = pixelsToTwips(normal.right - normal.left, dpi);
    window.height = pixelsToTwips(normal.bottom - normal.top, dpi);
    listView_.readColumnWidths();
    window.list.sortKey = alarms_.sortKey();
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

void MainForm::viewStatus_Click() {
    model_.toggleStatusBar();
    ShowWindow(statusBar_, model_.statusBarVisible() ? SW_SHOW : SW_HIDE);
    renderMenus();
    layoutList();
}

void MainForm::viewToolTip_Click() {
    model_.toggleToolTips();
    listView_.setToolTipsOn(model_.toolTipsOn());
    renderMenus();
}

void MainForm::sortBy(int key) {
    alarms_.applySort(key, -1);
    listView_.refresh();
    if (const auto row = alarms_.rowToShowAfterSort()) listView_.showRow(*row);
}

void MainForm::alarmEnable_Click() {
    applyAlarmSwitch(model_.toggleAlarmSwitch());
    // With the alarms off no alarm is next.
    if (!model_.alarmSwitchOn()) showNextAlarm(nextLine_.clear());
    renderMenus();
}

// The editor runs with the alarm check paused; the file is saved afterwards
// whether it was confirmed or not.
void MainForm::alarmAdd_Click() {
    applyAlarmSwitch(model_.pause());
    if (const auto line = editor_.showDialog(hwnd(), EditorPurpose::add, std::string(kDefaultAlarmLine))) {
        if (const auto record = parseAlarmLine(*line)) alarms_.addAlarmRow(*record);
    }
    finishEditing();
}

void MainForm::alarmEdit_Click() {
    const std::optional<std::uint64_t> id = alarms_.currentRowId();
    if (!id) return;
    const std::string line = *alarms_.currentTag();
    applyAlarmSwitch(model_.pause());
    if (const auto edited = editor_.showDialog(hwnd(), EditorPurpose::edit, line)) {
        // By identity: an extension added meanwhile becomes the current row.
        if (const auto position = alarms_.findRow(*id)) {
            alarms_.makeCurrent(*position);
            alarms_.deleteCurrentRow();
        }
        if (const auto record = parseAlarmLine(*edited)) alarms_.addAlarmRow(*record);
    }
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
    if (position >= alarms_.rowCount()) return;
    const bool checked = !alarms_.row(position).checked;
    if (alarms_.changeCheck(position, checked)) saveAlarmFile();
    listView_.redrawRow(position);
}

void MainForm::alarmList_ColumnClick(int subitem) {
    if (const auto key = sortKeyForHeaderClick(subitem)) sortBy(*key);
}

void MainForm::alarmList_ContextMenu(MenuItem defaultItem, std::optional<POINT> screenPoint) {
    if (!alarms_.isFileOpen()) return;
    popupRowId_ = alarms_.currentRowId();
    renderMenus();
    const HMENU menu = GetSubMenu(popupMenus_.get(), kPopupListMenu);
    for (const CommandRoute& route : MainFormCommands::kRoutes) {
        if (route.item == defaultItem) SetMenuDefaultItem(menu, static_cast<UINT>(route.id), FALSE);
    }
    POINT at{};
    if (screenPoint) {
        at = *screenPoint;
    } else {
        GetCursorPos(&at);
    }
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
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

void MainForm::addTrayIcon() {
    if (trayIcon_->add(win32::widen(fitTrayTip(tray_.tip())))) {
        tray_.iconAdded();
        trayRetry_.stop();
    } else if (tray_.retryAdd()) {
        trayRetry_.start(hwnd(), kTrayRetryMs);
    } else {
        trayRetry_.stop();
    }
}

void MainForm::trayRetry_Timer() {
    if (tray_.inTray() && !trayIcon_->shown()) {
        addTrayIcon();
    } else {
        trayRetry_.stop();
    }
}

void MainForm::trayRefresh_Timer() {
    if (!tray_.onRefreshTimer()) return;
    trayIcon_->remove();
    addTrayIcon();
}

void MainForm::notifyIcon_MouseMove(UINT mouseMessage) {
    switch (trayCallbackAction(mouseMessage)) {
    case TrayCallbackAction::updateTip:
        if (const auto tip = tray_.updateTip(alarms_.tag(), nextLine_.line())) {
            trayIcon_->modify(win32::widen(fitTrayTip(*tip)));
        }
        break;
    case TrayCallbackAction::restore:
        trayPopupSize_Click();
        break;
    case TrayCallbackAction::openMenu: {
        const HMENU menu = GetSubMenu(popupMenus_.get(), kPopupTrayMenu);
        SetMenuDefaultItem(menu, IDM_TRAY_SIZE, FALSE);
        POINT at{};
        GetCursorPos(&at);
        // Without the foreground the menu would not close when clicked away;
        // without a message after it, the next click on the icon would not
        // open it again (the documented pair for notification-area menus).
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
    // The first call restores the placement (a hidden window ignores the
    // show state of a restore), the second makes it visible again; the
    // redraw repaints children that were hidden with it.
    ShowWindow(hwnd(), state == WindowState::maximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace kolvi
