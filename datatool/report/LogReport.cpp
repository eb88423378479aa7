#include "LogReport.h"

#include "NewFile.h"
#include "ReportData.h"
#include "ReportPainter.h"

#include "Connection.h"
#include "MessageText.h"

#include <QDir>

namespace datatool {

QString LogReport::defaultTarget(const QString &table, const QString &folder, const QDate &day)
{
    return NewFile::firstFree(
        QDir(folder).filePath(
            QStringLiteral("Verbrauchsbericht-%1-%2").arg(table, day.toString(QStringLiteral("yyyy-MM-dd")))),
        QStringLiteral(".pdf"));
}

QString LogReport::run(const QString &logPath, const QString &table, const QString &target,
                       const QString &todayText)
{
    ReportData data;
    {
        const logstore::Connection connection(logPath);
        data = ReportData::read(connection, table);
    }
    NewFile file(target);
    {
        ReportPainter painter(file.device(), todayText);
        painter.paint(data);
    }
    // The writer does not tell of a failed write; the file is checked down to its closing mark.
    file.commit("%%EOF");
    QString message = QStringLiteral("Bericht für \"%1\" geschrieben: \"%2\" (%3")
                          .arg(table, file.target(), core::MessageText::entries(data.entries));
    if (!data.undated.isEmpty())
        message += QStringLiteral(", davon %1 ohne gültiges Kalenderdatum, im Bericht eigens aufgeführt")
                       .arg(data.undated.size());
    return message + QStringLiteral(").");
}

} // namespace datatool
