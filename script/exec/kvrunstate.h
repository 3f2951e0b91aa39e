#pragma once
/// \file

#include <atomic>

class TkvScript;

/// What one running program and all its procedures share: the stop request
/// (set from any thread) and which procedure runs.
struct TkvRunState
{
    std::atomic<bool> Terminated{false}; ///< Terminate was called
    TkvScript *ProgRunning = nullptr;    ///< local script of the running procedure
    unsigned Depth = 0;                  ///< procedure calls in progress
    unsigned Active = 0;                 ///< runs and host calls in progress
};

/// Counts a run or host call as active while it lives.
class TkvActiveRun
{
public:
    /// Counts Run as active until the guard ends.
    explicit TkvActiveRun(TkvRunState &run) : FRun(run) { ++FRun.Active; }
    ~TkvActiveRun() { --FRun.Active; }
    TkvActiveRun(const TkvActiveRun &) = delete;
    TkvActiveRun &operator=(const TkvActiveRun &) = delete;

private:
    TkvRunState &FRun;
};

/// Number of scripts with a run-line hook; statements skip the hook walk
/// while it is 0.
extern std::atomic<int> kvRunLineHooks;

/// Raises "Stack overflow" when the calling thread has used up most of its
/// stack, so that runaway recursion ends in an error instead of a crash.
void kvCheckStack();
