// Tells how a CSV file is encoded and turns its bytes into text. A file that is valid UTF-8 (with
// or without byte-order mark) is UTF-8; any other text is taken as Windows-1252, which German
// spreadsheets on Windows write. Qt may lack that code page (no ICU), so its table is here.
#pragma once

#include <QString>

class TextEncoding {
public:
    enum class Kind { Utf8, Windows1252 };

    // Reads the whole file once, block by block. Throws core::Failure when the file cannot be
    // read, is empty (nothing but blanks, line breaks or a byte-order mark) or holds NUL bytes
    // (a binary file, or UTF-16 text).
    static Kind probe(const QString &path);

    static QString decode(const char *data, qsizetype size, Kind kind);

    // The three bytes a UTF-8 file may start with.
    static const QByteArray &utf8Bom();
};
