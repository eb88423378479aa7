#include "ImportDate.h"

#include <QRegularExpression>

namespace datatool {

int ImportDate::century(int twoDigits, const QDate &today)
{
    const int year = 2000 + twoDigits;
    return year > today.year() ? year - 100 : year;
}

QString ImportDate::Reading::text() const
{
    if (!day.isValid())
        return QString();
    // Written digit by digit: QDate::toString goes through the locale's formatting for each row.
    QString text(10, Qt::Uninitialized);
    QChar *out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10)
            out[i] = QLatin1Char(static_cast<char>('0' + value % 10));
        out += digits;
    };
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    day.getDate(&year, &month, &dayOfMonth);
    put(dayOfMonth, 2);
    *out++ = QLatin1Char('.');
    put(month, 2);
    *out++ = QLatin1Char('.');
    put(year, 4);
    return text;
}

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int twoDigits(const QString &text, qsizetype at)
{
    return (text.at(at).unicode() - '0') * 10 + text.at(at + 1).unicode() - '0';
}

// TT.MM.JJJJ of digits, the form nearly every row has, read without a regular expression.
bool isFullDate(const QString &text)
{
    if (text.size() != 10 || text.at(2) != QLatin1Char('.') || text.at(5) != QLatin1Char('.'))
        return false;
    for (const qsizetype at : {0, 1, 3, 4, 6, 7, 8, 9}) {
        if (!isDigit(text.at(at)))
            return false;
    }
    return true;
}

} // namespace

ImportDate::Reading ImportDate::read(const QString &text, const QDate &today)
{
    if (isFullDate(text)) {
        const QDate day(twoDigits(text, 6) * 100 + twoDigits(text, 8), twoDigits(text, 3),
                        twoDigits(text, 0));
        if (day.isValid() && day.year() >= 1900 && day <= today)
            return Reading{day, QString(), false};
    }
    static const QRegularExpression withTime(
        QStringLiteral("^(\\S+)[ T](\\d{1,2}):(\\d{2})(?::(\\d{2})(?:\\.\\d+)?)?$"));
    static const QRegularExpression german(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4}|\\d{2})$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));

    Reading reading;
    QString date = text.trimmed();
    if (date.isEmpty()) {
        reading.refusal = QStringLiteral("kein Datum (das Feld ist leer).");
        return reading;
    }
    if (const QRegularExpressionMatch time = withTime.match(date); time.hasMatch()) {
        const bool midnight =
            time.captured(2).toInt() == 0 && time.captured(3).toInt() == 0 && time.captured(4).toInt() == 0;
        if (!midnight) {
            reading.refusal =
                QStringLiteral("Datum mit Uhrzeit – mit mdb-export -T '%d.%m.%Y' exportieren, damit nur das "
                               "Datum in der Datei steht.");
            return reading;
        }
        date = time.captured(1);
    }

    int year = 0;
    int month = 0;
    int day = 0;
    if (const QRegularExpressionMatch match = german.match(date); match.hasMatch()) {
        day = match.captured(1).toInt();
        month = match.captured(2).toInt();
        year = match.captured(3).toInt();
        if (match.capturedLength(3) == 2) {
            reading.twoDigitYear = true;
            year = century(year, today);
        }
    } else if (const QRegularExpressionMatch match = iso.match(date); match.hasMatch()) {
        year = match.captured(1).toInt();
        month = match.captured(2).toInt();
        day = match.captured(3).toInt();
    } else {
        reading.refusal = QStringLiteral("kein Datum; erwartet wird TT.MM.JJJJ.");
        return reading;
    }

    const QString asRead =
        reading.twoDigitYear ? QStringLiteral(" (zweistelliges Jahr, gelesen als %1)").arg(year) : QString();
    const QDate calendarDay(year, month, day);
    if (!calendarDay.isValid())
        reading.refusal = QStringLiteral("diesen Tag gibt es nicht%1.").arg(asRead);
    else if (year < 1900)
        reading.refusal = QStringLiteral("liegt vor 1900%1.").arg(asRead);
    else if (calendarDay > today)
        reading.refusal = QStringLiteral("liegt in der Zukunft%1.").arg(asRead);
    else
        reading.day = calendarDay;
    return reading;
}

} // namespace datatool
