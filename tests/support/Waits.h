#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class QProcess;

// How long a test waits for anything to arrive: plenty for a loaded two-core machine under the
// sanitizers, and short enough that a hang fails its test within seconds.
constexpr std::chrono::milliseconds kPatience{5000};
// A program a test starts (the game, a crashing child) must start up as well, under the
// sanitizers too; still no wait of a test is longer than ten seconds.
constexpr std::chrono::milliseconds kProgramPatience{8000};

// Waits until the condition holds, handling the main thread's events meanwhile. The failure
// names what did not arrive.
::testing::AssertionResult Eventually(const std::function<bool()>& condition, const char* what,
                                      std::chrono::milliseconds limit = kPatience);

// The same for a program a test started: it must end within the limit; one that does not is
// killed, so nothing it was doing outlives the test.
::testing::AssertionResult Finishes(QProcess& process, const char* what,
                                    std::chrono::milliseconds limit = kProgramPatience);

// For a wait that cannot carry a limit of its own (joining a thread, a destructor that stops
// one): should the object still be alive after the limit, the test program says what did not
// arrive and ends, failing its test instead of hanging until ctest gives up on it.
class Deadline
{
public:
    explicit Deadline(const char* what, std::chrono::milliseconds limit = kPatience);
    ~Deadline();

    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    struct Watch;
    std::shared_ptr<Watch> m_watch;
    std::thread m_thread;
};
