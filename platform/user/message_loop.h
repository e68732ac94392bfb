// The UI thread's message queue and loop. Messages may be posted from any
// thread; they are handled on the UI thread, before input, in order.
#ifndef SOLVANE_PLATFORM_MESSAGE_LOOP_H
#define SOLVANE_PLATFORM_MESSAGE_LOOP_H

#include <functional>

#include "win32/types.h"

struct QueuedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Any thread.
void PostToQueue(const QueuedMessage &message);

// Handles every message posted so far, and those they post in turn; returns
// whether there was any.
bool DispatchPosted();

// Handles posted messages and input until done() holds.
void RunMessageLoop(const std::function<bool()> &done);

// Calls the window's procedure (with the dialog's default handling) now.
LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
