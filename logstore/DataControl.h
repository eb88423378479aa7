// The data control of the overview and the editor: points at the log database and at a record
// source (a vehicle log or a summary view), re-reads it on refresh, keeps a current row, stores
// texts into it, deletes it, and offers all rows to a grid. It knows no widgets: the windows show
// the current row themselves (the editor through its field boxes) whenever currentRowChanged()
// says so. Holds the file open between refreshes but never holds a lock: every read finishes its
// statement, every write is one short transaction.
#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QAbstractItemModel;

namespace logstore {

class Connection;
class RecordModel;
class RowCache;

class DataControl : public QObject {
    Q_OBJECT
public:
    explicit DataControl(QObject *parent = nullptr);
    ~DataControl() override;

    void setDatabaseName(const QString &path);
    void setRecordSource(const QString &name);

    // Opens the record source anew (the file too, when its name changed): reads the row
    // identities in stored order; the first row becomes current. Throws core::Failure and
    // then keeps the rows it had.
    void refresh();

    int recordCount() const;
    // Zero-based; -1 when there is no current row.
    int absolutePosition() const;
    void setAbsolutePosition(int position);
    void moveLast();

    // Field of the current row as text; throws core::Failure when there is no current row,
    // the field does not exist, or the row was deleted meanwhile.
    QString field(int index) const;
    // The field names of the record source in stored order; empty before the first refresh.
    QStringList fieldNames() const;
    // The current row's texts in field order; empty when no row is current or it has vanished.
    QStringList currentRow() const;

    void edit();
    // Stores the texts, by field name, into the current row in one transaction; a field left
    // out keeps its value. Every text is converted first, so a refused one stores nothing.
    void update(const QMap<QString, QString> &texts);
    // Removes the current row; the row after it (or the new last one) becomes current.
    void deleteCurrent();

    QAbstractItemModel *model();

signals:
    // Another row became current, or the current row was read anew (refresh, a move, a store,
    // a delete).
    void currentRowChanged();

private:
    void requireCurrent() const;
    void requireChangeable() const;
    void moveTo(int position);

    QString m_databaseName;
    QString m_recordSource;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<RowCache> m_rows;
    int m_position = -1;
    std::optional<QStringList> m_current;
    bool m_editing = false;
    RecordModel *m_model = nullptr;
};

} // namespace logstore
