#include "engine/core/zelshiftengine.h"

#include "engine/core/zelshiftedobjectlist.h"
#include "model/band/zelband.h"


TzelShiftEngine::TzelShiftEngine() = default;

TzelShiftEngine::~TzelShiftEngine() = default;

void TzelShiftEngine::PrepareShiftTree(TzelComponent *container)
{
    if (!container)
        return;
    if (const auto it = FContainers.find(container); it != FContainers.end() && !it->second->IsStale())
        return;
    const auto *band = zelAs<TzelBand>(container);
    if (band && band->ShiftEngine == seDontShift) {
        FContainers.erase(container);
        return;
    }
    // Structures of freed containers go whenever a structure is built.
    std::erase_if(FContainers, [](const auto &entry) { return !entry.second->Container(); });
    FContainers[container] = std::make_unique<TzelShiftedObjectList>(*container, !band || band->ShiftEngine == seTree);
}

void TzelShiftEngine::InitShiftAmount(TzelComponent *object, double amount)
{
    if (!object)
        return;
    // A structure left by a freed container at the same address finds only
    // freed objects, so it changes nothing.
    if (const auto it = FContainers.find(object->Parent()); it != FContainers.end())
        it->second->InitShiftAmount(object, amount);
}

void TzelShiftEngine::ShiftObjects(TzelComponent *container)
{
    if (const auto it = FContainers.find(container); it != FContainers.end())
        it->second->ShiftObjects();
}

void TzelShiftEngine::Clear()
{
    FContainers.clear();
}

