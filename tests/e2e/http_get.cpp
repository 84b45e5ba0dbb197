#include "http_get.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>

#include "bundle/socket_handle.h"

namespace e2e {

namespace {

struct Address {
  std::string host;
  std::string port = "80";
  std::string path = "/";
};

bool ParseAddress(const std::string& address, Address& parsed) {
  const std::string scheme = "http://";
  if (address.rfind(scheme, 0) != 0) return false;
  const std::string rest = address.substr(scheme.size());
  const size_t slash = rest.find('/');
  const std::string authority = rest.substr(0, slash);
  if (slash != std::string::npos) parsed.path = rest.substr(slash);
  const size_t colon = authority.find(':');
  parsed.host = authority.substr(0, colon);
  if (colon != std::string::npos) parsed.port = authority.substr(colon + 1);
  return !parsed.host.empty();
}

// Connects to the first of the host's addresses that accepts.
bundle::Socket Connect(const Address& address, DWORD timeoutMs, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &found) != 0) {
    error = "cannot resolve " + address.host;
    return {};
  }
  bundle::Socket connected;
  for (addrinfo* candidate = found; candidate && !connected.IsValid(); candidate = candidate->ai_next) {
    bundle::Socket socket(::socket(candidate->ai_family, candidate->ai_socktype, candidate->ai_protocol));
    if (!socket.IsValid()) continue;
    setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    if (connect(socket.Get(), candidate->ai_addr, static_cast<int>(candidate->ai_addrlen)) == 0) {
      connected = std::move(socket);
    } else {
      error = "nothing accepts a connection on " + address.host + ":" + address.port + " (error " +
              std::to_string(WSAGetLastError()) + ")";
    }
  }
  freeaddrinfo(found);
  return connected;
}

}  // namespace

HttpAnswer HttpGet(const std::string& address, DWORD timeoutMs) {
  HttpAnswer answer;
  Address parsed;
  if (!ParseAddress(address, parsed)) {
    answer.error = "not an http address: " + address;
    return answer;
  }
  bundle::WinsockSession winsock;
  bundle::Socket socket = Connect(parsed, timeoutMs, answer.error);
  if (!socket.IsValid()) return answer;
  const std::string request =
      "GET " + parsed.path + " HTTP/1.1\r\nHost: " + parsed.host + "\r\nConnection: close\r\n\r\n";
  send(socket.Get(), request.data(), static_cast<int>(request.size()), 0);
  std::string response;
  char buffer[2048];
  for (int received; (received = recv(socket.Get(), buffer, sizeof buffer, 0)) > 0;) {
    response.append(buffer, static_cast<size_t>(received));
  }
  // "HTTP/1.1 200 OK\r\n...\r\n\r\nbody"
  const size_t headEnd = response.find("\r\n\r\n");
  if (response.rfind("HTTP/1.", 0) != 0 || response.size() < 12 || headEnd == std::string::npos) {
    answer.error = "no HTTP answer from " + address;
    return answer;
  }
  answer.status = std::atoi(response.c_str() + 9);
  answer.body = response.substr(headEnd + 4);
  return answer;
}

}  // namespace e2e
