#pragma once
// A web service for tests on 127.0.0.1: answers a fixed number of requests with one canned reply and
// records what it received. Each wait for a client is bounded, so a missing call cannot hang a test.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class LocalWebService {
public:
    struct Received {
        std::string head; // request line and headers
        std::string body;
    };

    LocalWebService(int status, std::string contentType, std::string body, int requests = 1)
        : status_(status), contentType_(std::move(contentType)), body_(std::move(body)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this, requests] {
            for (int i = 0; i < requests; ++i)
                if (!ServeOne()) break;
        });
    }
    ~LocalWebService() {
        Wait();
        close(listener_);
    }
    LocalWebService(const LocalWebService&) = delete;
    LocalWebService& operator=(const LocalWebService&) = delete;

    std::string Url(const std::string& path = "/ws") const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }
    // What came in, once every expected request was served (or a wait ran out).
    const std::vector<Received>& Requests() {
        Wait();
        return received_;
    }

    // An address where nothing listens.
    static std::string UnusedUrl() {
        int s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
        close(s);
        return "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/ws";
    }

private:
    void Wait() {
        if (thread_.joinable()) thread_.join();
    }

    static bool Readable(int fd) {
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, 10000) == 1;
    }

    bool ServeOne() {
        if (!Readable(listener_)) return false;
        int client = accept(listener_, nullptr, nullptr);
        if (client < 0) return false;
        std::string data;
        char buf[4096];
        size_t headEnd = std::string::npos, need = 0;
        while (Readable(client)) {
            ssize_t n = recv(client, buf, sizeof buf, 0);
            if (n <= 0) break;
            data.append(buf, static_cast<size_t>(n));
            if (headEnd == std::string::npos && (headEnd = data.find("\r\n\r\n")) != std::string::npos) {
                size_t at = Lower(data.substr(0, headEnd)).find("content-length:");
                need = at == std::string::npos ? 0 : std::stoul(data.substr(at + 15));
            }
            if (headEnd != std::string::npos && data.size() >= headEnd + 4 + need) break;
        }
        if (headEnd != std::string::npos)
            received_.push_back({data.substr(0, headEnd), data.substr(headEnd + 4, need)});
        std::string reply =
            "HTTP/1.1 " + std::to_string(status_) + " Status\r\nContent-Type: " + contentType_ +
            "\r\nContent-Length: " + std::to_string(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_;
        send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        close(client);
        return true;
    }

    static std::string Lower(std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    }

    int status_;
    std::string contentType_, body_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::vector<Received> received_;
};
