// Track start: rendering a file into a track's graph and running it, and
// telling the user why when either step fails.
#ifndef SOLVANE_TRACK_START_H
#define SOLVANE_TRACK_START_H

#include "platform.h"

struct StatusMessage {
    HRESULT code;
    const char *text; // Shift-JIS
};

#define STATUS_MESSAGE_COUNT 17

// Compared in table order; the codes are distinct.
extern const StatusMessage statusMessages[STATUS_MESSAGE_COUNT];

// Renders fileName (ANSI, at most 259 bytes) into track's graph and runs it.
// Returns 1 when both succeeded; 0 otherwise, the failure already shown.
int RenderAndRun(const char *fileName, int track);

// Shows the table's text for code under caption; a code not in the table
// shows nothing.
void ShowGraphError(HRESULT code, const char *caption);

#endif
