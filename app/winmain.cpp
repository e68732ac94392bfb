// The program's entry: COM start, the panel as a modal dialog, the release
// of the track graphs and COM stop.
#include "panel/panel_dialog.h"
#include "platform.h"
#include "tracks/track_graphs.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    (void)hPrevInstance;
    (void)lpCmdLine;
    (void)nCmdShow;

    HRESULT hr = CoInitialize(NULL);
    if (FAILED(hr)) {
        MessageBoxA(NULL, "ERROR - Could not initialize COM library", "CoInit", MB_OK);
        return hr;
    }
    DialogBoxParamA(hInstance, "SOLVANE", NULL, PanelDialogProc, 0);
    // The panel is gone, so no track event is handled any more; no interface
    // may be held when COM stops.
    ReleaseGraphs();
    CoUninitialize();
    return 0;
}
