#include "model/report/zelengineoptions.h"

void TzelEngineOptions::Clear()
{
    ConvertNulls = true;
    IgnoreDevByZero = false;
    IgnoreExprError = false;
    DoublePass = false;
    ZeroPrecisionValue = 1e-17;
}

void TzelEngineOptions::Assign(const TzelEngineOptions &source)
{
    ConvertNulls = source.ConvertNulls;
    DoublePass = source.DoublePass;
    MaxMemSize = source.MaxMemSize;
    PrintIfEmpty = source.PrintIfEmpty;
    NewSilentMode = source.NewSilentMode;
    TempDir = source.TempDir;
    UseFileCache = source.UseFileCache;
    IgnoreDevByZero = source.IgnoreDevByZero;
    IgnoreExprError = source.IgnoreExprError;
    ZeroPrecisionValue = source.ZeroPrecisionValue;
}

void TzelEngineOptions::AssignThreadProps(const TzelEngineOptions &source)
{
    NewSilentMode = source.NewSilentMode;
    UseFileCache = source.UseFileCache;
    DestroyForms = source.DestroyForms;
    EnableThreadSafe = source.EnableThreadSafe;
    UseGlobalDataSetList = source.UseGlobalDataSetList;
}
