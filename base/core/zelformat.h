#pragma once
/// \file

#include <QString>
#include <QStringList>

/// Fills the "%s" and "%d" places of a resource text, in order, with Args;
/// "%%" gives a percent sign. Missing arguments leave their place empty.
QString zelFormat(const QString &fmt, const QStringList &args);
