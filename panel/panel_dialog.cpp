#include "panel/panel_dialog.h"

#include <cstring>

#include "panel/completion.h"
#include "panel/levels.h"
#include "panel/rate_spin.h"
#include "panel/transport.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"

OPENFILENAME_NT4A openFileName;

const char browseTitle[] = "再生用にファイルを開く";
const char browseFilter[] = "サウンド(*.WAV;*.MP3;*.WMA;*.MID;*.RMI)\0*.WAV;*.MP3;*.WMA;*.MID;*.RMI\0"
                            "全ファイル(*.*)\0*.*\0";
const size_t browseFilterSize = sizeof browseFilter;

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(OPENFILENAME_NT4A) == 76, "the file dialog record is the 76-byte ANSI form");
#endif

// Gives the three bars from firstId their range, puts them at 0 and stores 0.
static void InitBars(HWND panel, int firstId, int minPos, int maxPos, int positions[TRACK_COUNT])
{
    for (int i = 0; i < TRACK_COUNT; i++)
        SetScrollRange(GetDlgItem(panel, firstId + i), SB_CTL, minPos, maxPos, FALSE);
    for (int i = 0; i < TRACK_COUNT; i++)
        SetScrollPos(GetDlgItem(panel, firstId + i), SB_CTL, 0, TRUE);
    for (int i = 0; i < TRACK_COUNT; i++)
        positions[i] = 0;
}

// The panel's starting state; runs before the panel is first shown.
static void InitPanel(HWND panel)
{
    EnableWindow(GetDlgItem(panel, IDC_STOP), FALSE);
    SetFocus(GetDlgItem(panel, IDC_FILE1));
    InitBars(panel, IDC_VOLUME1, VOLUME_MIN, VOLUME_MAX, volumePos);
    InitBars(panel, IDC_BALANCE1, BALANCE_MIN, BALANCE_MAX, balancePos);
    for (int i = 0; i < TRACK_COUNT; i++)
        SetWindowTextA(GetDlgItem(panel, IDC_RATE1 + i), "100");
    CreateGraphs(panel);
}

// Lets the user pick a file for the track of fileId; a cancel keeps the
// field as it is.
static void Browse(HWND panel, int fileId)
{
    char file[MAX_PATH];
    char title[256];
    std::memset(&openFileName, 0, sizeof openFileName);
    openFileName.lStructSize = sizeof openFileName;
    openFileName.hwndOwner = panel;
    openFileName.lpstrFilter = browseFilter;
    openFileName.nFilterIndex = 1;
    file[0] = '\0';
    openFileName.lpstrFile = file;
    openFileName.nMaxFile = MAX_PATH;
    openFileName.lpstrFileTitle = title;
    openFileName.nMaxFileTitle = sizeof title;
    openFileName.lpstrTitle = browseTitle;
    openFileName.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    // Every other field stays zero: no custom filter, starting folder,
    // default extension, hook or template.
    if (GetOpenFileNameA((LPOPENFILENAMEA)&openFileName))
        SetDlgItemTextA(panel, fileId, file);
}

static INT_PTR OnCommand(HWND panel, WPARAM wParam)
{
    WORD id = LOWORD(wParam);
    switch (id) {
    case IDCANCEL:
        EndDialog(panel, (INT_PTR)wParam);
        return TRUE;
    case IDC_PLAY:
        PlayAll(panel);
        return TRUE;
    case IDC_STOP:
        StopAll(panel);
        return TRUE;
    case IDC_BROWSE1:
    case IDC_BROWSE2:
    case IDC_BROWSE3:
        Browse(panel, IDC_FILE1 + (id - IDC_BROWSE1));
        return TRUE;
    default:
        return FALSE;
    }
}

// The scroll position travels in the high word of wParam; the bars' ranges
// reach below 0, so it is sign-extended.
static int ScrollPosition(WPARAM wParam)
{
    return (SHORT)HIWORD(wParam);
}

INT_PTR CALLBACK PanelDialogProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPanel(panel);
        return FALSE; // the focus is set; keep the dialog manager from moving it
    case WM_COMMAND:
        return OnCommand(panel, wParam);
    case WM_HSCROLL:
        OnLevelScroll(panel, (HWND)lParam, LOWORD(wParam), ScrollPosition(wParam));
        return TRUE;
    case WM_VSCROLL:
        OnRateSpin(panel, (HWND)lParam, LOWORD(wParam), ScrollPosition(wParam));
        return TRUE;
    case WM_TRACKEVENT1:
    case WM_TRACKEVENT2:
    case WM_TRACKEVENT3:
        return OnTrackEvent(panel, message);
    default:
        return FALSE;
    }
}
