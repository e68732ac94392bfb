#include "user/message_loop.h"

#include <deque>
#include <mutex>

#include "user/dialog_manager.h"
#include "user/view.h"
#include "user/window.h"

namespace {

std::mutex queueLock;
std::deque<QueuedMessage> queue;

bool TakePosted(QueuedMessage &message)
{
    std::lock_guard<std::mutex> hold(queueLock);
    if (queue.empty())
        return false;
    message = queue.front();
    queue.pop_front();
    return true;
}

} // namespace

void PostToQueue(const QueuedMessage &message)
{
    {
        std::lock_guard<std::mutex> hold(queueLock);
        queue.push_back(message);
    }
    CurrentView().Wake();
}

bool DispatchPosted()
{
    bool any = false;
    for (QueuedMessage m; TakePosted(m);) {
        any = true;
        DeliverMessage(m.window, m.message, m.wParam, m.lParam);
    }
    return any;
}

void RunMessageLoop(const std::function<bool()> &done)
{
    while (!done()) {
        QueuedMessage m;
        if (TakePosted(m))
            DeliverMessage(m.window, m.message, m.wParam, m.lParam);
        else
            CurrentView().Wait();
    }
}

LRESULT DeliverMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Only dialogs have procedures here; controls answer nothing.
    if (!IsLiveWindow(window) || window->kind != WindowKind::Dialog)
        return 0;
    INT_PTR handled = window->proc != nullptr ? window->proc(window, message, wParam, lParam) : FALSE;
    if (!handled && IsLiveWindow(window))
        DialogDefault(window, message, wParam, lParam);
    return handled;
}
