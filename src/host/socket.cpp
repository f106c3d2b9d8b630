#include "host/socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "host/data_buffer.h"

namespace {

const int kMaxHostNameLength = 1024;

sockaddr_in MakeAddress(const String& host, int port) {
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (host.Length() == 0 || host.Length() >= kMaxHostNameLength) return address;

    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.ToCString(), nullptr, &hints, &found) == 0 && found) {
        address.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
        freeaddrinfo(found);
    }
    return address;
}

bool Fits(KxDataBuffer* buffer, int offset, int count) {
    return buffer && buffer->Contains(offset, count);
}

}  // namespace

// ---- KxSocketAddress ----

KxSocketAddress::KxSocketAddress() {
    std::memset(&_address, 0, sizeof _address);
    _address.sin_family = AF_INET;
}

void KxSocketAddress::Set(String host, int port) { Set(MakeAddress(host, port)); }

void KxSocketAddress::Set(KxSocketAddress* other) { Set(other->_address); }

void KxSocketAddress::Set(const sockaddr_in& address) {
    _address = address;
    _valid = false;
}

void KxSocketAddress::Validate() {
    if (_valid) return;
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &_address.sin_addr, text, sizeof text);
    _host = String(text);
    _port = ntohs(_address.sin_port);
    _valid = true;
}

String KxSocketAddress::Host() {
    Validate();
    return _host;
}

int KxSocketAddress::Port() {
    Validate();
    return _port;
}

// ---- KxSocket ----

bool KxSocket::Open(int protocol) {
    if (IsOpen()) return false;
    if (protocol == kStream || protocol == kServer) {
        _handle = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (_handle == -1) return false;
        int noDelay = 1;
        setsockopt(_handle, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    } else if (protocol == kDatagram) {
        _handle = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        if (_handle == -1) return false;
    } else {
        return false;
    }
    _protocol = protocol;
    return true;
}

void KxSocket::Close() {
    // A connection that Accepted() never took is still ours: nobody else can close it.
    DropAccepted();
    if (_handle == -1) return;
    close(_handle);
    _handle = -1;
}

void KxSocket::DropAccepted() {
    if (_accepted == -1) return;
    close(_accepted);
    _accepted = -1;
}

bool KxSocket::Bind(String host, int port) {
    sockaddr_in address = MakeAddress(host, port);
    return bind(_handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool KxSocket::Connect(String host, int port) {
    sockaddr_in address = MakeAddress(host, port);
    return connect(_handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool KxSocket::Listen(int backlog) { return listen(_handle, backlog) == 0; }

bool KxSocket::Accept() {
    // Only the newest connection is kept; one that was never handed over would otherwise
    // stay open, unreachable, with its peer waiting on it.
    DropAccepted();
    _accepted = accept(_handle, nullptr, nullptr);
    return _accepted != -1;
}

KxSocket* KxSocket::Accepted() {
    // The connection is handed over once: two sockets closing one handle would close whatever
    // the system gave that number next.
    KxSocket* connection = new KxSocket(_accepted);
    _accepted = -1;
    return connection;
}

int KxSocket::Send(KxDataBuffer* buffer, int offset, int count) {
    if (!Fits(buffer, offset, count)) return -1;
    return static_cast<int>(send(_handle, buffer->ReadPointer(offset), count, MSG_NOSIGNAL));
}

int KxSocket::Receive(KxDataBuffer* buffer, int offset, int count) {
    if (!Fits(buffer, offset, count)) return -1;
    return static_cast<int>(recv(_handle, buffer->WritePointer(offset), count, 0));
}

int KxSocket::SendTo(KxDataBuffer* buffer, int offset, int count, KxSocketAddress* address) {
    if (!Fits(buffer, offset, count) || !address) return -1;
    const sockaddr_in& to = address->Address();
    return static_cast<int>(sendto(_handle, buffer->ReadPointer(offset), count, MSG_NOSIGNAL,
                                   reinterpret_cast<const sockaddr*>(&to), sizeof to));
}

int KxSocket::ReceiveFrom(KxDataBuffer* buffer, int offset, int count, KxSocketAddress* address) {
    if (!Fits(buffer, offset, count) || !address) return -1;
    sockaddr_in from;
    socklen_t size = sizeof from;
    int got = static_cast<int>(recvfrom(_handle, buffer->WritePointer(offset), count, 0,
                                        reinterpret_cast<sockaddr*>(&from), &size));
    if (got >= 0) address->Set(from);
    return got;
}

void KxSocket::GetLocalAddress(KxSocketAddress* address) {
    sockaddr_in local;
    socklen_t size = sizeof local;
    if (getsockname(_handle, reinterpret_cast<sockaddr*>(&local), &size) == 0) address->Set(local);
}

void KxSocket::GetRemoteAddress(KxSocketAddress* address) {
    sockaddr_in remote;
    socklen_t size = sizeof remote;
    if (getpeername(_handle, reinterpret_cast<sockaddr*>(&remote), &size) == 0) address->Set(remote);
}
