#pragma once
/// \file

/// What prepared pages ask of the engine that fills them. The engine sits
/// above this layer and implements it; without an engine the pages behave as
/// after a finished one-pass build.
class TzelPagesEngine
{
public:
    virtual ~TzelPagesEngine() = default;
    /// Whether a build is running (rebuilt pages then bypass the cache).
    virtual bool Running() const = 0;
    /// Whether the build makes two passes.
    virtual bool DoublePass() const = 0;
    /// Whether the pass running is the last one.
    virtual bool FinalPass() const = 0;
    /// The current vertical position on the page, in report units.
    virtual double CurY() const = 0;
    /// The number of pages of the build (known after the first pass).
    virtual int TotalPages() const = 0;
};
