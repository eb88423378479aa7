// Tells how a CSV file is encoded and turns its bytes into text. A file that is valid UTF-8 (with
// or without byte-order mark) is UTF-8; any other text is taken as Windows-1252, which German
// spreadsheets on Windows write. Qt may lack that code page (no ICU), so its table is here. A file
// that starts with a UTF-16 byte-order mark ("Unicode-Text" of Excel and LibreOffice) is UTF-16.
#pragma once

#include <QString>

namespace datatool {

class TextEncoding {
public:
    enum class Kind { Utf8, Windows1252, Utf16LittleEndian, Utf16BigEndian };

    // Reads the whole file once, block by block. Throws core::Failure when the file cannot be
    // read, is empty (nothing but blanks, line breaks or a byte-order mark) or holds NUL bytes
    // outside UTF-16 (a binary file, or UTF-16 text without byte-order mark).
    static Kind probe(const QString &path);

    // UTF-8 and Windows-1252 bytes; UTF-16 files are turned into UTF-8 as they are read.
    static QString decode(const char *data, qsizetype size, Kind kind);

    // The three bytes a UTF-8 file may start with.
    static const QByteArray &utf8Bom();
};

} // namespace datatool
