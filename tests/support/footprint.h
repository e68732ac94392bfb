// What a process holds: threads, open files and resident memory, to compare
// before and after a long run.
#ifndef SOLVANE_TESTS_FOOTPRINT_H
#define SOLVANE_TESTS_FOOTPRINT_H

struct Footprint {
    long threads;
    long files;
    long residentKb;

    static Footprint Now();
    // Once threads that are ending have gone: idle pool threads linger for
    // about half a second before they end.
    static Footprint Settled();
};

// Fails the test when the footprint grew beyond small bounds (memory is not
// compared under AddressSanitizer, which holds freed memory back and finds
// leaks itself).
void ExpectNoGrowth(const Footprint &before, const Footprint &after, long threads, long files, long residentKb);

#endif
