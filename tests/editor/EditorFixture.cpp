#include "EditorFixture.h"

#include "Clock.h"

#include <QTest>

EditorFixture::EditorFixture()
{
    toolkit::Clock::setFixedToday(QDate(2024, 6, 15));
    editor = std::make_unique<Bearbeiten1>([this] { return fahrzeug; }, [this] { return datensatznummer; });
}

EditorFixture::~EditorFixture()
{
    editor.reset();
    toolkit::Clock::setFixedToday(std::nullopt);
}

QLineEdit *EditorFixture::text(int number) const
{
    return editor->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(number));
}

QPushButton *EditorFixture::command(int number) const
{
    return editor->findChild<QPushButton *>(QStringLiteral("Command%1").arg(number));
}

bool EditorFixture::activate()
{
    editor->show();
    editor->activateWindow();
    return QTest::qWaitForWindowActive(editor.get());
}

bool EditorFixture::activateOther()
{
    if (!m_other) {
        m_other = std::make_unique<QWidget>();
        m_other->setObjectName(QStringLiteral("other"));
        m_other->resize(200, 100);
    }
    m_other->show();
    m_other->activateWindow();
    return QTest::qWaitForWindowActive(m_other.get());
}

void EditorFixture::put(int number, const QString &text)
{
    this->text(number)->setText(text);
}
