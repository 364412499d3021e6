#include "testsupport/SilentListener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "platform/Exception.h"

namespace testsupport {
namespace {

// An LDAP ExtendedResponse: success, empty matched DN and message, the
// StartTLS name.
std::string StartTlsResponse(unsigned char MessageId) {
  static const std::string kOid = "1.3.6.1.4.1.1466.20037";
  std::string op("\x0a\x01\x00\x04\x00\x04\x00", 7);  // success, "", ""
  op += '\x8a';                                       // responseName
  op += static_cast<char>(kOid.size());
  op += kOid;
  std::string message("\x02\x01", 2);  // messageID
  message += static_cast<char>(MessageId);
  message += '\x78';  // ExtendedResponse
  message += static_cast<char>(op.size());
  message += op;
  std::string out(1, '\x30');
  out += static_cast<char>(message.size());
  return out + message;
}

// An LDAP SearchResultDone: success, empty matched DN and message.
std::string SearchDoneResponse(unsigned char MessageId) {
  std::string out("\x30\x0c\x02\x01", 4);
  out += static_cast<char>(MessageId);
  out += std::string("\x65\x07\x0a\x01\x00\x04\x00\x04\x00", 9);
  return out;
}

// The message id of an LDAP request with a short-form length, or 1.
unsigned char MessageIdOf(const unsigned char* Request, ssize_t Length) {
  if (Length >= 5 && Request[0] == 0x30 && Request[1] < 0x80 && Request[2] == 0x02 &&
      Request[3] == 0x01)
    return Request[4];
  return 1;
}

}  // namespace

TSilentListener::TSilentListener(TMode Mode, const std::string& Address, int Port)
    : FMode(Mode), FAddress(Address) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(Port));
  if (Address.rfind("127.", 0) != 0 || inet_pton(AF_INET, Address.c_str(), &address.sin_addr) != 1)
    throw platform::Exception("not a loopback address: " + Address);
  FSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  int one = 1;
  setsockopt(FSocket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  socklen_t length = sizeof address;
  if (FSocket < 0 || bind(FSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(FSocket, 16) != 0 ||
      getsockname(FSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    const std::string why = std::strerror(errno);
    if (FSocket >= 0) close(FSocket);
    throw platform::Exception("cannot listen on " + Address + ":" + std::to_string(Port) + ": " +
                              why);
  }
  FPort = ntohs(address.sin_port);
  if (FMode != TMode::kSilent) {
    if (pipe2(FWake, O_CLOEXEC) != 0) {
      close(FSocket);
      throw platform::Exception("cannot make a pipe");
    }
    FThread = std::thread([this] { Serve(); });
  }
}

TSilentListener::~TSilentListener() {
  if (FThread.joinable()) {
    const char stop = 0;
    (void)!write(FWake[1], &stop, 1);
    FThread.join();
  }
  for (int fd : FWake)
    if (fd >= 0) close(fd);
  for (int fd : FConnections) close(fd);
  close(FSocket);
}

std::string TSilentListener::HostPort() const {
  return FAddress + ":" + std::to_string(FPort);
}

bool TSilentListener::WaitForConnection(std::chrono::milliseconds Timeout) {
  const auto deadline = std::chrono::steady_clock::now() + Timeout;
  if (FMode != TMode::kSilent) {
    while (FAnswered.load() == 0) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }
  pollfd ready{FSocket, POLLIN, 0};
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  if (poll(&ready, 1, static_cast<int>(std::max<int64_t>(0, left.count()))) != 1) return false;
  const int connection = accept4(FSocket, nullptr, nullptr, SOCK_CLOEXEC);
  if (connection < 0) return false;
  std::lock_guard<std::mutex> guard(FLock);
  FConnections.push_back(connection);
  return true;
}

void TSilentListener::Serve() {
  for (;;) {
    pollfd ready[2] = {{FSocket, POLLIN, 0}, {FWake[0], POLLIN, 0}};
    if (poll(ready, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (ready[1].revents) return;
    const int connection = accept4(FSocket, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    {
      std::lock_guard<std::mutex> guard(FLock);
      FConnections.push_back(connection);
    }
    // The first request, read with a bound so that a client that sends
    // nothing cannot hold the thread.
    pollfd request[2] = {{connection, POLLIN, 0}, {FWake[0], POLLIN, 0}};
    if (poll(request, 2, 5000) <= 0 || request[1].revents) continue;
    unsigned char buffer[512];
    const ssize_t n = read(connection, buffer, sizeof buffer);
    if (n <= 0) continue;
    const unsigned char id = MessageIdOf(buffer, n);
    const std::string answer =
        FMode == TMode::kStartTlsThenSilent ? StartTlsResponse(id) : SearchDoneResponse(id);
    if (write(connection, answer.data(), answer.size()) == static_cast<ssize_t>(answer.size()))
      ++FAnswered;
  }
}

}  // namespace testsupport
