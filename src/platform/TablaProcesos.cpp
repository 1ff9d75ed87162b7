#include "platform/TablaProcesos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

QByteArray Leer(const QString& ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The first number of the "Uid:" line of /proc/<pid>/status (real, effective, saved, file
// system): whose process it is.
qint64 UsuarioReal(const QByteArray& estado)
{
    for (const QByteArray& linea : estado.split('\n')) {
        if (!linea.startsWith("Uid:")) continue;
        const QList<QByteArray> campos = linea.mid(4).simplified().split(' ');
        bool ok = false;
        const qint64 uid = campos.value(0).toLongLong(&ok);
        return ok ? uid : -1;
    }
    return -1;
}

class TablaSistema : public TablaProcesos {
public:
    bool Listar(QList<Proceso>& procesos, QString& error) override
    {
        procesos.clear();
        QDir proc(QStringLiteral("/proc"));
        if (!proc.exists() || !proc.isReadable()) {
            error = QStringLiteral("No se pudo leer la lista de procesos del sistema (/proc)");
            return false;
        }
        for (const QString& nombre : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            bool numero = false;
            const qint64 pid = nombre.toLongLong(&numero);
            if (!numero) continue;
            const QString carpeta = QStringLiteral("/proc/") + nombre;
            Proceso p;
            p.pid = pid;
            // A deleted program keeps its name with " (deleted)" after it; the name still counts.
            p.ejecutable = QFileInfo(QFile::symLinkTarget(carpeta + QStringLiteral("/exe"))).fileName();
            if (p.ejecutable.endsWith(QLatin1String(" (deleted)"))) p.ejecutable.chop(10);
            p.comando = QString::fromLocal8Bit(Leer(carpeta + QStringLiteral("/comm"))).trimmed();
            p.usuario = UsuarioReal(Leer(carpeta + QStringLiteral("/status")));
            procesos.append(p);
        }
        return true;
    }

    void Terminar(qint64 pid, bool forzar) override
    {
        if (pid > 0) ::kill(static_cast<pid_t>(pid), forzar ? SIGKILL : SIGTERM);
    }

    bool Terminado(qint64 pid) override
    {
        const QByteArray estado = Leer(QStringLiteral("/proc/%1/stat").arg(pid));
        if (estado.isEmpty()) return true;
        // "pid (comm) S ...": the command may hold blanks and parentheses; the state follows the last ")".
        const int cierre = estado.lastIndexOf(')');
        const char s = cierre >= 0 && cierre + 2 < estado.size() ? estado.at(cierre + 2) : '?';
        return s == 'Z' || s == 'X' || s == 'x';
    }
};

TablaProcesos* g_tabla = nullptr;

}

TablaProcesos& TablaProcesos::Sistema()
{
    static TablaSistema sistema;
    return sistema;
}

qint64 TablaProcesos::UsuarioActual() { return static_cast<qint64>(::getuid()); }

TablaProcesos& TablaProcesos::Actual() { return g_tabla ? *g_tabla : Sistema(); }

void TablaProcesos::Instalar(TablaProcesos* tabla) { g_tabla = tabla; }
