#include "txlog/modTickets.h"

#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/ArchivosPropios.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "txlog/clsTransacciones.h"

#include <QDir>

namespace modTickets {

namespace {
const QString kFuente = QStringLiteral("Quorvan.GuardarTicket");
}

QString CarpetaTickets()
{
    return Paths::Join(Paths::DataDir(), QStringLiteral("Tickets"));
}

QString ArchivoTicket(qint64 ticket, const QString& fecha, const QString& hora)
{
    const QString nombre = QString::number(ticket) + Vb::Trim(fecha) + Vb::Trim(hora) + QStringLiteral(".prn");
    if (nombre.contains(QLatin1Char('/')) || nombre.contains(QLatin1Char('\\')))
        throw VbError(52, kFuente, QStringLiteral("Nombre de archivo de ticket incorrecto: %1").arg(nombre));
    return Paths::Join(CarpetaTickets(), nombre);
}

namespace {

// Writes the ticket text to its file; false with the reason when it cannot.
bool EscribirTicket(const QString& ruta, const QString& sTicket, QString* error, qint32* numero)
{
    if (!ArchivosPropios::CrearCarpeta(CarpetaTickets())) {
        *numero = VbError::PathNotFound;
        *error = QStringLiteral("No se pudo crear la carpeta %1").arg(CarpetaTickets());
        return false;
    }
    *numero = 75;
    return EscrituraSegura::EscribirArchivo(ruta, Codec1252::encode(sTicket), error, true,
                                            EscrituraSegura::Modo::Propio);
}

// The insurer answered but the rows are not in the log: what support needs to reconcile it.
QString MensajeSinRegistro(const ErrorRegistroTicket& e, const QString& archivo, const QString& errorArchivo)
{
    QStringList lineas{QStringLiteral("Error: ") + e.description,
                       QStringLiteral("Ticket número %1.").arg(e.ticket),
                       e.sinComprobar
                           ? QStringLiteral("La obra social respondió la operación; no se pudo comprobar si quedó "
                                            "registrada en la base local.")
                           : QStringLiteral("La obra social respondió la operación, pero no quedó registrada en la "
                                            "base local."),
                       errorArchivo.isEmpty()
                           ? QStringLiteral("Se guardó el archivo del ticket %1.").arg(archivo)
                           : QStringLiteral("No se pudo guardar el archivo del ticket: %1").arg(errorArchivo)};
    if (!e.causa.isEmpty())
        lineas << QStringLiteral("Motivo: ") + e.causa;
    return lineas.join(QStringLiteral("\r\n"));
}

}

void GuardarTicket(const QString& sSVL1, const QString& sTicket, const QString& CodigoEmpresa, const QString& sSVL2,
                   qint16 pCantidadPrestaciones, const DatosPrescriptor& prescriptor)
{
    try {
        const QString numero = Vb::Trim(Vb::Mid(sSVL1, 261, 12));
        if (numero.isEmpty() || numero == QLatin1String("98000000"))
            return;
        clsTransacciones transaccion;
        try {
            const qint64 ticket =
                transaccion.SaveTransaccion(sSVL1, CodigoEmpresa, sSVL2, pCantidadPrestaciones, prescriptor);
            const QString ruta = ArchivoTicket(ticket, Vb::Mid(sSVL1, 279, 8), Vb::Mid(sSVL1, 287, 4));
            QString error;
            qint32 numeroError = 0;
            if (!EscribirTicket(ruta, sTicket, &error, &numeroError))
                throw VbError(numeroError, kFuente, error);
        } catch (const ErrorRegistroTicket& e) {
            // The file is still written: it is the one trace of an operation the insurer holds.
            QString ruta, error;
            try {
                ruta = ArchivoTicket(e.ticket, Vb::Mid(sSVL1, 279, 8), Vb::Mid(sSVL1, 287, 4));
                qint32 numeroError = 0;
                EscribirTicket(ruta, sTicket, &error, &numeroError);
            } catch (const VbError& archivo) {
                error = archivo.description;
            }
            Dialogs::MsgBox(MensajeSinRegistro(e, ruta, error), Vbc::vbCritical);
        }
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + e.description, Vbc::vbOKOnly);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + QString::fromLocal8Bit(e.what()), Vbc::vbOKOnly);
    }
}

}
