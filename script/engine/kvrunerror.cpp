#include "script/engine/kvrunerror.h"

#include "base/variant/zelvariant.h"
#include "script/engine/kvmessages.h"

TkvRunError::TkvRunError(QString message, QString className)
    : TzelException(std::move(message)), FClassName(std::move(className))
{
}

TkvRunError::~TkvRunError() = default;

QString TkvRunError::Pos() const
{
    return QStringLiteral("%1:%2").arg(FLine).arg(FColumn);
}

void TkvRunError::Raise(const char *key, const QString &detail)
{
    throw TkvRunError(kvMessage(key) + detail, QStringLiteral("Exception"));
}

TkvRunError TkvRunError::From(const TzelException &e, int line, int column, const QString &unit)
{
    const auto *variant = dynamic_cast<const TzelVariantError *>(&e);
    QString className = QStringLiteral("Exception");
    if (variant) {
        switch (variant->code()) {
        case TzelVariantError::Code::DivByZero:
            className = QStringLiteral("EDivByZero");
            break;
        case TzelVariantError::Code::ZeroDivide:
            className = QStringLiteral("EZeroDivide");
            break;
        case TzelVariantError::Code::InvalidFloat:
            className = QStringLiteral("EInvalidOp");
            break;
        case TzelVariantError::Code::FloatOverflow:
            className = QStringLiteral("EOverflow");
            break;
        default:
            className = QStringLiteral("EVariantError");
            break;
        }
    }
    TkvRunError error(e.message(), className);
    error.Locate(line, column, unit);
    return error;
}
