#pragma once
/// \file

#include <functional>
#include <memory>

class TzelCustomEngine;
class TzelCustomPreviewPages;
class TzelCustomReportScript;
class TzelReport;

/// How a report makes its engine and its prepared pages. Both live in layers
/// above the model, which register the makers once at start-up.
struct TzelEngineFactory
{
    /// Makes the engine of a report.
    std::function<std::unique_ptr<TzelCustomEngine>(TzelReport *)> CreateEngine;
    /// Makes an empty prepared-pages container of a report.
    std::function<std::unique_ptr<TzelCustomPreviewPages>(TzelReport *)> CreatePreviewPages;
    /// Makes the script program of a report.
    std::function<std::unique_ptr<TzelCustomReportScript>(TzelReport *)> CreateScript;
};

/// Installs Factory for every report created or first built afterwards.
void zelSetEngineFactory(TzelEngineFactory factory);
/// The installed factory; its makers are empty until one is installed.
const TzelEngineFactory &zelEngineFactory();
