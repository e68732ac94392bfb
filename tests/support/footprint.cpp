#include "footprint.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace {

long Entries(const char *folder)
{
    long n = 0;
    if (DIR *dir = opendir(folder)) {
        while (readdir(dir) != nullptr)
            n++;
        closedir(dir);
    }
    return n;
}

} // namespace

Footprint Footprint::Now()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return {Entries("/proc/self/task"), Entries("/proc/self/fd"), resident * (sysconf(_SC_PAGESIZE) / 1024)};
}

Footprint Footprint::Settled()
{
    using namespace std::chrono;
    Footprint last = Now();
    auto steadySince = steady_clock::now(), deadline = steadySince + seconds(3);
    while (steady_clock::now() - steadySince < milliseconds(700) && steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(50));
        Footprint now = Now();
        if (now.threads != last.threads)
            steadySince = steady_clock::now();
        last = now;
    }
    return last;
}

void ExpectNoGrowth(const Footprint &before, const Footprint &after, long threads, long files, long residentKb)
{
    EXPECT_LE(after.threads, before.threads + threads) << "threads";
    EXPECT_LE(after.files, before.files + files) << "open files";
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LE(after.residentKb, before.residentKb + residentKb) << "resident kB";
#else
    (void)residentKb;
#endif
}
