// Text boxes bound to the fields of a data control's current row, in the manner of Qt's widget
// mapper: each box shows its field of the current row whenever that row changes (empty when no
// row is current), and texts() hands what the boxes hold to the data control's update().
#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;

namespace logstore {
class DataControl;
}

namespace editor {

class FieldBoxes : public QObject {
    Q_OBJECT
public:
    explicit FieldBoxes(logstore::DataControl *control, QObject *parent = nullptr);

    // The box shows that field of the current row from now on.
    void bind(QLineEdit *box, const QString &field);
    // The boxes' texts by field name, to be stored into the current row.
    QMap<QString, QString> texts() const;

private:
    void show();

    logstore::DataControl *m_control = nullptr;
    QList<QPair<QPointer<QLineEdit>, QString>> m_bound;
};

} // namespace editor
