#pragma once
/// \file

#include <QString>

/// Expressions embedded in texts between an opening and a closing delimiter
/// ("[" and "]" unless a text object names others). Nested delimiters are
/// matched, so "[IIF([a] > 0, 1, 2)]" is one expression.
struct TzelExpressionDelimiters
{
    QString Open;  ///< the opening delimiter
    QString Close; ///< the closing delimiter

    /// The pair written as "open,close"; the part before the first comma
    /// opens, the part after it closes.
    static TzelExpressionDelimiters FromText(const QString &text);

    /// Finds the next expression at or after From: Begin is where its
    /// opening delimiter starts and End where its closing delimiter ends
    /// (one past). False when there is none or it is not closed.
    bool Find(const QString &text, qsizetype from, qsizetype &begin, qsizetype &end) const;

    /// Text with every expression replaced by what Replace gives for the
    /// text between its delimiters; Replace also gets the expression's index
    /// from 0. An unclosed delimiter and what follows stay as written.
    template <class F>
    QString Expand(const QString &text, F &&replace) const
    {
        QString result;
        qsizetype pos = 0, begin = 0, end = 0;
        int index = 0;
        while (Find(text, pos, begin, end)) {
            result += QStringView(text).mid(pos, begin - pos);
            result += replace(text.mid(begin + Open.size(), end - begin - Open.size() - Close.size()), index++);
            pos = end;
        }
        result += QStringView(text).mid(pos);
        return result;
    }
};
