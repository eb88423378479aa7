// The rules of the data tool that the program does not have: how a CSV file's numbers are read by
// its separator and written exactly, how its dates are read, and how its encoding is told.
#include "CsvNumber.h"
#include "Failure.h"
#include "ImportDate.h"
#include "TextEncoding.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using datatool::CsvNumber;
using datatool::ImportDate;
using datatool::TextEncoding;

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<bool>("number");
        QTest::addColumn<double>("value");

        // clang-format off
        QTest::newRow("; decimal comma") << "45,5" << ";" << true << 45.5;
        QTest::newRow("; grouped thousands") << "1.234.567,5" << ";" << true << 1234567.5;
        QTest::newRow("; grouped thousands without decimals") << "1.234" << ";" << true << 1234.0;
        QTest::newRow("; decimal point refused") << "6.3" << ";" << false << 0.0;
        QTest::newRow("; dot after the comma refused") << "1,234.5" << ";" << false << 0.0;
        QTest::newRow("; exponent") << "1,5E-05" << ";" << true << 1.5e-05;
        QTest::newRow("; blanks and sign") << " -7,5 " << ";" << true << -7.5;
        QTest::newRow(", decimal point") << "45.5" << "," << true << 45.5;
        QTest::newRow(", mdb-export exponent") << "1.5e+20" << "," << true << 1.5e20;
        QTest::newRow(", decimal comma of a text field") << "38,4" << "," << true << 38.4;
        QTest::newRow(", grouping refused") << "1,234.5" << "," << false << 0.0;
        QTest::newRow(", two points refused") << "1.234.5" << "," << false << 0.0;
        QTest::newRow(", empty refused") << "" << "," << false << 0.0;
        QTest::newRow("tab: decimal comma") << "45,5" << "\t" << true << 45.5;
        QTest::newRow("tab: decimal point refused") << "6.3" << "\t" << false << 0.0;
        QTest::newRow("; plain digits") << "0600" << ";" << true << 600.0;
        QTest::newRow("; comma at the end") << "7," << ";" << true << 7.0;
        // clang-format on
    }

    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(bool, number);
        QFETCH(double, value);

        const std::optional<double> read = CsvNumber::read(text, separator.at(0).toLatin1());
        QCOMPARE(read.has_value(), number);
        if (number)
            QCOMPARE(*read, value);
    }

    void shortestTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("semicolon");
        QTest::addColumn<QString>("comma");

        // clang-format off
        QTest::newRow("more than 15 digits") << 40.123456789012345 << "40,123456789012344" << "40.123456789012344";
        QTest::newRow("one decimal") << 0.1 << "0,1" << "0.1";
        QTest::newRow("whole") << 1234567.0 << "1234567" << "1234567";
        QTest::newRow("tiny") << 1e-297 << "1E-297" << "1E-297";
        QTest::newRow("negative") << -8.19 << "-8,19" << "-8.19";
        // clang-format on
    }

    void shortestTexts()
    {
        QFETCH(double, value);
        QFETCH(QString, semicolon);
        QFETCH(QString, comma);
        QCOMPARE(CsvNumber::text(value, ';'), semicolon);
        QCOMPARE(CsvNumber::text(value, '\t'), semicolon);
        QCOMPARE(CsvNumber::text(value, ','), comma);
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result"); // the date taken, or a part of the refusal

        // Today is 10.12.2025 in every row.
        // clang-format off
        QTest::newRow("full") << "04.01.2021" << "04.01.2021";
        QTest::newRow("today") << "10.12.2025" << "10.12.2025";
        QTest::newRow("tomorrow") << "11.12.2025" << "liegt in der Zukunft.";
        QTest::newRow("two-digit year of this year") << "04.01.25" << "04.01.2025";
        QTest::newRow("two-digit year after this year: last century") << "04.01.26" << "04.01.1926";
        QTest::newRow("two-digit year 00") << "29.02.00" << "29.02.2000";
        QTest::newRow("two-digit year in the future this year") << "11.12.25" << "liegt in der Zukunft (zweistelliges Jahr, gelesen als 2025).";
        QTest::newRow("one-digit day and month") << "4.1.2021" << "04.01.2021";
        QTest::newRow("ISO") << "2021-01-04" << "04.01.2021";
        QTest::newRow("midnight") << "04.01.2021 00:00:00" << "04.01.2021";
        QTest::newRow("midnight without seconds") << "04.01.21 00:00" << "04.01.2021";
        QTest::newRow("a minute past midnight") << "04.01.2021 00:01:00" << "Uhrzeit";
        QTest::newRow("blanks around") << " 04.01.2021 " << "04.01.2021";
        QTest::newRow("no such day") << "31.04.2021" << "diesen Tag gibt es nicht.";
        QTest::newRow("month 13") << "01.13.2021" << "diesen Tag gibt es nicht.";
        QTest::newRow("before 1900") << "31.12.1899" << "liegt vor 1900.";
        QTest::newRow("year of three digits") << "04.01.202" << "kein Datum";
        QTest::newRow("letter O") << "01.03.2O23" << "kein Datum";
        QTest::newRow("slash in the day, ten characters") << "1/.01.2021" << "kein Datum";
        QTest::newRow("empty") << "" << "kein Datum (das Feld ist leer).";
        // clang-format on
    }

    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        const ImportDate::Reading reading = ImportDate::read(text, QDate(2025, 12, 10));
        if (reading.day.isValid()) {
            QCOMPARE(reading.text(), result);
            QVERIFY(reading.refusal.isEmpty());
        } else {
            QVERIFY2(reading.refusal.contains(result), qPrintable(reading.refusal));
        }
    }

    void encoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("result"); // "utf8", "1252" or a part of the refusal

        // clang-format off
        QTest::newRow("ASCII") << QByteArray("Datum\n") << "utf8";
        QTest::newRow("UTF-8 umlaut") << QByteArray("f\xC3\xBCr\n") << "utf8";
        QTest::newRow("UTF-8 with byte-order mark") << QByteArray("\xEF\xBB\xBF\xE2\x82\xAC\n") << "utf8";
        QTest::newRow("Windows-1252 umlaut") << QByteArray("f\xFCr\n") << "1252";
        QTest::newRow("UTF-8 cut off at the end") << QByteArray("f\xC3") << "1252";
        QTest::newRow("overlong UTF-8") << QByteArray("\xC0\xAF\n") << "1252";
        QTest::newRow("UTF-8 surrogate") << QByteArray("\xED\xA0\x80\n") << "1252";
        QTest::newRow("NUL byte") << QByteArray("a\0b", 3) << "keine Textdatei";
        QTest::newRow("UTF-16 with byte-order mark") << QByteArray("\xFF\xFE" "D\0\t\0", 6) << "utf16";
        QTest::newRow("UTF-16 byte-order mark alone") << QByteArray("\xFF\xFE") << "ist leer";
        QTest::newRow("blanks only") << QByteArray(" \r\n\t") << "ist leer";
        // clang-format on
    }

    void encoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, result);

        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("f.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        try {
            const TextEncoding::Kind kind = TextEncoding::probe(file.fileName());
            QCOMPARE(kind == TextEncoding::Kind::Utf8          ? QStringLiteral("utf8")
                     : kind == TextEncoding::Kind::Windows1252 ? QStringLiteral("1252")
                                                               : QStringLiteral("utf16"),
                     result);
        } catch (const core::Failure &failure) {
            QVERIFY2(failure.message().contains(result), qPrintable(failure.message()));
        }
        // The bytes 0x80-0x9F of Windows-1252 are not Latin-1.
        QCOMPARE(TextEncoding::decode("\x80\x96\xE4", 3, TextEncoding::Kind::Windows1252),
                 QStringLiteral("€–ä"));
    }
};

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
