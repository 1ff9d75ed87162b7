#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

class CarpetaTerminal;

// One record of the update file "_druvex.upg" that Quorvan and its update wizard exchange with
// the communications client: 112 bytes, Windows-1252, fields at fixed offsets, CR LF. The
// request carries the running version; the answer lists the files the client offers.
class RegistroActualizacion {
public:
    static constexpr int kLargo = 112;
    static const QString kArchivo;        // "_druvex.upg"
    static const QByteArray kControl;     // the control record of an update request
    static constexpr qint32 kTipoAsistente = 2;  // the wizard's request; in an answer, the main program
    static constexpr qint32 kTipoMenu = 10;      // Quorvan's own update menu

    qint32 TipoRegistro = 0;
    qint32 Major = 0;
    qint32 Minor = 0;
    qint32 Revision = 0;
    QString NombreArchivo;
    qint32 CodigoResultado = 0;
    QString Descripcion;

    // A request of `tipo` for the running version, code 0, no name and no description.
    static RegistroActualizacion Pedido(qint32 tipo, qint32 major, qint32 minor, qint32 revision);

    // The record's 112 bytes. A number that does not fit its digits (or is negative) raises
    // VbError 6 with `origen`: a cut version would ask for another one.
    QByteArray Bytes(const QString& origen) const;

    // Numbers are read as the client writes them: blanks ignored, the digits up to the first
    // other character, none read as 0. Names and descriptions keep their text, trimmed.
    static RegistroActualizacion Leer(const QByteArray& registro);
    // Every whole record of a file; a trailing piece shorter than a record is left out.
    static QList<RegistroActualizacion> LeerArchivo(const QByteArray& datos);

    // Writes an update request into `terminal`: makes the folder with its upload and download
    // and deletes the status files of an earlier exchange (in the working folder and in the
    // terminal folder), each step's own failure ignored; then writes "_druvex.upg" (the one
    // record) and the control record, each file whole. Raises VbError (with `origen`) when a
    // file cannot be written. The trigger is the caller's.
    static void GrabarPedido(const CarpetaTerminal& terminal, const RegistroActualizacion& pedido,
                             const QString& origen);
};
