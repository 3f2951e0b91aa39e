#pragma once
/// \file

#include <QString>

class TzelComponent;
class TzelDataSet;

/// The data set a component's data-set name stands for. An empty name gives
/// none; in a report the report decides (TzelReportContext::FindDataSet);
/// without one the global list is searched (zelFindGlobalDataSet).
TzelDataSet *zelFindDataSet(const TzelComponent *component, TzelDataSet *current, const QString &name);
/// The global list searched by user name, skipping data sets of reports
/// other than Report (a report's root, or nullptr); Current when nothing matches.
TzelDataSet *zelFindGlobalDataSet(const QString &name, const TzelComponent *report, TzelDataSet *current);
