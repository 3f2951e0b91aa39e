#pragma once
/// \file

#include "model/reflect/zelpersistent.h"
#include "model/view/zelviewtypes.h"

/// When a text object computes its content: at once, or when a later stage of
/// the build ends (the report, a page, a column, the data, a group).
class TzelObjectProcessing : public TzelPersistent
{
    ZEL_CLASS(TzelObjectProcessing, TzelPersistent)

    TzelProcessAt ProcessAt = paDefault; ///< the stage
    int GroupLevel = 0;                  ///< the group level for paGroupFinished

    /// Whether both values are equal.
    bool operator==(const TzelObjectProcessing &other) const
    {
        return ProcessAt == other.ProcessAt && GroupLevel == other.GroupLevel;
    }

    /// Declares the published properties of the class for the reflection tables.
    static void Publish(TzelPublisher<TzelObjectProcessing> &p)
    {
        p.Prop("ProcessAt", &TzelObjectProcessing::ProcessAt).Default(paDefault);
        p.Prop("GroupLevel", &TzelObjectProcessing::GroupLevel).Default(0);
    }
};
