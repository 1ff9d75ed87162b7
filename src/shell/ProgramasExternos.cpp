#include "shell/ProgramasExternos.h"

#include "engine/General.h"
#include "shell/GeneralPrincipal.h"
#include "platform/Dialogs.h"
#include "platform/Procesos.h"
#include "platform/Salida.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace ProgramasExternos {

namespace {
const QString kOrigen = QStringLiteral("Quorvan.General");
constexpr int kPausaMs = 50;
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
    return Vb::Trim(proceso.ejecutable).compare(kProgramaCliente, Qt::CaseInsensitive) == 0 ||
           Vb::Trim(proceso.comando).compare(kProgramaCliente, Qt::CaseInsensitive) == 0;
}

Clientes BuscarClientes(const QList<TablaProcesos::Proceso>& procesos, qint64 usuario)
{
    Clientes c;
    for (const auto& p : procesos) {
        if (!EsCliente(p)) continue;
        (p.usuario >= 0 && p.usuario == usuario ? c.propios : c.ajenos).append(p.pid);
    }
    return c;
}

QString MensajeClienteAjeno(const QList<qint64>& pids)
{
    QStringList numeros;
    for (const qint64 pid : pids) numeros << QString::number(pid);
    return QStringLiteral("Hay un cliente Druvex de otro usuario en ejecución (%1 %2). No se inicia otro cliente: "
                          "dos clientes sobre la misma carpeta de trabajo podrían enviar una transacción dos veces.")
        .arg(pids.size() > 1 ? QStringLiteral("procesos") : QStringLiteral("proceso"), numeros.join(QStringLiteral(", ")));
}

bool DetenerProcesos(TablaProcesos& tabla, const QList<qint64>& pids, int msTerminar, int msTotal)
{
    QList<qint64> quedan = pids;
    for (const qint64 pid : quedan) tabla.Terminar(pid, false);
    const auto terminaron = [&] {
        quedan.erase(std::remove_if(quedan.begin(), quedan.end(), [&](qint64 pid) { return tabla.Terminado(pid); }),
                     quedan.end());
        return quedan.isEmpty();
    };
    if (terminaron()) return true;
    // The window keeps painting and answering while the processes end.
    QElapsedTimer reloj;
    reloj.start();
    bool forzados = false;
    QEventLoop espera;
    QTimer paso;
    paso.setInterval(kPausaMs);
    QObject::connect(&paso, &QTimer::timeout, &espera, [&] {
        if (terminaron() || reloj.elapsed() >= msTotal) {
            espera.quit();
            return;
        }
        if (!forzados && reloj.elapsed() >= msTerminar) {
            for (const qint64 pid : quedan) tabla.Terminar(pid, true);
            forzados = true;
        }
    });
    paso.start();
    espera.exec();
    return terminaron();
}

void ReiniciarClienteComunicaciones()
{
    static bool enCurso = false;
    if (enCurso) return;
    enCurso = true;
    struct Fin {
        ~Fin() { enCurso = false; }
    } fin;
    const QString carpeta = CarpetaCliente(CarpetaDe(Platform::ProgramPath()));
    try {
        TablaProcesos& tabla = TablaProcesos::Actual();
        QList<TablaProcesos::Proceso> procesos;
        QString error;
        if (!tabla.Listar(procesos, error)) {
            Dialogs::MsgBox(error, Vbc::vbCritical);
            return;
        }
        // Only the user's own copies are ended; two clients on one working folder could carry
        // a request twice, so the new one starts only when no other client is left.
        const Clientes clientes = BuscarClientes(procesos, TablaProcesos::UsuarioActual());
        if (!clientes.ajenos.isEmpty()) {
            Dialogs::MsgBox(MensajeClienteAjeno(clientes.ajenos), Vbc::vbInformation);
            return;
        }
        bool detenidos = true;
        if (!clientes.propios.isEmpty()) {
            General::BloqueoPrincipal bloqueo(QStringLiteral("mnuReiniiarDruvex"));
            detenidos = DetenerProcesos(tabla, clientes.propios);
        }
        if (Salida::Solicitada()) return;
        if (!detenidos) {
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
