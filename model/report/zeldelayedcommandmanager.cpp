#include "model/report/zeldelayedcommandmanager.h"

TzelDelayedCommand::~TzelDelayedCommand() = default;

void TzelDelayedCommandManager::Add(std::unique_ptr<TzelDelayedCommand> command)
{
    if (FRunning)
        return;
    const QString name = command->ClassName();
    FCommands[name] = std::move(command);
}

void TzelDelayedCommandManager::RunAll(TzelReport &report)
{
    if (FRunning)
        return;
    FRunning = true;
    struct Reset { bool &flag; ~Reset() { flag = false; } } reset{FRunning};
    while (!FCommands.empty()) {
        auto first = FCommands.begin();
        std::unique_ptr<TzelDelayedCommand> command = std::move(first->second);
        FCommands.erase(first);
        command->Execute(report);
    }
}
