// One editor window over a fresh log of its own, with every message box recorded and today fixed,
// for the editor's window tests.
#pragma once

#include "Bearbeiten1.h"
#include "MessageRecorder.h"
#include "TestLog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVariant>
#include <memory>

class EditorFixture {
public:
    // Today is 15.06.2024 while the fixture lives.
    EditorFixture();
    ~EditorFixture();

    TestLog log;
    MessageRecorder messages;
    QString fahrzeug = QStringLiteral("Auto");
    QVariant datensatznummer;
    std::unique_ptr<Bearbeiten1> editor;

    QLineEdit *text(int number) const;
    QPushButton *command(int number) const;

    // Shows the editor and makes it the active window, which runs its activation. Returns false
    // when the window did not become active.
    bool activate();
    // Another window of the program takes the activation, as the overview does when the user
    // picks another row.
    bool activateOther();
    // Replaces a field's text without a key release, the way a re-read or a paste would.
    void put(int number, const QString &text);

private:
    std::unique_ptr<QWidget> m_other;
};
