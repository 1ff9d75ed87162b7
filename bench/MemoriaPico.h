#pragma once
#include <QFile>

// The process's peak resident memory, for the benchmarks that must stay flat as rows grow.
namespace MemoriaPico {

// Peak resident memory since the last reset, in KiB.
inline long KiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith("VmHWM:")) return l.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Starts a new peak from the present resident memory.
inline void Reiniciar()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

}
