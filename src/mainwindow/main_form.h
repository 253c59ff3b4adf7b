#pragma once
// The main window: the alarm list in a virtual (owner-data) report list view.
// The AlarmList model is the one store; the control only displays it.
#include <windows.h>

#include <cstddef>
#include <string>

#include "platform/win32/unique_handle.h"
#include "platform/win32/window_base.h"
#include "store/alarm_file.h"
#include "store/alarm_list.h"

namespace kolvi {

class MainForm final : public win32::WindowBase {
public:
    MainForm(AlarmList& list, const AlarmFileContext& files);

    // Creates the window hidden, sized in pixels at 96 dpi (scaled to the
    // monitor's dpi).
    bool create(int width, int height);

    HWND listView() const { return list_; }
    HFONT font() const { return font_.get(); }
    UINT dpi() const { return dpi_; }

    // Title and list visibility for the result of openAlarmFile.
    void showFileState(const std::string& openedPath);
    // Re-renders everything the model may have changed: row count, header
    // texts and sort mark, column widths, selection.
    void refreshList();

    // Events of the list, also reachable from tests.
    void alarmList_ColumnClick(int column);
    void alarmList_ItemCheck(std::size_t position);

private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    static LRESULT CALLBACK listSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR data);

    LRESULT form_Create();
    LRESULT form_Size(int width, int height);
    LRESULT form_DpiChanged(UINT dpi, const RECT& suggested);
    LRESULT form_Notify(NMHDR& header);
    LRESULT alarmList_GetDispInfo(NMHDR& header);
    LRESULT alarmList_ColumnClickNotify(NMHDR& header);
    LRESULT alarmList_ItemChanged(NMHDR& header);

    void applyFont();
    void applyColumnWidths();
    void refreshHeaders();
    void syncSelection();
    int scale(int logicalPixels) const;

    AlarmList& model_;
    const AlarmFileContext& files_;
    HWND list_ = nullptr;
    win32::UniqueFont font_;
    UINT dpi_ = 96;
    bool syncing_ = false;  // selection changes made by us, not the user
};

}  // namespace kolvi
