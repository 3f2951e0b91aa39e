#pragma once
/// \file

#include <QString>

class TzelReport;

/// A report action asked for while another one ran, kept until that one ends.
class TzelDelayedCommand
{
public:
    virtual ~TzelDelayedCommand();
    /// The command's kind; commands run in ascending order of it and only the
    /// latest of each kind is kept.
    virtual QString ClassName() const = 0;
    /// Carries the action out on Report.
    virtual void Execute(TzelReport &report) = 0;
};
