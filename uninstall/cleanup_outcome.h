#pragma once

// What the registry cleanup leaves to report: any failed step, and whether the walk over the
// user profiles never started. Complete when neither is set.
struct CleanupOutcome {
    bool failed = false;
    bool walkNotRun = false;

    bool Complete() const { return !failed && !walkNotRun; }
};
