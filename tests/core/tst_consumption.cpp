// Litres per 100 km and the text a window shows of them: refused when it cannot be computed, and
// the shown text is a number near the value whatever its size (exponent forms once lost theirs).
#include "Consumption.h"
#include "Failure.h"
#include "NumberText.h"

#include <QTest>
#include <cmath>

class ConsumptionTest : public QObject {
    Q_OBJECT
private slots:
    void shownText_data();
    void shownText();
    void average_data();
    void average();
};

void ConsumptionTest::shownText_data()
{
    QTest::addColumn<double>("litres");
    QTest::addColumn<double>("kilometres");
    QTest::addColumn<QString>("shown"); // "failure" when nothing can be computed

    // clang-format off
    QTest::newRow("45,5 l on 600 km") << 45.5 << 600.0 << "7,58";
    QTest::newRow("42 l on 600 km, whole") << 42.0 << 600.0 << "7";
    QTest::newRow("0,07 l on 1 km, noise dropped") << 0.07 << 1.0 << "7";
    QTest::newRow("1 l on 12 km") << 1.0 << 12.0 << "8,33";
    QTest::newRow("negative kilometres") << 10.0 << -100.0 << "-10";
    QTest::newRow("no litres") << 0.0 << 100.0 << "0";
    QTest::newRow("tiny, in exponent form") << 0.00012345 << 1000.0 << "1,23E-05";
    QTest::newRow("huge, in exponent form") << 1.5e20 << 1.0 << "1,5E+22";
    QTest::newRow("largest without exponent") << 999999999999.99 << 1.0 << "99999999999999";
    QTest::newRow("kilometres 0") << 5.0 << 0.0 << "failure";
    QTest::newRow("nothing on nothing") << 0.0 << 0.0 << "failure";
    QTest::newRow("product beyond a double") << 1e307 << 1.0 << "failure";
    QTest::newRow("quotient beyond a double") << 1e300 << 1e-300 << "failure";
    // clang-format on
}

void ConsumptionTest::shownText()
{
    QFETCH(double, litres);
    QFETCH(double, kilometres);
    QFETCH(QString, shown);
    try {
        const double consumption = core::Consumption::per100km(litres, kilometres);
        const QString text = core::Consumption::shownText(consumption);
        QCOMPARE(text, shown);
        const std::optional<double> value = core::NumberText::read(text);
        QVERIFY(value && std::fabs(*value - consumption) <= std::max(0.01, 0.01 * std::fabs(consumption)));
    } catch (const core::Failure &) {
        QCOMPARE(QStringLiteral("failure"), shown);
    }
}

void ConsumptionTest::average_data()
{
    QTest::addColumn<QString>("litres");
    QTest::addColumn<QString>("kilometres");
    QTest::addColumn<QString>("average"); // empty: none can be computed

    // clang-format off
    QTest::newRow("cut, not rounded") << "22" << "300" << "7,33";
    QTest::newRow("totals as shown") << "6,3" << "1.180" << "0,53";
    QTest::newRow("empty log") << "0" << "0" << "";
    QTest::newRow("no kilometres") << "20" << "0" << "";
    QTest::newRow("a total that is no number") << "viel" << "100" << "";
    // clang-format on
}

void ConsumptionTest::average()
{
    QFETCH(QString, litres);
    QFETCH(QString, kilometres);
    QFETCH(QString, average);
    QCOMPARE(core::Consumption::average(litres, kilometres), average);
}

QTEST_APPLESS_MAIN(ConsumptionTest)
#include "tst_consumption.moc"
