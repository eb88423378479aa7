// The editor's pure logic: the live recomputation of the consumption and the date check, without a window.
#include "DateCheck.h"
#include "LiveConsumption.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTest>

using Typed = LiveConsumption::Typed;
Q_DECLARE_METATYPE(LiveConsumption::Typed)

class EditorLogicTest : public QObject {
    Q_OBJECT
private slots:
    void recomputation_data();
    void recomputation();
    void currentYearIsTodaysYear_data();
    void currentYearIsTodaysYear();
    void acceptedTextsAreRealPastDates();
};

void EditorLogicTest::recomputation_data()
{
    QTest::addColumn<Typed>("typed");
    QTest::addColumn<QString>("typedText");
    QTest::addColumn<QString>("otherText");
    QTest::addColumn<QString>("consumption");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("expected");

    QTest::newRow("40 l / 3 km") << Typed::Kilometres << "3"
                                 << "40"
                                 << "" << false << "1333,33";
    QTest::newRow("50 l / 650 km") << Typed::Litres << "50"
                                   << "650"
                                   << "9" << false << "7,69";

    QTest::newRow("decimal comma, dot skipped") << Typed::Litres << "4.5,5"
                                                << "100"
                                                << "" << false << "45,5";
    QTest::newRow("blanks around the number") << Typed::Litres << " 42 "
                                              << "600"
                                              << "" << false << "7";
    QTest::newRow("litres 1 km 12 cut not rounded") << Typed::Litres << "1"
                                                    << "12"
                                                    << "" << false << "8,33";

    QTest::newRow("empty typed field refused") << Typed::Litres << ""
                                               << "600"
                                               << "7,5" << true << "";
    QTest::newRow("blanks only refused") << Typed::Kilometres << "  "
                                         << "40"
                                         << "8" << true << "";

    QTest::newRow("second comma refused") << Typed::Litres << "4,5,5"
                                          << "600"
                                          << "8" << true << "";

    QTest::newRow("other negative: only the cut") << Typed::Kilometres << "500"
                                                  << "-40"
                                                  << "3,999" << false << "3,99";
    QTest::newRow("typed zero: only the cut") << Typed::Kilometres << "0"
                                              << "40"
                                              << "1333,3333" << false << "1333,33";
    QTest::newRow("typed negative: only the cut") << Typed::Litres << "-40"
                                                  << "500"
                                                  << "-0,057" << false << "-0,05";

    QTest::newRow("whole number stays whole") << Typed::Litres << "40"
                                              << ""
                                              << "8" << false << "8";
    QTest::newRow("empty consumption stays empty") << Typed::Litres << "40"
                                                   << ""
                                                   << "" << false << "";
}

void EditorLogicTest::recomputation()
{
    QFETCH(Typed, typed);
    QFETCH(QString, typedText);
    QFETCH(QString, otherText);
    QFETCH(QString, consumption);
    QFETCH(bool, refused);
    QFETCH(QString, expected);

    const LiveConsumption::Outcome outcome =
        LiveConsumption::afterKeyRelease(typed, typedText, otherText, consumption);
    QCOMPARE(outcome.refused, refused);
    if (!refused)
        QCOMPARE(outcome.consumptionText, expected);
}

void EditorLogicTest::currentYearIsTodaysYear_data()
{
    QTest::addColumn<QString>("today");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");

    // A year ending in 99 is no reason to take today for the 20th century, nor any other for the 21st.
    QTest::newRow("2099 accepts 2050") << "15.06.2099"
                                       << "01.01.2050"
                                       << "";
    QTest::newRow("2099 refuses 2100") << "15.06.2099"
                                       << "01.01.2100" << DateCheck::inFuture();
    QTest::newRow("1999 refuses 2005") << "15.06.1999"
                                       << "01.01.2005" << DateCheck::inFuture();
    QTest::newRow("1999 accepts 1998") << "15.06.1999"
                                       << "31.12.1998"
                                       << "";
    QTest::newRow("2150 accepts 2120") << "15.06.2150"
                                       << "01.01.2120"
                                       << "";
    QTest::newRow("day kept from today") << "09.03.2024"
                                         << "10.03.2024" << DateCheck::inFuture();
}

void EditorLogicTest::currentYearIsTodaysYear()
{
    QFETCH(QString, today);
    QFETCH(QString, date);
    QFETCH(QString, message);

    QCOMPARE(DateCheck::refusal(date, today).value_or(QString()), message);
}

void EditorLogicTest::acceptedTextsAreRealPastDates()
{
    // Random texts built from the characters a date is made of: whatever passes must be a real
    // day from 1900 up to today, and nothing may throw.
    const QDate today(2024, 6, 15);
    const QString todayText = QStringLiteral("15.06.2024");
    const QString alphabet = QStringLiteral("0123456789.  ,-+/aE");
    QRandomGenerator random(20240615);
    int accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        QString text;
        if (random.bounded(4) == 0) {
            text = QStringLiteral("%1.%2.%3")
                       .arg(random.bounded(40), 2, 10, QLatin1Char('0'))
                       .arg(random.bounded(15), 2, 10, QLatin1Char('0'))
                       .arg(1890 + random.bounded(140));
        } else {
            const int length = random.bounded(13);
            for (int j = 0; j < length; ++j)
                text.append(alphabet.at(random.bounded(alphabet.size())));
        }
        if (DateCheck::refusal(text, todayText))
            continue;
        ++accepted;
        const QDate date = QDate(text.right(4).toInt(), text.mid(3, 2).trimmed().toInt(),
                                 text.left(2).remove(QLatin1Char('+')).trimmed().toInt());
        QVERIFY2(date.isValid(), qPrintable(text));
        QVERIFY2(date <= today, qPrintable(text));
        QVERIFY2(date.year() >= 1900, qPrintable(text));
    }
    QVERIFY(accepted > 1000);
}

QTEST_GUILESS_MAIN(EditorLogicTest)
#include "tst_editorlogic.moc"
