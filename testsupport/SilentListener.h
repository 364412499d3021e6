// Listeners that take TCP connections on a loopback address and then never
// answer, for tests of time-outs.
//
// kSilent: the kernel completes every connection and nobody reads from it (a
// client waiting for an LDAP answer or a TLS handshake waits forever).
// kStartTlsThenSilent: a thread of the listener accepts each connection,
// answers its first request with a successful StartTLS response and then
// stays silent, so the client goes on to a handshake that never ends.
// kSearchDoneThenSilent: the same, answering with a successful
// SearchResultDone (another operation's answer) under the request's message
// id, for clients that must check what kind of answer they got.
// The destructor closes every connection and stops the thread. Listens on
// 127.0.0.0/8 only.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class TSilentListener {
 public:
  enum class TMode { kSilent, kStartTlsThenSilent, kSearchDoneThenSilent };

  // REQUIRES: Address is a 127.x.y.z address. Port 0 picks a free port.
  // Throws platform::Exception when the address and port cannot be bound.
  explicit TSilentListener(TMode Mode = TMode::kSilent, const std::string& Address = "127.0.0.1",
                           int Port = 0);
  ~TSilentListener();
  TSilentListener(const TSilentListener&) = delete;
  TSilentListener& operator=(const TSilentListener&) = delete;

  const std::string& Address() const { return FAddress; }
  int Port() const { return FPort; }
  // "address:port", the form a directory path takes.
  std::string HostPort() const;

  // Waits up to Timeout for a client to have connected. kSilent: takes the
  // connection (and keeps it open, unanswered); the other modes: waits until
  // the thread has answered one request.
  bool WaitForConnection(std::chrono::milliseconds Timeout);

 private:
  void Serve();

  TMode FMode;
  std::string FAddress;
  int FPort = 0;
  int FSocket = -1;
  int FWake[2] = {-1, -1};  // a byte on FWake[1] stops the thread
  std::mutex FLock;
  std::vector<int> FConnections;  // kept open, never answered
  std::atomic<int> FAnswered{0};
  std::thread FThread;
};

}  // namespace testsupport
