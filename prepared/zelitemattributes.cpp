#include "prepared/zelitemattributes.h"

#include "base/core/zelexception.h"
#include "base/variant/zelformatsettings.h"
#include "base/xml/zelxmlitem.h"

QString zelAttr(const TzelXMLItem *item, const QString &name, bool *valid)
{
    if (valid)
        *valid = true;
    try {
        return item->Prop(name);
    } catch (const TzelException &) {
        if (valid)
            *valid = false;
        return QString();
    }
}

int zelAttrInt(const TzelXMLItem *item, const QString &name)
{
    return zelAttr(item, name).toInt();
}

double zelAttrFloat(const TzelXMLItem *item, const QString &name, bool *present)
{
    const bool exists = item->PropExists(name);
    if (present)
        *present = exists;
    double value = 0;
    if (exists && !zelTryStrToFloat(zelAttr(item, name), value))
        value = 0;
    return value;
}
