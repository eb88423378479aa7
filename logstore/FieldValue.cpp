#include "FieldValue.h"

#include "LogNames.h"

#include "Failure.h"
#include "NumberText.h"

namespace logstore {

QVariant FieldValue::toStored(const QString &field, const QString &text)
{
    if (!core::LogNames::fields().contains(field))
        throw core::Failure(
            QStringLiteral("Das Feld \"%1\" gibt es in den Fahrzeugtabellen nicht.").arg(field));
    if (text.isEmpty())
        return QVariant();
    if (field == core::LogNames::fields().first())
        return text;
    const std::optional<double> number = core::NumberText::read(text);
    if (!number)
        throw core::Failure(
            QStringLiteral("Der Wert \"%1\" passt nicht in das Feld \"%2\": dort ist nur eine Zahl erlaubt.")
                .arg(text, field));
    return *number;
}

bool FieldValue::isNumber(const QVariant &value)
{
    if (value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

QString FieldValue::toText(const QVariant &value, Notation notation)
{
    if (value.isNull())
        return QString();
    if (!isNumber(value))
        return value.toString();
    switch (notation) {
    case Notation::ExactComma:
        return core::NumberText::exact(value.toDouble(), ',');
    case Notation::ExactPoint:
        return core::NumberText::exact(value.toDouble(), '.');
    case Notation::Shown:
        break;
    }
    return core::NumberText::text(value.toDouble());
}

} // namespace logstore
