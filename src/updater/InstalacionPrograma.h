#pragma once
#include "platform/SinEnlaces.h"
#include "platform/VbError.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

// The file steps of an installation, with the runtime's error numbers the user is shown:
// 53 a missing file, 70 permission denied (also a target that stays busy), 75 any other.
namespace InstalacionPrograma {

// Tries of a rename whose target is busy after the first: one every pause.
constexpr int kReintentos = 20;
// The pause between those tries (500 ms); tests shorten it.
void setPausaMs(int ms);

// Copies `origen` over `destino` through a complete temporary copy renamed into place, so the
// old program stays whole on any failure. Raises VbError; false when the program was asked to
// end during a pause (nothing was replaced).
bool Reemplazar(const QString& origen, const QString& destino);
// The same from a file already open (see AbrirOfrecido), read from its start.
bool Reemplazar(int origen, const QString& destino);

// The file the client offers in "download" below the terminal folder, opened without following
// a link and checked on that open handle: the terminal folder and its "download" are no links,
// belong to the user and nobody else may write in them; the file is a plain file of the user
// that nobody else may write. The copy reads the same handle, so nothing can be swapped in
// between. A folder or file that is missing or cannot be opened raises VbError with the
// runtime's numbers.
struct Ofrecido {
    SinEnlaces::Descriptor archivo; // open when it may be installed
    QString ruta;
    QString rechazo; // the message saying what is refused and why; empty when it may go
};
// One exception: where each user has a group of their own and the desktop's umask is 002, the
// client leaves the file writable by that group. Group write is accepted when the group is the
// user's private one (see EsGrupoPrivado); otherwise the refusal names the group.
Ofrecido AbrirOfrecido(const QString& carpetaTerminal, const QString& nombre);
// Makes the terminal folder and its "upload" and "download" where missing, closed to the group
// and others whatever the umask, so the checks above never refuse them; "termupg" and its
// "download" left writable by the group or others (by the client, or an older wizard) lose
// that write when they are the user's. Failures are left to the request's own writing.
void CrearCarpetas(const QString& carpetaTerminal);

// An account (the user running the wizard among them) and a group entry, as the private-group
// rule reads them.
struct Usuario {
    QString nombre;
    gid_t grupoPrimario = 0;
};
struct Grupo {
    gid_t gid = 0;
    QString nombre;
    QStringList miembros;
};
// A group only the user can be in: `gid` is the user's primary group, an entry of that gid is
// named as the user, and no other account is in it, neither as its primary group nor as a
// member listed by any entry of that gid. A system may keep several entries under one gid,
// so every entry and every account counts. Lists that do not even hold the user's own account
// (a directory service that does not enumerate) prove nothing: not private.
bool EsGrupoPrivado(const Usuario& usuario, gid_t gid, const QList<Usuario>& cuentas, const QList<Grupo>& grupos);
// The system's view: the effective user, one group's entry (for its name), and every account
// and every group entry the system enumerates.
Usuario UsuarioActual();
std::optional<Grupo> GrupoDe(gid_t gid);
QList<Usuario> Cuentas();
QList<Grupo> Grupos();

// Starts the program in its folder without arguments; VbError when it cannot start.
void Iniciar(const QString& programa);

VbError ErrorDeSistema(int numero);

}
