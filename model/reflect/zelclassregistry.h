#pragma once
/// \file

#include <QList>
#include <QStringView>

class TzelClassInfo;

/// The process-wide registry of classes that can be read from templates by
/// class name.
class TzelClassRegistry
{
public:
    /// Registers Info; a class already registered under its name is kept.
    static void Register(const TzelClassInfo &info);
    /// The class registered under Name (case ignored), or nullptr.
    static const TzelClassInfo *Find(QStringView name);
    /// Every registered class, in registration order.
    static QList<const TzelClassInfo *> Classes();
};

/// Registers class T, so that templates can name it.
template <class T>
void zelRegisterClass()
{
    TzelClassRegistry::Register(T::StaticClassInfo());
}
