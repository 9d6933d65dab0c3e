#pragma once

#include <functional>

namespace orvu {

// The window's long jobs: a harvest (Start) and saving many tiles. One runs
// at a time, handing the window its events at every yield, where the user
// may ask for more:
//  - Start, while a job runs, waits (one Start at most: pressing it again
//    changes nothing) and runs once the job has finished; a running harvest
//    is stopped first, since a new Start means a new source;
//  - a new source stops a running harvest; a save goes on (it saves the
//    tiles as they were when it began);
//  - saving many, while a job runs, is refused;
//  - Esc stops the running job;
//  - the window going away stops the running job, and nothing waiting runs.
// Every job ends in one place, which runs what waits.
class JobRunner {
public:
    enum class Job { None, Harvest, Save };
    enum class Stop { None, ByUser, ForNewSource };

    // Runs a harvest: true when it ran to its end.
    std::function<bool()> harvest;
    // Told when a harvest stopped before its end because it was asked to.
    std::function<void(Stop why)> harvestStopped;

    void start();
    // Runs `job` now and returns true; false, and nothing run, while
    // another job runs.
    bool save(const std::function<void()>& job);
    void stopByUser();
    void leaveSource();
    void end();

    Job running() const { return m_running; }
    bool ending() const { return m_ending; }
    // Whether the running job may go on after a yield.
    bool mayContinue() const { return !m_ending && m_stop == Stop::None; }

private:
    void run(Job job, const std::function<bool()>& work);
    // Where every job ends: runs the Start that waits, if any. Never called
    // while a job runs.
    void finished();

    Job m_running = Job::None;
    Stop m_stop = Stop::None;
    bool m_startWaiting = false;
    bool m_ending = false;
};

} // namespace orvu
