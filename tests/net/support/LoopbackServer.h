#pragma once
// A tiny HTTP/1.1 server on 127.0.0.1 for the network tests. It listens on a
// port the system picks, answers each connection once and closes it, and
// records every request (method, target, headers, body) so a test can check
// what was sent. Answers are set per path; an unknown path gets 404. A request
// whose target is an absolute address (as a client sends it to a proxy) is
// routed by its path, so the server can stand in for a proxy too.
//
// Header only, so that the platform and the net tests can both use it.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qmtest {

struct RecordedRequest
{
    std::string method;
    std::string target;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // First header of that name (ASCII case ignored); null when absent.
    const std::string* Header(const std::string& name) const
    {
        for (const auto& h : headers) {
            if (h.first.size() != name.size())
                continue;
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i)
                same = std::tolower(static_cast<unsigned char>(h.first[i]))
                    == std::tolower(static_cast<unsigned char>(name[i]));
            if (same)
                return &h.second;
        }
        return nullptr;
    }
};

struct CannedAnswer
{
    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    int silentMs = 0; // > 0: read the request, then say nothing for this long
};

class LoopbackServer
{
public:
    LoopbackServer()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_listen < 0)
            return;
        int one = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0
            || ::listen(m_listen, 16) != 0) {
            ::close(m_listen);
            m_listen = -1;
            return;
        }
        socklen_t len = sizeof addr;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Run(); });
    }

    ~LoopbackServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listen >= 0)
            ::close(m_listen);
    }

    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Ok() const { return m_listen >= 0; }
    unsigned short Port() const { return m_port; }
    std::string Url(const std::string& path) const
    {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

    void Answer(const std::string& path, int status, const std::string& body,
        std::vector<std::pair<std::string, std::string>> headers = {})
    {
        CannedAnswer a;
        a.status = status;
        a.body = body;
        a.headers = std::move(headers);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answers[path] = a;
    }

    void Redirect(const std::string& path, const std::string& location, int status = 302)
    {
        Answer(path, status, "", {{"Location", location}});
    }

    void Silent(const std::string& path, int ms)
    {
        CannedAnswer a;
        a.silentMs = ms;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answers[path] = a;
    }

    std::vector<RecordedRequest> Requests() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

    void ClearRequests()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.clear();
    }

private:
    void Run()
    {
        while (!m_stop) {
            pollfd p{m_listen, POLLIN, 0};
            int r = ::poll(&p, 1, 50);
            if (r <= 0)
                continue;
            int fd = ::accept(m_listen, nullptr, nullptr);
            if (fd < 0)
                continue;
            Serve(fd);
            ::close(fd);
        }
    }

    // Reads with a short poll so that a stop request is noticed.
    bool ReadMore(int fd, std::string& buf)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!m_stop && std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            int r = ::poll(&p, 1, 50);
            if (r < 0)
                return false;
            if (r == 0)
                continue;
            char chunk[4096];
            ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                return false;
            buf.append(chunk, static_cast<size_t>(n));
            return true;
        }
        return false;
    }

    void Serve(int fd)
    {
        std::string buf;
        size_t headEnd;
        while ((headEnd = buf.find("\r\n\r\n")) == std::string::npos)
            if (!ReadMore(fd, buf))
                return;

        RecordedRequest req;
        std::string head = buf.substr(0, headEnd);
        size_t lineEnd = head.find("\r\n");
        std::string requestLine = head.substr(0, lineEnd);
        size_t sp1 = requestLine.find(' ');
        size_t sp2 = requestLine.find(' ', sp1 == std::string::npos ? 0 : sp1 + 1);
        if (sp1 == std::string::npos || sp2 == std::string::npos)
            return;
        req.method = requestLine.substr(0, sp1);
        req.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
        size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 2;
        size_t contentLength = 0;
        while (pos < head.size()) {
            size_t e = head.find("\r\n", pos);
            if (e == std::string::npos)
                e = head.size();
            std::string line = head.substr(pos, e - pos);
            size_t colon = line.find(':');
            if (colon != std::string::npos) {
                std::string name = line.substr(0, colon);
                std::string value = line.substr(colon + 1);
                while (!value.empty() && value[0] == ' ')
                    value.erase(0, 1);
                req.headers.emplace_back(name, value);
            }
            pos = e + 2;
        }
        if (const std::string* cl = req.Header("Content-Length"))
            contentLength = static_cast<size_t>(std::stoul(*cl));
        std::string body = buf.substr(headEnd + 4);
        while (body.size() < contentLength) {
            if (!ReadMore(fd, body))
                break;
        }
        req.body = body.substr(0, contentLength);

        std::string path = req.target;
        size_t scheme = path.find("://");
        if (scheme != std::string::npos) {
            size_t slash = path.find('/', scheme + 3);
            path = slash == std::string::npos ? "/" : path.substr(slash);
        }

        CannedAnswer answer;
        bool known = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.push_back(req);
            auto it = m_answers.find(path);
            if (it != m_answers.end()) {
                answer = it->second;
                known = true;
            }
        }
        if (!known) {
            answer.status = 404;
            answer.body = "<html><body>not found</body></html>";
        }
        if (answer.silentMs > 0) {
            auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(answer.silentMs);
            while (!m_stop && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return;
        }

        std::string out = "HTTP/1.1 " + std::to_string(answer.status) + " Status\r\n";
        for (const auto& h : answer.headers)
            out += h.first + ": " + h.second + "\r\n";
        out += "Content-Length: " + std::to_string(answer.body.size()) + "\r\n";
        out += "Connection: close\r\n\r\n";
        out += answer.body;
        size_t sent = 0;
        while (sent < out.size()) {
            ssize_t n = ::send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
    }

    int m_listen = -1;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::map<std::string, CannedAnswer> m_answers;
    std::vector<RecordedRequest> m_requests;
};

} // namespace qmtest
