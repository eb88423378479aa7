// The German reason for each system error the program meets when it writes.
#include "SystemError.h"

#include <QRegularExpression>
#include <QTest>
#include <cerrno>
#include <cstring>

class SystemErrorTest : public QObject {
    Q_OBJECT
private slots:
    void reason_data();
    void reason();
};

void SystemErrorTest::reason_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("expected");

    QTest::newRow("full disk") << ENOSPC << "Der Datenträger ist voll.";
    QTest::newRow("quota") << EDQUOT << "Der Ihnen zugeteilte Speicherplatz ist aufgebraucht.";
    QTest::newRow("no access") << EACCES << "Der Zugriff ist nicht erlaubt.";
    QTest::newRow("not permitted") << EPERM << "Der Zugriff ist nicht erlaubt.";
    QTest::newRow("read-only file system") << EROFS << "Der Datenträger ist schreibgeschützt eingebunden.";
    QTest::newRow("is a folder") << EISDIR << "Das ist ein Ordner, keine Datei.";
    QTest::newRow("not found") << ENOENT << "Die Datei oder der Ordner wurde nicht gefunden.";
    QTest::newRow("closed pipe") << EPIPE << "Der Empfänger der Ausgabe hat die Verbindung geschlossen.";
    QTest::newRow("too many files") << EMFILE << "Es sind zu viele Dateien geöffnet.";
    QTest::newRow("too many in the system") << ENFILE << "Es sind zu viele Dateien geöffnet.";
    QTest::newRow("anything else") << EIO << QStringLiteral("Systemfehler %1.").arg(EIO);
}

void SystemErrorTest::reason()
{
    QFETCH(int, error);
    QFETCH(QString, expected);
    const QString reason = core::SystemError::reason(error);
    QCOMPARE(reason, expected);
    // None of the system's English words reaches the user.
    const QStringList english = QString::fromLocal8Bit(std::strerror(error))
                                    .split(QRegularExpression(QStringLiteral("\\W+")), Qt::SkipEmptyParts);
    for (const QString &word : english) {
        if (word.size() > 2)
            QVERIFY2(!reason.contains(word, Qt::CaseInsensitive), qPrintable(word));
    }
}

QTEST_APPLESS_MAIN(SystemErrorTest)
#include "tst_systemerror.moc"
