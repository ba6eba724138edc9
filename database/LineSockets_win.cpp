#include "database/LineSockets.h"

#include <winsock2.h>

namespace {
// Handles are multiples of four; a process of this size holds far fewer than this.
constexpr qintptr kLastHandle = 0x10000;
} // namespace

std::vector<qintptr> processSockets()
{
    // Without a start of its own, Winsock answers nothing before the client library's first attach.
    static const bool started = [] {
        WSADATA data;
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    std::vector<qintptr> sockets;
    if (!started)
        return sockets;
    for (qintptr handle = 4; handle <= kLastHandle; handle += 4) {
        int type = 0;
        int length = sizeof type;
        if (::getsockopt(SOCKET(handle), SOL_SOCKET, SO_TYPE, reinterpret_cast<char *>(&type), &length) == 0)
            sockets.push_back(handle);
    }
    return sockets;
}

void shutDownSocket(qintptr socket)
{
    ::shutdown(SOCKET(socket), SD_BOTH);
}
