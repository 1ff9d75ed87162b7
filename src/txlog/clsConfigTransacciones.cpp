// The configuration's loader of the transaction history. Its rows are the log's own type, so
// the loader is built with the log: the configuration never reaches up into it.
#include "config/clsConfig.h"
#include "txlog/clsTransacciones.h"
#include "txlog/FilasTransacciones.h"
#include "platform/Database.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"

#include <QStringEncoder>

#include <cmath>
#include <limits>
#include <vector>

using namespace ValoresBD;

namespace {

enum Campo {
    Ticket, CodigoAutorizacion, Comentario, Error, Fecha, FechaPrestacion, Hora, HoraPrestacion,
    MatriculaMedicoPrescriptor, MontoAbonar, NumeroAutorizacion, NumeroTrxPrestador, Operacion, PlanAsociado,
    Prestador, PrestadorSolicitante, Tarjeta, TicketPadre, TipoAsociado, TipoLectura,
    TipoMatriculaMPrescriptor, ObraSocial, CodigoEmpresa, Campos
};
const char* const kNombres[Campos] = {
    "Ticket", "CodigoAutorizacion", "Comentario", "Error", "Fecha", "FechaPrestacion", "Hora", "HoraPrestacion",
    "MatriculaMedicoPrescriptor", "MontoAbonar", "NumeroAutorizacion", "NumeroTrxPrestador", "Operacion",
    "PlanAsociado", "Prestador", "PrestadorSolicitante", "Tarjeta", "TicketPadre", "TipoAsociado", "TipoLectura",
    "TipoMatriculaMPrescriptor", "ObraSocial", "CodigoEmpresa"};
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
    if (v.typeId() != QMetaType::Double) return Vb::CDbl(NuloATexto(v));
    const double x = v.toDouble();
    if (x == 0) return 0; // "0", whatever its sign
    const double centavos = std::round(x * 100);
    if (std::fabs(centavos) < 1e15 && centavos / 100 == x) return x;
    return Vb::CDbl(NuloATexto(v));
}

// The rows are made in blocks that each share one allocation (a row keeps its block alive):
// a hundred thousand objects of their own cost more to allocate and free than to read.
class Bloques {
public:
    clsTransacciones* Nueva()
    {
        if (!m_bloque || m_bloque->size() == kFilasPorBloque) {
            m_bloque = std::make_shared<std::vector<clsTransacciones>>();
            m_bloque->reserve(kFilasPorBloque);
        }
        return &m_bloque->emplace_back();
    }
    std::shared_ptr<clsTransacciones> Compartida(clsTransacciones* t) const { return {m_bloque, t}; }

private:
    static constexpr std::size_t kFilasPorBloque = 256;
    std::shared_ptr<std::vector<clsTransacciones>> m_bloque;
};

// Every column, each found once and not by name on every row; `alFila` takes each row.
template <class F>
void cargarPorColumnas(DbCursor& rs, F&& alFila)
{
    int columna[Campos];
    for (int c = 0; c < Campos; ++c) {
        columna[c] = -1;
        for (int i = 0; i < rs.ColumnCount() && columna[c] < 0; ++i)
            if (rs.Columns().at(i).compare(QLatin1String(kNombres[c]), Qt::CaseInsensitive) == 0) columna[c] = i;
    }
    const QVariant* v[Campos];
    Bloques bloques;
    bool primera = true;
    while (rs.Next()) {
        if (primera) {
            primera = false;
            for (int c = 0; c < Campos; ++c)
                if (columna[c] < 0) rs.value(QLatin1String(kNombres[c])); // raises "Item not found"
        }
        for (int c = 0; c < Campos; ++c) v[c] = &rs.Valor(columna[c]);
        clsTransacciones* t = bloques.Nueva();
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
        alFila(bloques.Compartida(t));
    }
}

// A whole number converted as the object's field would be: within the range the conversion
// keeps exactly, as it is; outside it, through the conversion, which raises its own overflow.
qint64 comoEntero64(qint64 n)
{
    constexpr qint64 kExacto = qint64(1) << 53;
    return n > -kExacto && n < kExacto ? n : Vb::CLng64(double(n));
}

qint16 comoEntero16(qint64 n)
{
    return n >= std::numeric_limits<qint16>::min() && n <= std::numeric_limits<qint16>::max() ? qint16(n)
                                                                                              : Vb::CInt(double(n));
}

// The columns of the start list's statement: the ticket, the answer code, the texts kept once
// per distinct value, the card.
enum ColumnaLista { LTicket, LError, LRepetidos, LTarjeta = LRepetidos + FilasTransacciones::Repetidos, LColumnas };

std::string_view sinBlancos(std::string_view t)
{
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

// The UTF-8 bytes of a column of the current row as its text conversion writes it: the cursor's
// own where it holds them so, else its text or number written out, once per distinct value when
// consecutive rows repeat it (without a QString where the cursor holds the text). False for a
// text UTF-8 cannot carry (a lone surrogate).
class BytesDeTexto {
public:
    bool Leer(DbCursor& rs, int columna, std::string_view& bytes)
    {
        if (rs.Utf8(columna, bytes)) return true;
        Previo& p = m_previos[columna];
        QStringView texto;
        QString escrito;
        if (!rs.Utf16(columna, texto)) {
            const QVariant& v = rs.Valor(columna);
            if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
                // A number needs no text to be compared: its digits are made when it changes.
                const qint64 n = v.toLongLong();
                if (p.hay != Hay::Numero || n != p.numero) {
                    p.hay = Hay::Numero;
                    p.numero = n;
                    p.bytes = QByteArray::number(n);
                }
                bytes = std::string_view(p.bytes.constData(), size_t(p.bytes.size()));
                return true;
            }
            if (v.typeId() == QMetaType::QString) {
                texto = *static_cast<const QString*>(v.constData());
            } else if (!v.isNull()) {
                escrito = Vb::CStr(v);
                texto = escrito;
            }
        }
        if (p.hay != Hay::Texto || texto != QStringView(p.texto)) {
            p.hay = Hay::Texto;
            p.texto.assign(texto.utf16(), size_t(texto.size()));
            if (!Ascii(texto, p.bytes)) {
                p.bytes.resize(m_utf8.requiredSpace(texto.size()));
                p.bytes.resize(m_utf8.appendToBuffer(p.bytes.data(), texto) - p.bytes.data());
                if (m_utf8.hasError()) return false;
            }
        }
        bytes = std::string_view(p.bytes.constData(), size_t(p.bytes.size()));
        return true;
    }

private:
    // ASCII, the log's usual text, narrowed without the encoder's work per call.
    static bool Ascii(QStringView texto, QByteArray& bytes)
    {
        bytes.resize(texto.size());
        char* destino = bytes.data();
        const char16_t* origen = texto.utf16();
        for (qsizetype i = 0; i < texto.size(); ++i) {
            if (origen[i] >= 0x80) return false;
            destino[i] = char(origen[i]);
        }
        return true;
    }
    enum class Hay { Nada, Texto, Numero };
    struct Previo {
        Hay hay = Hay::Nada;
        std::u16string texto;
        qint64 numero = 0;
        QByteArray bytes;
    };
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    Previo m_previos[LColumnas];
};

// The start list's rows into the compact rows, as the column-by-column reading would read their
// fields; false at a text that reading would read otherwise.
bool cargarLista(DbCursor& rs, FilasTransacciones& destino)
{
    BytesDeTexto textos;
    std::string_view repetidos[FilasTransacciones::Repetidos], tarjeta;
    while (rs.Next()) {
        for (int c = 0; c < FilasTransacciones::Repetidos; ++c) {
            if (!textos.Leer(rs, LRepetidos + c, repetidos[c])) return false;
            // The date and time are kept as stored; the other texts without their blanks.
            if (c != FilasTransacciones::Fecha && c != FilasTransacciones::Hora) repetidos[c] = sinBlancos(repetidos[c]);
        }
        if (!textos.Leer(rs, LTarjeta, tarjeta)) return false;
        destino.Agregar(comoEntero64(rs.Valor(LTicket).toLongLong()), comoEntero16(rs.Valor(LError).toLongLong()),
                        repetidos, sinBlancos(tarjeta));
    }
    return true;
}
}

namespace {

// The history knows only the company, and ObrasSociales has a row per company and activity:
// a transaction is listed under each insurer of its company, and once without one.
QString desdeTransacciones(bool porPrestador, bool ordenada)
{
    QString desde = QStringLiteral(
        "FROM Transaccion "
        "LEFT JOIN ObrasSociales ON ObrasSociales.Empresa = Transaccion.CodigoEmpresa ");
    if (porPrestador) desde += QStringLiteral("Where Transaccion.Prestador = ? ");
    if (ordenada) desde += QStringLiteral("ORDER BY Fecha");
    return desde;
}

// Rows the start list cannot take from the fields it reads: a value the log always writes is
// missing, or a number is of a kind or size that the conversions of the fields it leaves unread
// would refuse or read otherwise. The schema's partial index IX_Transaccion_Incompleta is made
// on this very condition, so asking for such rows reads that index, empty in a sound log, and
// not the log itself; a test checks on both engines that the index answers it, as a condition
// written here and there may drift apart.
QString condicionIncompleta(bool sqlite)
{
    if (sqlite)
        return QStringLiteral(
            "typeof(Ticket) <> 'integer' OR typeof(Error) <> 'integer' OR Error NOT BETWEEN -32768 AND 32767 "
            "OR Fecha IS NULL OR Hora IS NULL OR Comentario IS NULL OR FechaPrestacion IS NULL "
            "OR HoraPrestacion IS NULL OR MatriculaMedicoPrescriptor IS NULL "
            "OR typeof(MontoAbonar) NOT IN ('real', 'integer') OR abs(MontoAbonar) > 1.7976931348623157e308 "
            "OR typeof(NumeroTrxPrestador) <> 'integer' "
            "OR NumeroTrxPrestador NOT BETWEEN -9007199254740992 AND 9007199254740992 "
            "OR typeof(TicketPadre) <> 'integer' OR TicketPadre NOT BETWEEN -9007199254740992 AND 9007199254740992 "
            "OR typeof(TipoAsociado) <> 'integer' OR TipoAsociado NOT BETWEEN -32768 AND 32767 "
            "OR typeof(CodigoAutorizacion) NOT IN ('integer', 'null') "
            "OR CodigoAutorizacion NOT BETWEEN -2147483648 AND 2147483647");
    return QStringLiteral(
        "Ticket IS NULL OR Error IS NULL OR Fecha IS NULL OR Hora IS NULL OR Comentario IS NULL "
        "OR FechaPrestacion IS NULL OR HoraPrestacion IS NULL OR MatriculaMedicoPrescriptor IS NULL "
        "OR MontoAbonar IS NULL OR MontoAbonar NOT BETWEEN -1.7976931348623157e308 AND 1.7976931348623157e308 "
        "OR NumeroTrxPrestador IS NULL OR NumeroTrxPrestador NOT BETWEEN -9007199254740992 AND 9007199254740992 "
        "OR TicketPadre IS NULL OR TicketPadre NOT BETWEEN -9007199254740992 AND 9007199254740992 "
        "OR TipoAsociado IS NULL");
}

}

void clsConfig::LoadTransacciones(const QString& sCuit)
{
    if (!m_Transacciones || m_Transacciones->Count() > 0)
        m_Transacciones = std::make_shared<Coleccion<clsTransacciones>>();
    QVariantList p;
    if (!sCuit.isEmpty()) p << sCuit;
    // Streamed: a provider's history can hold a hundred thousand rows.
    auto rs = m_cn->OpenCursor(QStringLiteral("SELECT Transaccion.*, ObrasSociales.Nombre as ObraSocial ") +
                                   desdeTransacciones(!sCuit.isEmpty(), true),
                               p);
    cargarPorColumnas(*rs, [this](std::shared_ptr<clsTransacciones> t) { m_Transacciones->Add(std::move(t)); });
}

QString clsConfig::SentenciaLista(bool porPrestador)
{
    // What the list shows, and what a row's void is sent with (its provider, and its company,
    // whose insurer it goes to): an opened row reads nothing more. Unsorted: the list sorts its
    // rows itself, by date and time, keeping the read order of equal ones as the engine's stable
    // sort by date did; the engine's sort held every row at once.
    return QStringLiteral("SELECT Transaccion.Ticket, Transaccion.Error, Transaccion.Operacion, Transaccion.Fecha, "
                          "Transaccion.Hora, ObrasSociales.Nombre AS ObraSocial, Transaccion.Comentario, "
                          "Transaccion.Prestador, Transaccion.CodigoEmpresa, Transaccion.Tarjeta ") +
           desdeTransacciones(porPrestador, false);
}

QString clsConfig::SentenciaIncompletas(bool sqlite, bool porPrestador)
{
    // In the index's order: PostgreSQL then reads the index even before it has gathered the
    // log's statistics, when a bare LIMIT would have it scan the log hoping for an early row.
    return QStringLiteral("SELECT Prestador FROM Transaccion WHERE ") +
           (porPrestador ? QStringLiteral("Prestador = ? AND ") : QString()) + QLatin1Char('(') +
           condicionIncompleta(sqlite) + QStringLiteral(") ORDER BY Prestador LIMIT 1");
}

void clsConfig::LoadFilasTransacciones(const QString& sCuit, FilasTransacciones& filas)
{
    filas.Vaciar();
    if (m_Transacciones && m_Transacciones->Count() > 0)
        m_Transacciones = std::make_shared<Coleccion<clsTransacciones>>();
    QVariantList p;
    if (!sCuit.isEmpty()) p << sCuit;
    const bool sqlite = m_cn->engine() == Database::Engine::SQLite;
    if (sqlite || m_cn->engine() == Database::Engine::PostgreSQL) {
        if (m_cn->Query(SentenciaIncompletas(sqlite, !sCuit.isEmpty()), p).RowCount() == 0) {
            // Page by page: the list scans the whole log, whose mapped pages would all stay
            // resident, about twice what the rows kept take.
            auto rs = m_cn->OpenCursor(SentenciaLista(!sCuit.isEmpty()), p, true);
            if (cargarLista(*rs, filas)) return;
            rs.reset();
            filas.Vaciar();
        }
    }
    // Every field the long way, with its conversion and its errors: a broken row ends the list.
    auto rs = m_cn->OpenCursor(QStringLiteral("SELECT Transaccion.*, ObrasSociales.Nombre as ObraSocial ") +
                                   desdeTransacciones(!sCuit.isEmpty(), false),
                               p, true);
    try {
        cargarPorColumnas(*rs, [&filas](std::shared_ptr<clsTransacciones> t) { filas.Agregar(*t); });
    } catch (...) {
        filas.Vaciar();
        throw;
    }
}
