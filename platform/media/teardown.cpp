#include "media/teardown.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

const size_t MAX_WAITING = 6; // two Stops' worth of graphs

struct Teardowns {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::function<void()>> waiting;
    bool running = false; // the thread is inside a piece of work

    void Serve()
    {
        std::unique_lock<std::mutex> hold(lock);
        for (;;) {
            changed.wait(hold, [this] { return !waiting.empty(); });
            std::function<void()> work = std::move(waiting.front());
            waiting.pop_front();
            running = true;
            hold.unlock();
            work();
            hold.lock();
            running = false;
            changed.notify_all();
        }
    }
};

// Made on first use and never destroyed: the thread waits for work for as
// long as the process lives, and holds nothing when it ends.
Teardowns &Shared()
{
    static Teardowns *teardowns = [] {
        auto *t = new Teardowns;
        std::thread([t] { t->Serve(); }).detach();
        return t;
    }();
    return *teardowns;
}

} // namespace

void TearDownLater(std::function<void()> work)
{
    Teardowns &t = Shared();
    std::unique_lock<std::mutex> hold(t.lock);
    t.changed.wait(hold, [&t] { return t.waiting.size() < MAX_WAITING; });
    t.waiting.push_back(std::move(work));
    t.changed.notify_all();
}

void FinishTeardowns()
{
    Teardowns &t = Shared();
    std::unique_lock<std::mutex> hold(t.lock);
    t.changed.wait(hold, [&t] { return t.waiting.empty() && !t.running; });
}
