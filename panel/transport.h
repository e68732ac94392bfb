// Play and Stop.
#ifndef SOLVANE_TRANSPORT_H
#define SOLVANE_TRANSPORT_H

#include "platform.h"

// Starts the tracks one after another: each track's file is rendered and
// run, then its volume, balance and rate are set; the delays of tracks 2 and
// 3 are slept before them. Enables Stop and disables Play when at least one
// track started. Reads every field and graph entry at the moment it needs it.
void PlayAll(HWND panel);

// Stops the three graphs, replaces the set by three fresh ones and returns
// the buttons to Idle.
void StopAll(HWND panel);

// The wait for a delay of seconds (> 0), truncated to whole milliseconds and
// kept below the 0xFFFFFFFF that would mean a wait without end.
DWORD DelayMilliseconds(double seconds);

#endif
