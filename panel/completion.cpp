#include "panel/completion.h"

#include "panel/transport.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"

// Asks every graph for its state, in track order. A graph that is missing
// never ran and counts as stopped; one that gives no state holds the reset
// back, since it may still be playing.
static bool AllStopped(void)
{
    bool allStopped = true;
    for (int j = 0; j < TRACK_COUNT; j++) {
        IMediaControl *control = trackGraphs.pControl[j];
        OAFilterState state = State_Running;
        if (control != NULL && FAILED(control->GetState(1000, &state)))
            state = State_Running;
        if (control != NULL && state != State_Stopped)
            allStopped = false;
    }
    return allStopped;
}

BOOL OnTrackEvent(HWND panel, UINT message)
{
    int track = (int)(message - WM_TRACKEVENT1);
    for (;;) {
        IMediaEventEx *events = trackGraphs.pEvent[track];
        LONG code;
        LONG_PTR param1, param2;
        if (events == NULL || FAILED(events->GetEvent(&code, &param1, &param2, 0)))
            return TRUE;
        events->FreeEventParams(code, param1, param2);
        if (code != EC_COMPLETE)
            continue;

        if (IMediaControl *control = trackGraphs.pControl[track])
            control->Stop();
        if (!AllStopped())
            continue;
        StopAll(panel);
        if (IsDlgButtonChecked(panel, IDC_LOOP) != 0) {
            PlayAll(panel);
            // The replayed graph may already hold its track's end. Its events
            // are drained from the message loop, which gets a turn first, so
            // that replays of short tracks never follow one another inside
            // this call without end.
            PostMessageA(panel, message, 0, 0);
            return TRUE;
        }
    }
}
