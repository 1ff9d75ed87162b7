#include "platform/ArchivoIni.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

bool Blanco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool Hexadecimal(char16_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int ValorHexadecimal(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

// The character a backslash and `c` stand for in a value, or 0.
char Escapado(char c)
{
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\': return c;
    default: return 0;
    }
}

// A line of the file as QSettings reads one: from `pos`, blank and comment lines skipped; a
// line goes on past a line end inside quotes or after a backslash, and stops at a ';' outside
// quotes (the comment after a value). `igual` is its first '=' outside quotes, or -1.
struct Linea {
    qsizetype inicio = 0;
    qsizetype fin = 0;
    qsizetype igual = -1;
};
bool LeerLinea(const QByteArray& d, qsizetype& pos, Linea& l)
{
    const qsizetype n = d.size();
    bool comillas = false;
    l.igual = -1;
    l.inicio = pos;
    while (l.inicio < n && Blanco(d[l.inicio])) ++l.inicio;
    qsizetype i = l.inicio;
    while (i < n) {
        const char c = d[i++];
        if (c == '=') {
            if (!comillas && l.igual < 0) l.igual = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == l.inicio + 1) ++l.inicio;
            else if (!comillas) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < n) {
                const char escapado = d[i++];
                if (i < n && ((escapado == '\n' && d[i] == '\r') || (escapado == '\r' && d[i] == '\n'))) ++i;
            }
        } else if (c == '"') {
            comillas = !comillas;
        } else if (c == ';') {
            if (i == l.inicio + 1) {
                while (i < n && d[i] != '\n' && d[i] != '\r') ++i;
                while (i < n && Blanco(d[i])) ++i;
                l.inicio = i;
            } else if (!comillas) {
                --i;
                break;
            }
        }
    }
    pos = l.fin = i;
    return l.fin > l.inicio;
}

// Keys and section names: '/' as '\', letters, digits and "_-." as they are, every other
// character as "%XX" or "%UXXXX".
QByteArray EscaparClave(const QString& clave)
{
    QByteArray r;
    for (const QChar q : clave) {
        const char16_t c = q.unicode();
        if (c == '/') r += '\\';
        else if (c < 0x80 && (q.isLetterOrNumber() || c == '_' || c == '-' || c == '.')) r += char(c);
        else if (c <= 0xFF) r += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        else r += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
    }
    return r;
}

QString DesescaparClave(const QByteArray& bytes)
{
    const QString clave = QString::fromUtf8(bytes);
    QString r;
    for (qsizetype i = 0; i < clave.size();) {
        const QChar c = clave[i];
        if (c == QLatin1Char('\\')) {
            r += QLatin1Char('/');
            ++i;
            continue;
        }
        const qsizetype digitos = i + 1 < clave.size() && clave[i + 1] == QLatin1Char('U') ? 4 : 2;
        const qsizetype desde = i + 1 + (digitos == 4 ? 1 : 0);
        bool ok = false;
        const ushort codigo =
            c == QLatin1Char('%') && desde + digitos <= clave.size() ? clave.mid(desde, digitos).toUShort(&ok, 16) : 0;
        if (!ok) {
            r += c;
            ++i;
            continue;
        }
        r += QChar(codigo);
        i = desde + digitos;
    }
    return r;
}

// A value's text: escapes as in C, quotes (inside which ',' and blanks are kept), the blanks
// around an unquoted value dropped. An unquoted ',' makes it a list, which has no text; a few
// "@" forms name other types (those of another program's values read as no text either).
QString DesescaparValor(const QByteArray& v)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto;
    bool lista = false, comillas = false, citado = false, recortar = true;
    qsizetype i = 0, limite = 0; // blanks before `limite` are kept
    const auto blancos = [&] {
        while (i < v.size() && (v[i] == ' ' || v[i] == '\t')) ++i;
        limite = texto.size();
    };
    const auto recortarBlancos = [&] {
        while (texto.size() > limite && (texto.back() == QLatin1Char(' ') || texto.back() == QLatin1Char('\t')))
            texto.chop(1);
    };
    blancos();
    while (i < v.size()) {
        const char c = v[i];
        if (c == '\\') {
            if (++i >= v.size()) {
                recortar = false;
                break;
            }
            const char e = v[i++];
            if (const char escapado = Escapado(e)) {
                texto += QLatin1Char(escapado);
            } else if ((e == 'x' && i < v.size() && Hexadecimal(uchar(v[i]))) || (e >= '0' && e <= '7')) {
                const bool hexa = e == 'x';
                char16_t codigoNumerico = hexa ? 0 : char16_t(e - '0');
                while (i < v.size() && (hexa ? Hexadecimal(uchar(v[i])) : v[i] >= '0' && v[i] <= '7'))
                    codigoNumerico = char16_t((codigoNumerico << (hexa ? 4 : 3)) + ValorHexadecimal(v[i++]));
                texto += QChar(codigoNumerico);
                if (i >= v.size()) {
                    recortar = false;
                    break;
                }
            } else if (e == 'x') {
                if (i >= v.size()) {
                    recortar = false;
                    break;
                }
            } else if ((e == '\n' || e == '\r') && i < v.size() && (v[i] == '\n' || v[i] == '\r') && v[i] != e) {
                ++i; // an escaped line end of two characters
            }
            limite = texto.size();
        } else if (c == '"') {
            ++i;
            citado = true;
            comillas = !comillas;
            if (!comillas) blancos();
        } else if (c == ',' && !comillas) {
            lista = true;
            texto.clear();
            citado = false;
            ++i;
            blancos();
        } else {
            qsizetype j = i + 1;
            while (j < v.size() && v[j] != '\\' && v[j] != '"' && v[j] != ',') ++j;
            texto += utf8(QByteArrayView(v).sliced(i, j - i));
            i = j;
        }
    }
    if (recortar && !citado) recortarBlancos();
    if (lista) return QString();
    if (texto.startsWith(QLatin1Char('@'))) {
        if (texto.endsWith(QLatin1Char(')'))) {
            if (texto.startsWith(QLatin1String("@ByteArray(")))
                return QString::fromUtf8(texto.mid(11).chopped(1).toLatin1());
            if (texto.startsWith(QLatin1String("@String("))) return texto.mid(8).chopped(1);
            for (const char* otro : {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("})
                if (texto.startsWith(QLatin1String(otro))) return QString();
            if (texto == QLatin1String("@Invalid()")) return QString();
        }
        if (texto.startsWith(QLatin1String("@@"))) return texto.mid(1);
    }
    return texto;
}

QByteArray EscaparValor(QString valor)
{
    if (valor.contains(QChar(0))) valor = QStringLiteral("@String(") + valor + QLatin1Char(')');
    else if (valor.startsWith(QLatin1Char('@'))) valor.prepend(QLatin1Char('@'));
    QStringEncoder utf8(QStringEncoder::Utf8);
    QByteArray r;
    bool comillas = false, hexadecimalSigue = false;
    for (const QChar q : valor) {
        const char16_t c = q.unicode();
        if (c == ';' || c == ',' || c == '=') comillas = true;
        // A digit right after a numeric escape would be read as part of it.
        if (hexadecimalSigue && Hexadecimal(c)) {
            r += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        hexadecimalSigue = false;
        static const char kCodigos[] = "abfnrtv\"\\";
        const char* const codigo = std::find_if(kCodigos, kCodigos + 9, [c](char k) { return Escapado(k) == c; });
        if (c == 0) {
            r += "\\0";
            hexadecimalSigue = true;
        } else if (codigo != kCodigos + 9) {
            r += '\\';
            r += *codigo;
        } else if (c <= 0x1F) {
            r += "\\x" + QByteArray::number(c, 16);
            hexadecimalSigue = true;
        } else {
            r += utf8(QStringView(&q, 1));
        }
    }
    if (comillas || (!r.isEmpty() && (r.front() == ' ' || r.back() == ' '))) r = '"' + r + '"';
    return r;
}

}

ArchivoIni::ArchivoIni(const QByteArray& d)
{
    QString seccion;
    qsizetype pos = d.startsWith("\xef\xbb\xbf") ? 3 : 0, hecho = 0;
    Linea l;
    while (LeerLinea(d, pos, l)) {
        if (l.inicio > hecho) m_trozos.append({d.mid(hecho, l.inicio - hecho), {}, Clase::Otra, seccion, {}, {}});
        const QByteArray linea = d.mid(l.inicio, l.fin - l.inicio);
        // The line end that follows; none when a comment follows, at the end of the file, or
        // when the line's last line end was escaped (a Windows path's last "\" written by hand).
        const char siguiente = l.fin < d.size() ? d[l.fin] : '\0';
        const QByteArray fin = d.mid(l.fin, 2) == "\r\n"                    ? QByteArray("\r\n")
                               : siguiente == '\n' || siguiente == '\r' ? QByteArray(1, siguiente)
                                                                        : QByteArray();
        hecho = l.fin + fin.size();
        Trozo t{linea, fin, Clase::Otra, seccion, {}, {}};
        if (linea.startsWith('[')) {
            const qsizetype cierre = linea.indexOf(']');
            const QByteArray nombre = linea.left(cierre < 0 ? linea.size() : cierre).mid(1).trimmed();
            if (nombre.compare("general", Qt::CaseInsensitive) == 0) seccion.clear();
            else if (nombre.compare("%general", Qt::CaseInsensitive) == 0) seccion = QString::fromLatin1(nombre.mid(1));
            else seccion = DesescaparClave(nombre);
            t.clase = Clase::Cabecera;
            t.seccion = seccion;
        } else if (l.igual >= 0) {
            t.clase = Clase::Entrada;
            const QString clave = DesescaparClave(linea.left(l.igual - l.inicio).trimmed());
            t.clave = seccion.isEmpty() ? clave : seccion + QLatin1Char('/') + clave;
            t.valor = linea.mid(l.igual - l.inicio + 1);
        }
        m_trozos.append(t);
    }
    if (hecho < d.size()) m_trozos.append({d.mid(hecho), {}, Clase::Otra, seccion, {}, {}});
}

std::optional<QString> ArchivoIni::Valor(const QString& seccion, const QString& clave) const
{
    const QString completa = seccion + QLatin1Char('/') + clave;
    // The last of the same key counts, as in QSettings.
    for (auto t = m_trozos.crbegin(); t != m_trozos.crend(); ++t)
        if (t->clase == Clase::Entrada && t->clave == completa) return DesescaparValor(t->valor);
    return std::nullopt;
}

void ArchivoIni::Poner(const QString& seccion, const QString& clave, const QString& valor)
{
    const QString completa = seccion + QLatin1Char('/') + clave;
    const QByteArray escrito = EscaparValor(valor);
    Trozo nuevo{EscaparClave(clave) + '=' + escrito, "\n", Clase::Entrada, seccion, completa, escrito};
    // In place of the first entry of the key within its section; any other of the key goes.
    qsizetype lugar = -1;
    for (qsizetype i = 0; i < m_trozos.size(); ++i) {
        const Trozo& t = m_trozos[i];
        if (t.clase != Clase::Entrada || t.clave != completa) continue;
        if (lugar < 0 && t.seccion == seccion) {
            lugar = i;
            nuevo.fin = t.fin;
            m_trozos[i] = nuevo;
        } else {
            m_trozos.removeAt(i--);
        }
    }
    if (lugar < 0) Insertar(seccion, nuevo);
}

void ArchivoIni::Insertar(const QString& seccion, Trozo entrada)
{
    qsizetype despues = -1;
    for (qsizetype i = 0; i < m_trozos.size(); ++i)
        if (m_trozos[i].clase != Clase::Otra && m_trozos[i].seccion == seccion) despues = i;
    if (despues < 0) {
        // A new section at the end, a blank line before it, as QSettings writes them.
        const QByteArray texto = Texto();
        if (!texto.isEmpty()) m_trozos.append({texto.endsWith('\n') ? "\n" : "\n\n", {}, Clase::Otra, seccion, {}, {}});
        QByteArray nombre = EscaparClave(seccion);
        if (nombre.compare("general", Qt::CaseInsensitive) == 0) nombre.prepend('%'); // "[General]" is no section
        m_trozos.append({'[' + nombre + ']', "\n", Clase::Cabecera, seccion, {}, {}});
        despues = m_trozos.size() - 1;
    }
    // A line end after a line that has none of its own, so that the new one starts a line: two
    // after a last "\" (a Windows path written by hand), which would carry the first over.
    Trozo& previo = m_trozos[despues];
    if (previo.fin.isEmpty()) previo.fin = previo.texto.endsWith('\\') ? "\n\n" : "\n";
    m_trozos.insert(despues + 1, entrada);
}

void ArchivoIni::QuitarSeccion(const QString& seccion)
{
    const QString grupo = seccion + QLatin1Char('/');
    m_trozos.removeIf([&](const Trozo& t) {
        return t.clase == Clase::Entrada && (t.clave == seccion || t.clave.startsWith(grupo));
    });
}

QByteArray ArchivoIni::Texto() const
{
    QByteArray texto;
    for (const Trozo& t : m_trozos) texto += t.texto + t.fin;
    return texto;
}
