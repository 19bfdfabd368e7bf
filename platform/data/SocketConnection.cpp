#include "platform/data/SocketConnection.h"

#include "platform/core/Exceptions.h"
#include "platform/data/Protocol.h"
#include "platform/data/Wire.h"
#include "platform/rtti/ClassBuilder.h"
#include "platform/variant/Dispatch.h"

#include <mutex>
#include <unistd.h>

namespace qz {

// One socket shared by the connection and the remote objects it handed out; requests are serialised.
struct AppServerChannel {
    int fd = -1;
    std::mutex mutex;

    ~AppServerChannel() { Shut(); }

    void Shut() {
        if (fd >= 0) close(fd);
        fd = -1;
    }

    // Sends a request and returns the reader over its reply, past a successful status. A failed status
    // raises EOleError with the server's message.
    std::string Request(const std::string& payload) {
        std::lock_guard<std::mutex> lock(mutex);
        if (fd < 0) throw EOleError("The application server connection is closed");
        std::string reply;
        try {
            wire::WriteFrame(fd, payload);
            if (!wire::ReadFrame(fd, reply)) throw EWireError("The application server closed the connection");
        } catch (const EWireError&) {
            Shut();
            throw;
        }
        if (reply.empty()) throw EWireError("Empty reply from the application server");
        if (static_cast<std::uint8_t>(reply[0]) != wire::Ok) {
            WireReader r(reply);
            r.U8();
            throw EOleError(r.Bytes());
        }
        return reply;
    }

    void Post(const std::string& payload) {
        std::lock_guard<std::mutex> lock(mutex);
        if (fd < 0) return;
        try {
            wire::WriteFrame(fd, payload);
        } catch (const EWireError&) {
            Shut();
        }
    }
};

namespace {

class RemoteObject : public IDispatchObject {
public:
    RemoteObject(std::shared_ptr<AppServerChannel> channel, std::uint32_t handle)
        : channel_(std::move(channel)), handle_(handle) {}

    ~RemoteObject() override {
        WireWriter w;
        w.U8(wire::Release);
        w.U32(handle_);
        channel_->Post(w.Data());
    }

    Variant Invoke(const AnsiString& name, DispatchKind kind, DispArgs& args) override {
        WireWriter w;
        w.U8(wire::Invoke);
        w.U32(handle_);
        w.Bytes(name);
        w.U8(static_cast<std::uint8_t>(kind));
        w.U32(static_cast<std::uint32_t>(args.Count()));
        for (int i = 0; i < args.Count(); ++i) {
            w.U8(args.IsByRef(i) ? 1 : 0);
            w.Var(args[i]);
        }
        std::string reply = channel_->Request(w.Data());
        WireReader r(reply);
        r.U8();
        Variant result = r.Var();
        for (std::uint32_t n = r.U32(); n > 0; --n) {
            std::uint32_t index = r.U32();
            Variant value = r.Var();
            if (index < static_cast<std::uint32_t>(args.Count()) && args.IsByRef(static_cast<int>(index)))
                args[static_cast<int>(index)] = std::move(value);
        }
        return result;
    }

private:
    std::shared_ptr<AppServerChannel> channel_;
    std::uint32_t handle_;
};

} // namespace

TSocketConnection::TSocketConnection(TComponent* owner) : TComponent(owner) {}

TSocketConnection::~TSocketConnection() {
    Close();
}

bool TSocketConnection::Connected() const {
    return channel_ && channel_->fd >= 0;
}

void TSocketConnection::Open() {
    if (Connected()) return;
    auto channel = std::make_shared<AppServerChannel>();
    channel->fd = wire::ConnectTo(Address, Port);
    WireWriter hello;
    hello.U8(wire::Hello);
    hello.Bytes(wire::kMagic);
    hello.U16(wire::kVersion);
    channel->Request(hello.Data());
    WireWriter create;
    create.U8(wire::Create);
    create.Bytes(ServerName);
    std::string reply = channel->Request(create.Data());
    WireReader r(reply);
    r.U8();
    std::uint32_t handle = r.U32();
    channel_ = channel;
    appServer_ = Variant(new RemoteObject(channel, handle));
}

void TSocketConnection::Close() {
    appServer_.Clear();
    if (channel_) {
        std::lock_guard<std::mutex> lock(channel_->mutex);
        channel_->Shut();
    }
    channel_.reset();
}

QZ_CLASS_INFO(TSocketConnection, TComponent) {
    b.Property("Address", &TSocketConnection::Address);
    b.Property("Port", &TSocketConnection::Port).Default(211);
    b.Property("ServerName", &TSocketConnection::ServerName);
    b.Property("SupportCallbacks", &TSocketConnection::SupportCallbacks).Default(true);
    b.Property("Connected", &TSocketConnection::Connected, &TSocketConnection::SetConnected).Default(false);
}

QZ_CLASS_INFO(TSimpleObjectBroker, TComponent) {}

} // namespace qz
