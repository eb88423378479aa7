// Makes a new, empty log database file from the schema. Used by the build and by the tests;
// the program itself never creates the file, so this is kept out of the logstore library.
#pragma once

#include <QString>
#include <QStringList>

class LogFileMaker {
public:
    // Creates the file at path from the schema's statements. Refuses (throws core::Failure)
    // when a file is already there: an existing log is never touched. The file is built under
    // a temporary name and moved into place whole, so no half-made file is ever left.
    static void create(const QString &path, const QString &schema);

    // The schema's statements, split at the semicolons outside quotes, comments dropped.
    static QStringList statements(const QString &schema);
};
