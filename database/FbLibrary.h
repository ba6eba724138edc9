#pragma once
// Where the Firebird client library's master interface comes from. Linked in where
// the client library is a system package; loaded at run time on Windows, where it is
// a DLL beside the program or in the Firebird installation. One source file per
// platform, chosen in CMake.
#include <firebird/Interface.h>

namespace Fb {

// The client library's master interface. Throws EPosError naming the library and
// every place looked in when no client library can be loaded.
Firebird::IMaster *loadMaster();

} // namespace Fb
