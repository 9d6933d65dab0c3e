// The window's long jobs, one at a time, as the user starts and stops them
// while a job yields.

#include "harvest/job_runner.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace orvu {
namespace {

// What the user does at a job's yield.
enum class Act { Start, Save, Stop, NewSource, End };

// Each job yields once; `acts[n]` is what the user does at the n-th job's
// yield (counting every job, harvest or save, from 0). A job logs how it ended.
class Script {
public:
    explicit Script(std::vector<std::vector<Act>> acts) : m_acts(std::move(acts)) {
        jobs.harvest = [this] { return job("harvest"); };
        jobs.harvestStopped = [this](JobRunner::Stop why) {
            log.push_back(why == JobRunner::Stop::ByUser ? "stopped by user" : "left");
        };
    }

    void save() {
        if (!jobs.save([this] { job("save"); }))
            log.push_back("save refused");
    }

    JobRunner jobs;
    std::vector<std::string> log;

private:
    bool job(const std::string& name) {
        const std::size_t n = m_jobs++;
        log.push_back(name);
        for (const Act act : n < m_acts.size() ? m_acts[n] : std::vector<Act>{}) {
            switch (act) {
            case Act::Start:
                jobs.start();
                break;
            case Act::Save:
                save();
                break;
            case Act::Stop:
                jobs.stopByUser();
                break;
            case Act::NewSource:
                jobs.leaveSource();
                break;
            case Act::End:
                jobs.end();
                break;
            }
        }
        const bool goOn = jobs.mayContinue();
        log.push_back(goOn ? name + " done" : name + " stopped");
        return goOn;
    }

    std::vector<std::vector<Act>> m_acts;
    std::size_t m_jobs = 0;
};

TEST(JobRunner, runsOneJobAtATimeAndTheStartThatWaits) {
    struct Case {
        const char* name;
        bool saveFirst; // the first job is saving many, else a harvest
        std::vector<std::vector<Act>> acts;
        std::vector<std::string> log;
    };
    using A = Act;
    const Case cases[] = {
        {"a harvest", false, {}, {"harvest", "harvest done"}},
        {"Start while it runs: the old one leaves, the new one runs",
         false,
         {{A::Start}},
         {"harvest", "harvest stopped", "left", "harvest", "harvest done"}},
        {"Start three times: one more harvest",
         false,
         {{A::Start, A::Start, A::Start}},
         {"harvest", "harvest stopped", "left", "harvest", "harvest done"}},
        {"Start again while the next one runs",
         false,
         {{A::Start}, {A::Start}},
         {"harvest", "harvest stopped", "left", "harvest", "harvest stopped", "left", "harvest",
          "harvest done"}},
        {"Esc", false, {{A::Stop}}, {"harvest", "harvest stopped", "stopped by user"}},
        {"Esc, then Start",
         false,
         {{A::Stop, A::Start}},
         {"harvest", "harvest stopped", "stopped by user", "harvest", "harvest done"}},
        {"a new source", false, {{A::NewSource}}, {"harvest", "harvest stopped", "left"}},
        {"closing: nothing waits",
         false,
         {{A::Start, A::End}},
         {"harvest", "harvest stopped", "left"}},
        {"saving many while a harvest runs",
         false,
         {{A::Save}},
         {"harvest", "save refused", "harvest done"}},
        {"saving many", true, {}, {"save", "save done"}},
        {"Start while saving: the save ends first",
         true,
         {{A::Start}},
         {"save", "save done", "harvest", "harvest done"}},
        {"a new source while saving", true, {{A::NewSource}}, {"save", "save done"}},
        {"Esc while saving", true, {{A::Stop}}, {"save", "save stopped"}},
    };
    for (const Case& c : cases) {
        Script script(c.acts);
        if (c.saveFirst)
            script.save();
        else
            script.jobs.start();
        EXPECT_EQ(script.log, c.log) << c.name;
        EXPECT_EQ(script.jobs.running(), JobRunner::Job::None) << c.name;
    }
}

} // namespace
} // namespace orvu
