#include "reports/modExportarDatos.h"

#include "engine/General.h"
#include "engine/modUtils.h"
#include "platform/Codec1252.h"
#include "platform/Database.h"
#include "platform/EscrituraSegura.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "txlog/modLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <xlsxwriter.h>

namespace {

const QString kFuente = QStringLiteral("frmExportarDatos");
// Bytes the text file's lines gather in before they are written.
constexpr qsizetype kBloque = 1 << 16;

QString Blancos(int n) { return QString(n, QLatin1Char(' ')); }
QString Ceros(int n) { return QString(n, QLatin1Char('0')); }

// A value's text as a field takes it: a line break or tab inside a value would break the
// fixed-width line, and a character outside the code page is one "?".
QString Limpio(QString t)
{
    for (QChar& c : t)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char(' ');
    return Codec1252::toRepresentable(t);
}
QString Campo(const QVariant& valor) { return Limpio(modExportarDatos::TextoDe(valor)); }
QString NuloATexto(const QVariant& valor) { return Vb::Trim(Campo(valor)); }
QString NuloANumero(const QVariant& valor) { return QString::number(modUtils::NuloANumero(valor)); }

// Left-aligned, blank-filled, cut on the right: every field keeps its width whatever it holds.
QString Ancho(const QString& texto, int ancho) { return (texto + Blancos(ancho)).left(ancho); }

// One character of a registration kind, blank when there is none.
QString Caracter(const QString& texto, bool ultimo)
{
    if (texto.isEmpty()) return QStringLiteral(" ");
    return ultimo ? texto.right(1) : texto.left(1);
}

QString Hope(const modExportarDatos::Fila& f)
{
    using modExportarDatos::N;
    const QString fecha = NuloATexto(f.FechaPrestacion);
    const QString stored = Campo(f.FechaPrestacion);
    const QString dma = fecha.isEmpty() ? Blancos(10)
                                        : Ancho(Vb::Right(stored, 2) + QLatin1Char('/') + Vb::Mid(stored, 5, 2) +
                                                    QLatin1Char('/') + Vb::Left(stored, 4),
                                                10);
    return N(NuloATexto(f.Tarjeta), 15) + Blancos(30) + N(NuloATexto(f.CodigoPrestacion), 6) + Blancos(50) + dma +
           N(NuloANumero(f.cantidad), 2) + Ceros(40);
}

QString Osde(const modExportarDatos::Fila& f)
{
    using modExportarDatos::N;
    auto V = [](const QVariant& v, const char* defecto) {
        return Limpio(modExportarDatos::ValorODefecto(v, QString::fromLatin1(defecto)));
    };
    const QString sep = Blancos(3);
    // The layout has no rule for a missing date: blanks, never a shorter line.
    const QString stored = Campo(f.FechaPrestacion);
    const QString dma = Vb::Trim(stored).size() < 8
                            ? Blancos(6)
                            : Vb::Right(stored, 2) + Vb::Mid(stored, 5, 2) + Vb::Mid(stored, 3, 2);
    const QString tipoPrescriptor = V(f.TipoMatriculaMPrescriptor, "");
    const QString tipoEfector = V(f.TipoMatriculaMEfector, "");
    QString clase = QStringLiteral(" ");
    if (!tipoEfector.isEmpty()) {
        const QString c = tipoEfector.right(1);
        if (!Vb::IsNumeric(c))
            throw VbError(VbError::TypeMismatch, kFuente, QStringLiteral("No coinciden los tipos"));
        clase = Vb::Val(c) == 2 ? QStringLiteral("O") : QStringLiteral("M");
    }
    return QStringLiteral(" ") + N(V(f.codigoOSDE, "0"), 6) + sep + N(V(f.Tarjeta, "0"), 11) + sep +
           General::FormatearTexto(V(f.CodigoPrestacion, ""), 15) + sep + N(f.cantidad, 3) + sep + Ancho(dma, 6) +
           sep + QStringLiteral("00") + sep + N(V(f.NumeroAutorizacion, "0"), 6) + sep + QStringLiteral("0") + sep +
           Ceros(15) + sep + Caracter(tipoPrescriptor, true) + sep + N(f.MatriculaMedicoPrescriptor, 10) + sep +
           Caracter(tipoPrescriptor, false) + sep + clase + sep + N(V(f.MatriculaEfector, "0"), 10) + sep +
           Caracter(tipoEfector, false) + sep + N(f.Ticket, 6) + sep + Ceros(12);
}

QString Servesalud(const modExportarDatos::Fila& f)
{
    using modExportarDatos::N;
    const QString fecha = NuloATexto(f.FechaPrestacion).isEmpty() ? Blancos(8) : Ancho(Campo(f.FechaPrestacion), 8);
    return QStringLiteral("01") + N(NuloATexto(f.Tarjeta), 9) + Blancos(100) + Ceros(14) + fecha + Ceros(24) +
           Blancos(100) + Ceros(7) + Blancos(3) + Ceros(12) + Ancho(NuloATexto(f.CodigoPrestacion), 20) +
           Blancos(100) + N(NuloANumero(f.cantidad), 6) + Ceros(51) + Blancos(86);
}

QString Simeco(const modExportarDatos::Fila& f)
{
    using modExportarDatos::N;
    return N(NuloATexto(f.codigoOSDE), 10) + N(NuloATexto(f.Ticket), 10) + N(NuloATexto(f.codigoOSDESolicitante), 10) +
           N(NuloATexto(f.CodigoPrestacion), 6) + N(NuloANumero(f.cantidad), 5) + Ceros(10) +
           N(NuloATexto(f.Tarjeta), 10) + QStringLiteral("00") + N(NuloATexto(f.FechaPrestacion), 8);
}

// ---- The text file's lines as bytes ------------------------------------------------------
// The same layouts as the functions above, written straight into the file's buffer: a field's
// text is taken once per row as Windows-1252 bytes (controls as blanks, a character the code
// page lacks as one "?"), so a width in characters is a width in bytes and no line is a text.

enum Columna {
    CTarjeta, CSolicitante, CFechaPrestacion, CHoraPrestacion, CCodigoPrestacion, CCantidad, CCodigoOSDE, CNombre,
    CMatriculaPrescriptor, CTipoPrescriptor, CTicket, CFecha, CNumeroAutorizacion, CMatriculaEfector, CTipoEfector,
    CColumnas
};

// One line's bytes written into room made for them at the end of the buffer, so that a field
// costs a copy rather than a call that checks the buffer's size and sharing; the buffer takes
// the length written when it goes, also when a field raises halfway.
class Salida {
public:
    explicit Salida(QByteArray& destino) : m_destino(destino), m_inicio(destino.size()) { Crecer(kLinea); }
    ~Salida() { m_destino.resize(m_inicio + m_escritos); }
    Salida(const Salida&) = delete;
    Salida& operator=(const Salida&) = delete;

    void append(char c)
    {
        Lugar(1);
        m_p[m_escritos++] = c;
    }
    void append(const char* datos, qsizetype n)
    {
        // An empty piece may come without bytes at all (a short date's missing part): memcpy
        // must not see its null pointer.
        if (n <= 0) return;
        Lugar(n);
        memcpy(m_p + m_escritos, datos, size_t(n));
        m_escritos += n;
    }
    void append(qsizetype n, char c)
    {
        Lugar(n);
        memset(m_p + m_escritos, c, size_t(n));
        m_escritos += n;
    }
    // The bytes written in this line so far.
    qsizetype size() const { return m_escritos; }
    void truncate(qsizetype n) { m_escritos = std::min(n, m_escritos); }

private:
    // The longest layout's line, with its CR LF, fits at once.
    static constexpr qsizetype kLinea = 600;
    void Lugar(qsizetype n)
    {
        if (m_escritos + n > m_lugar) Crecer(std::max(2 * m_lugar, m_escritos + n));
    }
    void Crecer(qsizetype lugar)
    {
        m_destino.resize(m_inicio + lugar);
        m_lugar = lugar;
        m_p = m_destino.data() + m_inicio;
    }
    QByteArray& m_destino;
    const qsizetype m_inicio;
    qsizetype m_escritos = 0;
    qsizetype m_lugar = 0;
    char* m_p = nullptr;
};

class LineasEnBytes {
public:
    explicit LineasEnBytes(qint32 formato) : m_formato(formato) {}

    // `valores`: the row's values in the statement's column order. `bytes`, when given: a
    // column whose value is null there is taken from these ASCII bytes instead.
    void Agregar(QByteArray& destino, const QVariant* const* valores, const std::string_view* bytes = nullptr)
    {
        m_valores = valores;
        m_bytes = bytes;
        m_tomados = 0;
        Salida o(destino);
        switch (m_formato) {
        case 1: Hope(o); break;
        case 2: Osde(o); break;
        case 3: Servesalud(o); break;
        case 4: Simeco(o); break;
        default: modExportarDatos::Linea(m_formato, modExportarDatos::Fila{}); // raises
        }
        o.append("\r\n", 2);
    }

private:
    using Bytes = std::string_view;

    // Campo's text of a column, in bytes.
    Bytes C(int c)
    {
        if (!(m_tomados & (1u << c))) {
            m_tomados |= 1u << c;
            if (m_valores[c])
                Tomar(*m_valores[c], m_campos[c]);
            else
                TomarAscii(m_bytes[c], m_campos[c]);
        }
        return Bytes(m_campos[c].constData(), size_t(m_campos[c].size()));
    }

public:
    // Whether the layout reads column `c` only through its field text, so that its ASCII bytes
    // can stand for the value; the count of Hope, Servesalud and Simeco is read as a number.
    bool SoloTexto(int c) const { return c != CCantidad || m_formato == 2; }
    // Whether a text's UTF-8 bytes are all ASCII, and so give the same field as the text.
    static bool Ascii(std::string_view t)
    {
        for (const char b : t)
            if (static_cast<unsigned char>(b) >= 0x80) return false;
        return true;
    }

private:
    // Codificar's bytes for an ASCII text: controls are blanks.
    static void TomarAscii(std::string_view t, QByteArray& b)
    {
        b.resize(qsizetype(t.size()));
        char* d = b.data();
        for (size_t i = 0; i < t.size(); ++i) {
            const char x = t[i];
            d[i] = (x < 0x20 || x == 0x7F) ? ' ' : x;
        }
    }

    static void Tomar(const QVariant& v, QByteArray& b)
    {
        b.clear();
        if (!v.isValid() || v.isNull()) return;
        switch (v.typeId()) {
        case QMetaType::Int: case QMetaType::LongLong: case QMetaType::Short: case QMetaType::Long:
        case QMetaType::UInt: case QMetaType::ULongLong: case QMetaType::UShort: case QMetaType::ULong: {
            char cifras[24];
            const bool sinSigno = v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::ULongLong ||
                                  v.typeId() == QMetaType::UShort || v.typeId() == QMetaType::ULong;
            const auto r = sinSigno ? std::to_chars(cifras, cifras + sizeof cifras, v.toULongLong())
                                    : std::to_chars(cifras, cifras + sizeof cifras, v.toLongLong());
            b.append(cifras, r.ptr - cifras);
            return;
        }
        case QMetaType::QString: Codificar(*static_cast<const QString*>(v.constData()), b); return;
        case QMetaType::Double: {
            // A whole number below 10^15 is written as its digits (a code or a count kept in a
            // double column); any other double takes the runtime's form.
            const double x = v.toDouble();
            if (x != 0 && std::fabs(x) < 1e15 && x == std::trunc(x)) {
                char cifras[24];
                const auto r = std::to_chars(cifras, cifras + sizeof cifras, static_cast<long long>(x));
                b.append(cifras, r.ptr - cifras);
                return;
            }
            Codificar(modExportarDatos::TextoDe(v), b);
            return;
        }
        default: Codificar(modExportarDatos::TextoDe(v), b); return;
        }
    }
    static void Codificar(const QString& t, QByteArray& b)
    {
        b.resize(t.size());
        char* d = b.data();
        qsizetype n = 0;
        for (qsizetype i = 0; i < t.size(); ++i) {
            const QChar c = t.at(i);
            const char16_t u = c.unicode();
            if (u < 0x20 || u == 0x7F) {
                d[n++] = ' ';
            } else if (u < 0x7F) {
                d[n++] = char(u);
            } else if (c.isHighSurrogate() && i + 1 < t.size() && t.at(i + 1).isLowSurrogate()) {
                d[n++] = '?'; // one character outside the BMP is one field position
                ++i;
            } else {
                const int byte = Codec1252::byte(c);
                d[n++] = byte < 0 ? '?' : char(byte);
            }
        }
        b.truncate(n);
    }

    static Bytes Recortar(Bytes t)
    {
        while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
        while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
        return t;
    }
    // Vb::Right, Vb::Mid and Vb::Left over bytes.
    static Bytes Derecha(Bytes t, size_t n) { return t.size() <= n ? t : t.substr(t.size() - n); }
    static Bytes Medio(Bytes t, size_t desde, size_t n) { return desde > t.size() ? Bytes() : t.substr(desde - 1, n); }
    static Bytes Izquierda(Bytes t, size_t n) { return t.substr(0, std::min(n, t.size())); }

    static void Agregar(Salida& o, Bytes t) { o.append(t.data(), qsizetype(t.size())); }
    // Right-aligned, zero-filled, the rightmost `ancho` characters of the trimmed text.
    static void N(Salida& o, Bytes t, qsizetype ancho)
    {
        t = Recortar(t);
        if (qsizetype(t.size()) >= ancho) {
            o.append(t.data() + t.size() - size_t(ancho), ancho);
        } else {
            o.append(ancho - qsizetype(t.size()), '0');
            Agregar(o, t);
        }
    }
    // Left-aligned, blank-filled, cut on the right.
    static void Ancho(Salida& o, Bytes t, qsizetype ancho)
    {
        const qsizetype n = std::min(ancho, qsizetype(t.size()));
        o.append(t.data(), n);
        o.append(ancho - n, ' ');
    }
    void NNumero(Salida& o, int c, qsizetype ancho)
    {
        const QByteArray cifras = QString::number(modUtils::NuloANumero(*m_valores[c])).toLatin1();
        N(o, Bytes(cifras.constData(), size_t(cifras.size())), ancho);
    }

    void Hope(Salida& o)
    {
        N(o, C(CTarjeta), 15);
        o.append(30, ' ');
        N(o, C(CCodigoPrestacion), 6);
        o.append(50, ' ');
        const Bytes fecha = C(CFechaPrestacion);
        if (Recortar(fecha).empty()) {
            o.append(10, ' ');
        } else {
            const qsizetype antes = o.size();
            Agregar(o, Derecha(fecha, 2));
            o.append('/');
            Agregar(o, Medio(fecha, 5, 2));
            o.append('/');
            Agregar(o, Izquierda(fecha, 4));
            const qsizetype escritos = o.size() - antes;
            if (escritos > 10) o.truncate(antes + 10);
            else o.append(10 - escritos, ' ');
        }
        NNumero(o, CCantidad, 2);
        o.append(40, '0');
    }

    void Osde(Salida& o)
    {
        const auto sep = [&o] { o.append("   ", 3); };
        // The effector's registration kind is checked first: a row it refuses writes nothing.
        const Bytes tipoEfector = C(CTipoEfector);
        char clase = ' ';
        if (!tipoEfector.empty()) {
            const char c = tipoEfector.back();
            if (c < '0' || c > '9')
                throw VbError(VbError::TypeMismatch, kFuente, QStringLiteral("No coinciden los tipos"));
            clase = c == '2' ? 'O' : 'M';
        }
        o.append(' ');
        N(o, C(CCodigoOSDE), 6);
        sep();
        N(o, C(CTarjeta), 11);
        sep();
        Ancho(o, Recortar(C(CCodigoPrestacion)), 15);
        sep();
        N(o, C(CCantidad), 3);
        sep();
        const Bytes fecha = C(CFechaPrestacion);
        if (Recortar(fecha).size() < 8) {
            o.append(6, ' ');
        } else {
            const qsizetype antes = o.size();
            Agregar(o, Derecha(fecha, 2));
            Agregar(o, Medio(fecha, 5, 2));
            Agregar(o, Medio(fecha, 3, 2));
            const qsizetype escritos = o.size() - antes;
            if (escritos > 6) o.truncate(antes + 6);
            else o.append(6 - escritos, ' ');
        }
        sep();
        o.append("00", 2);
        sep();
        N(o, C(CNumeroAutorizacion), 6);
        sep();
        o.append('0');
        sep();
        o.append(15, '0');
        sep();
        const Bytes tipoPrescriptor = C(CTipoPrescriptor);
        o.append(tipoPrescriptor.empty() ? ' ' : tipoPrescriptor.back());
        sep();
        N(o, C(CMatriculaPrescriptor), 10);
        sep();
        o.append(tipoPrescriptor.empty() ? ' ' : tipoPrescriptor.front());
        sep();
        o.append(clase);
        sep();
        N(o, C(CMatriculaEfector), 10);
        sep();
        o.append(tipoEfector.empty() ? ' ' : tipoEfector.front());
        sep();
        N(o, C(CTicket), 6);
        sep();
        o.append(12, '0');
    }

    void Servesalud(Salida& o)
    {
        o.append("01", 2);
        N(o, C(CTarjeta), 9);
        o.append(100, ' ');
        o.append(14, '0');
        const Bytes fecha = C(CFechaPrestacion);
        if (Recortar(fecha).empty())
            o.append(8, ' ');
        else
            Ancho(o, fecha, 8);
        o.append(24, '0');
        o.append(100, ' ');
        o.append(7, '0');
        o.append(3, ' ');
        o.append(12, '0');
        Ancho(o, Recortar(C(CCodigoPrestacion)), 20);
        o.append(100, ' ');
        NNumero(o, CCantidad, 6);
        o.append(51, '0');
        o.append(86, ' ');
    }

    void Simeco(Salida& o)
    {
        N(o, C(CCodigoOSDE), 10);
        N(o, C(CTicket), 10);
        N(o, C(CSolicitante), 10);
        N(o, C(CCodigoPrestacion), 6);
        NNumero(o, CCantidad, 5);
        o.append(10, '0');
        N(o, C(CTarjeta), 10);
        o.append("00", 2);
        N(o, C(CFechaPrestacion), 8);
    }

    qint32 m_formato;
    const QVariant* const* m_valores = nullptr;
    const std::string_view* m_bytes = nullptr;
    quint32 m_tomados = 0;
    QByteArray m_campos[CColumnas];
};

// The row walk shared by both writers: the windows stay painted a few times a second.
template <typename F>
qint64 Recorrer(DbCursor& cursor, F&& porFila)
{
    qint64 filas = 0;
    QElapsedTimer desdeEventos;
    desdeEventos.start();
    do {
        porFila(modExportarDatos::Fila::De(cursor));
        ++filas;
        if (desdeEventos.elapsed() >= 40 && QCoreApplication::instance()) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            desdeEventos.restart();
        }
    } while (cursor.Next());
    return filas;
}

// Frees the workbook however the walk ends; `Cerrar` reports how the file was finished.
class Libro {
public:
    explicit Libro(const QString& ruta)
    {
        lxw_workbook_options opciones{};
        opciones.constant_memory = LXW_TRUE;
        m_libro = workbook_new_opt(QFile::encodeName(ruta).constData(), &opciones);
        if (m_libro) m_hoja = workbook_add_worksheet(m_libro, nullptr);
        if (!m_hoja) m_error = QStringLiteral("No se pudo crear el libro");
    }
    ~Libro()
    {
        if (m_libro) workbook_close(m_libro);
    }
    // False once any cell failed; later cells are not tried.
    bool Escribir(lxw_row_t fila, lxw_col_t columna, const QString& texto)
    {
        if (!m_error.isEmpty()) return false;
        if (texto.isEmpty()) return true;
        const lxw_error e = worksheet_write_string(m_hoja, fila, columna, texto.toUtf8().constData(), nullptr);
        if (e != LXW_NO_ERROR) m_error = QString::fromUtf8(lxw_strerror(e));
        return m_error.isEmpty();
    }
    bool Cerrar()
    {
        if (!m_libro) return false;
        const lxw_error e = workbook_close(m_libro);
        m_libro = nullptr;
        if (e != LXW_NO_ERROR && m_error.isEmpty()) m_error = QString::fromUtf8(lxw_strerror(e));
        return m_error.isEmpty();
    }
    const QString& Error() const { return m_error; }

private:
    lxw_workbook* m_libro = nullptr;
    lxw_worksheet* m_hoja = nullptr;
    QString m_error;
};

// Copies a finished file into place through the program's one writer, a block at a time.
bool Copiar(const QString& origen, const QString& destino, QString& error)
{
    QFile entrada(origen);
    if (!entrada.open(QIODevice::ReadOnly)) {
        error = entrada.errorString();
        return false;
    }
    EscrituraSegura salida(destino, EscrituraSegura::Modo::Propio);
    if (!salida.Abrir()) {
        error = salida.Error();
        return false;
    }
    while (!entrada.atEnd()) {
        const QByteArray bloque = entrada.read(1 << 16);
        if (bloque.isEmpty() && entrada.error() != QFileDevice::NoError) {
            error = entrada.errorString();
            return false;
        }
        if (!salida.Escribir(bloque)) {
            error = salida.Error();
            return false;
        }
    }
    if (!salida.Confirmar(true)) {
        error = salida.Error();
        return false;
    }
    return true;
}

}

namespace modExportarDatos {

Rotulos RotulosDeFormato(qint32 formato)
{
    switch (formato) {
    case 1: return {QStringLiteral("Exportar datos a formato Hope"), QStringLiteral("Hope")};
    case 2: return {QStringLiteral("Exportar datos a formato Osde FMX590"), QStringLiteral("Osde")};
    case 3: return {QStringLiteral("Exportar datos a formato Servesalud"), QStringLiteral("Servesalud")};
    case 4: return {QStringLiteral("Exportar datos a formato Simeco"), QStringLiteral("Simeco")};
    default: return {};
    }
}

const QStringList& Columnas()
{
    static const QStringList columnas = {
        QStringLiteral("Tarjeta"), QStringLiteral("codigoOSDESolicitante"), QStringLiteral("FechaPrestacion"),
        QStringLiteral("HoraPrestacion"), QStringLiteral("CodigoPrestacion"), QStringLiteral("cantidad"),
        QStringLiteral("codigoOSDE"), QStringLiteral("Nombre"), QStringLiteral("MatriculaMedicoPrescriptor"),
        QStringLiteral("TipoMatriculaMPrescriptor"), QStringLiteral("Ticket"), QStringLiteral("Fecha"),
        QStringLiteral("NumeroAutorizacion"), QStringLiteral("MatriculaEfector"), QStringLiteral("TipoMatriculaMEfector")};
    return columnas;
}

Fila Fila::De(const DbCursor& c)
{
    const QStringList& n = Columnas();
    return Fila{c.value(n[0]),  c.value(n[1]),  c.value(n[2]),  c.value(n[3]),  c.value(n[4]),
                c.value(n[5]),  c.value(n[6]),  c.value(n[7]),  c.value(n[8]),  c.value(n[9]),
                c.value(n[10]), c.value(n[11]), c.value(n[12]), c.value(n[13]), c.value(n[14])};
}

QString TextoDe(const QVariant& valor) { return modLog::TextoExportado(valor); }

QString ValorODefecto(const QVariant& valor, const QString& defecto)
{
    return !valor.isValid() || valor.isNull() ? defecto : TextoDe(valor);
}

QString N(const QVariant& valor, int ancho)
{
    return (Ceros(ancho) + Vb::Trim(Campo(valor))).right(ancho);
}

QString Linea(qint32 formato, const Fila& f)
{
    switch (formato) {
    case 1: return Hope(f);
    case 2: return Osde(f);
    case 3: return Servesalud(f);
    case 4: return Simeco(f);
    default:
        throw VbError(5, kFuente, QStringLiteral("No se eligió el formato de exportación"));
    }
}

void AgregarLinea(QByteArray& destino, qint32 formato, const Fila& f)
{
    const QVariant* const valores[CColumnas] = {
        &f.Tarjeta, &f.codigoOSDESolicitante, &f.FechaPrestacion, &f.HoraPrestacion, &f.CodigoPrestacion,
        &f.cantidad, &f.codigoOSDE, &f.Nombre, &f.MatriculaMedicoPrescriptor, &f.TipoMatriculaMPrescriptor,
        &f.Ticket, &f.Fecha, &f.NumeroAutorizacion, &f.MatriculaEfector, &f.TipoMatriculaMEfector};
    LineasEnBytes(formato).Agregar(destino, valores);
}

QDate FechaDeCampo(const QString& texto)
{
    const QDate d = Vb::ParseDate(Vb::Trim(texto));
    if (!d.isValid()) throw VbError(VbError::TypeMismatch, kFuente, QStringLiteral("No coinciden los tipos"));
    return d;
}

Consulta ArmarConsulta(qint32 formato, const QDate& desde, const QDate& hasta, const QString& codigoEmpresa)
{
    bool ok = false;
    const qint64 empresa = Vb::Trim(codigoEmpresa).toLongLong(&ok);
    if (!ok) throw VbError(VbError::TypeMismatch, kFuente, QStringLiteral("No coinciden los tipos"));
    QString sql = QStringLiteral(
        "SELECT Transaccion.Tarjeta, Efectores.Cuit as codigoOSDESolicitante, Transaccion.FechaPrestacion, "
        "Transaccion.HoraPrestacion, ItemPrestaciones.CodigoPrestacion, ItemPrestaciones.cantidad, "
        "Prestadores.codigoOSDE, Prestadores.Nombre, Transaccion.MatriculaMedicoPrescriptor, "
        "Transaccion.TipoMatriculaMPrescriptor, "
        "Transaccion.Ticket, Transaccion.Fecha, Transaccion.NumeroAutorizacion, Efectores.Matricula as "
        "MatriculaEfector, Efectores.TipoMatricula as TipoMatriculaMEfector "
        "FROM ((Transaccion LEFT JOIN ItemPrestaciones ON Transaccion.Ticket = ItemPrestaciones.ticket) "
        "LEFT JOIN Prestadores ON Transaccion.Prestador = Prestadores.Cuit) "
        "LEFT JOIN Efectores ON Transaccion.PrestadorSolicitante = Efectores.Cuit"
        " WHERE Fecha Between ? and ?");
    if (formato == 2) sql += QStringLiteral(" AND Transaccion.Operacion IN ('11', '65', '64','35')");
    sql += QStringLiteral(" AND Transaccion.CodigoEmpresa = ?"
                          " ORDER BY Transaccion.Fecha, Transaccion.Ticket, ItemPrestaciones.CodigoPrestacion");
    const QString formatoFecha = QStringLiteral("yyyyMMdd");
    return {sql, {desde.toString(formatoFecha), hasta.toString(formatoFecha), empresa}};
}

QString ArchivoTexto(const QString& carpeta, const QString& obraSocial, const QDate& hoy)
{
    return Paths::Join(carpeta, QStringLiteral("DatosFormato") + Vb::Trim(obraSocial) +
                                    hoy.toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".txt"));
}

QString ArchivoLibro() { return Paths::Join(Paths::DataDir(), QStringLiteral("nombre.xlsx")); }

Resultado ExportarTexto(Database& cn, qint32 formato, const Consulta& consulta, const QString& ruta)
{
    Resultado r;
    auto cursor = cn.OpenCursor(consulta.sql, consulta.valores);
    if (!cursor->Next()) return r;
    r.hayDatos = true;
    EscrituraSegura salida(ruta, EscrituraSegura::Modo::Propio);
    bool escribe = salida.Abrir();
    if (!escribe) r.error = salida.Error();
    // A file that cannot be written still has its rows read: a row the layout cannot take is
    // the reading's failure, reported before the writing's. The statement names its columns in
    // the layout's order, so a row is read by position; the lines gather in one buffer that
    // goes to the file a block at a time.
    if (cursor->ColumnCount() < CColumnas)
        cursor->value(Columnas().at(cursor->ColumnCount())); // raises "Item not found", as by name
    LineasEnBytes lineas(formato);
    QByteArray bloque;
    bloque.reserve(kBloque + 1024);
    const auto vaciar = [&] {
        if (escribe && !bloque.isEmpty() && !salida.Escribir(bloque)) {
            escribe = false;
            r.error = salida.Error();
        }
        bloque.resize(0); // keeps its room
    };
    const QVariant* valores[CColumnas];
    // A text the cursor holds as ASCII bytes (the embedded driver's UTF-8) goes into its field
    // as those bytes, with no text made of it: they are the bytes its text would encode to.
    std::string_view bytes[CColumnas];
    QElapsedTimer desdeEventos;
    desdeEventos.start();
    do {
        for (int c = 0; c < CColumnas; ++c) {
            if (lineas.SoloTexto(c) && cursor->Utf8(c, bytes[c]) && LineasEnBytes::Ascii(bytes[c]))
                valores[c] = nullptr;
            else
                valores[c] = &cursor->Valor(c);
        }
        lineas.Agregar(bloque, valores, bytes);
        ++r.filas;
        if (bloque.size() >= kBloque) vaciar();
        if (desdeEventos.elapsed() >= 40 && QCoreApplication::instance()) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            desdeEventos.restart();
        }
    } while (cursor->Next());
    vaciar();
    cursor->Close();
    // On disk before the purge that follows may delete the rows it holds.
    if (escribe && !salida.Confirmar(true)) {
        escribe = false;
        r.error = salida.Error();
    }
    r.escrito = escribe;
    return r;
}

Resultado ExportarExcel(Database& cn, const Consulta& consulta, const QString& ruta)
{
    Resultado r;
    auto cursor = cn.OpenCursor(consulta.sql, consulta.valores);
    if (!cursor->Next()) return r;
    r.hayDatos = true;
    QTemporaryDir temporal;
    const QString borrador = temporal.filePath(QStringLiteral("libro.xlsx"));
    bool escribe = temporal.isValid();
    if (!escribe) r.error = temporal.errorString();
    {
        Libro libro(borrador);
        const QStringList& columnas = Columnas();
        for (int c = 0; c < columnas.size(); ++c) libro.Escribir(0, static_cast<lxw_col_t>(c), columnas[c]);
        lxw_row_t fila = 0;
        r.filas = Recorrer(*cursor, [&](const Fila&) {
            ++fila;
            for (int c = 0; c < columnas.size(); ++c)
                libro.Escribir(fila, static_cast<lxw_col_t>(c), TextoDe(cursor->value(c)));
        });
        cursor->Close();
        if (escribe && !libro.Cerrar()) {
            escribe = false;
            r.error = libro.Error();
        }
    }
    if (escribe && !Copiar(borrador, ruta, r.error)) escribe = false;
    r.escrito = escribe;
    return r;
}

}
