// What the data tool asks of the desktop when it is started from the desktop menu: the documents
// folder, a viewer for the report (xdg-open, or on Windows the program set for PDF files) and a notification
// with the result (notify-send).
#pragma once

#include <QString>

namespace datatool {

class Desktop {
public:
    // The user's documents folder, made when missing: the desktop's own (XDG user dirs), else
    // ~/Dokumente in a German session and ~/Documents in any other. Throws core::Failure when it
    // cannot be made.
    static QString documentsFolder();

    // Hands the file to the desktop's viewer without waiting for it; throws core::Failure when
    // the desktop has no viewer (no xdg-open) or it cannot be started.
    static void open(const QString &path);

    // Shows the message as a notification when notify-send is there; otherwise does nothing.
    static void notify(const QString &message, bool failed);

private:
    // Whether the desktop names a documents folder of its own.
    static bool hasXdgDocuments();
};

} // namespace datatool
