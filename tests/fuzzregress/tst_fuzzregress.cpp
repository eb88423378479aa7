// Inputs the fuzzers found, kept as tests, beside their nearest neighbours that must keep
// working.
#include "Consumption.h"
#include "DateCheck.h"
#include "NumberText.h"

#include <QDate>
#include <QTest>
#include <cmath>
#include <limits>

class FuzzRegressTest : public QObject {
    Q_OBJECT
private slots:
    void numberTextReadsBack_data();
    void numberTextReadsBack();
    void shownConsumptionIsNearTheValue_data();
    void shownConsumptionIsNearTheValue();
    void acceptedDateIsCalendarDate_data();
    void acceptedDateIsCalendarDate();
};

void FuzzRegressTest::numberTextReadsBack_data()
{
    QTest::addColumn<double>("value");

    const double largest = std::numeric_limits<double>::max();
    QTest::newRow("largest double") << largest;
    QTest::newRow("largest negative double") << -largest;
    QTest::newRow("just below the rounding edge") << 1.7976931348623149e308;
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("smallest normal") << std::numeric_limits<double>::min();
    QTest::newRow("subnormal with many digits") << 1.23456789e-310;
    QTest::newRow("one third") << 1.0 / 3.0;
    QTest::newRow("first exponent form") << 1e15;
    QTest::newRow("below exponent form") << 999999999999999.0;
    QTest::newRow("small exponent form") << -1.5e-5;
    QTest::newRow("more than 15 digits") << 123456789012345678.0;
}

void FuzzRegressTest::numberTextReadsBack()
{
    QFETCH(double, value);

    const QString written = NumberText::text(value);
    const std::optional<double> back = NumberText::read(written);
    QVERIFY2(back.has_value(), qPrintable(written));
    QVERIFY2(std::fabs(*back - value) <= 1e-14 * std::fabs(value), qPrintable(written));
}

void FuzzRegressTest::shownConsumptionIsNearTheValue_data()
{
    QTest::addColumn<double>("litres");
    QTest::addColumn<double>("kilometres");

    QTest::newRow("45,5 l / 600 km") << 45.5 << 600.0;
    QTest::newRow("1 l / 12 km") << 1.0 << 12.0;
    QTest::newRow("largest without exponent") << 999999999999.99 << 1.0;
    QTest::newRow("smallest without exponent") << 0.0001 << 100.0;
    QTest::newRow("tiny, one decimal in exponent form") << 0.00015 << 1000.0;
    QTest::newRow("tiny, many decimals in exponent form") << 0.00012345 << 1000.0;
    QTest::newRow("huge, one decimal in exponent form") << 1.5e20 << 1.0;
    QTest::newRow("huge, whole in exponent form") << 1e20 << 1.0;
}

void FuzzRegressTest::shownConsumptionIsNearTheValue()
{
    QFETCH(double, litres);
    QFETCH(double, kilometres);

    const double consumption = Consumption::per100km(litres, kilometres);
    const QString shown = Consumption::shownText(consumption);
    const std::optional<double> value = NumberText::read(shown);
    QVERIFY2(value.has_value() &&
                 std::fabs(*value - consumption) <= std::max(0.01, 0.01 * std::fabs(consumption)),
             qPrintable(shown));
}

void FuzzRegressTest::acceptedDateIsCalendarDate_data()
{
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<QString>("today");
    QTest::addColumn<bool>("accepted");

    const QString today = QStringLiteral("15.06.2024");
    QTest::newRow("today") << "15.06.2024" << today << true;
    QTest::newRow("earlier year, day above today's") << "31.12.1999" << today << true;
    QTest::newRow("first day of 1900") << "01.01.1900" << today << true;
    QTest::newRow("today in year 9999") << "31.12.9999"
                                        << "31.12.9999" << true;
    QTest::newRow("no 31st in February") << "31.02.1999" << today << false;
    QTest::newRow("29th February of a leap year") << "29.02.2000" << today << true;
    QTest::newRow("no 29th February in 1900") << "29.02.1900" << today << false;
    QTest::newRow("tomorrow") << "16.06.2024" << today << false;
    QTest::newRow("exponent in the day") << "1e0.01.1999" << today << false;
    QTest::newRow("day with a leading dot") << ".1.01.1999" << today << false;
    QTest::newRow("day with a leading blank") << " 1.01.1999" << today << false;
    QTest::newRow("day with a leading tab") << "\t1.01.1999" << today << false;
    QTest::newRow("day with a plus sign") << "+1.01.1999" << today << false;
    QTest::newRow("day with a trailing dot") << "1..01.1999" << today << false;
    QTest::newRow("day with a trailing comma") << "1,.01.1999" << today << false;
    QTest::newRow("day with a trailing blank") << "1 .01.1999" << today << false;
    QTest::newRow("month with a leading dot") << "01..1.1999" << today << false;
    QTest::newRow("month with a leading blank") << "01. 1.1999" << today << false;
    QTest::newRow("month with a plus sign") << "01.+1.1999" << today << false;
    QTest::newRow("month with a trailing comma") << "01.1,.1999" << today << false;
    QTest::newRow("month with a trailing dot") << "01.1..1999" << today << false;
}

void FuzzRegressTest::acceptedDateIsCalendarDate()
{
    QFETCH(QString, dateText);
    QFETCH(QString, today);
    QFETCH(bool, accepted);

    const std::optional<QString> refusal = DateCheck::refusal(dateText, today);
    QCOMPARE(!refusal.has_value(), accepted);
    if (accepted) {
        const QDate date = QDate::fromString(dateText, QStringLiteral("dd.MM.yyyy"));
        QVERIFY(date.isValid());
        QVERIFY(date <= QDate::fromString(today, QStringLiteral("dd.MM.yyyy")));
    }
}

QTEST_GUILESS_MAIN(FuzzRegressTest)
#include "tst_fuzzregress.moc"
