// The two rules of the data tool that the program does not have: how a CSV file's numbers are read
// by its separator, and how its encoding is told.
#include "CsvNumber.h"
#include "Failure.h"
#include "TextEncoding.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class RulesTest : public QObject {
    Q_OBJECT
private slots:
    void numbers_data();
    void numbers();
    void numberTextsReadBack();
    void encoding_data();
    void encoding();
};

void RulesTest::numbers_data()
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
    // clang-format on
}

void RulesTest::numbers()
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

void RulesTest::numberTextsReadBack()
{
    for (const double value :
         {45.5, -0.07, 1234567.25, 1e15, 1.5e-05, 8.3333333333333, 1.7976931348623e308}) {
        for (const char separator : {';', ','}) {
            const QString text = CsvNumber::text(value, separator);
            QCOMPARE(text.contains(QLatin1Char(separator == ';' ? '.' : ',')), false);
            QCOMPARE(CsvNumber::read(text, separator), std::optional<double>(value));
        }
    }
}

void RulesTest::encoding_data()
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
    QTest::newRow("blanks only") << QByteArray(" \r\n\t") << "ist leer";
    // clang-format on
}

void RulesTest::encoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, result);

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("f.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    try {
        const TextEncoding::Kind kind = TextEncoding::probe(file.fileName());
        QCOMPARE(kind == TextEncoding::Kind::Utf8 ? QStringLiteral("utf8") : QStringLiteral("1252"), result);
    } catch (const core::Failure &failure) {
        QVERIFY2(failure.message().contains(result), qPrintable(failure.message()));
    }
    // The bytes 0x80-0x9F of Windows-1252 are not Latin-1.
    QCOMPARE(TextEncoding::decode("\x80\x96\xE4", 3, TextEncoding::Kind::Windows1252), QStringLiteral("€–ä"));
}

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
