// The track engine on a real DirectShow: creates the three graphs for a
// window of its own, renders and runs the WAV named on the command line in
// track 1, and waits for the end of the track to come as a posted message.
// Prints one line per step; exits 0 when the track ended.
#include <cstdio>

#include "platform.h"
#include "tracks/track_graphs.h"
#include "tracks/track_start.h"

static UINT_PTR timeoutTimer;

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::printf("usage: tracks_probe FILE.wav\n");
        return 2;
    }
    CoInitialize(NULL);
    HWND window = CreateWindowA("STATIC", "tracks", 0, 0, 0, 0, 0, NULL, NULL, NULL, NULL);
    HRESULT created = CreateGraphs(window);
    std::printf("CreateGraphs 0x%08lX\n", (unsigned long)created);
    for (int i = 0; i < TRACK_COUNT; i++) {
        if (trackGraphs.pGraph[i] == NULL || trackGraphs.pSeeking[i] == NULL)
            return 1;
    }
    DWORD start = GetTickCount();
    int started = RenderAndRun(argv[1], 0);
    std::printf("RenderAndRun %d\n", started);
    if (!started)
        return 1;

    timeoutTimer = SetTimer(NULL, 0, 20000, NULL);
    MSG message;
    bool complete = false;
    while (!complete && GetMessageA(&message, NULL, 0, 0) > 0) {
        if (message.message == WM_TIMER)
            break;
        if (message.hwnd != window || message.message != WM_TRACKEVENT1) {
            DispatchMessageA(&message);
            continue;
        }
        LONG code;
        LONG_PTR param1, param2;
        while (SUCCEEDED(trackGraphs.pEvent[0]->GetEvent(&code, &param1, &param2, 0))) {
            trackGraphs.pEvent[0]->FreeEventParams(code, param1, param2);
            complete |= code == EC_COMPLETE;
        }
    }
    std::printf("EC_COMPLETE %s after %lu ms\n", complete ? "posted" : "missing", (unsigned long)(GetTickCount() - start));
    trackGraphs.pControl[0]->Stop();
    ReleaseGraphs();
    DestroyWindow(window);
    CoUninitialize();
    return complete ? 0 : 1;
}
