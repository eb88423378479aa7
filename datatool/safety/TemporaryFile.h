// The temporary file behind a NewFile as the operating system keeps it: made new under a name no
// other file has, held by this process for as long as it is open, so that no other run takes it
// for a leftover, synced to the disk and given its final name without replacing a file. POSIX
// systems hold it with flock; Windows with the lock of one byte far past its end, since a lock
// there keeps no other program, the database engine included, from reading or writing the file.
// Failures are told as the C library's error numbers, which core::SystemError words.
#pragma once

#include <QString>

namespace datatool {

class TemporaryFile {
public:
    TemporaryFile() = default;
    // Closes the file; it stays under its name.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Makes an empty file named prefix followed by six letters and digits, open for reading and
    // writing and held. Returns 0 or the error number.
    int create(const QString &prefix);
    // The C library's descriptor for writing; -1 while no file is open.
    int descriptor() const { return m_descriptor; }
    const QString &path() const { return m_path; }

    // Gives the file the usual permissions of a finished file and waits until the disk holds
    // what was written. Returns 0 or the error number.
    int sync();
    // The file's size as the system has it, or -1 with error set.
    qint64 size(int &error) const;
    // Reads exactly count bytes from offset on; false when the file has fewer.
    bool readAt(char *data, qint64 count, qint64 offset) const;
    // Gives the file the name target unless a file of that name exists (EEXIST then) and waits
    // until the folder holds the new name. Returns 0 or the error number.
    int moveTo(const QString &target);
    // Removes the file from the disk under its present name (the final one after moveTo).
    void remove();
    void close();

    // Removes the file at path when no process holds it, as a run that was killed left it.
    static void removeUnheld(const QString &path);
    // Removes the file at path, whoever made it.
    static void removeFile(const QString &path);

private:
    QString m_path;
    int m_descriptor = -1;
};

} // namespace datatool
