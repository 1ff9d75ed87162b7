#include "txlog/ModeloTransacciones.h"

#include "platform/Vb.h"
#include "txlog/clsTransacciones.h"
#include "txlog/frmInicio.h"

#include <QFontMetrics>
#include <QSet>
#include <algorithm>

namespace {

// Characters start:length of a text, 1-based, none past its end.
QStringView Trozo(const QString& s, int desde, int largo)
{
    return desde > s.size() ? QStringView() : QStringView(s).mid(desde - 1, largo);
}

QStringView SinBlancos(QStringView t)
{
    while (!t.isEmpty() && t.front() == u' ') t = t.mid(1);
    while (!t.isEmpty() && t.back() == u' ') t.chop(1);
    return t;
}

// A comment shows without its first two characters when they read as a number.
bool SinCodigo(const QString& comentario) { return Vb::IsNumeric(Vb::Left(comentario, 2)); }

// Whether two rows show the same text in a column whose text comes from one repeated field.
bool Igual(const clsTransacciones& a, const clsTransacciones& b, int columna)
{
    switch (columna) {
    case 0: return a.Error == b.Error;
    case 1: return a.Operacion == b.Operacion;
    case 3: return a.ObraSocial == b.ObraSocial;
    case 6: return a.Comentario == b.Comentario;
    default: return false;
    }
}

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
    int operator()(QStringView t)
    {
        int suma = 0;
        for (const QChar c : t) suma += (*this)(c);
        return suma;
    }

private:
    const QFontMetrics& m_fm;
    std::array<int, 256> m_latin;
    QHash<char16_t, int> m_otros;
};

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
    case 2: {
        QString dia;
        dia.reserve(16);
        dia += Trozo(t.Fecha, 7, 2);
        dia += QLatin1Char('/');
        dia += Trozo(t.Fecha, 5, 2);
        dia += QLatin1Char('/');
        dia += QStringView(t.Fecha).left(4);
        dia += QLatin1Char(' ');
        dia += QStringView(t.Hora).left(2);
        dia += QLatin1Char(':');
        dia += Trozo(t.Hora, 3, 2);
        return dia;
    }
    case 3: return t.ObraSocial;
    case 4: return QString::number(t.Ticket);
    case 5: return Vb::Trim(t.Tarjeta);
    case 6: return SinCodigo(t.Comentario) ? Vb::Mid(t.Comentario, 3) : t.Comentario;
    case 7: {
        QString orden;
        orden.reserve(t.Fecha.size() + 6);
        orden += t.Fecha;
        orden += QLatin1Char(' ');
        orden += QStringView(t.Hora).left(2);
        orden += QLatin1Char(':');
        orden += Trozo(t.Hora, 3, 2);
        return orden;
    }
    default: return QString();
    }
}

QString ModeloTransacciones::Celda(const clsTransacciones& t, int columna) const
{
    if (columna != 1) return TextoDe(t, columna);
    auto nombre = m_operaciones.constFind(t.Operacion);
    if (nombre == m_operaciones.constEnd())
        nombre = m_operaciones.insert(t.Operacion, frmInicio::NombreOperacion(t.Operacion));
    return *nombre;
}

void ModeloTransacciones::Cargar(std::shared_ptr<Coleccion<clsTransacciones>> filas, int columna, bool descendente)
{
    beginResetModel();
    m_coleccion = std::move(filas);
    m_filas.clear();
    for (auto& claves : m_claves) std::vector<QString>().swap(claves);
    if (m_coleccion) {
        m_filas.reserve(size_t(m_coleccion->Count()));
        int posicion = 0;
        for (const auto& t : *m_coleccion) m_filas.push_back({t.get(), ++posicion});
    }
    endResetModel();
    Ordenar(columna, descendente);
}

const std::vector<QString>& ModeloTransacciones::Claves(int columna)
{
    std::vector<QString>& claves = m_claves[size_t(columna)];
    if (claves.empty() && !m_filas.empty()) {
        claves.resize(m_filas.size());
        // Codes, names and answers repeat from row to row: an equal value shares its text.
        const clsTransacciones* anterior = nullptr;
        const QString* previa = nullptr;
        for (const Fila& f : m_filas) {
            QString& clave = claves[size_t(f.posicion - 1)];
            clave = anterior && Igual(*anterior, *f.t, columna) ? *previa : Celda(*f.t, columna);
            anterior = f.t;
            previa = &clave;
        }
    }
    return claves;
}

void ModeloTransacciones::Ordenar(int columna, bool descendente)
{
    if (columna < 0 || columna >= Columnas) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList antes = persistentIndexList();
    std::vector<int> posiciones;
    posiciones.reserve(size_t(antes.size()));
    for (const QModelIndex& i : antes) posiciones.push_back(m_filas[size_t(i.row())].posicion);

    const std::vector<QString>& claves = Claves(columna);
    const auto clave = [&claves](const Fila& f) -> const QString& { return claves[size_t(f.posicion - 1)]; };
    if (descendente)
        std::stable_sort(m_filas.begin(), m_filas.end(),
                         [&](const Fila& a, const Fila& b) { return clave(b) < clave(a); });
    else
        std::stable_sort(m_filas.begin(), m_filas.end(),
                         [&](const Fila& a, const Fila& b) { return clave(a) < clave(b); });

    if (!antes.isEmpty()) {
        std::vector<int> filaDe(m_filas.size() + 1);
        for (size_t r = 0; r < m_filas.size(); ++r) filaDe[size_t(m_filas[r].posicion)] = int(r);
        QModelIndexList despues;
        for (qsizetype i = 0; i < antes.size(); ++i)
            despues << index(filaDe[size_t(posiciones[size_t(i)])], antes[i].column());
        changePersistentIndexList(antes, despues);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

std::shared_ptr<clsTransacciones> ModeloTransacciones::Transaccion(int fila) const
{
    if (fila < 0 || size_t(fila) >= m_filas.size() || !m_coleccion) return nullptr;
    return m_coleccion->Item_(m_filas[size_t(fila)].posicion);
}

QString ModeloTransacciones::Texto(int fila, int columna) const
{
    if (fila < 0 || size_t(fila) >= m_filas.size()) return QString();
    return Celda(*m_filas[size_t(fila)].t, columna);
}

int ModeloTransacciones::FilaMasAncha(int columna, const QFontMetrics& fm) const
{
    if (m_filas.empty()) return -1;
    Anchos ancho(fm);
    // A text's width is about the sum of its characters' (kerning moves it by a few pixels).
    std::vector<int> estimado(m_filas.size());
    const clsTransacciones* anterior = nullptr;
    int previo = 0;
    for (size_t r = 0; r < m_filas.size(); ++r) {
        const clsTransacciones& t = *m_filas[r].t;
        int e = 0;
        switch (columna) {
        case 2:
            e = ancho(Trozo(t.Fecha, 7, 2)) + ancho(Trozo(t.Fecha, 5, 2)) + ancho(QStringView(t.Fecha).left(4)) +
                2 * ancho(QLatin1Char('/')) + ancho(QLatin1Char(' ')) + ancho(QStringView(t.Hora).left(2)) +
                ancho(QLatin1Char(':')) + ancho(Trozo(t.Hora, 3, 2));
            break;
        case 3: e = ancho(QStringView(t.ObraSocial)); break;
        case 4:
            for (qint64 n = t.Ticket < 0 ? -t.Ticket : t.Ticket;; n /= 10) {
                e += ancho(QChar(u'0' + char16_t(n % 10)));
                if (n < 10) break;
            }
            if (t.Ticket < 0) e += ancho(QLatin1Char('-'));
            break;
        case 5: e = ancho(SinBlancos(t.Tarjeta)); break;
        default: e = anterior && Igual(*anterior, t, columna) ? previo : ancho(Celda(t, columna));
        }
        estimado[r] = e;
        previo = e;
        anterior = &t;
    }
    const int mayor = *std::max_element(estimado.begin(), estimado.end());
    const int margen = std::max(8, mayor / 16);
    // The texts near the widest, each measured whole once.
    QSet<QString> medidos;
    int fila = -1, mejor = -1;
    for (size_t r = 0; r < m_filas.size() && medidos.size() < 64; ++r) {
        if (estimado[r] < mayor - margen) continue;
        const QString texto = Celda(*m_filas[r].t, columna);
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
    return padre.isValid() ? 0 : int(m_filas.size());
}

int ModeloTransacciones::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : Columnas; }

QVariant ModeloTransacciones::data(const QModelIndex& indice, int rol) const
{
    if (!indice.isValid() || size_t(indice.row()) >= m_filas.size()) return {};
    const clsTransacciones& t = *m_filas[size_t(indice.row())].t;
    if (rol == Qt::DisplayRole) return Celda(t, indice.column());
    if (rol == Qt::DecorationRole && indice.column() == 0 && m_iconos.size() >= 2)
        return t.Error == 0 ? m_iconos[0] : m_iconos[1];
    return {};
}

QVariant ModeloTransacciones::headerData(int seccion, Qt::Orientation orientacion, int rol) const
{
    static const char* const titulos[Columnas] = {"", "Operación", "Fecha", "Financiador", "Nº ticket",
                                                  "Afiliado", "Respuesta", "FechaOrden"};
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole || seccion < 0 || seccion >= Columnas) return {};
    return QString::fromUtf8(titulos[seccion]);
}
