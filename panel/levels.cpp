#include "panel/levels.h"

#include <algorithm>

#include "res/resource.h"

int volumePos[TRACK_COUNT];
int balancePos[TRACK_COUNT];

// The stored position after code, before clamping.
static int MovedPosition(int stored, UINT code, int position)
{
    switch (code) {
    case SB_LINELEFT:
        return stored - 1;
    case SB_LINERIGHT:
        return stored + 1;
    case SB_PAGELEFT:
        return stored - 3;
    case SB_PAGERIGHT:
        return stored + 3;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        return position;
    default:
        return stored;
    }
}

void OnLevelScroll(HWND panel, HWND bar, UINT code, int position)
{
    (void)panel;
    int id = bar != NULL ? (int)GetWindowLongA(bar, GWL_ID) : 0;
    bool volume = id >= IDC_VOLUME1 && id <= IDC_VOLUME3;
    if (!volume && !(id >= IDC_BALANCE1 && id <= IDC_BALANCE3))
        return;

    int track = volume ? id - IDC_VOLUME1 : id - IDC_BALANCE1;
    int &stored = volume ? volumePos[track] : balancePos[track];
    int moved = MovedPosition(stored, code, position);
    stored = volume ? std::clamp(moved, VOLUME_MIN, VOLUME_MAX) : std::clamp(moved, BALANCE_MIN, BALANCE_MAX);

    SetScrollPos(bar, SB_CTL, stored, TRUE);
    if (code != SB_THUMBPOSITION)
        RedrawWindow(bar, NULL, NULL, RDW_INVALIDATE | RDW_FRAME);

    IBasicAudio *audio = trackGraphs.pAudio[track];
    if (audio == NULL)
        return;
    if (volume)
        audio->put_Volume(VolumeOf(stored));
    else
        audio->put_Balance(BalanceOf(stored));
}
