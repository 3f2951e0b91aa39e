#pragma once
/// \file

#include <QBuffer>
#include <functional>
#include <memory>

/// What the compressor and crypter hooks share: one registered kind per
/// process, made on demand, and a stream that holds the plain data.
template <class T>
class TzelStreamPlugin
{
public:
    /// Creates an instance of the registered kind.
    using Factory = std::function<std::unique_ptr<T>()>;

    virtual ~TzelStreamPlugin() = default;

    /// The stream the plain data is written to or read from, made by the
    /// hook's CreateStream.
    QIODevice *Stream() const { return FStream.get(); }

    /// Registers the kind; an empty factory unregisters.
    static void Register(Factory factory) { registered() = std::move(factory); }
    /// A new instance of the registered kind, or nullptr when none is registered.
    static std::unique_ptr<T> CreateRegistered() { return registered() ? registered()() : nullptr; }
    /// Whether a kind is registered.
    static bool IsRegistered() { return bool(registered()); }

protected:
    /// Makes Stream a new, open memory stream.
    void CreateMemoryStream()
    {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        FStream = std::move(buffer);
    }
    /// Makes Stream the open device Stream; nullptr frees the old one.
    void SetStream(std::unique_ptr<QIODevice> stream) { FStream = std::move(stream); }

private:
    static Factory &registered()
    {
        static Factory factory;
        return factory;
    }

    std::unique_ptr<QIODevice> FStream;
};
