#include "panel/transport.h"

#include "panel/field_number.h"
#include "panel/levels.h"
#include "res/resource.h"
#include "tracks/track_graphs.h"
#include "tracks/track_start.h"

DWORD DelayMilliseconds(double seconds)
{
    double milliseconds = seconds * 1000.0;
    if (!(milliseconds < 4294967295.0))
        return 0xFFFFFFFE;
    return (DWORD)milliseconds;
}

// Shows the transport state on the two buttons, Stop enabled first when
// playing and disabled first when not. A button disabled while it has the
// keyboard focus would leave the panel deaf to the keyboard (Tab, Esc) until
// a click, so the focus goes to the button that takes over.
static void ShowTransport(HWND panel, bool playing)
{
    HWND play = GetDlgItem(panel, IDC_PLAY);
    HWND stop = GetDlgItem(panel, IDC_STOP);
    bool focusLeaves = GetFocus() == (playing ? play : stop);
    if (playing) {
        EnableWindow(stop, TRUE);
        EnableWindow(play, FALSE);
    } else {
        EnableWindow(stop, FALSE);
        EnableWindow(play, TRUE);
    }
    if (focusLeaves)
        SetFocus(playing ? stop : play);
}

// Renders and runs the track named in its file field, then sets its levels
// and rate whether it started or not. Returns whether it started.
static bool StartTrack(HWND panel, int track, char *text)
{
    bool started = false;
    if (ReadField(panel, IDC_FILE1 + track, text)[0] != '\0')
        started = RenderAndRun(text, track) != 0;

    if (IBasicAudio *audio = trackGraphs.pAudio[track]) {
        audio->put_Volume(VolumeOf(volumePos[track]));
        audio->put_Balance(BalanceOf(balancePos[track]));
    }
    double rate = RateOfText(ReadField(panel, IDC_RATE1 + track, text));
    if (IMediaSeeking *seeking = trackGraphs.pSeeking[track])
        seeking->SetRate(RateFactor(rate));
    return started;
}

static void WaitDelay(HWND panel, int delayId, char *text)
{
    double seconds = ReadFieldNumber(ReadField(panel, delayId, text));
    if (seconds > 0)
        Sleep(DelayMilliseconds(seconds));
}

void PlayAll(HWND panel)
{
    char text[MAX_PATH];
    bool started = StartTrack(panel, 0, text);
    WaitDelay(panel, IDC_DELAY2, text);
    started |= StartTrack(panel, 1, text);
    WaitDelay(panel, IDC_DELAY3, text);
    started |= StartTrack(panel, 2, text);

    if (started)
        ShowTransport(panel, true);
}

void StopAll(HWND panel)
{
    for (int i = 0; i < TRACK_COUNT; i++) {
        if (IMediaControl *control = trackGraphs.pControl[i])
            control->Stop();
    }
    ReleaseGraphs();
    CreateGraphs(panel);
    ShowTransport(panel, false);
}
