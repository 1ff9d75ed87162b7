// The configuration's loader of the transaction history. Its rows are the log's own type, so
// the loader is built with the log: the configuration never reaches up into it.
#include "config/clsConfig.h"
#include "txlog/clsTransacciones.h"
#include "platform/Database.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"

using namespace ValoresBD;

namespace {
// A whole number of the history whose text must not be empty (64 bits: ticket numbers have 12
// digits).
qint64 entero64(const QString& t)
{
    return Vb::CLng64(Vb::CDbl(t));
}
}

void clsConfig::LoadTransacciones(const QString& sCuit)
{
    if (!m_Transacciones || m_Transacciones->Count() > 0)
        m_Transacciones = std::make_shared<Coleccion<clsTransacciones>>();
    // ObrasSociales has one row per company and activity; the history knows only the company,
    // so one name per company keeps each transaction listed once.
    QString sql = QStringLiteral(
        "SELECT Transaccion.*, ObrasSociales.Nombre as ObraSocial FROM Transaccion "
        "LEFT JOIN (SELECT Empresa, MIN(Nombre) AS Nombre FROM ObrasSociales GROUP BY Empresa) ObrasSociales "
        "ON ObrasSociales.Empresa = Transaccion.CodigoEmpresa ");
    QVariantList p;
    if (!sCuit.isEmpty()) {
        sql += QStringLiteral("Where Transaccion.Prestador = ? ");
        p << sCuit;
    }
    sql += QStringLiteral("ORDER BY Fecha");

    DbResult rs = m_cn->Query(sql, p);
    for (; !rs.EOF_(); rs.MoveNext()) {
        auto t = std::make_shared<clsTransacciones>();
        t->Ticket = Vb::CLng64(Numero(rs["Ticket"]));
        t->CodigoAutorizacion = Vb::CLng(Vb::Val(NuloATexto(rs["CodigoAutorizacion"])));
        t->Comentario = Vb::Trim(Texto(rs["Comentario"]));
        t->Error = EnteroDelNumero(rs["Error"]);
        t->Fecha = Texto(rs["Fecha"]);
        t->FechaPrestacion = Texto(rs["FechaPrestacion"]);
        t->Hora = Texto(rs["Hora"]);
        t->HoraPrestacion = Texto(rs["HoraPrestacion"]);
        t->MatriculaMedicoPrescriptor = Texto(rs["MatriculaMedicoPrescriptor"]);
        t->MontoAbonar = Vb::CDbl(NuloATexto(rs["MontoAbonar"]));
        t->NumeroAutorizacion = NuloATexto(rs["NumeroAutorizacion"]);
        t->NumeroTrxPrestador = entero64(NuloATexto(rs["NumeroTrxPrestador"]));
        t->Operacion = NuloATexto(rs["Operacion"]);
        t->PlanAsociado = NuloATexto(rs["PlanAsociado"]);
        t->Prestador = NuloATexto(rs["Prestador"]);
        t->PrestadorSolicitante = NuloATexto(rs["PrestadorSolicitante"]);
        t->Tarjeta = Vb::Trim(NuloATexto(rs["Tarjeta"]));
        t->TicketPadre = entero64(NuloATexto(rs["TicketPadre"]));
        t->TipoAsociado = Vb::CInt(NuloATexto(rs["TipoAsociado"]));
        t->TipoLectura = NuloATexto(rs["TipoLectura"]);
        t->TipoMatriculaMPrescriptor = NuloATexto(rs["TipoMatriculaMPrescriptor"]);
        t->ObraSocial = NuloATexto(rs["ObraSocial"]);
        t->CodigoEmpresa = NuloATexto(rs["CodigoEmpresa"]);
        m_Transacciones->Add(t);
    }
}
