// The configuration's loader of the transaction history. Its rows are the log's own type, so
// the loader is built with the log: the configuration never reaches up into it.
#include "config/clsConfig.h"
#include "txlog/clsTransacciones.h"
#include "platform/Database.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"

#include <cmath>
#include <vector>

using namespace ValoresBD;

namespace {
// A whole number of the history whose text must not be empty (64 bits: ticket numbers have 12
// digits).
qint64 entero64(const QString& t)
{
    return Vb::CLng64(Vb::CDbl(t));
}

// An integer column's value as the text conversions would read it: the driver's integer
// written out and read back by its leading number is that integer as a double (both round to
// the nearest), without a text per value. False for null or any other type, which go the
// long way with its errors.
bool enteroLeido(const QVariant& v, double* numero)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::LongLong:
        *numero = static_cast<double>(v.toLongLong());
        return true;
    default:
        return false;
    }
}

// An amount as its text conversion reads it (written with fifteen significant digits, read
// back). A whole number of cents below 10^13 comes back as it is, so the text is made only
// for other amounts.
double importeLeido(const QVariant& v)
{
    if (v.typeId() == QMetaType::Double) {
        const double x = v.toDouble();
        if (x == 0) return 0; // "0", whatever its sign
        const double centavos = std::round(x * 100);
        if (std::fabs(centavos) < 1e15 && centavos / 100 == x) return x;
    }
    return Vb::CDbl(NuloATexto(v));
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

    // Streamed: a provider's history can hold a hundred thousand rows, and each column is
    // found once, not by name on every row.
    auto rs = m_cn->OpenCursor(sql, p);
    enum Campo {
        Ticket, CodigoAutorizacion, Comentario, Error, Fecha, FechaPrestacion, Hora, HoraPrestacion,
        MatriculaMedicoPrescriptor, MontoAbonar, NumeroAutorizacion, NumeroTrxPrestador, Operacion, PlanAsociado,
        Prestador, PrestadorSolicitante, Tarjeta, TicketPadre, TipoAsociado, TipoLectura,
        TipoMatriculaMPrescriptor, ObraSocial, CodigoEmpresa, Campos
    };
    static const char* const nombres[Campos] = {
        "Ticket", "CodigoAutorizacion", "Comentario", "Error", "Fecha", "FechaPrestacion", "Hora", "HoraPrestacion",
        "MatriculaMedicoPrescriptor", "MontoAbonar", "NumeroAutorizacion", "NumeroTrxPrestador", "Operacion",
        "PlanAsociado", "Prestador", "PrestadorSolicitante", "Tarjeta", "TicketPadre", "TipoAsociado", "TipoLectura",
        "TipoMatriculaMPrescriptor", "ObraSocial", "CodigoEmpresa"};
    int columna[Campos];
    for (int c = 0; c < Campos; ++c) {
        columna[c] = -1;
        for (int i = 0; i < rs->ColumnCount() && columna[c] < 0; ++i)
            if (rs->Columns().at(i).compare(QLatin1String(nombres[c]), Qt::CaseInsensitive) == 0) columna[c] = i;
    }
    const QVariant* v[Campos];
    // The rows are made in blocks that each share one allocation (a row keeps its block alive):
    // a hundred thousand objects of their own cost more to allocate and free than to read.
    constexpr std::size_t kFilasPorBloque = 256;
    std::shared_ptr<std::vector<clsTransacciones>> bloque;
    bool primera = true;
    while (rs->Next()) {
        if (primera) {
            primera = false;
            for (int c = 0; c < Campos; ++c)
                if (columna[c] < 0) rs->value(QLatin1String(nombres[c])); // raises "Item not found"
        }
        for (int c = 0; c < Campos; ++c) v[c] = &rs->Valor(columna[c]);
        if (!bloque || bloque->size() == kFilasPorBloque) {
            bloque = std::make_shared<std::vector<clsTransacciones>>();
            bloque->reserve(kFilasPorBloque);
        }
        clsTransacciones* t = &bloque->emplace_back();
        double n = 0;
        t->Ticket = Vb::CLng64(enteroLeido(*v[Ticket], &n) ? n : Numero(*v[Ticket]));
        t->CodigoAutorizacion =
            Vb::CLng(enteroLeido(*v[CodigoAutorizacion], &n) ? n : Vb::Val(NuloATexto(*v[CodigoAutorizacion])));
        t->Comentario = Vb::Trim(Texto(*v[Comentario]));
        t->Error = enteroLeido(*v[Error], &n) ? Vb::CInt(n) : EnteroDelNumero(*v[Error]);
        t->Fecha = Texto(*v[Fecha]);
        t->FechaPrestacion = Texto(*v[FechaPrestacion]);
        t->Hora = Texto(*v[Hora]);
        t->HoraPrestacion = Texto(*v[HoraPrestacion]);
        t->MatriculaMedicoPrescriptor = Texto(*v[MatriculaMedicoPrescriptor]);
        t->MontoAbonar = importeLeido(*v[MontoAbonar]);
        t->NumeroAutorizacion = NuloATexto(*v[NumeroAutorizacion]);
        t->NumeroTrxPrestador =
            enteroLeido(*v[NumeroTrxPrestador], &n) ? Vb::CLng64(n) : entero64(NuloATexto(*v[NumeroTrxPrestador]));
        t->Operacion = NuloATexto(*v[Operacion]);
        t->PlanAsociado = NuloATexto(*v[PlanAsociado]);
        t->Prestador = NuloATexto(*v[Prestador]);
        t->PrestadorSolicitante = NuloATexto(*v[PrestadorSolicitante]);
        t->Tarjeta = Vb::Trim(NuloATexto(*v[Tarjeta]));
        t->TicketPadre = enteroLeido(*v[TicketPadre], &n) ? Vb::CLng64(n) : entero64(NuloATexto(*v[TicketPadre]));
        t->TipoAsociado = enteroLeido(*v[TipoAsociado], &n) ? Vb::CInt(n) : Vb::CInt(NuloATexto(*v[TipoAsociado]));
        t->TipoLectura = NuloATexto(*v[TipoLectura]);
        t->TipoMatriculaMPrescriptor = NuloATexto(*v[TipoMatriculaMPrescriptor]);
        t->ObraSocial = NuloATexto(*v[ObraSocial]);
        t->CodigoEmpresa = NuloATexto(*v[CodigoEmpresa]);
        m_Transacciones->Add(std::shared_ptr<clsTransacciones>(bloque, t));
    }
}
