#pragma once
#include "engine/clsItemError.h"

#include <QString>
#include <QStringList>
#include <map>

// What the record classes share: the one writer of their request records below upload, the
// one reader of the answers the client leaves in download, and the rules that decide
// whether an answer code is an error. Every file step goes through `CarpetaTerminal`.
namespace modRegistros {

// ---- When an answer code is an error ----------------------------------------------------
// Each reader has its own rule; they stand here side by side so they are read together.

// The header answer "_svl.1" (LeerSVL1): any character but "0" and blank makes an error, so a
// code such as "E001" is one.
bool ErrorEnCabecera(const QString& codigo);
// The item answers "_svl.2", "_svl.3" and "_svl.4": every record is listed whatever its code
// (the list shows "0000" too); approval is decided on the header alone.
bool ItemSeLista(const QString& codigo);
// The single-record answers "_svl.7" (LeerSVL7) and "_sal.0" (LeerSAL0): blank, or a number
// equal to 0, means no error; anything else, a code that is not a number included, is one.
bool ErrorEnRespuestaUnica(const QString& codigo);
// The sender's approval count over the header item: blank and the numbers 0 and 99 ("00",
// "0099") do not count against approval.
bool ErrorParaAprobacion(const QString& codigo);

// The number of the error an answer reader raises for an answer cut before a field it must
// read whole (the runtime's "input past end of file").
constexpr qint32 ErrorRespuestaIncompleta = 62;

// ---- Request records --------------------------------------------------------------------

// Request files opened by one object: by the number handed out when opening, the terminal
// folder and the file name.
using TablaArchivos = std::map<qint16, std::pair<QString, QString>>;

// Enters "<carpetaTerminal>/upload/<nombre>" in `tabla` under the lowest free number, which it
// returns, creating the file empty when it is missing. A missing upload raises VbError 76,
// a file that cannot be made 75, both with `clase` as source.
qint16 AbrirSubida(TablaArchivos& tabla, const QString& carpetaTerminal, const QString& nombre,
                   const QString& clase);
// Takes the file entered as `archivo` out of `tabla`; an unknown number is already closed.
bool CerrarSubida(TablaArchivos& tabla, qint16 archivo);
// Writes `bytes` as record `posicion` (from 1) of `largo` bytes of the file entered as
// `archivo`, whole or not at all, then closes it. Failures raise VbError with `clase`.
bool EscribirYCerrar(TablaArchivos& tabla, qint16 archivo, qint32 posicion, int largo, const QByteArray& bytes,
                     const QString& clase);

// ---- Answer records ---------------------------------------------------------------------

// Where an item answer keeps its fields (1-based positions).
struct CamposItem {
    QString archivo; // "_svl.2"
    QString clave;   // the items' Clave
    int largo;       // record length, CR LF included
    int posCodigo;   // 4 characters
    int posComentario; // 40 characters
};

// One item per record of an item answer, in file order; none when the file is missing. A
// record cut before the end of its comment is reported in its place: an item with the
// record's key, the code as far as it reached and a comment naming the file. `ultimoCodigo`
// receives the code of the last whole record. Reading failures raise VbError with `origen`.
ListaErrores LeerItems(const QString& carpetaTerminal, const CamposItem& campos, const QString& origen,
                       QString* ultimoCodigo = nullptr);

// The error of a single-record answer: code (4 characters at `posCodigo`) and comment (40 at
// `posComentario`) of its first record; none when the file is missing or empty, when the
// record does not reach the end of the comment, or when the code means no error.
clsItemError ErrorRespuesta(const QString& carpetaTerminal, const QString& nombre, int largo, int posCodigo,
                            int posComentario, const QString& origen);

}
