#include "txlog/ModeloTransacciones.h"

#include "platform/ValoresBD.h"
#include "platform/Vb.h"
#include "txlog/clsTransacciones.h"
#include "txlog/frmInicio.h"

#include <QFontMetrics>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <charconv>
#include <unordered_set>

namespace {

// Characters start:length of a text, 1-based, none past its end.
QStringView Trozo(QStringView s, int desde, int largo)
{
    return desde > s.size() ? QStringView() : s.mid(desde - 1, largo);
}

// A comment shows without its first two characters when they read as a number.
bool SinCodigo(const QString& comentario) { return Vb::IsNumeric(Vb::Left(comentario, 2)); }

// Widths of characters in a font, each measured once.
class Anchos {
public:
    explicit Anchos(const QFontMetrics& fm) : m_fm(fm) { m_latin.fill(-1); }
    int operator()(QChar c)
    {
        if (c.unicode() < 256) {
            int& a = m_latin[c.unicode()];
            if (a < 0) a = m_fm.horizontalAdvance(c);
            return a;
        }
        auto a = m_otros.constFind(c.unicode());
        if (a == m_otros.constEnd()) a = m_otros.insert(c.unicode(), m_fm.horizontalAdvance(c));
        return *a;
    }
    // A tab or another control character is drawn unlike its width alone (a tab reaches the
    // next stop, the others show as boxes or not at all): such a text is measured whole.
    int operator()(QStringView t)
    {
        int suma = 0;
        for (const QChar c : t) {
            if (Control(c.unicode())) return m_fm.horizontalAdvance(t.toString());
            suma += (*this)(c);
        }
        return suma;
    }
    static bool Control(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

private:
    const QFontMetrics& m_fm;
    std::array<int, 256> m_latin;
    QHash<char16_t, int> m_otros;
};

}


namespace {

QString Dia(QStringView fecha, QStringView hora)
{
    QString dia;
    dia.reserve(16);
    dia += Trozo(fecha, 7, 2);
    dia += QLatin1Char('/');
    dia += Trozo(fecha, 5, 2);
    dia += QLatin1Char('/');
    dia += fecha.left(4);
    dia += QLatin1Char(' ');
    dia += hora.left(2);
    dia += QLatin1Char(':');
    dia += Trozo(hora, 3, 2);
    return dia;
}

QString Orden(QStringView fecha, QStringView hora)
{
    QString orden;
    orden.reserve(fecha.size() + 6);
    orden += fecha;
    orden += QLatin1Char(' ');
    orden += hora.left(2);
    orden += QLatin1Char(':');
    orden += Trozo(hora, 3, 2);
    return orden;
}

QString TextoRespuesta(const QString& comentario) { return SinCodigo(comentario) ? Vb::Mid(comentario, 3) : comentario; }

// Ranks of texts: equal texts share one, and ranks order as the texts do.
std::vector<quint32> RangosDe(const std::vector<QString>& textos, quint32& rangos)
{
    std::vector<quint32> orden(textos.size());
    for (size_t i = 0; i < orden.size(); ++i) orden[i] = quint32(i);
    std::sort(orden.begin(), orden.end(), [&](quint32 a, quint32 b) { return textos[a] < textos[b]; });
    std::vector<quint32> rango(textos.size());
    rangos = 0;
    for (size_t i = 0; i < orden.size(); ++i) {
        if (i > 0 && textos[orden[i]] != textos[orden[i - 1]]) ++rangos;
        rango[orden[i]] = rangos;
    }
    if (!orden.empty()) ++rangos;
    return rango;
}

// A number's decimal text as a number that orders as the text does: each character a digit
// of base 12 ('-' 1, '0' to '9' 2 to 11), ended by zeros.
unsigned __int128 ClaveDecimal(qint64 n)
{
    char texto[24];
    const auto r = std::to_chars(texto, texto + sizeof texto, n);
    unsigned __int128 clave = 0;
    const char* p = texto;
    for (int i = 0; i < 20; ++i) clave = clave * 12 + (p < r.ptr ? (*p == '-' ? 1u : unsigned(*p - '0') + 2u) : 0u), ++p;
    return clave;
}

}

ModeloTransacciones::ModeloTransacciones(QList<QIcon> iconos, QObject* parent)
    : QAbstractTableModel(parent), m_iconos(std::move(iconos))
{
}

ModeloTransacciones::~ModeloTransacciones() = default;

QString ModeloTransacciones::TextoDe(const clsTransacciones& t, int columna)
{
    switch (columna) {
    case 0: return QString::number(t.Error);
    case 1: return frmInicio::NombreOperacion(t.Operacion);
    case 2: return Dia(t.Fecha, t.Hora);
    case 3: return t.ObraSocial;
    case 4: return QString::number(t.Ticket);
    case 5: return Vb::Trim(t.Tarjeta);
    case 6: return TextoRespuesta(t.Comentario);
    case 7: return Orden(t.Fecha, t.Hora);
    default: return QString();
    }
}

const QString& ModeloTransacciones::Nombre(quint32 operacion) const
{
    if (m_nombres.size() < size_t(m_datos.Valores(FilasTransacciones::Operacion)))
        m_nombres.resize(size_t(m_datos.Valores(FilasTransacciones::Operacion)));
    QString& nombre = m_nombres[operacion];
    if (nombre.isNull()) {
        nombre = frmInicio::NombreOperacion(m_datos.Valor(FilasTransacciones::Operacion, operacion));
        if (nombre.isNull()) nombre = QLatin1String("");
    }
    return nombre;
}

const QString& ModeloTransacciones::Respuesta(quint32 comentario) const
{
    if (m_respuestas.size() < size_t(m_datos.Valores(FilasTransacciones::Comentario)))
        m_respuestas.resize(size_t(m_datos.Valores(FilasTransacciones::Comentario)));
    QString& texto = m_respuestas[comentario];
    if (texto.isNull()) {
        texto = TextoRespuesta(m_datos.Valor(FilasTransacciones::Comentario, comentario));
        if (texto.isNull()) texto = QLatin1String("");
    }
    return texto;
}

QString ModeloTransacciones::Celda(quint32 fila, int columna) const
{
    const FilasTransacciones::Fila& f = m_datos[int(fila)];
    switch (columna) {
    case 0: return QString::number(f.error);
    case 1: return Nombre(f.valor[FilasTransacciones::Operacion]);
    case 2: return Dia(m_datos.Valor(int(fila), FilasTransacciones::Fecha), m_datos.Valor(int(fila), FilasTransacciones::Hora));
    case 3: return m_datos.Valor(int(fila), FilasTransacciones::ObraSocial);
    case 4: return QString::number(f.ticket);
    case 5: {
        const std::string_view t = m_datos.Tarjeta(int(fila));
        return t.empty() ? QString() : ValoresBD::DeUtf8(t.data(), qsizetype(t.size()));
    }
    case 6: return Respuesta(f.valor[FilasTransacciones::Comentario]);
    case 7: return Orden(m_datos.Valor(int(fila), FilasTransacciones::Fecha), m_datos.Valor(int(fila), FilasTransacciones::Hora));
    default: return QString();
    }
}

void ModeloTransacciones::Vaciar()
{
    beginResetModel();
    std::vector<quint32>().swap(m_orden);
    m_datos.Vaciar();
    std::vector<QString>().swap(m_nombres);
    std::vector<QString>().swap(m_respuestas);
    endResetModel();
}

void ModeloTransacciones::Mostrar(int columna, bool descendente)
{
    beginResetModel();
    m_orden.resize(size_t(m_datos.Cantidad()));
    for (size_t i = 0; i < m_orden.size(); ++i) m_orden[i] = quint32(i);
    endResetModel();
    Ordenar(columna, descendente);
}

bool ModeloTransacciones::Rangos(int columna, std::vector<quint32>& rango, quint32& rangos) const
{
    using F = FilasTransacciones;
    const int n = m_datos.Cantidad();
    // The rank of each stored value of a field, from the texts the column shows for them.
    const auto porValor = [&](F::Repetido campo, auto&& texto) {
        std::vector<QString> textos(size_t(m_datos.Valores(campo)));
        for (size_t v = 0; v < textos.size(); ++v) textos[v] = texto(quint32(v));
        const std::vector<quint32> r = RangosDe(textos, rangos);
        rango.resize(size_t(n));
        for (int i = 0; i < n; ++i) rango[size_t(i)] = r[m_datos[i].valor[campo]];
    };
    switch (columna) {
    case 0: {
        std::vector<qint16> codigos;
        std::vector<bool> visto(65536);
        for (int i = 0; i < n; ++i) {
            const size_t c = size_t(m_datos[i].error + 32768);
            if (!visto[c]) {
                visto[c] = true;
                codigos.push_back(m_datos[i].error);
            }
        }
        std::vector<QString> textos;
        for (qint16 c : codigos) textos.push_back(QString::number(c));
        const std::vector<quint32> r = RangosDe(textos, rangos);
        std::vector<quint32> deCodigo(65536);
        for (size_t i = 0; i < codigos.size(); ++i) deCodigo[size_t(codigos[i] + 32768)] = r[i];
        rango.resize(size_t(n));
        for (int i = 0; i < n; ++i) rango[size_t(i)] = deCodigo[size_t(m_datos[i].error + 32768)];
        return true;
    }
    case 1: porValor(F::Operacion, [&](quint32 v) { return Nombre(v); }); return true;
    case 3: porValor(F::ObraSocial, [&](quint32 v) { return m_datos.Valor(F::ObraSocial, v); }); return true;
    case 6: porValor(F::Comentario, [&](quint32 v) { return Respuesta(v); }); return true;
    case 2: case 7: {
        // The text is the date's part, a blank, then the time's: when every date's part has the
        // same length, the texts order by the date's part, then by the time's.
        std::vector<QString> fechas(size_t(m_datos.Valores(F::Fecha))), horas(size_t(m_datos.Valores(F::Hora)));
        for (size_t v = 0; v < fechas.size(); ++v) {
            const QString& f = m_datos.Valor(F::Fecha, quint32(v));
            fechas[v] = columna == 7 ? f : Dia(f, QStringView()).chopped(2);
            if (fechas[v].size() != fechas[0].size()) return false;
        }
        for (size_t v = 0; v < horas.size(); ++v) horas[v] = Orden(QStringView(), m_datos.Valor(F::Hora, quint32(v)));
        quint32 rangosFecha = 0, rangosHora = 0;
        const std::vector<quint32> rf = RangosDe(fechas, rangosFecha), rh = RangosDe(horas, rangosHora);
        if (quint64(rangosFecha) * rangosHora >= (quint64(1) << 32)) return false;
        rangos = rangosFecha * rangosHora;
        rango.resize(size_t(n));
        for (int i = 0; i < n; ++i)
            rango[size_t(i)] = rf[m_datos[i].valor[F::Fecha]] * rangosHora + rh[m_datos[i].valor[F::Hora]];
        return true;
    }
    default: return false;
    }
}

void ModeloTransacciones::Ordenar(int columna, bool descendente)
{
    if (columna < 0 || columna >= Columnas) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList antes = persistentIndexList();
    std::vector<quint32> posiciones;
    posiciones.reserve(size_t(antes.size()));
    for (const QModelIndex& i : antes) posiciones.push_back(m_orden[size_t(i.row())]);

    // Every sort is stable over the present order, as the texts' comparison would leave it.
    const auto ordenar = [&](auto&& menor) {
        if (descendente)
            std::stable_sort(m_orden.begin(), m_orden.end(), [&](quint32 a, quint32 b) { return menor(b, a); });
        else
            std::stable_sort(m_orden.begin(), m_orden.end(), menor);
    };
    std::vector<quint32> rango;
    quint32 rangos = 0;
    if (Rangos(columna, rango, rangos)) {
        if (size_t(rangos) <= 4 * m_orden.size() + 64) {
            // By counting: the rows of each rank in their present order.
            std::vector<quint32> desde(size_t(rangos) + 1);
            const auto clave = [&](quint32 f) { return descendente ? rangos - 1 - rango[f] : rango[f]; };
            for (quint32 f : m_orden) ++desde[clave(f) + 1];
            for (size_t r = 1; r < desde.size(); ++r) desde[r] += desde[r - 1];
            std::vector<quint32> nuevo(m_orden.size());
            for (quint32 f : m_orden) nuevo[desde[clave(f)]++] = f;
            m_orden.swap(nuevo);
        } else {
            ordenar([&](quint32 a, quint32 b) { return rango[a] < rango[b]; });
        }
    } else if (columna == 4) {
        std::vector<unsigned __int128> clave(size_t(m_datos.Cantidad()));
        for (size_t i = 0; i < clave.size(); ++i) clave[i] = ClaveDecimal(m_datos[int(i)].ticket);
        ordenar([&](quint32 a, quint32 b) { return clave[a] < clave[b]; });
    } else if (columna == 5 && m_datos.TarjetasSimples()) {
        ordenar([&](quint32 a, quint32 b) { return m_datos.Tarjeta(int(a)) < m_datos.Tarjeta(int(b)); });
    } else {
        std::vector<QString> texto(size_t(m_datos.Cantidad()));
        for (size_t i = 0; i < texto.size(); ++i) texto[i] = Celda(quint32(i), columna);
        ordenar([&](quint32 a, quint32 b) { return texto[a] < texto[b]; });
    }

    if (!antes.isEmpty()) {
        std::vector<int> filaDe(m_orden.size());
        for (size_t r = 0; r < m_orden.size(); ++r) filaDe[m_orden[r]] = int(r);
        QModelIndexList despues;
        for (qsizetype i = 0; i < antes.size(); ++i)
            despues << index(filaDe[posiciones[size_t(i)]], antes[i].column());
        changePersistentIndexList(antes, despues);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::shared_ptr<clsTransacciones> ModeloTransacciones::Transaccion(int fila) const
{
    if (fila < 0 || size_t(fila) >= m_orden.size()) return nullptr;
    return m_datos.Transaccion(int(m_orden[size_t(fila)]));
}

QString ModeloTransacciones::Texto(int fila, int columna) const
{
    if (fila < 0 || size_t(fila) >= m_orden.size()) return QString();
    return Celda(m_orden[size_t(fila)], columna);
}

int ModeloTransacciones::FilaMasAncha(int columna, const QFontMetrics& fm) const
{
    using F = FilasTransacciones;
    if (m_orden.empty()) return -1;
    Anchos ancho(fm);
    // A text's width is about the sum of its characters' (kerning moves it by a few pixels).
    // Texts of a repeated value are added up once per value.
    const auto porValor = [&](F::Repetido campo, auto&& texto) {
        std::vector<int> e(size_t(m_datos.Valores(campo)));
        for (size_t v = 0; v < e.size(); ++v) e[v] = ancho(texto(quint32(v)));
        return e;
    };
    std::vector<int> deValor, deHora;
    switch (columna) {
    case 1: deValor = porValor(F::Operacion, [&](quint32 v) { return Nombre(v); }); break;
    case 3: deValor = porValor(F::ObraSocial, [&](quint32 v) { return QStringView(m_datos.Valor(F::ObraSocial, v)); }); break;
    case 6: deValor = porValor(F::Comentario, [&](quint32 v) { return Respuesta(v); }); break;
    case 2: {
        // -1: a control character in the date or time, the whole text is measured.
        const auto conControl = [](QStringView t) {
            return std::any_of(t.begin(), t.end(), [](QChar c) { return Anchos::Control(c.unicode()); });
        };
        deValor.resize(size_t(m_datos.Valores(F::Fecha)));
        for (size_t v = 0; v < deValor.size(); ++v) {
            const QString& f = m_datos.Valor(F::Fecha, quint32(v));
            deValor[v] = conControl(f) ? -1
                                       : ancho(Trozo(f, 7, 2)) + ancho(Trozo(f, 5, 2)) + ancho(QStringView(f).left(4)) +
                                             2 * ancho(QLatin1Char('/')) + ancho(QLatin1Char(' '));
        }
        deHora.resize(size_t(m_datos.Valores(F::Hora)));
        for (size_t v = 0; v < deHora.size(); ++v) {
            const QString& h = m_datos.Valor(F::Hora, quint32(v));
            deHora[v] = conControl(h) ? -1
                                      : ancho(QStringView(h).left(2)) + ancho(QLatin1Char(':')) + ancho(Trozo(h, 3, 2));
        }
        break;
    }
    default: break;
    }
    // Digits taken off without negating the number: the least ticket has no positive one.
    const auto anchoNumero = [&](qint64 n) {
        int e = n < 0 ? ancho(QLatin1Char('-')) : 0;
        for (;; n /= 10) {
            const int cifra = int(n % 10);
            e += ancho(QChar(u'0' + char16_t(cifra < 0 ? -cifra : cifra)));
            if (n > -10 && n < 10) return e;
        }
    };
    // A card's ASCII characters by one lookup each (-1: a control character).
    std::array<int, 128> anchoAscii;
    for (char16_t c = 0; c < 128; ++c) anchoAscii[c] = Anchos::Control(c) ? -1 : ancho(QChar(c));
    std::vector<int> estimado(m_orden.size());
    for (size_t r = 0; r < m_orden.size(); ++r) {
        const quint32 fila = m_orden[r];
        const F::Fila& f = m_datos[int(fila)];
        int e = 0;
        switch (columna) {
        case 0: e = anchoNumero(f.error); break;
        case 1: e = deValor[f.valor[F::Operacion]]; break;
        case 3: e = deValor[f.valor[F::ObraSocial]]; break;
        case 6: e = deValor[f.valor[F::Comentario]]; break;
        case 2: {
            const int d = deValor[f.valor[F::Fecha]], h = deHora[f.valor[F::Hora]];
            e = d < 0 || h < 0 ? fm.horizontalAdvance(Celda(fila, 2)) : d + h;
            break;
        }
        case 4: e = anchoNumero(f.ticket); break;
        case 5: {
            const std::string_view t = m_datos.Tarjeta(int(fila));
            bool simple = m_datos.TarjetasSimples();
            for (size_t i = 0; simple && i < t.size(); ++i) {
                char16_t c = static_cast<unsigned char>(t[i]);
                if (c < 0x80 && anchoAscii[c] >= 0) {
                    e += anchoAscii[c];
                    continue;
                }
                if (c >= 0x80) c = char16_t(((c & 0x1F) << 6) | (static_cast<unsigned char>(t[++i]) & 0x3F));
                if (Anchos::Control(c)) simple = false;
                else e += ancho(QChar(c));
            }
            if (!simple) e = ancho(Celda(fila, 5));
            break;
        }
        default: e = ancho(Celda(fila, columna));
        }
        estimado[r] = e;
    }
    const int mayor = *std::max_element(estimado.begin(), estimado.end());
    const int margen = std::max(8, mayor / 16);
    // The texts near the widest, each measured whole once. The rows of a stored value already
    // taken are passed over without making its text again (every row of one answer, say).
    const auto valorDe = [&](quint32 f) -> quint64 {
        const F::Fila& x = m_datos[int(f)];
        switch (columna) {
        case 0: return quint16(x.error);
        case 1: return x.valor[F::Operacion];
        case 2: return quint64(x.valor[F::Fecha]) << 32 | x.valor[F::Hora];
        case 3: return x.valor[F::ObraSocial];
        case 6: return x.valor[F::Comentario];
        default: return f; // a ticket or a card: the row's own
        }
    };
    std::unordered_set<quint64> tomados;
    quint64 previo = ~quint64(0);
    QSet<QString> medidos;
    int fila = -1, mejor = -1;
    for (size_t r = 0; r < m_orden.size() && medidos.size() < 64; ++r) {
        if (estimado[r] < mayor - margen) continue;
        const quint64 valor = valorDe(m_orden[r]);
        if (valor == previo) continue;
        previo = valor;
        if (!tomados.insert(valor).second) continue;
        const QString texto = Celda(m_orden[r], columna);
        if (medidos.contains(texto)) continue;
        medidos.insert(texto);
        const int w = fm.horizontalAdvance(texto);
        if (w > mejor) {
            mejor = w;
            fila = int(r);
        }
    }
    return fila;
}

int ModeloTransacciones::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : int(m_orden.size());
}

int ModeloTransacciones::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : Columnas; }

QVariant ModeloTransacciones::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || size_t(indice.row()) >= m_orden.size()) return {};
    const quint32 fila = m_orden[size_t(indice.row())];
    if (rol == Qt::DisplayRole) return Celda(fila, indice.column());
    if (rol == Qt::DecorationRole && indice.column() == 0 && m_iconos.size() >= 2)
        return m_datos[int(fila)].error == 0 ? m_iconos[0] : m_iconos[1];
    return {};
}

QVariant ModeloTransacciones::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    static const char* const titulos[Columnas] = {"", "Operación", "Fecha", "Financiador", "Nº ticket",
                                                  "Afiliado", "Respuesta", "FechaOrden"};
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole || seccion < 0 || seccion >= Columnas) return {};
    return QString::fromUtf8(titulos[seccion]);
}
