#pragma once
/// \file

#include <QByteArray>
#include <QString>
#include <exception>

/// The ordinary exception of the library: a message in the system's own words.
/// Model setters, readers and the facade raise it; callers show message().
class TzelException : public std::exception
{
public:
    /// Creates an exception carrying Message.
    explicit TzelException(QString message);
    ~TzelException() override;

    /// The message as the user sees it.
    const QString &message() const noexcept { return FMessage; }
    /// The message in UTF-8, for std::exception users.
    const char *what() const noexcept override;

private:
    QString FMessage;
    QByteArray FUtf8;
};

// A file could not be opened, created, renamed or deleted.
class TzelFileError : public TzelException
{
public:
    using TzelException::TzelException;
};

// A text could not be converted to a number or date.
class TzelConvertError : public TzelException
{
public:
    using TzelException::TzelException;
};
