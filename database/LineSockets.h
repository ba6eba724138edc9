#pragma once
// The sockets of this process, to find the one a client library's session opened, and
// to end it when the session's line has gone dead: a call waiting on a socket whose
// connection is shut down returns at once, where the library itself offers no way to
// stop it.
#include <QtGlobal>
#include <vector>

// The sockets this process holds now, in ascending order.
std::vector<qintptr> processSockets();

// Ends the connection of a socket both ways; the socket stays its owner's to close.
void shutDownSocket(qintptr socket);
