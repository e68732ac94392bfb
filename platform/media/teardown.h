// Graphs are torn down on a thread of their own: stopping a pipeline for good
// joins its streaming threads, which would hold the panel up for milliseconds
// a graph.
#ifndef SOLVANE_MEDIA_TEARDOWN_H
#define SOLVANE_MEDIA_TEARDOWN_H

#include <functional>

// Runs work on the teardown thread, in the order handed over. When several
// are still waiting, the caller waits for the oldest first, so that
// teardowns never pile up.
void TearDownLater(std::function<void()> work);

// Returns once everything handed over so far has run.
void FinishTeardowns();

#endif
