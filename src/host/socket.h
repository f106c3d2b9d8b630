// KxSocket and KxSocketAddress: IPv4 TCP and UDP over BSD sockets.
#pragma once

#include <netinet/in.h>

#include "runtime/object.h"
#include "runtime/string.h"

class KxDataBuffer;

class KxSocketAddress : public Object {
public:
    KxSocketAddress();

    // Port `port` of the host named `host` (resolved by name); an empty or unresolvable host
    // leaves the address at 0, any local address.
    void Set(String host, int port);
    void Set(KxSocketAddress* other);
    void Set(const sockaddr_in& address);

    // Rebuilds the cached dotted-decimal host and the port when the address has changed.
    void Validate();
    String Host();
    int Port();

    const sockaddr_in& Address() const { return _address; }

private:
    sockaddr_in _address;
    String _host;
    int _port = 0;
    bool _valid = false;
};

class KxSocket : public Object {
public:
    enum Protocol { kStream = 1, kServer = 2, kDatagram = 3 };

    KxSocket() {}
    explicit KxSocket(int handle) : _handle(handle) {}
    ~KxSocket() override { Close(); }

    // 1 and 2 open a TCP stream socket without Nagle's delay, 3 a UDP socket; false when
    // already open or for any other protocol.
    bool Open(int protocol);
    // Closes the socket and any accepted connection not yet handed over.
    void Close();
    bool Bind(String host, int port);
    bool Connect(String host, int port);
    bool Listen(int backlog);
    // Waits for a connection and keeps its handle for Accepted(); a connection kept from an
    // earlier Accept and not taken is closed.
    bool Accept();
    // A socket for the last accepted connection, which it then owns; a second call gives a
    // closed socket.
    KxSocket* Accepted();

    // Bytes moved from or to the buffer at offset, or -1. Offsets and counts that do not lie
    // inside the buffer give -1 and touch no memory.
    int Send(KxDataBuffer* buffer, int offset, int count);
    int Receive(KxDataBuffer* buffer, int offset, int count);
    int SendTo(KxDataBuffer* buffer, int offset, int count, KxSocketAddress* address);
    int ReceiveFrom(KxDataBuffer* buffer, int offset, int count, KxSocketAddress* address);

    void GetLocalAddress(KxSocketAddress* address);
    void GetRemoteAddress(KxSocketAddress* address);

    bool IsOpen() const { return _handle != -1; }
    int Protocol() const { return _protocol; }

private:
    // Closes the connection kept by Accept() that Accepted() has not handed over.
    void DropAccepted();

    int _handle = -1;
    int _protocol = 0;
    int _accepted = -1;
};
