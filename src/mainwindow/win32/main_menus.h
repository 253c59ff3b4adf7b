#pragma once
// The main window's menus: every command of the menu bar, the accelerators
// and the pop-up menus with its handler. Included by main_menus.cpp alone,
// which defines MainForm's members that use the table (rendering the menus
// from the enabling rules, routing a command), so that MainForm's own file
// and its command table do not include each other.
#include <windows.h>

#include "mainwindow/menu_model.h"
#include "mainwindow/win32/main_form.h"
#include "resource.h"

namespace kolvi {

// Every command of the menus, the accelerators and the tray menu, with its
// handler. A command that is not in the table cannot be chosen.
struct CommandRoute {
    int id;
    MenuItem item;
    void (MainForm::*handler)();
};

// A friend of MainForm: the handlers are private members.
struct MainFormCommands {
    static constexpr CommandRoute kRoutes[] = {
        {IDM_FILE_NEW, MenuItem::fileNew, &MainForm::fileNew_Click},
        {IDM_FILE_OPEN, MenuItem::fileOpen, &MainForm::fileOpen_Click},
        {IDM_FILE_SAVEAS, MenuItem::fileSaveAs, &MainForm::fileSaveAs_Click},
        {IDM_FILE_CLOSE, MenuItem::fileClose, &MainForm::fileClose_Click},
        {IDM_FILE_DATETIME, MenuItem::fileDateTime, &MainForm::fileDateTime_Click},
        {IDM_FILE_VOLUME, MenuItem::fileVolume, &MainForm::fileVolume_Click},
        {IDM_FILE_STARTUP, MenuItem::fileStartup, &MainForm::fileStartup_Click},
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
    static const CommandRoute* find(MenuItem item) {
        for (const CommandRoute& route : kRoutes) {
            if (route.item == item) return &route;
        }
        return nullptr;
    }
};
static_assert(MainFormCommands::coverEveryCommand(), "each menu command needs exactly one route");

}  // namespace kolvi
