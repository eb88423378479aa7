#include "FieldBoxes.h"

#include "DataControl.h"

#include <QLineEdit>

namespace editor {

FieldBoxes::FieldBoxes(logstore::DataControl *control, QObject *parent) : QObject(parent), m_control(control)
{
    connect(m_control, &logstore::DataControl::currentRowChanged, this, &FieldBoxes::show);
}

void FieldBoxes::bind(QLineEdit *box, const QString &field)
{
    m_bound.append({QPointer<QLineEdit>(box), field});
    show();
}

QMap<QString, QString> FieldBoxes::texts() const
{
    QMap<QString, QString> texts;
    for (const auto &[box, field] : m_bound) {
        if (box)
            texts.insert(field, box->text());
    }
    return texts;
}

void FieldBoxes::show()
{
    const QStringList row = m_control->currentRow();
    const QStringList fields = m_control->fieldNames();
    for (const auto &[box, field] : m_bound) {
        if (!box)
            continue;
        const qsizetype index = fields.indexOf(field);
        box->setText(index >= 0 && index < row.size() ? row.at(index) : QString());
    }
}

} // namespace editor
