// The data control of the overview and the editor: points at the log database and at a record
// source (a vehicle log or a summary view), re-reads it on refresh, keeps a current row, shows
// that row in bound text boxes, stores the boxes' texts into it, deletes it, and offers all
// rows to a grid. Holds the file open between refreshes but never holds a lock: every read
// finishes its statement, every write is one short transaction.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QAbstractItemModel;
class QLineEdit;

namespace logstore {

class Connection;
class RecordModel;
class RowSet;

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
    QString field(const QString &name) const;

    // The box shows that field of the current row from now on; its text is what update() stores.
    void bind(QLineEdit *box, const QString &field);

    void edit();
    // Stores the texts of the bound boxes into the current row in one transaction.
    void update();
    // Removes the current row; the row after it (or the new last one) becomes current.
    void deleteCurrent();

    QAbstractItemModel *model();

private:
    void requireCurrent() const;
    void requireChangeable() const;
    void moveTo(int position);
    void showBound();

    QString m_databaseName;
    QString m_recordSource;
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<RowSet> m_rows;
    int m_position = -1;
    std::optional<QStringList> m_current;
    bool m_editing = false;
    QList<QPair<QPointer<QLineEdit>, QString>> m_bound;
    RecordModel *m_model = nullptr;
};

} // namespace logstore
