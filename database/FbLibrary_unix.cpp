#include "database/FbLibrary.h"

// The client library is linked in: the loader has found it before the program runs.
Firebird::IMaster *Fb::loadMaster()
{
    return Firebird::fb_get_master_interface();
}
