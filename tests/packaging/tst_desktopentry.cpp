// Installs the desktop entry and icon into fresh folders, as cmake --install does, and reads the
// entry back the way a desktop menu does: the commands it and its actions start must be exactly
// the program and the data tool in the chosen prefix, whatever characters the prefix holds.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A desktop entry's string value with its escapes undone: \s, \n, \t, \r and \\.
QString unescapeValue(const QString &value)
{
    const QHash<QChar, QChar> escapes{{u's', u' '}, {u'n', u'\n'}, {u't', u'\t'}, {u'r', u'\r'}};
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const bool escape = value[i] == u'\\' && i + 1 < value.size();
        const QChar c = escape ? value[++i] : value[i];
        out += escape ? escapes.value(c, c) : c;
    }
    return out;
}

// The arguments of an Exec value after its string escapes were undone: quoted arguments with
// backslash escapes inside, plain arguments split at blanks, "%%" as a literal percent.
QStringList execArguments(const QString &exec)
{
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        const bool escaped =
            i + 1 < exec.size() && ((quoted && c == u'\\') || (c == u'%' && exec[i + 1] == u'%'));
        if (escaped) {
            current += exec[++i];
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (c == u' ' && !quoted) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
            continue;
        } else {
            current += c;
        }
        inArgument = true;
    }
    if (quoted)
        return {}; // an unterminated quote makes the whole line invalid
    if (inArgument)
        arguments << current;
    return arguments;
}

// The keys of each group ("Desktop Entry", "Desktop Action bericht", ...) of a desktop entry file.
QMap<QString, QMap<QString, QString>> readEntry(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QMap<QString, QMap<QString, QString>> groups;
    QString group;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            groups[group].insert(line.left(equals), line.mid(equals + 1));
    }
    return groups;
}

} // namespace

class DesktopEntryTest : public QObject {
    Q_OBJECT
private slots:
    void install_data()
    {
        QTest::addColumn<QString>("prefixName");
        QTest::addColumn<bool>("staged");

        // clang-format off
        QTest::newRow("plain prefix") << "tankverzehr" << false;
        QTest::newRow("blank in prefix") << "Meine Programme" << false;
        QTest::newRow("umlaut in prefix") << "Übersicht" << false;
        QTest::newRow("quote and dollar in prefix") << "a\"b$c`d" << false;
        QTest::newRow("percent in prefix") << "100%" << false;
        QTest::newRow("staged through DESTDIR") << "opt tankverzehr" << true;
        // clang-format on
    }

    void install()
    {
        QFETCH(QString, prefixName);
        QFETCH(bool, staged);

        QTemporaryDir dir;
        const QString prefix = dir.filePath(prefixName);
        const QString stage = dir.filePath(QStringLiteral("stage"));

        QProcess cmake;
        if (staged) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DESTDIR"), stage);
            cmake.setProcessEnvironment(environment);
        }
        cmake.start(QStringLiteral(TANKVERZEHR_CMAKE),
                    {QStringLiteral("--install"), QStringLiteral(TANKVERZEHR_PACKAGING_BUILD),
                     QStringLiteral("--prefix"), prefix, QStringLiteral("--component"),
                     QStringLiteral("desktop")});
        QVERIFY(cmake.waitForFinished(60000));
        QVERIFY2(cmake.exitCode() == 0, cmake.readAllStandardError().constData());

        const QString root = staged ? stage + prefix : prefix;
        const QMap<QString, QMap<QString, QString>> groups =
            readEntry(root + QStringLiteral("/share/applications/tankverzehr.desktop"));
        const QMap<QString, QString> entry = groups.value(QStringLiteral("Desktop Entry"));
        QStringList keys;
        for (const char *key : {"Type", "Name", "Icon", "Categories", "Actions"})
            keys << entry.value(QLatin1String(key));
        QCOMPARE(keys,
                 (QStringList{"Application", "Tankverzehr", "tankverzehr", "Utility;", "bericht;sichern;"}));
        QVERIFY(!entry.value(QStringLiteral("Comment")).isEmpty());

        const QString program = prefix + QStringLiteral("/tankverzehr");
        QCOMPARE(execArguments(unescapeValue(entry.value(QStringLiteral("Exec")))), QStringList{program});
        QCOMPARE(unescapeValue(entry.value(QStringLiteral("TryExec"))), program);

        // The actions of the menu entry start the data tool beside the program: their names, then
        // their commands.
        const QString datatool = prefix + QStringLiteral("/tankverzehr-daten");
        const QMap<QString, QString> report = groups.value(QStringLiteral("Desktop Action bericht"));
        const QMap<QString, QString> backup = groups.value(QStringLiteral("Desktop Action sichern"));
        QCOMPARE((QStringList{report.value("Name"), backup.value("Name")}),
                 (QStringList{"Bericht anzeigen", "Log sichern"}));
        QCOMPARE(execArguments(unescapeValue(report.value(QStringLiteral("Exec")))),
                 (QStringList{datatool, "bericht", "--anzeigen", "--benachrichtigen"}));
        QCOMPARE(execArguments(unescapeValue(backup.value(QStringLiteral("Exec")))),
                 (QStringList{datatool, "sichern", "--benachrichtigen"}));

        const QImage icon(root + QStringLiteral("/share/icons/hicolor/32x32/apps/tankverzehr.png"));
        QCOMPARE(icon.size(), QSize(32, 32));
    }
};

QTEST_GUILESS_MAIN(DesktopEntryTest)
#include "tst_desktopentry.moc"
