#pragma once
/// \file

#include "script/engine/kvclassvariable.h"

#include <functional>
#include <memory>
#include <span>

class TkvProcVariable;

/// What an event adapter is made for: the object whose event is set, the
/// event's name, the script procedure to run and the script that owns it.
class TkvEventTarget
{
public:
    Variant Instance;          ///< the object whose event is set
    QString EventName;         ///< the event property's name as registered
    TkvProcVariable *Handler;  ///< the procedure to run
    TkvScript *Script;         ///< the script that owns the adapter
};

/// An event adapter: installs a native handler for one event of one object
/// and runs a script procedure when the event fires. Descendants connect to
/// the object in their constructor and disconnect in their destructor; the
/// script owns its adapters and frees them when it is cleared or when the
/// event is set again.
class TkvCustomEvent
{
public:
    /// An adapter for Target.
    explicit TkvCustomEvent(TkvEventTarget target) : FTarget(std::move(target)) {}
    virtual ~TkvCustomEvent();
    TkvCustomEvent(const TkvCustomEvent &) = delete;
    TkvCustomEvent &operator=(const TkvCustomEvent &) = delete;

    /// The object, event, procedure and script.
    const TkvEventTarget &Target() const { return FTarget; }

protected:
    /// Runs the procedure with Args, one per parameter in order; the values
    /// of by-reference parameters are written back into Args. An error of
    /// the procedure propagates to the code that fired the event.
    void CallHandler(std::span<Variant> args) const;

private:
    TkvEventTarget FTarget;
};

/// An event property of a class binding. Reading gives the empty text;
/// writing a procedure's name (or its address) makes an adapter run that
/// procedure when the event fires, and "0" removes the handler.
class TkvEventHelper : public TkvPropertyHelper
{
public:
    /// The event Name, whose adapters Factory makes.
    TkvEventHelper(const QString &name, TkvEventFactory factory);

    /// The empty text.
    Variant Get(const Variant &instance, TkvScript &script) const override;
    /// Sets or clears the handler of Instance's event.
    void Set(const Variant &instance, const Variant &value, TkvScript &script) const override;

private:
    TkvEventFactory FFactory;
};
