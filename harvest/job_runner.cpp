#include "harvest/job_runner.h"

namespace orvu {

void JobRunner::start() {
    m_startWaiting = true;
    if (m_running == Job::None)
        finished();
    else
        leaveSource();
}

bool JobRunner::save(const std::function<void()>& job) {
    if (m_running != Job::None)
        return false;
    run(Job::Save, [&] {
        job();
        return true;
    });
    finished();
    return true;
}

void JobRunner::stopByUser() {
    if (m_running != Job::None && m_stop == Stop::None)
        m_stop = Stop::ByUser;
}

void JobRunner::leaveSource() {
    if (m_running == Job::Harvest && m_stop == Stop::None)
        m_stop = Stop::ForNewSource;
}

void JobRunner::end() {
    m_ending = true;
}

void JobRunner::run(Job job, const std::function<bool()>& work) {
    m_running = job;
    m_stop = Stop::None;
    const bool ranToItsEnd = work();
    const Stop why = m_stop;
    m_running = Job::None;
    m_stop = Stop::None;
    if (job == Job::Harvest && !ranToItsEnd && why != Stop::None && harvestStopped)
        harvestStopped(why);
}

void JobRunner::finished() {
    // A Start pressed while the harvest that runs from here yields waits
    // again: the loop runs it next.
    while (m_startWaiting && !m_ending && m_running == Job::None) {
        m_startWaiting = false;
        if (harvest)
            run(Job::Harvest, harvest);
    }
}

} // namespace orvu
