// What one key release in the editor's litres or kilometres box makes of the consumption: the
// recomputation from both boxes, cut to two decimals, or the refusal of a text that is no number.
#include "Failure.h"
#include "LiveConsumption.h"

#include <QTest>

using Typed = core::LiveConsumption::Typed;
Q_DECLARE_METATYPE(Typed)

class LiveConsumptionTest : public QObject {
    Q_OBJECT
private slots:
    void afterKeyRelease_data();
    void afterKeyRelease();
};

void LiveConsumptionTest::afterKeyRelease_data()
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

void LiveConsumptionTest::afterKeyRelease()
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

QTEST_APPLESS_MAIN(LiveConsumptionTest)
#include "tst_liveconsumption.moc"
