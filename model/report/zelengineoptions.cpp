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
    Restricted = source.Restricted;
}

void TzelEngineOptions::AssignThreadProps(const TzelEngineOptions &source)
{
    NewSilentMode = source.NewSilentMode;
    UseFileCache = source.UseFileCache;
    DestroyForms = source.DestroyForms;
    EnableThreadSafe = source.EnableThreadSafe;
    UseGlobalDataSetList = source.UseGlobalDataSetList;
}

void TzelEngineOptions::Publish(TzelPublisher<TzelEngineOptions> &p)
{
    using T = TzelEngineOptions;
    p.Prop("ConvertNulls", &T::ConvertNulls).Default(true);
    p.Prop("DoublePass", &T::DoublePass).Default(false);
    p.Prop("MaxMemSize", &T::MaxMemSize).Default(10);
    p.Prop("PrintIfEmpty", &T::PrintIfEmpty).Default(true);
    p.Prop("SilentMode", &T::SilentMode, &T::SetSilentMode).Default(false);
    p.Prop("NewSilentMode", &T::NewSilentMode).Default(simMessageBoxes);
    p.Prop("TempDir", &T::TempDir);
    p.Prop("UseFileCache", &T::UseFileCache).Default(false);
    p.Prop("IgnoreDevByZero", &T::IgnoreDevByZero).Default(false);
    p.Prop("IgnoreExprError", &T::IgnoreExprError).Default(false);
    p.Prop("Restricted", &T::Restricted).Default(false);
}
