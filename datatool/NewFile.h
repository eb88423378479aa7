// A file that must not exist yet: written under a temporary name beside its target and moved into
// place only when complete, so a reader never sees half a file and an existing file is never
// overwritten. Dropped without a trace when commit() is not reached.
#pragma once

#include <QString>
#include <QTemporaryFile>

class NewFile {
public:
    // Throws core::Failure when the target exists or its folder is missing or not writable.
    explicit NewFile(const QString &target);
    ~NewFile();
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    // Open for writing.
    QIODevice &device() { return m_temporary; }
    // For writers that open the file themselves (the database engine): the temporary file exists
    // and is empty, and it is closed here.
    QString temporaryPath();

    // Moves the file into place; throws when the target appeared meanwhile or the move fails.
    void commit();

    const QString &target() const { return m_target; }

    // The first of base + suffix, base-2 + suffix, base-3 + suffix ... that does not exist.
    static QString firstFree(const QString &base, const QString &suffix);

private:
    QString m_target;
    QTemporaryFile m_temporary;
};
