#pragma once
// Files whose status does not come while a test holds them back: a stand-in for a file on a
// stalled network mount. This test program has stat() and fstatat() of its own, which the
// code under test calls; for a file of the name held back they wait until the test lets it
// go, and every other call goes straight to the system.

#include <QByteArray>

namespace pavix::testsupport {

class StalledStatus {
public:
    // From now on, asking for the status of a file named `name` (the last element of its path)
    // waits, until release(), the end of this object, or 60 s at most, so that code that
    // waits for it shows as a failing test, not a hanging one. One at a time.
    explicit StalledStatus(const QByteArray &name);
    // Releases.
    ~StalledStatus();
    StalledStatus(const StalledStatus &) = delete;
    StalledStatus &operator=(const StalledStatus &) = delete;

    // Lets every caller held go on, and holds back no more.
    void release();
    // Calls held back so far, and those held back now.
    static int held();
    static int waiting();
};

} // namespace pavix::testsupport
