// The report of the built tankverzehr-daten, read back the way a person would: its text through
// pdftotext, its first page as a picture through pdftoppm (poppler-utils).
#include "DataToolProcess.h"

#include "TestLog.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

const QString dateForm = QStringLiteral("dd.MM.yyyy");

// Runs a poppler tool and gives its standard output.
QByteArray poppler(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return "missing " + tool.toUtf8();
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

// The lines of the PDF's text, each with its runs of blanks made one.
QStringList textLines(const QString &pdf)
{
    QStringList lines;
    for (const QString &line :
         QString::fromUtf8(poppler(QStringLiteral("pdftotext"), {"-layout", pdf, "-"})).split('\n'))
        lines << line.simplified();
    return lines;
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT
private slots:
    void numbersAndPicture()
    {
        TestLog log;
        // Dated entries in two years and one whose date is no calendar day; totals 1300 km and 92 l.
        log.record("Auto", {{"10.12.2022", "1100", "77", "7"},
                            {"31.02.2023", "50", "4", "8"},
                            {"20.03.2023", "150", "11", "7,33"}});
        log.record("Motorrad", {{"01.05.2023", "180", "6,3", "3,5"}});
        const QString pdf = log.filePath(QStringLiteral("Bericht.pdf"));
        const auto result = DataToolProcess::run({"bericht", "--ziel", pdf, "--log", log.path()});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out,
                 QStringLiteral("Bericht für \"Auto\" geschrieben: \"%1\" (3 Einträge, davon 1 ohne gültiges "
                                "Kalenderdatum, im Bericht eigens aufgeführt).\n")
                     .arg(pdf));

        const QStringList lines = textLines(pdf);
        const QString today = QDate::currentDate().toString(dateForm);
        for (const QString &expected :
             {QStringLiteral("Verbrauchsbericht Auto"),
              QStringLiteral("Zeitraum: 10.12.2022 bis 20.03.2023 · 3 Einträge · erstellt am %1").arg(today),
              QStringLiteral("Gesamte Kilometer Gesamte Liter Durchschnittsverbrauch"),
              // As the overview shows them: 9200 / 1300 = 7,0769... cut to 7,07.
              QStringLiteral("1.300 km 92 l 7,07 l/100 km"),
              QStringLiteral("Jahr Tankungen Kilometer Liter Liter pro 100 km"),
              QStringLiteral("2022 1 1.100 77 7,00"), QStringLiteral("2023 1 150 11 7,33"),
              QStringLiteral("Beste Tankung: 7,00 l/100 km am 10.12.2022 (1.100 km, 77 l)"),
              QStringLiteral("Schlechteste Tankung: 7,33 l/100 km am 20.03.2023 (150 km, 11 l)"),
              QStringLiteral("Monat Tankungen Kilometer Liter Liter pro 100 km"),
              QStringLiteral("01.2023 0 – – –"), QStringLiteral("12.2022 1 1.100 77 7,00"),
              QStringLiteral("03.2023 1 150 11 7,33"), QStringLiteral("Einträge ohne gültiges Kalenderdatum"),
              QStringLiteral("2 31.02.2023 50 4 8")})
            QVERIFY2(lines.contains(expected),
                     qPrintable(expected + QStringLiteral("\n---\n") + lines.join('\n')));
        QVERIFY(!lines.join('\n').contains(QStringLiteral("180")));
        // The months table begins with the log, not twelve months before its last fill-up.
        QVERIFY(!lines.contains(QStringLiteral("11.2022 0 – – –")));

        const QString prefix = log.filePath(QStringLiteral("seite"));
        poppler(QStringLiteral("pdftoppm"), {"-png", "-r", "60", "-f", "1", "-l", "1", pdf, prefix});
        const QImage page(prefix + QStringLiteral("-1.png"));
        QVERIFY2(!page.isNull(), "pdftoppm gave no picture");
        QVERIFY(qAbs(double(page.width()) / page.height() - 210.0 / 297.0) < 0.01);
        // The moving average is drawn: its line is the one red on the page.
        int red = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 110 && c.blue() < 110;
            }
        }
        QVERIFY2(red > 20, qPrintable(QString::number(red)));
    }

    void timeAxis_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("daysApart");
        QTest::addColumn<QString>("label"); // the form of every label below the chart

        // clang-format off
        QTest::newRow("seven years: the years alone") << QDate(2016, 1, 10) << 30 << 90 << "\\d{4}";
        QTest::newRow("three years weekly from December: whole month labels") << QDate(2015, 12, 1) << 150 << 7 << "\\d\\d\\.\\d{4}";
        QTest::newRow("nine months: month and year") << QDate(2016, 1, 10) << 10 << 30 << "\\d\\d\\.\\d{4}";
        QTest::newRow("three months: month and year") << QDate(2016, 1, 10) << 4 << 25 << "\\d\\d\\.\\d{4}";
        QTest::newRow("one month: the days") << QDate(2016, 1, 10) << 6 << 5 << "\\d\\d\\.\\d\\d\\.";
        QTest::newRow("one day") << QDate(2016, 1, 10) << 1 << 1 << "\\d\\d\\.\\d\\d\\.";
        // clang-format on
    }

    void timeAxis()
    {
        QFETCH(QDate, from);
        QFETCH(int, entries);
        QFETCH(int, daysApart);
        QFETCH(QString, label);
        TestLog log;
        QList<QStringList> rows;
        for (int i = 0; i < entries; ++i)
            rows << QStringList{from.addDays(i * daysApart).toString(dateForm), "500", "35", "7"};
        log.record("Auto", rows);
        const QString pdf = log.filePath(QStringLiteral("Bericht.pdf"));
        QCOMPARE(DataToolProcess::run({"bericht", "--ziel", pdf, "--log", log.path()}).exitCode, 0);
        // A line of at least three labels of that form, none of them twice.
        const QRegularExpression axis(QStringLiteral("^%1( %1){2,}$").arg(label));
        const QStringList lines = textLines(pdf);
        const auto found = std::find_if(lines.cbegin(), lines.cend(),
                                        [&axis](const QString &line) { return axis.match(line).hasMatch(); });
        QVERIFY2(found != lines.cend(), qPrintable(lines.join('\n')));
        const QStringList labels = found->split(QLatin1Char(' '));
        QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
    }

    void emptyLog()
    {
        TestLog log;
        const QString pdf = log.filePath(QStringLiteral("leer.pdf"));
        const auto result =
            DataToolProcess::run({"bericht", "--fahrzeug", "Motorrad", "--ziel", pdf, "--log", log.path()});
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = textLines(pdf);
        QVERIFY(lines.contains(QStringLiteral("Verbrauchsbericht Motorrad")));
        QVERIFY(lines.contains(QStringLiteral("Das Log \"Motorrad\" enthält keine Einträge.")));
    }

    void withoutItsProgram()
    {
        // The data tool alone in a folder: the report is refused with a message, no file is written,
        // and the other commands still work.
        TestLog log;
        const QString program = log.filePath(QStringLiteral("tankverzehr-daten"));
        QVERIFY(QFile::copy(DataToolProcess::builtProgram(), program));
        const QString pdf = log.filePath(QStringLiteral("Bericht.pdf"));
        const auto env = QProcessEnvironment::systemEnvironment();
        const auto report = DataToolProcess::run({"bericht", "--ziel", pdf, "--log", log.path()}, env,
                                                 DataToolProcess::Output::Captured, program);
        QCOMPARE(report.exitCode, 1);
        QCOMPARE(report.out, QString());
        QVERIFY2(
            report.err.startsWith(QStringLiteral("Der Bericht kann nicht erstellt werden: das Programm \"%1")
                                      .arg(log.filePath(QStringLiteral("tankverzehr-daten-bericht")))),
            qPrintable(report.err));
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(DataToolProcess::run({"export", "--log", log.path()}, env, DataToolProcess::Output::Captured,
                                      program)
                     .exitCode,
                 0);
    }

    void intoDocumentsAndShown_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QByteArray>("userDirs"); // the desktop's user-dirs.dirs, if any
        QTest::addColumn<QString>("folder");

        // clang-format off
        QTest::newRow("no desktop folders, English") << "en_GB.UTF-8" << QByteArray() << "home/Documents/";
        QTest::newRow("no desktop folders, German") << "de_DE.UTF-8" << QByteArray() << "home/Dokumente/";
        QTest::newRow("the desktop's folder") << "de_DE.UTF-8" << QByteArray("XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n") << "home/Papiere/";
        // clang-format on
    }

    void intoDocumentsAndShown()
    {
        QFETCH(QString, language);
        QFETCH(QByteArray, userDirs);
        QFETCH(QString, folder);
        TestLog log;
        log.record("Auto", {{"10.06.2022", "100", "7", "7"}});
        QTemporaryDir desktop;
        // Stand-ins for the desktop's viewer and notifications that note what they were given.
        const QString bin = desktop.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        for (const QString &tool : {QStringLiteral("xdg-open"), QStringLiteral("notify-send")}) {
            const QString script = QDir(bin).filePath(tool);
            TestLog::writeFile(script, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"%1.txt\"\n")
                                           .arg(desktop.filePath(tool))
                                           .toUtf8());
            QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), desktop.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), desktop.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("PATH"),
                           bin + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LC_MESSAGES"));
        environment.insert(QStringLiteral("LANG"), language);
        if (!userDirs.isEmpty()) {
            QVERIFY(QDir().mkpath(desktop.filePath(QStringLiteral("config"))));
            TestLog::writeFile(desktop.filePath(QStringLiteral("config/user-dirs.dirs")), userDirs);
        }

        const QString documents = desktop.filePath(folder);
        const QString day = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        const QStringList expected{documents + QStringLiteral("Verbrauchsbericht-Auto-%1.pdf").arg(day),
                                   documents + QStringLiteral("Verbrauchsbericht-Auto-%1-2.pdf").arg(day)};
        for (const QString &pdf : expected) {
            QFile::remove(desktop.filePath(QStringLiteral("xdg-open.txt")));
            const auto result = DataToolProcess::run(
                {"bericht", "--anzeigen", "--benachrichtigen", "--log", log.path()}, environment);
            QCOMPARE(result.exitCode, 0);
            QVERIFY(QFileInfo::exists(pdf));
            QTRY_COMPARE(TestLog::bytes(desktop.filePath(QStringLiteral("xdg-open.txt"))),
                         pdf.toUtf8() + '\n');
            QTRY_VERIFY(
                TestLog::bytes(desktop.filePath(QStringLiteral("notify-send.txt"))).contains(pdf.toUtf8()));
        }

        // No viewer for PDF files: xdg-open says so in English and with its exit code; the tool says it
        // in German and ends with 1, the report kept.
        TestLog::writeFile(QDir(bin).filePath(QStringLiteral("xdg-open")),
                           "#!/bin/sh\necho 'xdg-open: no method available for opening' >&2\nexit 3\n");
        const auto refused =
            DataToolProcess::run({"bericht", "--anzeigen", "--log", log.path()}, environment);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("Kein Programm zum Anzeigen gefunden")),
                 qPrintable(refused.err));
    }
};

QTEST_GUILESS_MAIN(ReportTest)
#include "tst_report.moc"
