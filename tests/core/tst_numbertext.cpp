// The number-text rules: which texts read as numbers and to what, how numbers are written,
// and the two-decimal cut.
#include "NumberText.h"

#include <QTest>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

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
    void cutValue_data();
    void cutValue();
    void fromDigits_data();
    void fromDigits();
    void exact_data();
    void exact();
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

// The quick value of a cut number text is the value of the text itself.
void NumberTextTest::cutValue_data()
{
    QTest::addColumn<double>("value");
    // clang-format off
    QTest::newRow("consumption") << 15.1604 * 100 / 302;
    QTest::newRow("two decimals exactly") << 5.02;
    QTest::newRow("binary rounding below") << 7.5799999999999996;
    QTest::newRow("negative") << -7.456;
    QTest::newRow("15 digits") << 6.66666666666667;
    QTest::newRow("17 digits, rounds up to 15") << 2.9999999999999996;
    QTest::newRow("17 digits, 15 end in 9") << 0.1 + 0.2;
    QTest::newRow("smallest without exponent") << 0.0001234;
    QTest::newRow("below the second decimal") << 0.004;
    QTest::newRow("negative below the second decimal") << -0.004;
    QTest::newRow("exponent form") << 0.00001234;
    QTest::newRow("largest without exponent") << 999999999999999.0;
    QTest::newRow("exponent form, large") << 1e15;
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative zero") << -0.0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    // clang-format on
}

void NumberTextTest::cutValue()
{
    QFETCH(double, value);
    using core::NumberText;
    const std::optional<double> expected = NumberText::read(NumberText::cut(NumberText::text(value)));
    const std::optional<double> quick = NumberText::cutValue(value);
    QCOMPARE(quick.has_value(), expected.has_value());
    if (expected) {
        QCOMPARE(std::bit_cast<quint64>(*quick), std::bit_cast<quint64>(*expected));
    }
}

void NumberTextTest::fromDigits_data()
{
    QTest::addColumn<QByteArray>("digits");
    QTest::addColumn<int>("exponent");
    // clang-format off
    QTest::newRow("decimals") << QByteArray("150801") << -4;
    QTest::newRow("whole") << QByteArray("300") << 0;
    QTest::newRow("leading zeros") << QByteArray("0000123") << -2;
    QTest::newRow("zero") << QByteArray("0") << 3;
    QTest::newRow("15 digits") << QByteArray("999999999999999") << -7;
    QTest::newRow("16 digits") << QByteArray("9007199254740993") << 0;
    QTest::newRow("17 digits, halfway") << QByteArray("12345678901234567") << -16;
    QTest::newRow("exponent 22") << QByteArray("3") << 22;
    QTest::newRow("exponent -23") << QByteArray("7") << -23;
    QTest::newRow("beyond 10^-22 with 15 digits") << QByteArray("123456789012345") << -40;
    QTest::newRow("too large") << QByteArray("2") << 400;
    // clang-format on
}

void NumberTextTest::fromDigits()
{
    QFETCH(QByteArray, digits);
    QFETCH(int, exponent);
    const std::string c = digits.toStdString() + 'e' + std::to_string(exponent);
    double expected = 0.0;
    std::from_chars(c.data(), c.data() + c.size(), expected);
    const double value = core::NumberText::fromDigits({digits.constData(), size_t(digits.size())}, exponent);
    QCOMPARE(std::bit_cast<quint64>(value), std::bit_cast<quint64>(expected));
}

// The export's text of a number is std::to_chars' shortest form in the file's notation, for every
// number of a run of values with the same decimals, the quick way or not.
void NumberTextTest::exact_data()
{
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("count");
    // clang-format off
    QTest::newRow("whole numbers, the plain and the exponent form") << 0.0 << 1.0 << 200001;
    QTest::newRow("whole numbers near 10^15") << 999999999900000.0 << 1.0 << 1000;
    QTest::newRow("one decimal") << -5000.0 << 0.1 << 100001;
    QTest::newRow("two decimals") << 0.0 << 0.01 << 100001;
    QTest::newRow("three decimals") << 0.0 << 0.001 << 100001;
    QTest::newRow("four decimals, tiny") << 0.0 << 0.0001 << 20001;
    QTest::newRow("five decimals") << 0.0 << 0.00001 << 20001;
    QTest::newRow("two decimals near 10^13") << 9999999999000.0 << 0.01 << 20001;
    QTest::newRow("thirds, 16 and 17 digits") << 0.0 << 1.0 / 3 << 20001;
    QTest::newRow("round thousands") << 0.0 << 1000.0 << 20001;
    // clang-format on
}

void NumberTextTest::exact()
{
    QFETCH(double, first);
    QFETCH(double, step);
    QFETCH(int, count);
    for (int i = 0; i < count; ++i) {
        const double value = first + i * step;
        char buffer[64];
        std::string expected(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        for (char &c : expected)
            c = c == '.' ? ',' : c == 'e' ? 'E' : c;
        const QString written = core::NumberText::exact(value, ',');
        if (written.toStdString() != expected)
            QFAIL(qPrintable(
                QStringLiteral("%1 gives %2, not %3")
                    .arg(QString::number(value, 'g', 17), written, QString::fromStdString(expected))));
    }
}

QTEST_APPLESS_MAIN(NumberTextTest)
#include "tst_numbertext.moc"
