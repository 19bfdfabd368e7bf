#include "platform/data/Protocol.h"

#include "platform/data/Wire.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qz::wire {

namespace {

// 0 on orderly close before any byte, 1 when all bytes came; raises when lost midway.
int ReadAll(int fd, char* p, size_t n, bool atFrameStart) {
    size_t got = 0;
    while (got < n) {
        ssize_t r = recv(fd, p + got, n - got, 0);
        if (r > 0) {
            got += static_cast<size_t>(r);
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (got == 0 && atFrameStart) return 0;
        throw EWireError(r == 0 ? "The application server connection was closed"
                                : AnsiString("The application server connection failed: ") +
                                      std::strerror(errno));
    }
    return 1;
}

} // namespace

bool ReadFrame(int fd, std::string& payload) {
    unsigned char head[4];
    if (!ReadAll(fd, reinterpret_cast<char*>(head), 4, true)) return false;
    std::uint32_t len =
        head[0] | (head[1] << 8) | (head[2] << 16) | (static_cast<std::uint32_t>(head[3]) << 24);
    if (len > kMaxFrame) throw EWireError("Message too large on the application server connection");
    payload.resize(len);
    if (len) ReadAll(fd, payload.data(), len, false);
    return true;
}

void WriteFrame(int fd, const std::string& payload) {
    if (payload.size() > kMaxFrame)
        throw EWireError("Message too large for the application server connection");
    std::string frame;
    frame.reserve(payload.size() + 4);
    auto len = static_cast<std::uint32_t>(payload.size());
    for (int i = 0; i < 4; ++i) frame.push_back(static_cast<char>(len >> (8 * i)));
    frame += payload;
    size_t sent = 0;
    while (sent < frame.size()) {
        ssize_t r = send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0)
            throw EWireError(AnsiString("The application server connection failed: ") + std::strerror(errno));
        sent += static_cast<size_t>(r);
    }
}

int ConnectTo(const AnsiString& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    AnsiString service = std::to_string(port);
    int rc = getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    if (rc != 0) throw EOSError("Cannot find the host " + host + ": " + gai_strerror(rc));
    AnsiString reason = "no address";
    int fd = -1;
    for (addrinfo* a = list; a; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) break;
        reason = std::strerror(errno);
        close(fd);
        fd = -1;
    }
    freeaddrinfo(list);
    if (fd < 0) throw EOSError("Cannot connect to " + host + ":" + service + ": " + reason);
    int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

int ListenOn(const AnsiString& address, int& port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw EOSError(AnsiString("Cannot create a socket: ") + std::strerror(errno));
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    if (address.empty())
        sa.sin_addr.s_addr = htonl(INADDR_ANY);
    else if (inet_pton(AF_INET, address.c_str(), &sa.sin_addr) != 1) {
        close(fd);
        throw EOSError("Invalid listening address " + address);
    }
    if (bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, 64) != 0) {
        AnsiString reason = std::strerror(errno);
        close(fd);
        throw EOSError("Cannot listen on port " + std::to_string(port) + ": " + reason);
    }
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port = ntohs(sa.sin_port);
    return fd;
}

} // namespace qz::wire
