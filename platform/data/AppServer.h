#pragma once
// The server side of the application-server protocol: a listener that serves every client on its own
// thread, creating each client's server objects by ProgID and invoking their members by name.
#include "platform/variant/Variant.h"

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace qz {

class TAppServerListener {
public:
    using Factory = std::function<Variant(const AnsiString& progId)>;

    // Objects are made by factory (CreateOleObject when none is given).
    explicit TAppServerListener(Factory factory = nullptr);
    ~TAppServerListener();
    TAppServerListener(const TAppServerListener&) = delete;
    TAppServerListener& operator=(const TAppServerListener&) = delete;

    // Listens on address:port (empty address: every interface; port 0: any free port) and starts
    // accepting. Raises EOSError when it cannot listen.
    void Start(const AnsiString& address, int port);
    int Port() const { return port_; }
    // Stops accepting, ends every client's session and waits for their threads.
    void Stop();
    int SessionCount() const;

private:
    struct Session;
    void AcceptLoop();
    void Serve(Session& session);
    void ReapFinished();

    Factory factory_;
    int listenFd_ = -1;
    int port_ = 0;
    std::thread acceptThread_;
    mutable std::mutex mutex_;
    std::list<std::unique_ptr<Session>> sessions_;
    bool stopping_ = false;
};

} // namespace qz
