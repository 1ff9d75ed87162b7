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

void GuardarTicket(const QString& sSVL1, const QString& sTicket, const QString& CodigoEmpresa, const QString& sSVL2,
                   qint16 pCantidadPrestaciones, const DatosPrescriptor& prescriptor)
{
    try {
        const QString numero = Vb::Trim(Vb::Mid(sSVL1, 261, 12));
        if (numero.isEmpty() || numero == QLatin1String("98000000"))
            return;
        clsTransacciones transaccion;
        const qint64 ticket = transaccion.SaveTransaccion(sSVL1, CodigoEmpresa, sSVL2, pCantidadPrestaciones, prescriptor);

        const QString ruta = ArchivoTicket(ticket, Vb::Mid(sSVL1, 279, 8), Vb::Mid(sSVL1, 287, 4));
        if (!ArchivosPropios::CrearCarpeta(CarpetaTickets()))
            throw VbError(VbError::PathNotFound, kFuente,
                          QStringLiteral("No se pudo crear la carpeta %1").arg(CarpetaTickets()));
        QString error;
        if (!EscrituraSegura::EscribirArchivo(ruta, Codec1252::encode(sTicket), &error, true,
                                              EscrituraSegura::Modo::Propio))
            throw VbError(75, kFuente, error);
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + e.description, Vbc::vbOKOnly);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + QString::fromLocal8Bit(e.what()), Vbc::vbOKOnly);
    }
}

}
