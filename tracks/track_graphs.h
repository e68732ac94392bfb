// The track graph set: one filter graph per track with four further
// interfaces of the same object, and the operations that fill and empty it.
#ifndef SOLVANE_TRACK_GRAPHS_H
#define SOLVANE_TRACK_GRAPHS_H

#include "platform.h"

#define TRACK_COUNT 3

// Graph i posts WM_TRACKEVENT1 + i to the panel whenever it queues an event.
#define WM_TRACKEVENT1 (WM_APP + 1)
#define WM_TRACKEVENT2 (WM_APP + 2)
#define WM_TRACKEVENT3 (WM_APP + 3)

// Entry i of every array belongs to graph i. Each non-null entry owns one
// reference. Only CreateGraphs fills entries and only ReleaseGraphs empties
// them; everyone else reads an entry afresh at each use, tests it for null
// and keeps no copy.
struct TrackGraphSet {
    IGraphBuilder *pGraph[TRACK_COUNT];
    IMediaControl *pControl[TRACK_COUNT];
    IMediaEventEx *pEvent[TRACK_COUNT];
    IBasicAudio *pAudio[TRACK_COUNT];
    IMediaSeeking *pSeeking[TRACK_COUNT];
};

extern TrackGraphSet trackGraphs;

// Fills an empty set and registers panel for the graphs' events. A failure
// to create a graph or obtain its control or event interface, for any
// track, is shown once and returned; the entries filled so far stay until
// the next ReleaseGraphs.
HRESULT CreateGraphs(HWND panel);

// Releases every entry still held and leaves the set empty; safe in any state.
void ReleaseGraphs(void);

#endif
