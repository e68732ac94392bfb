#include "user/window.h"

#include <unordered_set>

namespace {

std::unordered_set<HWND> &LiveWindows()
{
    static std::unordered_set<HWND> windows;
    return windows;
}

} // namespace

bool IsLiveWindow(HWND window)
{
    return window != nullptr && LiveWindows().count(window) != 0;
}

void AddLiveWindow(HWND window)
{
    LiveWindows().insert(window);
}

void RemoveLiveWindow(HWND window)
{
    LiveWindows().erase(window);
}

HWND DialogOf(HWND window)
{
    return window->parent != nullptr ? window->parent : window;
}
