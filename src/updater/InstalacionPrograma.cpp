#include "updater/InstalacionPrograma.h"

#include "platform/Procesos.h"
#include "platform/ReemplazoArchivo.h"
#include "platform/Salida.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>

namespace InstalacionPrograma {

namespace {
int g_pausaMs = 500;
const QString kOrigen = QStringLiteral("Quorvan");

// Lets the window run while it waits; an end of the program cuts it short.
void Pausa()
{
    QEventLoop loop;
    QTimer::singleShot(g_pausaMs, &loop, &QEventLoop::quit);
    loop.exec();
}
}

void setPausaMs(int ms) { g_pausaMs = ms > 0 ? ms : 500; }

VbError ErrorDeSistema(int numero) { return Procesos::ErrorDeSistema(numero, kOrigen); }

bool Reemplazar(const QString& origen, const QString& destino)
{
    ReemplazoArchivo reemplazo(origen, destino);
    if (const int e = reemplazo.Preparar()) throw ErrorDeSistema(e);
    for (int intento = 0;; ++intento) {
        const int e = reemplazo.Colocar();
        if (e == 0) return true;
        if ((e != ETXTBSY && e != EBUSY) || intento == kReintentos) throw ErrorDeSistema(e);
        Pausa();
        if (Salida::Solicitada()) return false;
    }
}

void Iniciar(const QString& programa)
{
    if (const int e = Procesos::IniciarSeparado(programa, QFileInfo(programa).path())) throw ErrorDeSistema(e);
}

}
