// A small HTTP server on 127.0.0.1 for the web update tests: it serves fixed bodies by path,
// optionally slowly, with another status or without end, one connection at a time, and stops
// when destroyed.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <string>

namespace gui_test {

class LocalHttpServer {
 public:
  struct Route {
    std::string body;
    bool send_length = true;
    // Slow mode: the body goes out in pieces of this size with a pause after each.
    std::size_t piece = 0;
    DWORD pause_ms = 0;
    // A pause before anything is answered.
    DWORD delay_ms = 0;
    int status = 200;
    // The body is sent again and again until the client goes away.
    bool endless = false;
  };

  LocalHttpServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    listen(listener_, 8);
    thread_ = CreateThread(nullptr, 0, Serve, this, 0, nullptr);
  }
  ~LocalHttpServer() {
    stopping_ = true;
    closesocket(listener_);
    WaitForSingleObject(thread_, 30000);
    CloseHandle(thread_);
    WSACleanup();
  }
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // Routes are set before the code under test asks for them.
  void Set(const std::string& path, const Route& route) { routes_[path] = route; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int requests() const { return requests_; }

 private:
  static DWORD WINAPI Serve(LPVOID self) {
    auto* server = static_cast<LocalHttpServer*>(self);
    for (;;) {
      SOCKET client = accept(server->listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) return 0;
      server->Answer(client);
      shutdown(client, SD_BOTH);
      closesocket(client);
    }
  }

  void Answer(SOCKET client) {
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos) {
      int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) return;
      request.append(buffer, got);
    }
    ++requests_;
    const std::size_t start = request.find(' ') + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    auto found = routes_.find(path);
    if (found == routes_.end()) {
      SendAll(client, "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\n"
                      "not found");
      return;
    }
    const Route& route = found->second;
    Sleep(route.delay_ms);
    std::string head = "HTTP/1.1 " + std::to_string(route.status) +
                       (route.status == 200 ? " OK" : " Failed") +
                       "\r\nContent-Type: application/octet-stream\r\n";
    if (route.send_length && !route.endless)
      head += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (!SendAll(client, head)) return;
    const std::size_t piece = route.piece == 0 ? route.body.size() : route.piece;
    do {
      for (std::size_t at = 0; at < route.body.size() && !stopping_; at += piece) {
        if (!SendAll(client, route.body.substr(at, piece))) return;
        Sleep(route.pause_ms);
      }
    } while (route.endless && !stopping_);
  }

  static bool SendAll(SOCKET client, const std::string& data) {
    for (std::size_t at = 0; at < data.size();) {
      int sent = send(client, data.data() + at, static_cast<int>(data.size() - at), 0);
      if (sent <= 0) return false;
      at += static_cast<std::size_t>(sent);
    }
    return true;
  }

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  HANDLE thread_ = nullptr;
  std::map<std::string, Route> routes_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> requests_{0};
};

}  // namespace gui_test
