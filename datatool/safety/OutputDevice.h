// A device that writes straight to a file descriptor, a new file's or standard output's, and
// keeps the first failure: a write that the system refuses or takes only in part is never taken
// for done. What failed is asked once, at the end, where the one German message is given.
// Tests set a fault: from a given byte on, every write fails with a given error, as on a disk
// that has just filled up.
#pragma once

#include <QIODevice>

namespace datatool {

class OutputDevice : public QIODevice {
    Q_OBJECT
public:
    // name says what is written in German, such as "Die Standardausgabe"; it begins the message
    // that errorString() gives after a failure.
    OutputDevice(int descriptor, const QString &name, QObject *parent = nullptr);

    // The system's error number of the first write that failed, 0 while every write went through.
    int failure() const { return m_failure; }
    // The German message for a failure of error: the name, and the reason.
    static QString message(const QString &name, int error);
    qint64 written() const { return m_written; }
    bool isSequential() const override { return true; }

    // Writes past limit bytes (counted over all devices of the process) fail with error; a
    // negative limit takes the fault away.
    static void setFault(qint64 limit, int error);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    int m_descriptor;
    QString m_name;
    int m_failure = 0;
    qint64 m_written = 0;
};

} // namespace datatool
