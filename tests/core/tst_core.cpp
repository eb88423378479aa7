// The rules below the windows: which texts read as numbers and how numbers are written and cut,
// litres per 100 km and the text shown of them, the recomputation after a key release in the
// editor, the strict check of a fill-up date, and the German reason of a system error.
#include "Consumption.h"
#include "DateCheck.h"
#include "Failure.h"
#include "LiveConsumption.h"
#include "NumberText.h"
#include "SystemError.h"

#include <QRegularExpression>
#include <QTest>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

using Typed = core::LiveConsumption::Typed;
Q_DECLARE_METATYPE(Typed)

class CoreRulesTest : public QObject {
    Q_OBJECT
private slots:
    void read_data()
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
        QTest::newRow("largest double")
            << "1,7976931348623157E308" << true << std::numeric_limits<double>::max();
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

    void read()
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

    void text_data()
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
        QTest::newRow("largest negative double")
            << -std::numeric_limits<double>::max() << "-1,79769313486231E+308";
        QTest::newRow("just below the rounding edge") << 1.7976931348623149e308 << "1,79769313486231E+308";
        QTest::newRow("subnormal with many digits") << 1.23456789e-310 << "1,23456788999999E-310";
    }

    void text()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(core::NumberText::text(value), text);
        // What is written reads back (the largest doubles once did not).
        const std::optional<double> back = core::NumberText::read(text);
        QVERIFY(back && std::fabs(*back - value) <= 1e-14 * std::fabs(value));
    }

    void cut_data()
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

    void cut()
    {
        QFETCH(QString, text);
        QFETCH(QString, cut);
        QCOMPARE(core::NumberText::cut(text), cut);
    }

    // The quick value of a cut number text is the value of the text itself.
    void cutValue_data()
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

    void cutValue()
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

    void fromDigits_data()
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

    void fromDigits()
    {
        QFETCH(QByteArray, digits);
        QFETCH(int, exponent);
        const std::string c = digits.toStdString() + 'e' + std::to_string(exponent);
        double expected = 0.0;
        std::from_chars(c.data(), c.data() + c.size(), expected);
        const double value =
            core::NumberText::fromDigits({digits.constData(), size_t(digits.size())}, exponent);
        QCOMPARE(std::bit_cast<quint64>(value), std::bit_cast<quint64>(expected));
    }

    // The export's text of a number is std::to_chars' shortest form in the file's notation, for every
    // number of a run of values with the same decimals, the quick way or not.
    void exact_data()
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

    void exact()
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

    void shownText_data()
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

    void shownText()
    {
        QFETCH(double, litres);
        QFETCH(double, kilometres);
        QFETCH(QString, shown);
        try {
            const double consumption = core::Consumption::per100km(litres, kilometres);
            const QString text = core::Consumption::shownText(consumption);
            QCOMPARE(text, shown);
            const std::optional<double> value = core::NumberText::read(text);
            QVERIFY(value &&
                    std::fabs(*value - consumption) <= std::max(0.01, 0.01 * std::fabs(consumption)));
        } catch (const core::Failure &) {
            QCOMPARE(QStringLiteral("failure"), shown);
        }
    }

    void average_data()
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

    void average()
    {
        QFETCH(QString, litres);
        QFETCH(QString, kilometres);
        QFETCH(QString, average);
        QCOMPARE(core::Consumption::average(litres, kilometres), average);
    }

    // Each refusal of a fill-up date with its message, in the order the checks run, and the dates
    // accepted. Today is 15.06.2024 unless a row says otherwise.
    void dateRefusal_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QString>("today");
        const QString today = QStringLiteral("15.06.2024");
        const QString length =
            QStringLiteral("Das Datum muß in voller Länge angegeben werden\r\nAlso zehnstellig !!");
        const QString separator =
            QStringLiteral("Falsches Datum angegeben (Trennzeichen müssen Punkte sein) !!");
        const QString future =
            QStringLiteral("Falsches Datum angegeben,Jahreszahl größer als aktuelles Datum !!");
        const QString day = QStringLiteral("Falscher Tag angegeben.\r\nBitte nur Zahlen vo 0-31 angeben");
        const QString month = QStringLiteral("Falscher Monat angegeben.\r\nBitte nur Zahlen vo 0-12 angeben");
        const QString noSuchDay =
            QStringLiteral("Falsches Datum angegeben (Tag gibt es in diesem Monat nicht) !!");

        // clang-format off
        QTest::newRow("empty") << "" << "Ohne Datum läuft hier garnichts !" << today;
        QTest::newRow("one-digit day") << "1.01.2020" << length << today;
        QTest::newRow("blanks shorter than a date") << "         " << length << today;
        QTest::newRow("slash as first separator") << "01/01.2020" << separator << today;
        QTest::newRow("blanks as long as a date") << "          " << separator << today;
        QTest::newRow("comma as second separator") << "01.01,2020" << separator << today;
        QTest::newRow("next year") << "01.01.2025" << future << today;
        QTest::newRow("a century later, not the same two digits") << "01.01.2124" << future << today;
        QTest::newRow("later day this month") << "16.06.2024" << future << today;
        QTest::newRow("later month this year") << "01.07.2024" << future << today;
        QTest::newRow("day 32 this month, future first") << "32.06.2024" << future << today;
        QTest::newRow("year 1899") << "31.12.1899" << "Geburtsjahr vor 1900 ist ungültig !!" << today;
        QTest::newRow("eleven characters") << "01.01.x2023" << "Falsches Datum angegeben (Format oder Länge falsch) !!" << today;
        QTest::newRow("letter in the day") << "a1.01.2023" << day << today;
        QTest::newRow("day 00") << "00.01.2023" << "Falsches Datum angegeben (Tag kleiner 1 ) !!" << today;
        QTest::newRow("day 32") << "32.01.2023" << "Falsches Datum angegeben (Tag größer 31) !!" << today;
        QTest::newRow("letter in the month") << "01.x1.2023" << month << today;
        QTest::newRow("month 00") << "01.00.2023" << "Falsches Datum angegeben (Monat kleiner 1)!!" << today;
        QTest::newRow("month 13") << "01.13.2023" << "Falsches Datum angegeben (Monat größer 12) !!" << today;
        QTest::newRow("no 31 April") << "31.04.2023" << noSuchDay << today;
        QTest::newRow("no 29 February 1900") << "29.02.1900" << noSuchDay << today;
        QTest::newRow("day with a leading blank") << " 1.01.1999" << day << today;
        QTest::newRow("day with a leading dot") << ".1.01.1999" << day << today;
        QTest::newRow("day with a plus sign") << "+1.01.1999" << day << today;
        QTest::newRow("day half an exponent") << "1e.01.1999" << day << today;
        QTest::newRow("month with a trailing comma") << "01.1,.1999" << month << today;
        QTest::newRow("month with a leading blank") << "01. 1.1999" << month << today;
        QTest::newRow("today") << "15.06.2024" << "" << today;
        QTest::newRow("earlier month, later day") << "31.05.2024" << "" << today;
        QTest::newRow("1 January 1900") << "01.01.1900" << "" << today;
        QTest::newRow("29 February 2000") << "29.02.2000" << "" << today;
        QTest::newRow("today in year 9999") << "31.12.9999" << "" << "31.12.9999";
        // clang-format on
    }

    void dateRefusal()
    {
        QFETCH(QString, date);
        QFETCH(QString, message);
        QFETCH(QString, today);
        QCOMPARE(core::DateCheck::refusal(date, today).value_or(QString()), message);
    }

    void afterKeyRelease_data()
    {
        QTest::addColumn<Typed>("typed");
        QTest::addColumn<QString>("typedText");
        QTest::addColumn<QString>("otherText");
        QTest::addColumn<QString>("shown"); // what the consumption box shows now
        QTest::addColumn<QString>("after"); // "refused", "failure" or the consumption box's new text
        const Typed litres = Typed::Litres;
        const Typed kilometres = Typed::Kilometres;

        // clang-format off
        QTest::newRow("500 km on 40 l") << kilometres << "500" << "40" << "" << "8";
        QTest::newRow("600 km on 45 l") << kilometres << "600" << "45" << "" << "7,5";
        QTest::newRow("3 km on 40 l") << kilometres << "3" << "40" << "" << "1333,33";
        QTest::newRow("650 km on 50 l") << kilometres << "650" << "50" << "" << "7,69";
        QTest::newRow("50 l on 650 km, the same") << litres << "50" << "650" << "" << "7,69";
        QTest::newRow("first digit of the kilometres") << kilometres << "5" << "40" << "" << "800";
        QTest::newRow("kilometres empty: only cut") << litres << "40" << "" << "3,999" << "3,99";
        QTest::newRow("kilometres zero") << litres << "4" << "0" << "3,999" << "3,99";
        QTest::newRow("kilometres negative") << litres << "4" << "-500" << "3,999" << "3,99";
        QTest::newRow("kilometres pasted letters") << litres << "4" << "abc" << "3,999" << "3,99";
        QTest::newRow("typed litres negative") << litres << "-4" << "500" << "3,999" << "3,99";
        QTest::newRow("typed kilometres zero") << kilometres << "0" << "40" << "3,999" << "3,99";
        QTest::newRow("whole consumption stays whole") << litres << "40" << "" << "8" << "8";
        QTest::newRow("typed box emptied") << kilometres << "" << "50" << "3,999" << "refused";
        QTest::newRow("blanks only") << litres << "   " << "50" << "3,999" << "refused";
        QTest::newRow("letter after digits") << litres << "5x" << "650" << "3,999" << "refused";
        QTest::newRow("product beyond a double") << litres << "1E307" << "650" << "3,999" << "failure";
        // clang-format on
    }

    void afterKeyRelease()
    {
        QFETCH(Typed, typed);
        QFETCH(QString, typedText);
        QFETCH(QString, otherText);
        QFETCH(QString, shown);
        QFETCH(QString, after);

        try {
            const core::LiveConsumption::Outcome outcome =
                core::LiveConsumption::afterKeyRelease(typed, typedText, otherText, shown);
            QCOMPARE(outcome.refused ? QStringLiteral("refused") : outcome.consumptionText, after);
        } catch (const core::Failure &) {
            QCOMPARE(QStringLiteral("failure"), after);
        }
    }

    // Whichever error the system reports, the user reads a German sentence without its English
    // words.
    void noEnglishWords()
    {
        const QRegularExpression nonWord(QStringLiteral("\\W+"));
        for (int error = 1; error < 134; ++error) {
            const QString reason = core::SystemError::reason(error);
            const QStringList words = reason.toLower().split(nonWord, Qt::SkipEmptyParts);
            const QStringList english =
                QString::fromLocal8Bit(std::strerror(error)).toLower().split(nonWord, Qt::SkipEmptyParts);
            for (const QString &word : english)
                QVERIFY2(word.size() <= 2 || !words.contains(word), qPrintable(reason + u'|' + word));
            QVERIFY2(reason.endsWith(u'.'), qPrintable(reason));
        }
    }
};

QTEST_APPLESS_MAIN(CoreRulesTest)
#include "tst_core.moc"
