#include "shell/ProgramasExternos.h"

#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Procesos.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace ProgramasExternos {

namespace {
const QString kOrigen = QStringLiteral("Quorvan.General");
constexpr int kPausaMs = 20;
}

QString CarpetaDe(const QString& rutaPrograma) { return QFileInfo(rutaPrograma).path(); }

QString RutaAsistente(const QString& carpetaPrograma)
{
    return carpetaPrograma.endsWith(QLatin1Char('/')) ? carpetaPrograma + kAsistente
                                                      : carpetaPrograma + QLatin1Char('/') + kAsistente;
}

QStringList ArgumentosAsistente(const QString& directorioTrabajo, const Platform::Version& v,
                                const QString& rutaPrograma)
{
    return {directorioTrabajo, QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision), rutaPrograma,
            QString(), QStringLiteral("0.0.0")};
}

void EjecutarActualizador()
{
    try {
        const QString programa = Platform::ProgramPath();
        const QString carpeta = CarpetaDe(programa);
        const int e = Procesos::IniciarSeparado(
            RutaAsistente(carpeta), ArgumentosAsistente(General::DirectorioTrabajo, Platform::ProgramVersion(), programa),
            carpeta);
        if (e != 0) throw Procesos::ErrorDeSistema(e, kOrigen);
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Imposible realizar la actualización del software."), Vbc::vbCritical,
                        QString::number(e.number) + QLatin1Char(' ') + e.description);
    }
}

QString CarpetaPadre(const QString& carpetaPrograma)
{
    QString carpeta = carpetaPrograma;
    while (!carpeta.isEmpty() && !carpeta.endsWith(QLatin1Char('/'))) carpeta.chop(1);
    return carpeta;
}

QString CarpetaCliente(const QString& carpetaPrograma) { return CarpetaPadre(carpetaPrograma) + kCarpetaCliente; }

bool EsCliente(const TablaProcesos::Proceso& proceso)
{
    const QString nombre = kProgramaCliente.toLower();
    return Vb::Trim(proceso.ejecutable).toLower().contains(nombre) ||
           Vb::Trim(proceso.comando).toLower().contains(nombre);
}

bool DetenerProcesos(TablaProcesos& tabla, const QList<qint64>& pids, int msTerminar, int msTotal)
{
    QList<qint64> quedan = pids;
    for (const qint64 pid : quedan) tabla.Terminar(pid, false);
    QElapsedTimer reloj;
    reloj.start();
    bool forzados = false;
    for (;;) {
        quedan.erase(std::remove_if(quedan.begin(), quedan.end(), [&](qint64 pid) { return tabla.Terminado(pid); }),
                     quedan.end());
        if (quedan.isEmpty()) return true;
        if (reloj.elapsed() >= msTotal) return false;
        if (!forzados && reloj.elapsed() >= msTerminar) {
            for (const qint64 pid : quedan) tabla.Terminar(pid, true);
            forzados = true;
        }
        QThread::msleep(kPausaMs);
    }
}

void ReiniciarClienteComunicaciones()
{
    const QString carpeta = CarpetaCliente(CarpetaDe(Platform::ProgramPath()));
    try {
        TablaProcesos& tabla = TablaProcesos::Actual();
        QList<TablaProcesos::Proceso> procesos;
        QString error;
        if (!tabla.Listar(procesos, error)) {
            Dialogs::MsgBox(error, Vbc::vbCritical);
            return;
        }
        QList<qint64> clientes;
        for (const auto& p : procesos)
            if (EsCliente(p)) clientes.append(p.pid);
        // Two clients on one working folder could carry a request twice: the new one starts
        // only when no old one is left.
        if (!DetenerProcesos(tabla, clientes)) {
            Dialogs::MsgBox(QStringLiteral("No se pudo detener el cliente Druvex."), Vbc::vbInformation);
            return;
        }
        if (const int e = Procesos::IniciarSeparado(carpeta + kProgramaCliente, carpeta)) {
            Dialogs::MsgBox(QStringLiteral("No se pudo arrancar el cliente Druvex en: ") + carpeta, Vbc::vbInformation,
                            Procesos::ErrorDeSistema(e, kOrigen).description);
        }
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QString::fromLocal8Bit(e.what()), Vbc::vbCritical);
    }
}

}
