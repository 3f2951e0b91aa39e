#pragma once
/// \file

#include <QString>

/// A problem met while reading a file, with where it happened.
struct TzelLocatedError
{
    QString File;    ///< the file read; empty for a stream without a name
    int Line = 0;    ///< from 1; 0 when not known
    int Column = 0;  ///< from 1; 0 when not known
    QString Where;   ///< the object's path and the property ("Page1.Memo1.Left"); may be empty
    QString Message; ///< the message as the error list shows it

    /// "FILE:LINE:COL: WHERE: Message", leaving out what is not known.
    QString Text() const;
};
