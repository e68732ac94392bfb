// A filter graph double: each object records the calls made on it into one
// shared log and answers from a script. Registered for CLSID_FilterGraph in
// place of the real graph.
#ifndef SOLVANE_TESTS_RECORDING_GRAPH_H
#define SOLVANE_TESTS_RECORDING_GRAPH_H

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform.h"

// What the doubles answer; reset before each test.
struct GraphScript {
    int failCreation = -1; // the creation (0, 1, ...) that CoCreateInstance fails
    HRESULT creationFailure = E_OUTOFMEMORY;
    std::map<std::string, int> failQuery; // interface name -> the graph serial whose query fails
    std::function<HRESULT(int serial)> renderResult = [](int) { return S_OK; };
    std::function<HRESULT(int serial)> runResult = [](int) { return S_OK; };
    bool getStateFails = false;
    bool logStates = true; // whether GetState calls are logged
};

struct GraphDouble {
    int serial;
    OAFilterState state = State_Stopped;
    std::deque<LONG> events;
    HWND notifyWindow = nullptr;
    LONG notifyMessage = 0;
    std::u16string lastPath;
    int references = 0;
    bool released = false;
};

extern GraphScript graphScript;
extern std::vector<std::string> graphLog;
// Every double made since the last reset, by serial.
extern std::vector<GraphDouble *> graphDoubles;
// True when an interface was released after COM stopped on this thread.
extern bool releasedAfterComStop;

// Frees the doubles of the last test and empties the script and the log.
void ResetGraphDoubles();
void RegisterGraphDouble();

// Queues an event in a double and posts its notify message, as a graph does.
void QueueGraphEvent(GraphDouble *graph, LONG code);

#endif
