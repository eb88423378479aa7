// The number-text rules: which texts read as numbers and to what, how numbers are written,
// and the two-decimal cut.
#include "NumberText.h"

#include <QTest>
#include <cmath>
#include <limits>

class NumberTextTest : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void text_data();
    void text();
    void cut_data();
    void cut();
    void readsBack_data();
    void readsBack();
};

void NumberTextTest::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    QTest::newRow("whole") << "600" << true << 600.0;
    QTest::newRow("decimal comma") << "45,5" << true << 45.5;
    QTest::newRow("dot is a group separator") << "45.5" << true << 455.0;
    QTest::newRow("dots anywhere in the digits") << "1.2.3.4" << true << 1234.0;
    QTest::newRow("dot after the comma") << "1,2.5" << true << 1.25;
    QTest::newRow("comma first") << ",5" << true << 0.5;
    QTest::newRow("comma last") << "5," << true << 5.0;
    QTest::newRow("blanks around") << "  45,5  " << true << 45.5;
    QTest::newRow("tabs around") << "\t45,5\t" << true << 45.5;
    QTest::newRow("minus sign") << "-100" << true << -100.0;
    QTest::newRow("blank after sign") << "- 1" << false << 0.0;
    QTest::newRow("small e") << "2,5e-1" << true << 0.25;
    QTest::newRow("exponent without digits") << "1E" << false << 0.0;
    QTest::newRow("largest double") << "1,7976931348623157E308" << true << std::numeric_limits<double>::max();
    QTest::newRow("beyond a double") << "1E309" << false << 0.0;
    QTest::newRow("beyond a double by digits") << QString(400, QLatin1Char('9')) << false << 0.0;
    // Zeros after the leading digit do not make a number past the largest double a small one.
    QTest::newRow("beyond a double, zeros after the digit")
        << "0,5" + QString(400, QLatin1Char('0')) + "E309" << false << 0.0;
    QTest::newRow("too small reads as zero") << "1E-400" << true << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks only") << "   " << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("letter after digits") << "12a" << false << 0.0;
    QTest::newRow("sign after number") << "12-" << false << 0.0;
    QTest::newRow("blank inside") << "1 2" << false << 0.0;
}

void NumberTextTest::read()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);

    QCOMPARE(core::NumberText::isNumeric(text), numeric);
    const std::optional<double> read = core::NumberText::read(text);
    QCOMPARE(read.has_value(), numeric);
    if (numeric)
        QCOMPARE(*read, value);
}

void NumberTextTest::text_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 600.0 << "600";
    QTest::newRow("fraction") << 45.5 << "45,5";
    QTest::newRow("negative") << -10.0 << "-10";
    QTest::newRow("fifteen digits") << 100.0 / 12.0 << "8,33333333333333";
    QTest::newRow("noise below 15 digits") << 7.000000000000001 << "7";
    QTest::newRow("no group separators") << 1333.3333333333333 << "1333,33333333333";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("exponent from 1E15") << 1e15 << "1E+15";
    QTest::newRow("exponent with fraction") << 1.5e20 << "1,5E+20";
    QTest::newRow("rounds into exponent") << 999999999999999.9 << "1E+15";
    QTest::newRow("smallest fixed") << 0.0001 << "0,0001";
    QTest::newRow("exponent below 1E-4") << 0.00001 << "1E-05";
    QTest::newRow("denormal") << 5e-324 << "4,94065645841247E-324";
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << "1,79769313486231E+308";
}

void NumberTextTest::text()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(core::NumberText::text(value), text);
}

void NumberTextTest::cut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cut");

    // clang-format off
    QTest::newRow("truncates") << "8,339" << "8,33";
    QTest::newRow("never rounds") << "6,66666666666667" << "6,66";
    QTest::newRow("one decimal stays") << "8,3" << "8,3";
    QTest::newRow("whole stays") << "12" << "12";
    QTest::newRow("negative") << "-0,057" << "-0,05";
    QTest::newRow("comma last") << "5," << "5,";
    QTest::newRow("first comma counts") << "1,234,5" << "1,23";
    QTest::newRow("decimal point is not cut") << "7.5833" << "7.5833";
    QTest::newRow("exponent kept") << "1,5E-05" << "1,5E-05";
    QTest::newRow("mantissa cut, exponent kept") << "1,23456e+20" << "1,23e+20";
    QTest::newRow("not a number, cut at the comma") << "1,567Ex" << "1,56";
    QTest::newRow("empty") << "" << "";
    // clang-format on
}

void NumberTextTest::cut()
{
    QFETCH(QString, text);
    QFETCH(QString, cut);
    QCOMPARE(core::NumberText::cut(text), cut);
}

// Every number text reads back as the number it was written from (the largest doubles once did not).
void NumberTextTest::readsBack_data()
{
    QTest::addColumn<double>("value");
    const double largest = std::numeric_limits<double>::max();
    QTest::newRow("largest double") << largest;
    QTest::newRow("largest negative double") << -largest;
    QTest::newRow("just below the rounding edge") << 1.7976931348623149e308;
    QTest::newRow("smallest subnormal") << std::numeric_limits<double>::denorm_min();
    QTest::newRow("subnormal with many digits") << 1.23456789e-310;
    QTest::newRow("small exponent form") << -1.5e-5;
    QTest::newRow("more than 15 digits") << 123456789012345678.0;
}

void NumberTextTest::readsBack()
{
    QFETCH(double, value);
    const QString written = core::NumberText::text(value);
    const std::optional<double> back = core::NumberText::read(written);
    QVERIFY2(back && std::fabs(*back - value) <= 1e-14 * std::fabs(value), qPrintable(written));
}

QTEST_APPLESS_MAIN(NumberTextTest)
#include "tst_numbertext.moc"
