#pragma once
// A job request as the job-options window sends it: [environment, condition texts, condition values],
// and for a periodic job also [schedule, dynamic dates]. Read into the record the store keeps.
#include "outside/appserver/TinsleyStore.h"

namespace qz {

class Variant;

// The states of a job the server keeps.
inline constexpr const char* kStateQueued = "Queued";                     // run mode 0: the job queue
inline constexpr const char* kStateImmediate = "Immediate";               // run mode 1: at once
inline constexpr const char* kStateScheduled = "Scheduled";               // run mode 2: at its start
inline constexpr const char* kStatePeriodic = "Periodic";                 // a periodic schedule
inline constexpr const char* kStateRunningInClient = "Running in client"; // registered by Request1
inline constexpr const char* kStateDone = "Done";                         // reported by UpdateStatus1

// The job of a request: program, user, kind, run mode, planned start, state by run mode, the whole
// request and a periodic job's schedule (both wire-encoded); submitted now. Raises EOleError naming
// what is wrong with the request.
JobRecord ReadJobRequest(const Variant& request);

} // namespace qz
