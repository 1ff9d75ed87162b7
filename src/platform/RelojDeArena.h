#pragma once
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QThread>

// The wait pointer for as long as it lives, whatever way the work ends; nothing where there is
// no screen or off the window thread.
class RelojDeArena {
public:
    RelojDeArena()
        : m_puesto(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
                   QThread::currentThread() == QCoreApplication::instance()->thread())
    {
        if (m_puesto) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~RelojDeArena()
    {
        if (m_puesto) QGuiApplication::restoreOverrideCursor();
    }
    RelojDeArena(const RelojDeArena&) = delete;
    RelojDeArena& operator=(const RelojDeArena&) = delete;

private:
    bool m_puesto;
};
