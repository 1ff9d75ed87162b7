#include "updater/InstalacionPrograma.h"

#include "platform/Procesos.h"
#include "platform/ReemplazoArchivo.h"
#include "platform/Salida.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

}

Usuario UsuarioActual()
{
    Usuario u;
    if (const passwd* pw = ::getpwuid(::geteuid())) {
        u.nombre = QString::fromLocal8Bit(pw->pw_name);
        u.grupoPrimario = pw->pw_gid;
    } else {
        u.grupoPrimario = ::getegid();
    }
    return u;
}

namespace {
Grupo DeEntrada(const group& gr)
{
    Grupo g;
    g.gid = gr.gr_gid;
    g.nombre = QString::fromLocal8Bit(gr.gr_name);
    for (char** m = gr.gr_mem; m && *m; ++m) g.miembros << QString::fromLocal8Bit(*m);
    return g;
}
}

std::optional<Grupo> GrupoDe(gid_t gid)
{
    const group* gr = ::getgrgid(gid);
    if (!gr) return std::nullopt;
    return DeEntrada(*gr);
}

QList<Usuario> Cuentas()
{
    QList<Usuario> cuentas;
    ::setpwent();
    while (const passwd* pw = ::getpwent()) cuentas.append({QString::fromLocal8Bit(pw->pw_name), pw->pw_gid});
    ::endpwent();
    return cuentas;
}

QList<Grupo> Grupos()
{
    QList<Grupo> grupos;
    ::setgrent();
    while (const group* gr = ::getgrent()) grupos.append(DeEntrada(*gr));
    ::endgrent();
    return grupos;
}

namespace {

// Why the open offered file may not be installed; empty when it may.
QStringList MotivosOfrecido(int fd)
{
    unsigned m = SinEnlaces::RevisarArchivo(fd);
    QString grupo;
    struct stat info{};
    if ((m & SinEnlaces::EscribiblePorOtros) && ::fstat(fd, &info) == 0 && !(info.st_mode & S_IWOTH)) {
        m &= ~SinEnlaces::EscribiblePorOtros;
        if (!EsGrupoPrivado(UsuarioActual(), info.st_gid, Cuentas(), Grupos())) {
            const std::optional<Grupo> g = GrupoDe(info.st_gid);
            grupo = g ? g->nombre : QString::number(info.st_gid);
        }
    }
    QStringList textos = SinEnlaces::DescribirMotivos(m);
    if (!grupo.isEmpty())
        textos << QStringLiteral("el grupo ") + grupo +
                      QStringLiteral(" puede modificarlo; configure el cliente con umask 022");
    // The mode bits do not tell all: an access list may let other accounts and groups write.
    const auto escritores = SinEnlaces::EscritoresPorLista(fd);
    if (!escritores) textos << QStringLiteral("no se pudo leer su lista de acceso");
    for (const SinEnlaces::EscritorDeLista& e : escritores.value_or(QList<SinEnlaces::EscritorDeLista>())) {
        QString quien;
        if (e.grupo) {
            if (EsGrupoPrivado(UsuarioActual(), e.id, Cuentas(), Grupos())) continue;
            const std::optional<Grupo> g = GrupoDe(e.id);
            quien = QStringLiteral("el grupo ") + (g ? g->nombre : QString::number(e.id));
        } else {
            if (e.id == ::geteuid()) continue;
            const passwd* pw = ::getpwuid(e.id);
            quien = QStringLiteral("el usuario ") + (pw ? QString::fromLocal8Bit(pw->pw_name) : QString::number(e.id));
        }
        textos << quien + QStringLiteral(" puede modificarlo por la lista de acceso del archivo");
    }
    return textos;
}

// Takes group and other write away from a folder of the user's.
void CerrarEscritura(int fd)
{
    struct stat info{};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & (S_IWGRP | S_IWOTH)))
        (void)::fchmod(fd, info.st_mode & 07777 & ~(S_IWGRP | S_IWOTH));
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
    // A pipe or a device put there is refused without holding the window.
    o.archivo = SinEnlaces::AbrirArchivoEn(d.fd(), archivo.nombre, O_RDONLY, 0, &e);
    if (!o.archivo) {
        if (e != ELOOP && e != ENODEV) throw ErrorDeSistema(e);
        o.rechazo = Rechazo(sujeto, {SinEnlaces::DescribirError(e)});
    } else if (const QStringList motivos = MotivosOfrecido(o.archivo.fd()); !motivos.isEmpty()) {
        o.rechazo = Rechazo(sujeto, motivos);
        o.archivo.Cerrar();
    }
    return o;
}

bool EsGrupoPrivado(const Usuario& usuario, gid_t gid, const QList<Usuario>& cuentas, const QList<Grupo>& grupos)
{
    if (usuario.nombre.isEmpty() || gid != usuario.grupoPrimario) return false;
    bool propia = false, nombrado = false;
    for (const Usuario& c : cuentas) {
        if (c.nombre == usuario.nombre)
            propia = true;
        else if (c.grupoPrimario == gid)
            return false;
    }
    for (const Grupo& g : grupos) {
        if (g.gid != gid) continue;
        nombrado = nombrado || g.nombre == usuario.nombre;
        for (const QString& m : g.miembros)
            if (m != usuario.nombre) return false;
    }
    return propia && nombrado;
}

void CrearCarpetas(const QString& carpetaTerminal)
{
    const QFileInfo terminal(carpetaTerminal);
    const SinEnlaces::Descriptor base = AbrirBase(terminal.path(), nullptr);
    if (!base) return;
    SinEnlaces::CrearCarpetaEn(base.fd(), terminal.fileName(), 0755);
    const SinEnlaces::Descriptor t = SinEnlaces::AbrirCarpetaEn(base.fd(), terminal.fileName());
    if (!t) return;
    CerrarEscritura(t.fd());
    for (const QString& sub : {QStringLiteral("upload"), QStringLiteral("download")})
        if (SinEnlaces::BuscarEn(t.fd(), sub).nombre.isEmpty()) SinEnlaces::CrearCarpetaEn(t.fd(), sub, 0755);
    const SinEnlaces::Entrada descarga = SinEnlaces::BuscarEn(t.fd(), QStringLiteral("download"));
    if (descarga.tipo != SinEnlaces::Tipo::Carpeta) return;
    if (const SinEnlaces::Descriptor d = SinEnlaces::AbrirCarpetaEn(t.fd(), descarga.nombre)) CerrarEscritura(d.fd());
}

void Iniciar(const QString& programa)
{
    if (const int e = Procesos::IniciarSeparado(programa, QFileInfo(programa).path())) throw ErrorDeSistema(e);
}

}
