#include "platform/EscrituraSegura.h"

#include <QSaveFile>
#include <atomic>
#include <unistd.h>

namespace {
std::atomic<int> g_fallarEn{0};

// True when the operation being counted is the one a test asked to fail.
bool FallaInyectada()
{
    int n = g_fallarEn.load();
    while (n > 0) {
        if (g_fallarEn.compare_exchange_weak(n, n - 1))
            return n == 1;
    }
    return false;
}
}

EscrituraSegura::EscrituraSegura(QString ruta) : m_ruta(std::move(ruta)) {}

EscrituraSegura::~EscrituraSegura() { Cancelar(); }

void EscrituraSegura::FallarEnOperacion(int n) { g_fallarEn.store(n > 0 ? n : 0); }

bool EscrituraSegura::Falla(const QString& que)
{
    m_error = que;
    Cancelar();
    return false;
}

bool EscrituraSegura::Abrir()
{
    m_error.clear();
    m_archivo = std::make_unique<QSaveFile>(m_ruta);
    if (!m_archivo->open(QIODevice::WriteOnly)) {
        const QString e = m_archivo->errorString();
        m_archivo.reset();
        m_error = QStringLiteral("No se pudo crear %1: %2").arg(m_ruta, e);
        return false;
    }
    return true;
}

bool EscrituraSegura::Escribir(const QByteArray& bytes)
{
    if (!m_archivo)
        return Falla(QStringLiteral("No se pudo escribir %1: el archivo no está abierto").arg(m_ruta));
    if (FallaInyectada())
        return Falla(QStringLiteral("No se pudo escribir %1: no queda espacio en el disco").arg(m_ruta));
    if (m_archivo->write(bytes) != bytes.size())
        return Falla(QStringLiteral("No se pudo escribir %1: %2").arg(m_ruta, m_archivo->errorString()));
    return true;
}

bool EscrituraSegura::Confirmar(bool sincronizar)
{
    if (!m_archivo)
        return Falla(QStringLiteral("No se pudo escribir %1: el archivo no está abierto").arg(m_ruta));
    if (FallaInyectada())
        return Falla(QStringLiteral("No se pudo reemplazar %1: no queda espacio en el disco").arg(m_ruta));
    if (sincronizar && (!m_archivo->flush() || ::fsync(m_archivo->handle()) != 0))
        return Falla(QStringLiteral("No se pudo escribir %1 en el disco").arg(m_ruta));
    if (!m_archivo->commit()) {
        const QString e = m_archivo->errorString();
        m_archivo.reset();
        m_error = QStringLiteral("No se pudo reemplazar %1: %2").arg(m_ruta, e);
        return false;
    }
    m_archivo.reset();
    return true;
}

void EscrituraSegura::Cancelar()
{
    if (m_archivo) {
        m_archivo->cancelWriting();
        m_archivo.reset(); // QSaveFile removes its temporary file when it is not committed
    }
}

bool EscrituraSegura::EscribirArchivo(const QString& ruta, const QByteArray& bytes, QString* error,
                                      bool sincronizar)
{
    EscrituraSegura w(ruta);
    const bool ok = w.Abrir() && w.Escribir(bytes) && w.Confirmar(sincronizar);
    if (!ok && error)
        *error = w.Error();
    return ok;
}
