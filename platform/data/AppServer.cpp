#include "platform/data/AppServer.h"

#include "platform/data/Protocol.h"
#include "platform/data/Wire.h"
#include "platform/variant/ComObj.h"
#include "platform/variant/Dispatch.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <map>
#include <sys/socket.h>
#include <unistd.h>

namespace qz {

struct TAppServerListener::Session {
    int fd = -1;
    std::thread thread;
    std::atomic<bool> finished{false};
};

namespace {

std::string Failure(const AnsiString& message) {
    WireWriter w;
    w.U8(wire::Failed);
    w.Bytes(message);
    return w.Data();
}

// The objects of one client, by handle; released when the client goes.
class SessionObjects {
public:
    explicit SessionObjects(const TAppServerListener::Factory& factory) : factory_(factory) {}

    // Answers one request; an empty answer means none is due (a release).
    std::string Handle(const std::string& request, bool& greeted) {
        WireReader r(request);
        std::uint8_t op = r.U8();
        if (!greeted) {
            if (op != wire::Hello || r.Bytes() != wire::kMagic || r.U16() != wire::kVersion)
                throw EWireError("Not an application server client");
            greeted = true;
            return std::string(1, static_cast<char>(wire::Ok));
        }
        switch (op) {
        case wire::Create: return Create(r.Bytes());
        case wire::Invoke: return Invoke(r);
        case wire::Release: objects_.erase(r.U32()); return "";
        default: throw EWireError("Unknown request on the application server connection");
        }
    }

private:
    std::string Create(const AnsiString& progId) {
        try {
            Variant object = factory_ ? factory_(progId) : CreateOleObject(progId);
            if (!VarIsObject(object)) return Failure("Invalid class string");
            std::uint32_t handle = ++next_;
            objects_[handle] = object;
            WireWriter w;
            w.U8(wire::Ok);
            w.U32(handle);
            return w.Data();
        } catch (const std::exception& e) {
            return Failure(e.what());
        }
    }

    std::string Invoke(WireReader& r) {
        std::uint32_t handle = r.U32();
        AnsiString name = r.Bytes();
        auto kind = static_cast<DispatchKind>(r.U8());
        if (kind != DispatchKind::Method && kind != DispatchKind::PropertyGet &&
            kind != DispatchKind::PropertyPut)
            throw EWireError("Invalid call kind on the application server connection");
        std::uint32_t count = r.U32();
        std::vector<Variant> values;
        std::vector<bool> byRef;
        for (std::uint32_t i = 0; i < count; ++i) {
            byRef.push_back(r.U8() != 0);
            values.push_back(r.Var());
        }
        auto it = objects_.find(handle);
        if (it == objects_.end()) return Failure("The server object no longer exists");
        try {
            DispArgs args;
            for (size_t i = 0; i < values.size(); ++i) args.Add(values[i], byRef[i]);
            Variant result = it->second.Object()->Invoke(name, kind, args);
            WireWriter w;
            w.U8(wire::Ok);
            w.Var(result);
            std::uint32_t refs = 0;
            for (bool b : byRef) refs += b ? 1 : 0;
            w.U32(refs);
            for (size_t i = 0; i < values.size(); ++i) {
                if (!byRef[i]) continue;
                w.U32(static_cast<std::uint32_t>(i));
                w.Var(values[i]);
            }
            return w.Data();
        } catch (const std::exception& e) {
            return Failure(e.what());
        } catch (...) {
            return Failure("Unknown error in the server object");
        }
    }

    const TAppServerListener::Factory& factory_;
    std::map<std::uint32_t, Variant> objects_;
    std::uint32_t next_ = 0;
};

} // namespace

TAppServerListener::TAppServerListener(Factory factory) : factory_(std::move(factory)) {}

TAppServerListener::~TAppServerListener() {
    Stop();
}

void TAppServerListener::Start(const AnsiString& address, int port) {
    port_ = port;
    listenFd_ = wire::ListenOn(address, port_);
    stopping_ = false;
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

void TAppServerListener::AcceptLoop() {
    while (true) {
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break; // the listening socket was shut down
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) {
            close(fd);
            break;
        }
        ReapFinished();
        auto session = std::make_unique<Session>();
        session->fd = fd;
        Session& s = *session;
        sessions_.push_back(std::move(session));
        s.thread = std::thread([this, &s] { Serve(s); });
    }
}

void TAppServerListener::Serve(Session& session) {
    {
        SessionObjects objects(factory_);
        bool greeted = false;
        try {
            std::string request;
            while (wire::ReadFrame(session.fd, request)) {
                std::string reply = objects.Handle(request, greeted);
                if (!reply.empty()) wire::WriteFrame(session.fd, reply);
            }
        } catch (const std::exception& e) {
            // A broken or foreign client: tell it why where possible, then drop it.
            try {
                wire::WriteFrame(session.fd, Failure(e.what()));
            } catch (const std::exception&) {}
        }
    } // the client's objects go before the socket is closed
    shutdown(session.fd, SHUT_RDWR);
    session.finished = true;
}

void TAppServerListener::ReapFinished() {
    for (auto it = sessions_.begin(); it != sessions_.end();) {
        if ((*it)->finished) {
            (*it)->thread.join();
            close((*it)->fd);
            it = sessions_.erase(it);
        } else {
            ++it;
        }
    }
}

int TAppServerListener::SessionCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const auto& s : sessions_) n += s->finished ? 0 : 1;
    return n;
}

void TAppServerListener::Stop() {
    if (listenFd_ < 0) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        shutdown(listenFd_, SHUT_RDWR);
        for (auto& s : sessions_) shutdown(s->fd, SHUT_RDWR);
    }
    if (acceptThread_.joinable()) acceptThread_.join();
    close(listenFd_);
    listenFd_ = -1;
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& s : sessions_) {
        if (s->thread.joinable()) s->thread.join();
        close(s->fd);
    }
    sessions_.clear();
}

} // namespace qz
