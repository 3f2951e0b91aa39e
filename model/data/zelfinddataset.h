#pragma once

#include <QString>

class TzelComponent;
class TzelDataSet;

/// The data set a component's data-set name stands for. An empty name gives
/// none. With the report's global data-set list in use (or without a report)
/// the global list is searched by user name, skipping data sets of other
/// reports, and Current is kept when nothing matches; otherwise the name is
/// looked up in the report's EnabledDataSets and an absent name gives none.
TzelDataSet *zelFindDataSet(const TzelComponent *component, TzelDataSet *current, const QString &name);
