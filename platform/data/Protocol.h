#pragma once
// The application-server protocol over a stream socket. Every message is a frame: a 32-bit length and
// that many bytes. The client opens with a greeting, then asks the server to create objects by ProgID,
// to invoke their members by name, and to release them; each request but the release gets one reply.
#include "platform/core/Types.h"

#include <cstdint>
#include <string>

namespace qz {

namespace wire {

inline constexpr char kMagic[] = "QZAS";
inline constexpr std::uint16_t kVersion = 1;
inline constexpr std::uint32_t kMaxFrame = 64u << 20;

enum Op : std::uint8_t { Hello = 1, Create = 2, Invoke = 3, Release = 4 };
enum Status : std::uint8_t { Ok = 0, Failed = 1 };

// Reads one frame; false when the peer closed the connection before a frame began. Raises EWireError
// for a frame over kMaxFrame or a connection lost inside a frame.
bool ReadFrame(int fd, std::string& payload);
// Raises EWireError when the connection is lost.
void WriteFrame(int fd, const std::string& payload);

// Opens a TCP connection to host:port (names or addresses); raises EOSError with the reason.
int ConnectTo(const AnsiString& host, int port);
// Listens on address:port (empty address: every interface; port 0: any free port). Returns the socket
// and sets port to the port bound. Raises EOSError with the reason.
int ListenOn(const AnsiString& address, int& port);

} // namespace wire

} // namespace qz
