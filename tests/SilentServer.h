// A TCP listener on a free loopback port that takes every connection and never says a word,
// as a hung database server does. Connections stay open until the object goes.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

class SilentServer {
 public:
  SilentServer() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
      return;
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] {
      for (;;) {
        const int c = accept(listener_, nullptr, nullptr);
        if (c < 0 || stop_) {
          if (c >= 0) close(c);
          return;
        }
        accepted_.push_back(c);
      }
    });
  }
  ~SilentServer() {
    stop_ = true;
    shutdown(listener_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    close(listener_);
    for (int c : accepted_) close(c);
  }
  int Port() const { return port_; }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::vector<int> accepted_;  // owned by the thread until it ends
};
