#include "platform/display/SessionChannel.h"

#include <dlfcn.h>

extern "C" __attribute__((visibility("default"))) QzSessionChannel* qz_session_channel() {
    static QzSessionChannel channel{nullptr, nullptr, nullptr};
    return &channel;
}

namespace qz {

QzSessionChannel& SessionChannel() {
    static QzSessionChannel* channel = [] {
        using Fn = QzSessionChannel* (*)();
        auto exported = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "qz_session_channel"));
        return exported ? exported() : qz_session_channel();
    }();
    return *channel;
}

} // namespace qz
