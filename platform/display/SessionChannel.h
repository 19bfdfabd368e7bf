#pragma once
// The one script session of a process, reached from every copy of the class library in it: the host
// program and the module each carry their own, and a dialog the host shows while the module's script
// runs takes its answer from that script. The host program exports qz_session_channel; a copy finds it
// by name in the process.
#include <cstddef>

extern "C" {

struct QzSessionChannel {
    void* Owner; // the running session; nullptr when none
    // The next answer for a dialog, as script text (answer or dialog lines); nullptr when none is given.
    // Aborting: the session is ending and dialogs are to be closed as Cancel.
    const char* (*TakeAnswer)(void* owner, int* aborting);
    // A line of an answer failed in another copy: the session ends.
    void (*Failed)(void* owner);
};

// The channel of this copy; the host program exports its copy's.
QzSessionChannel* qz_session_channel();
}

namespace qz {

// The channel of the process: the exported one when the program exports it, else this copy's.
QzSessionChannel& SessionChannel();

} // namespace qz
