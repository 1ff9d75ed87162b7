#include "updater/InstalacionPrograma.h"

#include "platform/Procesos.h"
#include "platform/ReemplazoArchivo.h"
#include "platform/Salida.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>

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

namespace {
bool Colocar(ReemplazoArchivo& reemplazo)
{
    if (const int e = reemplazo.Preparar()) throw ErrorDeSistema(e);
    for (int intento = 0;; ++intento) {
        const int e = reemplazo.Colocar();
        if (e == 0) return true;
        if ((e != ETXTBSY && e != EBUSY) || intento == kReintentos) throw ErrorDeSistema(e);
        Pausa();
        if (Salida::Solicitada()) return false;
    }
}

QString Rechazo(const QString& sujeto, const QStringList& motivos)
{
    return QStringLiteral("No se instala la actualización.\n") + sujeto + QStringLiteral(": ") +
           motivos.join(QStringLiteral(", ")) + QLatin1Char('.');
}

// A folder below an open one, checked; its descriptor stays invalid with `rechazo` set when
// it is refused.
SinEnlaces::Descriptor CarpetaRevisada(int desde, const QString& nombre, const QString& ruta, QString& rechazo)
{
    int e = 0;
    SinEnlaces::Descriptor d = SinEnlaces::AbrirCarpetaEn(desde, nombre, &e);
    const QString sujeto = QStringLiteral("La carpeta ") + ruta;
    if (!d) {
        if (e != ELOOP && e != ENOTDIR) throw ErrorDeSistema(e);
        rechazo = Rechazo(sujeto, {SinEnlaces::DescribirError(e)});
    } else if (const unsigned m = SinEnlaces::RevisarCarpeta(d.fd())) {
        rechazo = Rechazo(sujeto, SinEnlaces::DescribirMotivosCarpeta(m));
        d.Cerrar();
    }
    return d;
}

// The working folder itself may be reached through a link (the user's choice): "/." makes
// the last component checked the folder's own entry.
SinEnlaces::Descriptor AbrirBase(const QString& carpeta, int* error)
{
    return SinEnlaces::AbrirCarpeta(carpeta + QStringLiteral("/."), error);
}
}

bool Reemplazar(const QString& origen, const QString& destino)
{
    ReemplazoArchivo reemplazo(origen, destino);
    return Colocar(reemplazo);
}

bool Reemplazar(int origen, const QString& destino)
{
    ReemplazoArchivo reemplazo(origen, destino);
    return Colocar(reemplazo);
}

Ofrecido AbrirOfrecido(const QString& carpetaTerminal, const QString& nombre)
{
    Ofrecido o;
    const QFileInfo terminal(carpetaTerminal);
    int e = 0;
    const SinEnlaces::Descriptor base = AbrirBase(terminal.path(), &e);
    if (!base) throw ErrorDeSistema(e);
    const SinEnlaces::Descriptor t = CarpetaRevisada(base.fd(), terminal.fileName(), carpetaTerminal, o.rechazo);
    if (!t) return o;
    const SinEnlaces::Entrada descarga = SinEnlaces::BuscarEn(t.fd(), QStringLiteral("download"));
    if (descarga.nombre.isEmpty()) throw ErrorDeSistema(ENOENT);
    const QString rutaDescarga = carpetaTerminal + QLatin1Char('/') + descarga.nombre;
    const SinEnlaces::Descriptor d = CarpetaRevisada(t.fd(), descarga.nombre, rutaDescarga, o.rechazo);
    if (!d) return o;
    const SinEnlaces::Entrada archivo = SinEnlaces::BuscarEn(d.fd(), nombre);
    if (archivo.nombre.isEmpty()) throw ErrorDeSistema(ENOENT);
    o.ruta = rutaDescarga + QLatin1Char('/') + archivo.nombre;
    const QString sujeto = QStringLiteral("El archivo ") + o.ruta;
    // Non-blocking: a pipe put there must not hold the window; it is refused below.
    o.archivo = SinEnlaces::AbrirArchivoEn(d.fd(), archivo.nombre, O_RDONLY | O_NONBLOCK | O_NOCTTY, 0, &e);
    if (!o.archivo) {
        if (e != ELOOP) throw ErrorDeSistema(e);
        o.rechazo = Rechazo(sujeto, {SinEnlaces::DescribirError(e)});
    } else if (const unsigned m = SinEnlaces::RevisarArchivo(o.archivo.fd())) {
        o.rechazo = Rechazo(sujeto, SinEnlaces::DescribirMotivos(m));
        o.archivo.Cerrar();
    }
    return o;
}

void CrearCarpetas(const QString& carpetaTerminal)
{
    const QFileInfo terminal(carpetaTerminal);
    const SinEnlaces::Descriptor base = AbrirBase(terminal.path(), nullptr);
    if (!base) return;
    SinEnlaces::CrearCarpetaEn(base.fd(), terminal.fileName(), 0755);
    const SinEnlaces::Descriptor t = SinEnlaces::AbrirCarpetaEn(base.fd(), terminal.fileName());
    if (!t) return;
    for (const QString& sub : {QStringLiteral("upload"), QStringLiteral("download")})
        if (SinEnlaces::BuscarEn(t.fd(), sub).nombre.isEmpty()) SinEnlaces::CrearCarpetaEn(t.fd(), sub, 0755);
}

void Iniciar(const QString& programa)
{
    if (const int e = Procesos::IniciarSeparado(programa, QFileInfo(programa).path())) throw ErrorDeSistema(e);
}

}
