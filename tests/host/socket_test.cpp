#include <gtest/gtest.h>

#include <dirent.h>

#include <climits>
#include <cstring>
#include <string>

#include "host/data_buffer.h"
#include "host/socket.h"

namespace {

KxDataBuffer* BufferOf(const char* text) {
    KxDataBuffer* buffer = new KxDataBuffer;
    buffer->_New(static_cast<int>(std::strlen(text)));
    for (int i = 0; text[i]; ++i) buffer->PokeByte(i, text[i]);
    return buffer;
}

std::string TextOf(KxDataBuffer* buffer, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text.push_back(static_cast<char>(buffer->PeekByte(i)));
    return text;
}

// Descriptors open in this process; a handle nobody closes shows up here and nowhere else.
int OpenDescriptors() {
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return -1;
    int count = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') ++count;
    }
    closedir(dir);
    return count;
}

// A loopback server listening on a free port.
int Listen(KxSocket* server) {
    if (!server->Open(2) || !server->Bind(String("127.0.0.1"), 0) || !server->Listen(4)) return 0;
    KxSocketAddress* local = new KxSocketAddress;
    server->GetLocalAddress(local);
    return local->Port();
}

KxSocket* ConnectTo(int port) {
    KxSocket* client = new KxSocket;
    EXPECT_TRUE(client->Open(1));
    EXPECT_TRUE(client->Connect(String("127.0.0.1"), port));
    return client;
}

}  // namespace

TEST(Socket, OpensOnlyKnownProtocolsOnce) {
    KxSocket* stream = new KxSocket;
    EXPECT_TRUE(stream->Open(2));
    EXPECT_FALSE(stream->Open(1));  // already open
    EXPECT_EQ(stream->Protocol(), 2);
    stream->Close();
    EXPECT_FALSE(stream->IsOpen());
    EXPECT_TRUE(stream->Open(3));
    stream->Close();
    EXPECT_FALSE(stream->Open(4));
    EXPECT_FALSE(stream->Open(0));
}

TEST(Socket, AddressesResolveAndValidate) {
    KxSocketAddress* address = new KxSocketAddress;
    address->Set(String("127.0.0.1"), 8080);
    EXPECT_TRUE(address->Host() == String("127.0.0.1"));
    EXPECT_EQ(address->Port(), 8080);
    address->Set(String("localhost"), 1);
    EXPECT_TRUE(address->Host() == String("127.0.0.1"));
    address->Set(String(""), 5);  // any local address
    EXPECT_TRUE(address->Host() == String("0.0.0.0"));
    KxSocketAddress* copy = new KxSocketAddress;
    copy->Set(address);
    EXPECT_EQ(copy->Port(), 5);
}

TEST(Socket, TcpRoundTripOnLoopbackAndOutOfRangeTransfersTouchNothing) {
    KxSocket* server = new KxSocket;
    ASSERT_TRUE(server->Open(2));
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    KxSocketAddress* local = new KxSocketAddress;
    server->GetLocalAddress(local);
    ASSERT_NE(local->Port(), 0);

    KxSocket* client = new KxSocket;
    ASSERT_TRUE(client->Open(1));
    ASSERT_TRUE(client->Connect(String("127.0.0.1"), local->Port()));
    ASSERT_TRUE(server->Accept());
    KxSocket* peer = server->Accepted();
    EXPECT_TRUE(peer->IsOpen());
    EXPECT_FALSE(server->Accepted()->IsOpen());  // handed over once, never closed twice

    KxDataBuffer* message = BufferOf("xxhello");
    EXPECT_EQ(client->Send(message, 2, 5), 5);
    KxDataBuffer* received = BufferOf("..........");
    EXPECT_EQ(peer->Receive(received, 0, 10), 5);
    EXPECT_EQ(TextOf(received, 5), "hello");

    for (auto [offset, count] : {std::pair<int, int>{-1, 2}, {0, 11}, {10, 1}, {5, -1},
                                 {INT_MAX, INT_MAX}}) {
        EXPECT_EQ(client->Send(received, offset, count), -1) << offset << " " << count;
        EXPECT_EQ(peer->Receive(received, offset, count), -1) << offset << " " << count;
    }
    EXPECT_EQ(client->Send(nullptr, 0, 0), -1);

    KxSocketAddress* remote = new KxSocketAddress;
    client->GetRemoteAddress(remote);
    EXPECT_EQ(remote->Port(), local->Port());
    client->Close();
    peer->Close();
    server->Close();
}

TEST(Socket, UdpRecordsTheSender) {
    KxSocket* receiver = new KxSocket;
    ASSERT_TRUE(receiver->Open(3));
    ASSERT_TRUE(receiver->Bind(String("127.0.0.1"), 0));
    KxSocketAddress* to = new KxSocketAddress;
    receiver->GetLocalAddress(to);

    KxSocket* sender = new KxSocket;
    ASSERT_TRUE(sender->Open(3));
    ASSERT_TRUE(sender->Bind(String("127.0.0.1"), 0));
    KxSocketAddress* senderAddress = new KxSocketAddress;
    sender->GetLocalAddress(senderAddress);

    KxDataBuffer* datagram = BufferOf("ping");
    EXPECT_EQ(sender->SendTo(datagram, 0, 4, to), 4);
    EXPECT_EQ(sender->SendTo(datagram, 1, 4, to), -1);
    KxDataBuffer* received = BufferOf("....");
    KxSocketAddress* from = new KxSocketAddress;
    EXPECT_EQ(receiver->ReceiveFrom(received, 0, 4, from), 4);
    EXPECT_EQ(TextOf(received, 4), "ping");
    EXPECT_EQ(from->Port(), senderAddress->Port());
    EXPECT_EQ(receiver->ReceiveFrom(received, 0, 5, from), -1);
    sender->Close();
    receiver->Close();
}

// An accepted connection belongs to the server socket until Accepted() hands it over: a newer
// Accept, Close and destruction must close it, and must leave a handed-over one alone.
TEST(Socket, AConnectionNotHandedOverIsClosedByItsServer) {
    const int before = OpenDescriptors();
    ASSERT_GT(before, 0);
    KxSocket* server = new KxSocket;
    const int port = Listen(server);
    ASSERT_NE(port, 0);

    KxSocket* first = ConnectTo(port);
    ASSERT_TRUE(server->Accept());
    EXPECT_EQ(OpenDescriptors(), before + 3);  // listener, client, accepted
    KxSocket* second = ConnectTo(port);
    ASSERT_TRUE(server->Accept());
    EXPECT_EQ(OpenDescriptors(), before + 4) << "the first accepted connection was dropped open";

    server->Close();
    EXPECT_EQ(OpenDescriptors(), before + 2) << "Close left the accepted connection open";

    // Destruction closes what was accepted and not taken.
    {
        KxSocket local;
        const int localPort = Listen(&local);
        ASSERT_NE(localPort, 0);
        KxSocket* third = ConnectTo(localPort);
        ASSERT_TRUE(local.Accept());
        EXPECT_EQ(OpenDescriptors(), before + 5);
        third->Close();
    }
    EXPECT_EQ(OpenDescriptors(), before + 2) << "destruction left the accepted connection open";

    // A handed-over connection is the new socket's to close, and still carries data.
    KxSocket* again = new KxSocket;
    const int againPort = Listen(again);
    KxSocket* fourth = ConnectTo(againPort);
    ASSERT_TRUE(again->Accept());
    KxSocket* peer = again->Accepted();
    again->Close();
    ASSERT_TRUE(peer->IsOpen());
    EXPECT_EQ(OpenDescriptors(), before + 4);
    KxDataBuffer* message = BufferOf("kept");
    EXPECT_EQ(peer->Send(message, 0, 4), 4);
    KxDataBuffer* received = BufferOf("....");
    EXPECT_EQ(fourth->Receive(received, 0, 4), 4);
    EXPECT_EQ(TextOf(received, 4), "kept");

    for (KxSocket* socket : {first, second, fourth, peer}) socket->Close();
    EXPECT_EQ(OpenDescriptors(), before);
}
