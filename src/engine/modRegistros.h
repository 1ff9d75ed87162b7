#pragma once
#include "engine/clsItemError.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

class QFile;

// What the record files exchanged with the client have in common: the answers it leaves in
// "download" and the request files opened for random access below "upload".
namespace modRegistros {

// Open request files of one object, by the number handed out when opening them.
using TablaArchivos = std::map<qint16, std::shared_ptr<QFile>>;

// The records of a file the client left in "download", each padded to `largo`; none when the
// file is not there (looking never creates it). Reading stops at the first record shorter
// than `minimo`. Failures raise VbError 75/57 with `origen`.
QStringList RegistrosRespuesta(const QString& carpetaTerminal, const QString& nombre, int largo, int minimo,
                               const QString& origen);

// Opens "<carpetaTerminal>/upload/<nombre>" for random access and enters it in `tabla` under
// the lowest free number, which it returns. A missing "upload" raises VbError 76, a file that
// cannot be opened 75, both with `clase` as source.
qint16 AbrirSubida(TablaArchivos& tabla, const QString& carpetaTerminal, const QString& nombre,
                   const QString& clase);

// Flushes and closes the file entered as `archivo` and takes it out of `tabla`; an unknown
// number is already closed. A failed flush raises VbError 57 from "<clase>.CerrarArchivo".
bool CerrarSubida(TablaArchivos& tabla, qint16 archivo, const QString& clase);

// Writes `bytes` at `desplazamiento` of the file entered as `archivo`, then closes it as
// CerrarSubida does. A failed write still closes the file and raises VbError 57 with `clase`.
bool EscribirYCerrar(TablaArchivos& tabla, qint16 archivo, qint64 desplazamiento, const QByteArray& bytes,
                     const QString& clase);

// The error the client left in the first record of a single-record answer: code (4
// characters at `posCodigo`) and comment (40 at `posComentario`); none when the file is
// missing or the code means no error. Reading failures as in RegistrosRespuesta.
clsItemError ErrorRespuesta(const QString& carpetaTerminal, const QString& nombre, int largo, int minimo,
                            int posCodigo, int posComentario, const QString& origen);

// An answer code that is blank or reads as zero means no error. Any other code is an error,
// a code that is not a number ("E001") included: it must not pass as an approved answer.
bool EsCodigoError(const QString& codigo);

}
