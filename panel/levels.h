// The volume and balance bars.
#ifndef SOLVANE_LEVELS_H
#define SOLVANE_LEVELS_H

#include "platform.h"
#include "tracks/track_graphs.h"

#define VOLUME_MIN (-8)
#define VOLUME_MAX 0
#define BALANCE_MIN (-10)
#define BALANCE_MAX 10

// Bar positions per track, always within the bar's range. Set to 0 when the
// panel opens, changed only by the bars, read by Play; they survive Stop.
extern int volumePos[TRACK_COUNT];
extern int balancePos[TRACK_COUNT];

// The levels handed to a graph for a stored position.
inline LONG VolumeOf(int position) { return position * 600; }
inline LONG BalanceOf(int position) { return position * 1000; }

// WM_HSCROLL from a level bar: moves the bar's stored position, shows it and
// hands the track's level to its graph at once, playing or not.
void OnLevelScroll(HWND panel, HWND bar, UINT code, int position);

#endif
