#include "database/RollBackOrLetGo.h"

#include "database/DbConnection.h"

#include <exception>

void rollBackOrLetGo(TDbConnection &conx)
{
    try {
        conx.rollback();
    } catch (const std::exception &) {
        conx.close();
    }
}
