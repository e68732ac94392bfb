// Reports the state of a running panel from outside its process, for the
// tests that drive the Windows program under Wine: one "key value" line per
// fact. Waits up to 20 s for the panel to appear.
#include <windows.h>

#include <cstdio>

#include "res/resource.h"

static HWND FindPanel(void)
{
    for (int i = 0; i < 200; i++) {
        HWND panel = FindWindowA(NULL, "SOLVANE");
        if (panel != NULL && IsWindowVisible(panel))
            return panel;
        Sleep(100);
    }
    return NULL;
}

static void PrintText(HWND panel, int id)
{
    char text[MAX_PATH] = "";
    // WM_GETTEXT is carried across processes, GetWindowText is not.
    SendMessageA(GetDlgItem(panel, id), WM_GETTEXT, sizeof text, (LPARAM)text);
    std::printf("text %d %s\n", id, text);
}

int main(void)
{
    HWND panel = FindPanel();
    if (panel == NULL) {
        std::printf("no panel\n");
        return 1;
    }
    // The template's place and size are 21, 16 and 241 x 41 dialog units.
    // Whatever base units the dialog font gives, they must map to the
    // panel's screen place and client size alike.
    RECT client;
    GetClientRect(panel, &client);
    POINT origin = {0, 0};
    ClientToScreen(panel, &origin);
    int baseX = (client.right * 4 + 120) / 241, baseY = (client.bottom * 8 + 20) / 41;
    bool placed = origin.x == MulDiv(21, baseX, 4) && origin.y == MulDiv(16, baseY, 8) &&
                  client.right == MulDiv(241, baseX, 4) && client.bottom == MulDiv(41, baseY, 8);
    std::printf("place %s\n", placed ? "as-template" : "elsewhere");
    std::fprintf(stderr, "client %ld, %ld, %ld x %ld; base units %d x %d\n", origin.x, origin.y, client.right,
                 client.bottom, baseX, baseY);

    LONG style = GetWindowLongA(panel, GWL_STYLE);
    std::printf("resizable %d\n", (style & WS_THICKFRAME) != 0);
    std::printf("minimize_box %d\n", (style & WS_MINIMIZEBOX) != 0);
    std::printf("close_box %d\n", (style & WS_SYSMENU) != 0);

    std::printf("play %s\n", IsWindowEnabled(GetDlgItem(panel, IDC_PLAY)) ? "enabled" : "disabled");
    std::printf("stop %s\n", IsWindowEnabled(GetDlgItem(panel, IDC_STOP)) ? "enabled" : "disabled");
    std::printf("loop %u\n", (unsigned)SendMessageA(GetDlgItem(panel, IDC_LOOP), BM_GETCHECK, 0, 0));

    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(panel, NULL), &info);
    std::printf("focus %d\n", info.hwndFocus != NULL ? GetDlgCtrlID(info.hwndFocus) : 0);

    static const int fields[] = {IDC_FILE1, IDC_FILE2, IDC_FILE3, IDC_DELAY2, IDC_DELAY3, IDC_RATE1, IDC_RATE2, IDC_RATE3};
    for (int id : fields)
        PrintText(panel, id);
    return 0;
}
