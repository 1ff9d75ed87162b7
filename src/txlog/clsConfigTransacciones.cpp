// The configuration's loader of the transaction history. Its rows are the log's own type, so
// the loader is built with the log: the configuration never reaches up into it.
#include "config/clsConfig.h"
#include "txlog/clsTransacciones.h"
#include "txlog/FilasTransacciones.h"
#include "platform/Database.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"

#include <QStringEncoder>

#include <charconv>
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
// Columns whose null reads as the empty text; a null anywhere else is a broken row.
constexpr bool kNuloEsVacio[Campos] = {
    false, true, false, false, false, false, false, false, false, false, true, false, true, true,
    true, true, true, false, false, true, true, true, true};
// Between the fields of a row read as one text: a control character no logged value holds
// (a row where one does splits into too many fields and is read column by column).
constexpr char16_t kSeparador = 0x1F;

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
double importeLeido(double x)
{
    if (x == 0) return 0; // "0", whatever its sign
    const double centavos = std::round(x * 100);
    if (std::fabs(centavos) < 1e15 && centavos / 100 == x) return x;
    return Vb::CDbl(NuloATexto(QVariant(x)));
}

double importeLeido(const QVariant& v)
{
    if (v.typeId() == QMetaType::Double) return importeLeido(v.toDouble());
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

// A whole number written plainly ("-" and digits) within the range of the type the column is
// read as; anything else is left to the column-by-column reading, which knows its errors.
bool enteroSimple(std::string_view t, qint64 minimo, qint64 maximo, qint64* numero)
{
    const bool negativo = !t.empty() && t.front() == '-';
    if (negativo) t.remove_prefix(1);
    if (t.empty() || t.size() > 18) return false;
    qint64 n = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (negativo) n = -n;
    *numero = n;
    return n >= minimo && n <= maximo;
}

// A finite number as the database writes a double out; the bytes read back are those the
// driver's own conversion gives.
bool dobleSimple(std::string_view t, double* numero)
{
    if (t.empty() || t.size() >= 40 || !((t.front() >= '0' && t.front() <= '9') || t.front() == '-')) return false;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), *numero);
    return r.ec == std::errc() && r.ptr == t.data() + t.size() && std::isfinite(*numero);
}

std::string_view sinBlancos(std::string_view t)
{
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

// One row of the list statement, split into its fields (UTF-8), with its numbers.
struct FilaPartida {
    std::string_view campo[Campos];
    qint64 ticket = 0, codigo = 0, error = 0, trx = 0, padre = 0, tipo = 0, empresa = 0;
    double monto = 0;
};

// False where the row must be read column by column: a separator inside a value, a number that
// is not plainly written.
bool partirFila(std::string_view fila, FilaPartida& f)
{
    size_t inicio = 0;
    for (int c = 0; c < Campos - 1; ++c) {
        const size_t fin = fila.find(char(kSeparador), inicio);
        if (fin == std::string_view::npos) return false;
        f.campo[c] = fila.substr(inicio, fin - inicio);
        inicio = fin + 1;
    }
    f.campo[Campos - 1] = fila.substr(inicio);
    if (f.campo[Campos - 1].find(char(kSeparador)) != std::string_view::npos) return false;

    constexpr qint64 kMin32 = std::numeric_limits<qint32>::min(), kMax32 = std::numeric_limits<qint32>::max();
    constexpr qint64 kMin64 = std::numeric_limits<qint64>::min(), kMax64 = std::numeric_limits<qint64>::max();
    const std::string_view* campo = f.campo;
    return enteroSimple(campo[Ticket], kMin64, kMax64, &f.ticket) &&
           (campo[CodigoAutorizacion].empty() || enteroSimple(campo[CodigoAutorizacion], kMin32, kMax32, &f.codigo)) &&
           enteroSimple(campo[Error], kMin32, kMax32, &f.error) &&
           enteroSimple(campo[NumeroTrxPrestador], kMin64, kMax64, &f.trx) &&
           enteroSimple(campo[TicketPadre], kMin64, kMax64, &f.padre) &&
           enteroSimple(campo[TipoAsociado], kMin32, kMax32, &f.tipo) &&
           (campo[CodigoEmpresa].empty() || enteroSimple(campo[CodigoEmpresa], kMin32, kMax32, &f.empresa)) &&
           dobleSimple(campo[MontoAbonar], &f.monto);
}

// Each row as one text the database puts together, split here: the driver then converts one
// value per row instead of 23, which was most of the time a long history took to load. `alFila`
// takes each row; false at the first row this reading cannot take exactly as the
// column-by-column one would (a null where a value is required, or as partirFila says), and the
// caller then reads everything again that way.
template <class F>
bool porFilas(DbCursor& rs, F&& alFila)
{
    // Where the cursor hands no bytes of its own, the text is encoded into one buffer for all
    // rows; a lone surrogate, which UTF-8 cannot carry, sends the row the long way.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
    QByteArray codificada;
    FilaPartida fila;
    while (rs.Next()) {
        std::string_view bytes;
        if (!rs.Utf8(0, bytes)) {
            const QVariant& v = rs.Valor(0);
            if (v.typeId() != QMetaType::QString) return false; // null: a required value is missing
            const QStringView texto = *static_cast<const QString*>(v.constData());
            codificada.resize(utf8.requiredSpace(texto.size()));
            const char* fin = utf8.appendToBuffer(codificada.data(), texto);
            if (utf8.hasError()) return false;
            bytes = std::string_view(codificada.constData(), size_t(fin - codificada.constData()));
        }
        if (!partirFila(bytes, fila)) return false;
        alFila(fila);
    }
    return true;
}

bool cargarPorFilas(DbCursor& rs, Coleccion<clsTransacciones>& destino)
{
    Bloques bloques;
    // A history repeats its provider, dates, codes and answers row after row: a value equal to
    // the previous row's shares its text.
    std::string bytesAnteriores[Campos];
    QString anterior[Campos];
    const auto texto = [&](int c, std::string_view valor) -> const QString& {
        if (valor != bytesAnteriores[c]) {
            bytesAnteriores[c].assign(valor);
            anterior[c] = valor.empty() ? QString() : ValoresBD::DeUtf8(valor.data(), qsizetype(valor.size()));
        }
        return anterior[c];
    };
    return porFilas(rs, [&](const FilaPartida& f) {
        const std::string_view* campo = f.campo;
        clsTransacciones* t = bloques.Nueva();
        t->Ticket = Vb::CLng64(double(f.ticket));
        t->CodigoAutorizacion = Vb::CLng(double(f.codigo));
        t->Comentario = texto(Comentario, sinBlancos(campo[Comentario]));
        t->Error = Vb::CInt(double(f.error));
        t->Fecha = texto(Fecha, campo[Fecha]);
        t->FechaPrestacion = texto(FechaPrestacion, campo[FechaPrestacion]);
        t->Hora = texto(Hora, campo[Hora]);
        t->HoraPrestacion = texto(HoraPrestacion, campo[HoraPrestacion]);
        t->MatriculaMedicoPrescriptor = texto(MatriculaMedicoPrescriptor, campo[MatriculaMedicoPrescriptor]);
        t->MontoAbonar = importeLeido(f.monto);
        t->NumeroAutorizacion = texto(NumeroAutorizacion, sinBlancos(campo[NumeroAutorizacion]));
        t->NumeroTrxPrestador = Vb::CLng64(double(f.trx));
        t->Operacion = texto(Operacion, sinBlancos(campo[Operacion]));
        t->PlanAsociado = texto(PlanAsociado, sinBlancos(campo[PlanAsociado]));
        t->Prestador = texto(Prestador, sinBlancos(campo[Prestador]));
        t->PrestadorSolicitante = texto(PrestadorSolicitante, sinBlancos(campo[PrestadorSolicitante]));
        t->Tarjeta = texto(Tarjeta, sinBlancos(campo[Tarjeta]));
        t->TicketPadre = Vb::CLng64(double(f.padre));
        t->TipoAsociado = Vb::CInt(double(f.tipo));
        t->TipoLectura = texto(TipoLectura, sinBlancos(campo[TipoLectura]));
        t->TipoMatriculaMPrescriptor = texto(TipoMatriculaMPrescriptor, sinBlancos(campo[TipoMatriculaMPrescriptor]));
        t->ObraSocial = texto(ObraSocial, sinBlancos(campo[ObraSocial]));
        t->CodigoEmpresa = texto(CodigoEmpresa, campo[CodigoEmpresa]);
        destino.Add(bloques.Compartida(t));
    });
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

// The columns of the start list's statement: the shown fields, the card last.
enum ColumnaLista { LTicket, LError, LRepetidos, LTarjeta = LRepetidos + FilasTransacciones::Repetidos, LColumnas };

// The UTF-8 bytes of a text column of the current row: the cursor's own where it holds them
// so, else its text encoded, once per distinct value when consecutive rows repeat it. False for
// a text UTF-8 cannot carry (a lone surrogate).
class BytesDeTexto {
public:
    bool Leer(DbCursor& rs, int columna, std::string_view& bytes)
    {
        if (rs.Utf8(columna, bytes)) return true;
        Previo& p = m_previos[columna];
        const QVariant& v = rs.Valor(columna);
        const QString valor = v.typeId() == QMetaType::QString ? *static_cast<const QString*>(v.constData())
                              : v.isNull()                     ? QString()
                                                               : v.toString();
        const QStringView texto = valor;
        if (!p.hay || texto != QStringView(p.texto)) {
            p.hay = true;
            p.texto.assign(texto.utf16(), size_t(texto.size()));
            p.bytes.resize(m_utf8.requiredSpace(texto.size()));
            p.bytes.resize(m_utf8.appendToBuffer(p.bytes.data(), texto) - p.bytes.data());
            if (m_utf8.hasError()) return false;
        }
        bytes = std::string_view(p.bytes.constData(), size_t(p.bytes.size()));
        return true;
    }

private:
    struct Previo {
        bool hay = false;
        std::u16string texto;
        QByteArray bytes;
    };
    QStringEncoder m_utf8{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    Previo m_previos[LColumnas];
};

// The start list's rows into the compact rows, as the column-by-column reading would read their
// shown fields; false at a text that reading would read otherwise.
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

// Rows the start list cannot take from its shown fields alone: a value the log always writes is
// missing, or a number is of a kind or size that the conversions of the fields it leaves unread
// would refuse or read otherwise. The schema's partial index IX_Transaccion_Incompleta is made
// on this very condition, so asking for such rows reads that index, empty in a sound log, and
// not the log itself.
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

QString clsConfig::SentenciaTransacciones(bool sqlite, bool porPrestador)
{
    // One text per row, put together in one pass (chained concatenation copies the row over
    // and over). printf and format write a null as nothing, so a value that must not be null
    // stands for its null with a separator: that row then splits wrong and is read again
    // column by column, which raises the error.
    QString formato, valores;
    for (int c = 0; c < Campos; ++c) {
        if (c > 0) {
            formato += QChar(kSeparador);
            valores += QLatin1Char(',');
        }
        formato += QLatin1String("%s");
        const QString columna = c == ObraSocial ? QStringLiteral("ObrasSociales.Nombre")
                                                : QStringLiteral("Transaccion.") + QLatin1String(kNombres[c]);
        valores += kNuloEsVacio[c] ? columna
                                   : (sqlite ? QStringLiteral("ifnull(%1, char(%2))")
                                             : QStringLiteral("COALESCE(%1::text, chr(%2))"))
                                         .arg(columna).arg(int(kSeparador));
    }
    const QString fila = (sqlite ? QStringLiteral("printf('%1', %2)") : QStringLiteral("format('%1', %2)"))
                             .arg(formato, valores);
    return QStringLiteral("SELECT ") + fila + QStringLiteral(" AS Fila ") + desdeTransacciones(porPrestador, true);
}

void clsConfig::LoadTransacciones(const QString& sCuit)
{
    if (!m_Transacciones || m_Transacciones->Count() > 0)
        m_Transacciones = std::make_shared<Coleccion<clsTransacciones>>();
    QVariantList p;
    if (!sCuit.isEmpty()) p << sCuit;

    // Streamed: a provider's history can hold a hundred thousand rows.
    const bool sqlite = m_cn->engine() == Database::Engine::SQLite;
    if (sqlite || m_cn->engine() == Database::Engine::PostgreSQL) {
        auto rs = m_cn->OpenCursor(SentenciaTransacciones(sqlite, !sCuit.isEmpty()), p);
        if (cargarPorFilas(*rs, *m_Transacciones)) return;
        rs.reset();
        while (m_Transacciones->Count() > 0) m_Transacciones->Remove(m_Transacciones->Count());
    }
    auto rs = m_cn->OpenCursor(QStringLiteral("SELECT Transaccion.*, ObrasSociales.Nombre as ObraSocial ") +
                                   desdeTransacciones(!sCuit.isEmpty(), true),
                               p);
    cargarPorColumnas(*rs, [this](std::shared_ptr<clsTransacciones> t) { m_Transacciones->Add(std::move(t)); });
}

QString clsConfig::SentenciaLista(bool sqlite, bool porPrestador)
{
    // Only what the list shows: a click reads the rest. Unsorted: the list sorts its rows itself,
    // by date and time, keeping the read order of equal ones as the engine's stable sort by date
    // did; the engine's sort held every row at once.
    return QStringLiteral("SELECT Transaccion.Ticket, Transaccion.Error, Transaccion.Operacion, Transaccion.Fecha, "
                          "Transaccion.Hora, ObrasSociales.Nombre AS ObraSocial, Transaccion.Comentario, "
                          "Transaccion.Tarjeta ") +
           desdeTransacciones(porPrestador, false);
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
        // In the index's order: PostgreSQL then reads the index even before it has gathered the
        // log's statistics, when a bare LIMIT would have it scan the log hoping for an early row.
        const QString incompletas = QStringLiteral("SELECT Prestador FROM Transaccion WHERE ") +
                                    (sCuit.isEmpty() ? QString() : QStringLiteral("Prestador = ? AND ")) +
                                    QLatin1Char('(') + condicionIncompleta(sqlite) +
                                    QStringLiteral(") ORDER BY Prestador LIMIT 1");
        if (m_cn->Query(incompletas, p).RowCount() == 0) {
            // Page by page: the list scans the whole log, whose mapped pages would all stay
            // resident, about twice what the rows kept take.
            auto rs = m_cn->OpenCursor(SentenciaLista(sqlite, !sCuit.isEmpty()), p, true);
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

std::shared_ptr<clsTransacciones> clsConfig::LoadTransaccionListada(const clsTransacciones& listada)
{
    // The log writes a transaction once under its ticket, date and time (clsTransacciones::
    // SaveTransaccion): they find its row, and only while it is still there.
    auto rs = m_cn->OpenCursor(QStringLiteral("SELECT Transaccion.*, NULL AS ObraSocial FROM Transaccion "
                                              "WHERE Ticket = ? AND Fecha = ? AND Hora = ?"),
                               {listada.Ticket, listada.Fecha, listada.Hora});
    // Two rows under one ticket file (another provider's, say): the one that shows what was listed.
    std::shared_ptr<clsTransacciones> leida;
    bool igual = false;
    cargarPorColumnas(*rs, [&](std::shared_ptr<clsTransacciones> t) {
        const bool muestra = t->Tarjeta == listada.Tarjeta && t->Operacion == listada.Operacion &&
                             t->Error == listada.Error && t->Comentario == listada.Comentario;
        if (!leida || (muestra && !igual)) {
            leida = std::move(t);
            igual = muestra;
        }
    });
    // Listed under the insurer the row shows.
    if (leida) leida->ObraSocial = listada.ObraSocial;
    return leida;
}
