#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orvu::cli {

// Runs jobs on worker threads ahead of the one thread that wants them done,
// which takes them back strictly in the order it gave them. Rather than wait
// for a worker, that thread runs a job itself when nobody has begun it.
// Without workers (one processor) it runs every job itself. A job keeps its
// result where the caller will look for it; finishing it makes that visible.
class OrderedWork {
public:
    explicit OrderedWork(unsigned workers);
    // Waits for the jobs begun; the others are dropped.
    ~OrderedWork();
    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    void submit(std::function<void()> job);
    // Returns once the oldest job submitted has run, and forgets it. There
    // must be one.
    void finishOldest();

private:
    enum class State { Waiting, Running, Done };
    struct Job {
        std::function<void()> run;
        State state = State::Waiting;
    };
    using Lock = std::unique_lock<std::mutex>;

    void work();
    void runLocked(Job& job, Lock& lock); // with the lock released while it runs

    std::mutex m_mutex;
    std::condition_variable m_jobWaiting; // for the workers
    std::condition_variable m_jobDone;    // for the thread that takes them
    std::deque<Job> m_jobs;               // the oldest untaken first
    bool m_stopping = false;
    std::vector<std::thread> m_workers;
};

// Workers for this machine: one per processor besides the caller's own, up to 3.
unsigned defaultWorkers();

} // namespace orvu::cli
