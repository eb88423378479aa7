// A fresh log database in a temporary folder of its own, made from the schema as the build
// makes it, for tests of the storage below the windows (TestLog adds the program directory).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

class ScratchLog {
public:
    ScratchLog();
    ScratchLog(const ScratchLog &) = delete;
    ScratchLog &operator=(const ScratchLog &) = delete;

    QString dir() const { return m_dir.path(); }
    QString path() const { return filePath(QStringLiteral("Verbrauch.mdb")); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    // Writes a file of that name beside the log and returns its path.
    QString write(const QString &name, const QByteArray &bytes) const;
    static void writeFile(const QString &path, const QByteArray &bytes);

    // Appends each row (Datum, Gefahrene Kilometer, Getankte Liter, Verbrauch auf 100 km in Liter)
    // with addNew, setField and update, as the calculator records a result.
    static void record(const QString &path, const QString &table, const QList<QStringList> &rows);
    void record(const QString &table, const QList<QStringList> &rows) const { record(path(), table, rows); }
    // Appends count generated rows in one statement (row n: "01.01.2024", n km, n/10 l, 7,5).
    void appendMany(const QString &table, int count);
    // All rows in stored order, each field as the program reads it back.
    QList<QStringList> rows(const QString &table) const;
    int count(const QString &table) const;

    // The schema text the build uses.
    static QString schema();
    // SQL that puts a table "Auto" of another make in place of the schema's: the log's fields in
    // their order with the types given (fewer types leave out the last fields, an empty type
    // declares none), then the table's options such as STRICT.
    static QString otherCarTable(const QStringList &types, const QString &options = {});
    // A file's bytes; empty when it cannot be read.
    static QByteArray bytes(const QString &path);
    // Runs one statement on a short-lived connection of the test's own, behind the program's
    // back, and returns its rows; throws std::runtime_error when the engine refuses it.
    static QList<QVariantList> query(const QString &path, const QString &sql,
                                     const QVariantList &values = {});

private:
    QTemporaryDir m_dir;
};
