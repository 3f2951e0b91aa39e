#pragma once

#include <QBuffer>
#include <functional>
#include <memory>

// What the compressor and crypter hooks share: one registered kind per
// process, made on demand, and a memory stream that holds the plain data.
template <class T>
class TzelStreamPlugin
{
public:
    /// Creates an instance of the registered kind.
    using Factory = std::function<std::unique_ptr<T>()>;

    virtual ~TzelStreamPlugin() = default;

    /// Creates the memory stream the plain data is written to or read from.
    void CreateStream()
    {
        FStream = std::make_unique<QBuffer>();
        FStream->open(QIODevice::ReadWrite);
    }
    /// The memory stream made by CreateStream.
    QBuffer *Stream() const { return FStream.get(); }

    /// Registers the kind; an empty factory unregisters.
    static void Register(Factory factory) { registered() = std::move(factory); }
    /// A new instance of the registered kind, or nullptr when none is registered.
    static std::unique_ptr<T> CreateRegistered() { return registered() ? registered()() : nullptr; }

private:
    static Factory &registered()
    {
        static Factory factory;
        return factory;
    }

    std::unique_ptr<QBuffer> FStream;
};
