// The end of playback: track events, the reset and Loop.
#ifndef SOLVANE_COMPLETION_H
#define SOLVANE_COMPLETION_H

#include "platform.h"

// WM_TRACKEVENT1..3: drains the track's event queue. EC_COMPLETE stops the
// track; once all three graphs stand stopped the panel is reset with
// StopAll and, with Loop ticked, played again. Returns TRUE.
BOOL OnTrackEvent(HWND panel, UINT message);

#endif
