#include "cli/ordered_work.h"

#include <algorithm>

namespace orvu::cli {

OrderedWork::OrderedWork(unsigned workers) {
    for (unsigned i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

OrderedWork::~OrderedWork() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_jobWaiting.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

void OrderedWork::submit(std::function<void()> job) {
    {
        const std::lock_guard lock(m_mutex);
        m_jobs.push_back({std::move(job), State::Waiting});
    }
    m_jobWaiting.notify_one();
}

void OrderedWork::finishOldest() {
    Lock lock(m_mutex);
    Job& oldest = m_jobs.front();
    if (oldest.state == State::Waiting)
        runLocked(oldest, lock);
    m_jobDone.wait(lock, [&] { return oldest.state == State::Done; });
    m_jobs.pop_front();
}

void OrderedWork::runLocked(Job& job, Lock& lock) {
    job.state = State::Running;
    lock.unlock();
    job.run();
    lock.lock();
    job.state = State::Done;
}

void OrderedWork::work() {
    Lock lock(m_mutex);
    for (;;) {
        // Jobs are begun in order; a deque's elements stay where they are
        // while others are added at the back.
        const auto waiting = [&] {
            return std::find_if(m_jobs.begin(), m_jobs.end(),
                                [](const Job& job) { return job.state == State::Waiting; });
        };
        m_jobWaiting.wait(lock, [&] { return m_stopping || waiting() != m_jobs.end(); });
        if (m_stopping)
            return;
        runLocked(*waiting(), lock);
        m_jobDone.notify_one();
    }
}

unsigned defaultWorkers() {
    const unsigned processors = std::thread::hardware_concurrency();
    return processors <= 1 ? 0 : std::min(processors - 1, 3u);
}

} // namespace orvu::cli
