#include "engine/EsperaCliente.h"

#include "engine/CarpetaTerminal.h"

#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/VbError.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

int EsperaCliente::s_DuracionTick = 1000;

namespace {
const QString kTimeOut = QStringLiteral("-1: Cancelado por Time Out");
const QString kFallida = QStringLiteral("-1: Cancelado por ejecucion fallida");
const QString kVacio = QStringLiteral("-2: Error inesperado en comunicación");
constexpr qint32 kSinSeguridadDesde = 100000;
constexpr qint32 kMargenSeguridad = 5000;
}

LimitesEspera LimitesEspera::DeIntercambio(qint32 tiempoMs)
{
    LimitesEspera l;
    l.TiempoMs = tiempoMs;
    l.SeguridadMs = tiempoMs + kMargenSeguridad;
    l.SeguridadDesdeElInicio = tiempoMs < kSinSeguridadDesde;
    return l;
}

LimitesEspera LimitesEspera::SinLimite(qint32 tickMs)
{
    LimitesEspera l;
    l.SinTiempoLimite = true;
    l.SeguridadDesdeElInicio = false;
    l.Extensiones = 0;
    l.TickMs = tickMs;
    return l;
}

void EsperaCliente::setDuracionTick(int ms) { s_DuracionTick = ms > 0 ? ms : 1000; }
int EsperaCliente::DuracionTick() { return s_DuracionTick; }

EsperaCliente::EsperaCliente(QObject* parent) : QObject(parent)
{
    TimerEspera = new QTimer(this);
    TimerEspera->setObjectName(QStringLiteral("TimerEspera"));
    TimerEspera->setInterval(1000);
    TimerForzarTimeOut = new QTimer(this);
    TimerForzarTimeOut->setObjectName(QStringLiteral("TimerForzarTimeOut"));
    m_Watcher = new QFileSystemWatcher(this);
    connect(m_Watcher, &QFileSystemWatcher::directoryChanged, this, [this] { Revisar(false); });
    connect(TimerEspera, &QTimer::timeout, this, &EsperaCliente::Tick);
    connect(TimerForzarTimeOut, &QTimer::timeout, this, &EsperaCliente::ForzarTimeOut);
}

EsperaCliente::~EsperaCliente() = default;

qint64 EsperaCliente::Escalar(qint64 ms) const { return ms * s_DuracionTick / 1000; }

void EsperaCliente::Iniciar(const QString& archivoEstado, const QString& archivoDisparo,
                            const LimitesEspera& limites)
{
    Empezar(archivoEstado, archivoDisparo, limites, false);
}

void EsperaCliente::IniciarAusencia(const QString& archivo, const LimitesEspera& limites)
{
    Empezar(archivo, QString(), limites, true);
}

void EsperaCliente::Empezar(const QString& archivoEstado, const QString& archivoDisparo,
                            const LimitesEspera& limites, bool ausencia)
{
    m_Limites = limites;
    m_Ausencia = ausencia;
    m_ArchivoEstado = Paths::Normalize(archivoEstado);
    // The status is read, and the trigger taken back, through the handles of their folders.
    const QFileInfo estado(m_ArchivoEstado);
    m_Terminal = ausencia || m_ArchivoEstado.isEmpty() ? CarpetaTerminal() : CarpetaTerminal(estado.path());
    const QFileInfo disparo(Paths::Normalize(archivoDisparo));
    m_Disparo = archivoDisparo.isEmpty() ? CarpetaTerminal()
                                         : CarpetaTerminal(QFileInfo(disparo.path()).path(), disparo.fileName());
    m_Cuadro = 0;
    m_Segundos = 0;
    m_Reinicios = 0;
    m_TimedOut = false;
    m_Forzado = false;
    m_Respondido = false;
    m_VacioVisto = false;
    m_Resultado.clear();
    TimerEspera->stop();
    TimerForzarTimeOut->stop();

    if (!m_Watcher->directories().isEmpty()) m_Watcher->removePaths(m_Watcher->directories());
    const QString carpeta = QFileInfo(m_ArchivoEstado).path();
    if (!m_ArchivoEstado.isEmpty() && QFileInfo(carpeta).isDir()) m_Watcher->addPath(carpeta);

    TimerForzarTimeOut->setInterval(static_cast<int>(Escalar(m_Limites.SeguridadDesdeElInicio ? m_Limites.SeguridadMs : 1000)));
    if (m_Limites.SeguridadDesdeElInicio && !m_Limites.SinTiempoLimite) TimerForzarTimeOut->start();

    m_Esperando = true;
    TimerEspera->setInterval(m_Limites.TickMs > 0 ? m_Limites.TickMs : s_DuracionTick);
    if (m_Limites.TickMs >= 0) TimerEspera->start();
    Tick();
}

QString EsperaCliente::Esperar()
{
    if (m_Esperando) {
        QEventLoop loop;
        m_Loop = &loop;
        loop.exec();
        m_Loop = nullptr;
    }
    return Resultado();
}

QString EsperaCliente::Resultado() const
{
    if (m_Respondido) return m_Resultado;
    if (m_Forzado) return kFallida;
    if (m_TimedOut) return kTimeOut;
    return m_Resultado;
}

void EsperaCliente::Terminar()
{
    m_Esperando = false;
    TimerEspera->stop();
    TimerForzarTimeOut->stop();
    if (!m_Watcher->directories().isEmpty()) m_Watcher->removePaths(m_Watcher->directories());
    if (m_Loop) m_Loop->quit();
    emit Terminada();
}

bool EsperaCliente::Revisar(bool desdeTick)
{
    if (!m_Esperando) return true;
    if (m_ArchivoEstado.isEmpty()) return false;
    if (m_Ausencia) {
        const QFileInfo marca(m_ArchivoEstado);
        if (!Paths::FindCaseInsensitive(marca.path(), marca.fileName()).isEmpty()) return false;
        m_Respondido = true;
        Terminar();
        return true;
    }
    // A status that is a link, a pipe or a huge file is never read and ends the wait at once:
    // it would show another file, block or exhaust the memory, and waiting cannot mend it.
    QString falla;
    const std::optional<QByteArray> datos = m_Terminal.LeerEstado(&falla);
    if (!datos && falla.isEmpty()) return false; // still being written: the next notice or tick
    QString texto = datos ? Codec1252::decode(*datos).trimmed() : falla;
    if (texto.isEmpty()) {
        // Read an empty status once more on the next tick before calling it a failure.
        if (!desdeTick) return false;
        if (!m_VacioVisto) {
            m_VacioVisto = true;
            return false;
        }
        texto = kVacio;
    }
    m_Resultado = texto;
    m_Respondido = true;
    Terminar();
    return true;
}

void EsperaCliente::Tick()
{
    TimerEspera->stop();
    if (!m_Esperando) return;
    ++m_Cuadro;
    if (!m_Limites.SinTiempoLimite) ++m_Segundos;
    if (m_Cuadro > 4) m_Cuadro = 1;
    try {
        if (!m_Limites.SinTiempoLimite && m_Segundos > m_Limites.TiempoMs / 1000) {
            const bool disparoPendiente = !m_Disparo.Vacia() && m_Disparo.ExisteDisparador();
            if (disparoPendiente || m_Reinicios >= m_Limites.Extensiones) {
                m_TimedOut = true;
                // The client never took the request: take it back, so it cannot be carried
                // later after the user was told it failed.
                if (disparoPendiente) m_Disparo.BorrarDisparador();
                Cancelar();
                return;
            }
            // The client took the request but has not answered yet: wait once more.
            TimerForzarTimeOut->stop();
            TimerForzarTimeOut->setInterval(static_cast<int>(Escalar(m_Limites.SeguridadMs)));
            TimerForzarTimeOut->start();
            ++m_Reinicios;
            m_Segundos = 1;
        } else {
            emit Avance(m_Cuadro);
            if (Revisar(true)) return;
        }
    } catch (const VbError& e) {
        m_Resultado = QStringLiteral("-%1: %2").arg(e.number).arg(e.description);
        m_Respondido = true;
        Terminar();
        return;
    }
    if (m_Esperando && m_Limites.TickMs >= 0) TimerEspera->start();
}

void EsperaCliente::ForzarTimeOut()
{
    TimerForzarTimeOut->stop();
    if (!m_Esperando) return;
    // An answer that is already there wins over the forced end.
    if (Revisar(false)) return;
    m_Forzado = true;
    Terminar();
}

void EsperaCliente::Cancelar()
{
    m_Resultado.clear();
    Terminar();
}
