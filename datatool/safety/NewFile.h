// A file that must not exist yet, made the one way every file of the data tool is made: written
// under a temporary name in the target's folder, every write and the final flush checked, synced
// to the disk, moved into place without ever replacing a file, and the move synced, so that a
// file reported as written is whole and stays there through a power cut. Any failure leaves
// nothing under the final name and no temporary file.
//
// The temporary file is locked while its run lives. A run that was killed leaves its temporary
// file behind unlocked; the next run in that folder removes such files, and only those.
#pragma once

#include "TemporaryFile.h"

#include <QByteArray>
#include <QString>
#include <memory>

class QIODevice;

namespace datatool {

class OutputDevice;

class NewFile {
public:
    // Throws core::Failure when the target exists or its folder is missing or not writable.
    explicit NewFile(const QString &target);
    // Removes the temporary file unless commit() was reached.
    ~NewFile();
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    // Open for writing.
    QIODevice &device();
    // For writers that open the file themselves (the database engine): the temporary file exists
    // and is empty.
    const QString &temporaryPath() const { return m_temporary; }

    // Checks what was written (and that the file ends with ending, when one is given), syncs it
    // and moves it into place. Throws core::Failure, having removed the file, when anything
    // fails or the target appeared meanwhile.
    void commit(const QByteArray &ending = {});

    const QString &target() const { return m_target; }

    // The first of base + suffix, base-2 + suffix, base-3 + suffix ... that does not exist.
    static QString firstFree(const QString &base, const QString &suffix);

private:
    [[noreturn]] void fail(int error);
    void removeTemporary();
    // Removes what killed runs left in folder: temporary files no process holds.
    static void removeLeftovers(const QString &folder);

    QString m_target;
    QString m_temporary;
    TemporaryFile m_file;
    std::unique_ptr<OutputDevice> m_device;
};

} // namespace datatool
