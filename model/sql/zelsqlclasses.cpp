#include "model/sql/zelsqlclasses.h"

#include "model/reflect/zelclassregistry.h"
#include "model/report/zelmodelclasses.h"
#include "model/sql/zelsqldatabase.h"
#include "model/sql/zelsqlquery.h"

#include <mutex>

void zelRegisterSqlClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        zelRegisterModelClasses();
        zelRegisterClass<TzelSQLDatabase>();
        zelRegisterClass<TzelSQLQuery>();
    });
}
