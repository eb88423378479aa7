// When a window that another window showed hides itself while it is the active window, the
// window that showed it becomes the active window again, whatever the window manager (or the
// lack of one) would do. The editor relies on it: after storing it hides, and the overview,
// activated again, re-reads the log.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace toolkit {

class ReturnFocus : public QObject {
    Q_OBJECT
public:
    // Watches `shown`; owned by it.
    ReturnFocus(QWidget *shown, QWidget *opener);

    void setOpener(QWidget *opener);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_shown = nullptr;
    QPointer<QWidget> m_opener;
};

} // namespace toolkit
