#pragma once
/// \file

#include "model/report/zeldelayedcommand.h"

#include <map>
#include <memory>

/// Holds the report actions queued while another action runs.
class TzelDelayedCommandManager
{
public:
    /// Queues Command, releasing a queued command of the same kind. While the
    /// manager runs its commands, new ones are dropped.
    void Add(std::unique_ptr<TzelDelayedCommand> command);
    /// Runs the queued commands in ascending order of their kind, removing
    /// each before it runs, until none is left.
    void RunAll(TzelReport &report);
    /// Whether a command of kind ClassName is queued.
    bool Contains(const QString &className) const { return FCommands.count(className) != 0; }
    /// Number of queued commands.
    int Count() const { return int(FCommands.size()); }
    /// Drops every queued command.
    void Clear() { FCommands.clear(); }

private:
    std::map<QString, std::unique_ptr<TzelDelayedCommand>> FCommands;
    bool FRunning = false;
};
