#pragma once
/// \file

#include "script/xml/kvxmldocument.h"

// Reading program-tree elements, shared by the compiler's parts.

/// Whether Element is named Name (case ignored).
inline bool kvNamed(const TkvXMLItem &element, QLatin1String name)
{
    return element.Name().compare(name, Qt::CaseInsensitive) == 0;
}

/// The first child of Parent named Name; nullptr when none.
inline const TkvXMLItem *kvChild(const TkvXMLItem &parent, QLatin1String name)
{
    for (int i = 0; i < parent.Count(); ++i)
        if (kvNamed(*parent.Items(i), name))
            return parent.Items(i);
    return nullptr;
}

/// Reads a position "line:column" (0 for what is missing).
inline void kvParsePos(const QString &pos, int &line, int &column)
{
    line = pos.section(QLatin1Char(':'), 0, 0).toInt();
    column = pos.section(QLatin1Char(':'), 1, 1).toInt();
}

/// Name in single quotes, as messages show identifiers.
inline QString kvQuoted(const QString &name)
{
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}
