#pragma once
// The client's connection to the application server: opening it greets the server at Address:Port and
// creates the server object named by ServerName, which AppServer then returns. Members of that object
// are called late-bound; errors on the server come back as EOleError with the server's message. A local
// server object can be given to the connection instead (SetAppServer), with no socket at all.
#include "platform/variant/Variant.h"
#include "platform/vcl/Classes.h"

#include <memory>

namespace qz {

struct AppServerChannel;

class TSimpleObjectBroker;

class TSocketConnection : public TComponent {
    QZ_CLASS(TSocketConnection)
public:
    explicit TSocketConnection(TComponent* owner = nullptr);
    ~TSocketConnection() override;
    TSocketConnection(const TSocketConnection&) = delete;
    TSocketConnection& operator=(const TSocketConnection&) = delete;

    AnsiString Address = "127.0.0.1";
    int Port = 211;
    AnsiString ServerName;
    TSimpleObjectBroker* ObjectBroker = nullptr; // none: the address is used as it stands
    bool SupportCallbacks = true;

    // Raises EOSError when the server cannot be reached and EOleError when it refuses the object.
    void Open();
    void Close();
    bool Connected() const;
    void SetConnected(bool value) { value ? Open() : Close(); }

    // The application-server object: the remote one while connected, or the one given.
    Variant AppServer() const { return appServer_; }
    void SetAppServer(const Variant& server) { appServer_ = server; }

private:
    std::shared_ptr<AppServerChannel> channel_;
    Variant appServer_;
};

// A broker of server addresses; the module always connects without one.
class TSimpleObjectBroker : public TComponent {
    QZ_CLASS(TSimpleObjectBroker)
public:
    explicit TSimpleObjectBroker(TComponent* owner = nullptr) : TComponent(owner) {}
};

} // namespace qz
