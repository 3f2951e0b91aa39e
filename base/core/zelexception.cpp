#include "base/core/zelexception.h"

TzelException::TzelException(QString message)
    : FMessage(std::move(message)), FUtf8(FMessage.toUtf8())
{
}

TzelException::~TzelException() = default;

const char *TzelException::what() const noexcept
{
    return FUtf8.constData();
}
