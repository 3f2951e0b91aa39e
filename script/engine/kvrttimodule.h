#pragma once
/// \file

#include <functional>
#include <memory>
#include <vector>

class TkvScript;

/// A host-binding module: constructed with the script it registers its
/// types, constants, functions and classes into.
class TkvRTTIModule
{
public:
    /// Registers into Script.
    explicit TkvRTTIModule(TkvScript *script) : FScript(script) {}
    virtual ~TkvRTTIModule();

    /// The script registered into.
    TkvScript *Script() const { return FScript; }

private:
    TkvScript *FScript;
};

/// Makes one module for a script.
using TkvRTTIModuleFactory = std::function<std::unique_ptr<TkvRTTIModule>(TkvScript *)>;

/// Appends a module to those every script's AddRTTI instantiates, after the
/// standard function library, which is always first.
void kvRegisterRTTIModule(TkvRTTIModuleFactory factory);
/// The registered modules, in order (a copy: modules may be registered from
/// another thread meanwhile).
std::vector<TkvRTTIModuleFactory> kvRTTIModules();
/// The number of registered modules.
size_t kvRTTIModuleCount();
