#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// An HTTP server on 127.0.0.1 at a port of the system's choosing, for the length of a test: it
// notes the first line of every request (or that a connection came and said nothing), answers
// each with an empty page and closes it. It stops when it goes out of scope, within a tenth of a
// second.
class LoopbackHTTPServer {
  public:
    LoopbackHTTPServer() {
        m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(m_socket, 16) != 0 ||
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~LoopbackHTTPServer() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_socket >= 0) ::close(m_socket);
    }
    LoopbackHTTPServer(const LoopbackHTTPServer&) = delete;
    LoopbackHTTPServer& operator=(const LoopbackHTTPServer&) = delete;

    // 0 when the server could not start.
    int port() const { return m_port; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    std::vector<std::string> requests() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

  private:
    void serve() {
        while (!m_stop) {
            pollfd waiting{m_socket, POLLIN, 0};
            if (::poll(&waiting, 1, 100) <= 0) continue;
            int client = ::accept4(m_socket, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            std::string head;
            char buffer[2048];
            pollfd reading{client, POLLIN, 0};
            while (head.find("\r\n") == std::string::npos && ::poll(&reading, 1, 500) > 0) {
                ssize_t got = ::read(client, buffer, sizeof buffer);
                if (got <= 0) break;
                head.append(buffer, static_cast<size_t>(got));
            }
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.push_back(head.empty() ? "(a connection, no request)"
                                                  : head.substr(0, head.find("\r\n")));
            }
            const char answer[] =
                "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
            [[maybe_unused]] ssize_t sent = ::write(client, answer, sizeof answer - 1);
            ::close(client);
        }
    }

    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
};
