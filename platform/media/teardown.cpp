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
    // The front one is running; it leaves the queue once it has run. (A
    // deque keeps its elements in place while others are added behind.)
    std::deque<std::function<void()>> waiting;

    void Serve()
    {
        std::unique_lock<std::mutex> hold(lock);
        for (;;) {
            changed.wait(hold, [this] { return !waiting.empty(); });
            std::function<void()> &work = waiting.front();
            hold.unlock();
            work();
            hold.lock();
            waiting.pop_front();
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
    t.changed.wait(hold, [&t] { return t.waiting.size() <= MAX_WAITING; }); // behind the one running
    t.waiting.push_back(std::move(work));
    t.changed.notify_all();
}

void FinishTeardowns()
{
    Teardowns &t = Shared();
    std::unique_lock<std::mutex> hold(t.lock);
    t.changed.wait(hold, [&t] { return t.waiting.empty(); });
}
