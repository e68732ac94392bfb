// A test view for the real filter graph: with no scripted input left, a
// message loop waits for posted messages as the program's does.
#ifndef SOLVANE_TESTS_HEADLESS_VIEW_H
#define SOLVANE_TESTS_HEADLESS_VIEW_H

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "test_view.h"

class HeadlessView : public TestView {
public:
    void Wait() override
    {
        if (!inputs.empty()) {
            TestView::Wait();
            return;
        }
        std::unique_lock<std::mutex> hold(lock_);
        woken_.wait_for(hold, std::chrono::milliseconds(20), [this] { return posted_; });
        posted_ = false;
    }
    void Wake() override
    {
        std::lock_guard<std::mutex> hold(lock_);
        posted_ = true;
        woken_.notify_all();
    }

private:
    std::mutex lock_;
    std::condition_variable woken_;
    bool posted_ = false;
};

#endif
