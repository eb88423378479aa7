#include "LogFileMaker.h"

#include "Failure.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QAtomicInt makerCounter;
}

QStringList LogFileMaker::statements(const QString &schema)
{
    QStringList result;
    QString current;
    QChar quote;
    for (qsizetype i = 0; i < schema.size(); ++i) {
        const QChar c = schema[i];
        if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('-') && i + 1 < schema.size() && schema[i + 1] == QLatin1Char('-')) {
            while (i < schema.size() && schema[i] != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
        } else if (c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                result << current.trimmed();
            current.clear();
        } else {
            if (c == QLatin1Char('"') || c == QLatin1Char('\''))
                quote = c;
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        result << current.trimmed();
    return result;
}

void LogFileMaker::create(const QString &path, const QString &schema)
{
    if (QFileInfo::exists(path))
        throw core::Failure(
            QStringLiteral("Die Datei \"%1\" gibt es schon; sie bleibt unverändert.").arg(path));
    const QString temporary = path + QStringLiteral(".neu-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(temporary);
    const QString name = QStringLiteral("logfilemaker-%1").arg(makerCounter.fetchAndAddRelaxed(1));
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(temporary);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            db.transaction();
            for (const QString &statement : statements(schema)) {
                QSqlQuery query(db);
                if (!query.exec(statement)) {
                    error = query.lastError().text();
                    break;
                }
            }
            if (error.isEmpty() && !db.commit())
                error = db.lastError().text();
            if (!error.isEmpty())
                db.rollback();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    // QFile::rename never replaces an existing file, so a log made meanwhile stays as it is.
    if (error.isEmpty() && !QFile::rename(temporary, path))
        error = QStringLiteral("Die Datei kann nicht umbenannt werden.");
    if (!error.isEmpty()) {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
        throw core::Failure(
            QStringLiteral("Die Datenbank \"%1\" konnte nicht angelegt werden: %2").arg(path, error));
    }
}
