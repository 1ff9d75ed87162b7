#pragma once
// The start list's floor: the least work that shows what the program's list shows.
// - It reads the eight shown fields and the two a row's void is sent with, which the program's
//   list keeps too (`Sentencia`: ticket, answer code, date, time, operation code, insurer, card,
//   answer, provider, company code), and no check of the fields it leaves unread, through the
//   same ODBC driver as the program with block fetch and the integers bound as numbers, or
//   through SQLite's C API (Suelo.h); on SQLite through the memory map (ComoElLector), the
//   fastest way, which the program's list gives up to keep its memory down.
// - Each row keeps, as the driver's bytes in one buffer with offsets, the four texts the list
//   shows as they are stored (operation code, insurer, card, answer) and the provider, blanks cut
//   at both ends; the ticket, the answer code and the company code as numbers; date and time as
//   one integer made from their digits (yyyymmddhhmm), which is also the sort key.
// - The column widths are found while the rows are read: each shown text's width is added up
//   from its characters' (one table lookup per byte), and only the few widest per column are
//   kept and measured whole at the end, with the rule of blanks and the header as the program
//   takes them.
// - The rows are sorted by the integer key, stably; a cell's text is made only when the view
//   asks for it; the view is painted by the caller.
// `Diferencia` compares its list with the program's: every shown cell, its image, the order
// and the width of every column.
#include "Suelo.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "txlog/frmInicio.h"

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QSet>
#include <QTreeView>
#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace Suelo {

class ModeloLista : public QAbstractTableModel {
public:
    // `iconos`: answer code 0, any other code (the program's own images).
    explicit ModeloLista(QList<QIcon> iconos = {}) : m_iconos(std::move(iconos)) {}

    // The columns of Sentencia.
    enum { Ticket, Error, Fecha, Hora, Operacion, ObraSocial, Tarjeta, Comentario, Prestador, Empresa, Columnas };
    // The floor's statement: the shown fields and the two a row's void is sent with, one
    // parameter (the provider's tax number) when `porPrestador`.
    static QString Sentencia(bool porPrestador)
    {
        return QStringLiteral("SELECT Transaccion.Ticket, Transaccion.Error, Transaccion.Fecha, Transaccion.Hora, "
                              "Transaccion.Operacion, ObrasSociales.Nombre, Transaccion.Tarjeta, "
                              "Transaccion.Comentario, Transaccion.Prestador, Transaccion.CodigoEmpresa "
                              "FROM Transaccion LEFT JOIN ObrasSociales "
                              "ON ObrasSociales.Empresa = Transaccion.CodigoEmpresa") +
               (porPrestador ? QStringLiteral(" WHERE Transaccion.Prestador = ?") : QString());
    }
    // The texts a row keeps, in the order of their bytes in the buffer.
    enum { TOperacion, TObraSocial, TTarjeta, TComentario, TPrestador, Textos };

    // Before the rows: `fm` is the view's font, whose widths the rows are measured in.
    void Empezar(const QFontMetrics& fm)
    {
        beginResetModel();
        std::vector<Fila>().swap(m_filas);
        std::vector<char>().swap(m_bytes);
        std::vector<quint32>().swap(m_orden);
        endResetModel();
        m_fm = &fm;
        m_latin.fill(-1);
        m_otros.clear();
        m_nombres.clear();
        for (auto& c : m_candidatos) c.clear();
        m_comentarioPrevio.clear();
    }
    // One row of Sentencia (the reader's `enteros` set).
    void Agregar(const Celda* c)
    {
        if (c[Fecha].utf16) Tomar<char16_t>(c);
        else Tomar<char>(c);
    }
    // Sorted by the hidden key, stable, and shown; the columns fitted.
    void Terminar(QTreeView& vista)
    {
        beginResetModel();
        m_orden.resize(m_filas.size());
        for (size_t i = 0; i < m_orden.size(); ++i) m_orden[i] = quint32(i);
        std::stable_sort(m_orden.begin(), m_orden.end(),
                         [this](quint32 a, quint32 b) { return m_filas[a].clave < m_filas[b].clave; });
        endResetModel();
        std::vector<int> filaDe(m_orden.size());
        for (size_t r = 0; r < m_orden.size(); ++r) filaDe[m_orden[r]] = int(r);
        for (int c = 0; c < 7; ++c) {
            int medida = c == 0 ? std::max(1, Twips::APixeles(10))
                                : m_fm->horizontalAdvance(QString(frmInicio::AnchosEnBlancos()[c], QLatin1Char(' ')));
            int mejor = -1, fila = -1;
            QSet<QString> medidos;
            for (const auto& [estimado, f] : m_candidatos[c]) {
                const QString t = Texto(f, c);
                if (medidos.contains(t)) continue;
                medidos.insert(t);
                const int w = m_fm->horizontalAdvance(t);
                if (w > mejor) mejor = w, fila = int(f);
            }
            if (fila >= 0) medida = std::max(medida, vista.sizeHintForIndex(index(filaDe[size_t(fila)], c)).width());
            vista.setColumnWidth(c, std::max(medida, vista.header()->sectionSizeHint(c)));
        }
        vista.setColumnHidden(7, true);
    }

    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : int(m_orden.size()); }
    int columnCount(const QModelIndex& = {}) const override { return 8; }
    QVariant data(const QModelIndex& i, int rol) const override
    {
        const quint32 f = m_orden[size_t(i.row())];
        if (rol == Qt::DecorationRole && i.column() == 0 && m_iconos.size() >= 2)
            return m_filas[f].error == 0 ? m_iconos[0] : m_iconos[1];
        if (rol != Qt::DisplayRole) return {};
        return Texto(f, i.column());
    }
    QVariant headerData(int s, Qt::Orientation o, int rol) const override
    {
        static const char* const titulos[8] = {"", "Operación", "Fecha", "Financiador", "Nº ticket",
                                               "Afiliado", "Respuesta", "FechaOrden"};
        if (o != Qt::Horizontal || rol != Qt::DisplayRole || s < 0 || s >= 8) return {};
        return QString::fromUtf8(titulos[s]);
    }

private:
    struct Fila {
        qint64 ticket = 0;
        qint64 clave = 0; // yyyymmddhhmm
        quint32 inicio = 0;
        quint16 largo[Textos] = {};
        qint64 empresa = 0;
        qint32 error = 0;
        bool sinEmpresa = true;
        bool utf16 = false;
    };
    // Per column, the widest rows by their added-up widths (at most kCandidatos, smallest first).
    static constexpr size_t kCandidatos = 64;
    using Candidato = std::pair<int, quint32>;

    template <class Ch>
    static void SinBlancos(const Ch*& p, const Ch*& fin)
    {
        while (p < fin && *p == Ch(' ')) ++p;
        while (fin > p && fin[-1] == Ch(' ')) --fin;
    }
    // The value of the first `cifras` characters, all digits.
    template <class Ch>
    static qint64 Digitos(const Celda& c, int cifras)
    {
        const Ch* p = reinterpret_cast<const Ch*>(c.datos);
        if (c.nulo || c.bytes < qsizetype(cifras * sizeof(Ch))) throw std::runtime_error("floor: date or time too short");
        qint64 n = 0;
        for (int i = 0; i < cifras; ++i) {
            if (p[i] < Ch('0') || p[i] > Ch('9')) throw std::runtime_error("floor: date or time not of digits");
            n = n * 10 + (p[i] - Ch('0'));
        }
        return n;
    }

    template <class Ch>
    void Tomar(const Celda* c)
    {
        Fila f;
        f.utf16 = sizeof(Ch) == 2;
        f.ticket = c[Ticket].entero;
        f.error = qint32(c[Error].entero);
        if (c[Fecha].bytes != qsizetype(8 * sizeof(Ch))) throw std::runtime_error("floor: date not of 8 digits");
        f.clave = Digitos<Ch>(c[Fecha], 8) * 10000 + Digitos<Ch>(c[Hora], 4);
        f.inicio = quint32(m_bytes.size());
        f.sinEmpresa = c[Empresa].nulo;
        f.empresa = c[Empresa].entero;
        const int orden[Textos] = {Operacion, ObraSocial, Tarjeta, Comentario, Prestador};
        for (int t = 0; t < Textos; ++t) {
            const Ch* a = reinterpret_cast<const Ch*>(c[orden[t]].datos);
            const Ch* b = a + c[orden[t]].bytes / qsizetype(sizeof(Ch));
            SinBlancos(a, b);
            f.largo[t] = quint16((b - a) * qsizetype(sizeof(Ch)));
            m_bytes.insert(m_bytes.end(), reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
        }
        const quint32 fila = quint32(m_filas.size());
        m_filas.push_back(f);
        Medir(fila, f, reinterpret_cast<const Ch*>(c[Fecha].datos), reinterpret_cast<const Ch*>(c[Hora].datos));
    }

    // The added-up widths of the row's shown texts, kept where they are among the widest.
    template <class Ch>
    void Medir(quint32 fila, const Fila& f, const Ch* fecha8, const Ch* hora4)
    {
        Proponer(0, Cifras(f.error), fila);
        Proponer(4, Cifras(f.ticket), fila);
        // dd/mm/yyyy hh:mm: twelve digits and four separators.
        int fecha = 2 * Ancho(u'/') + Ancho(u' ') + Ancho(u':');
        for (int i = 0; i < 8; ++i) fecha += Ancho(char16_t(fecha8[i]));
        for (int i = 0; i < 4; ++i) fecha += Ancho(char16_t(hora4[i]));
        Proponer(2, fecha, fila);
        // Operation codes and answers repeat: each distinct one is measured once.
        const std::string_view codigo(Inicio(f, TOperacion), f.largo[TOperacion]);
        if (codigo != m_codigoPrevio || m_filas.size() == 1) {
            m_codigoPrevio.assign(codigo);
            auto nombre = m_nombres.find(m_codigoPrevio);
            if (nombre == m_nombres.end())
                nombre = m_nombres
                             .emplace(m_codigoPrevio,
                                      Ancho(QStringView(frmInicio::NombreOperacion(Texto(f, TOperacion)))))
                             .first;
            m_anchoNombre = nombre->second;
        }
        Proponer(1, m_anchoNombre, fila);
        Proponer(3, Ancho(reinterpret_cast<const Ch*>(Inicio(f, TObraSocial)), f.largo[TObraSocial] / sizeof(Ch)), fila);
        Proponer(5, Ancho(reinterpret_cast<const Ch*>(Inicio(f, TTarjeta)), f.largo[TTarjeta] / sizeof(Ch)), fila);
        const std::string_view comentario(Inicio(f, TComentario), f.largo[TComentario]);
        if (comentario != m_comentarioPrevio || m_filas.size() == 1) {
            m_comentarioPrevio.assign(comentario);
            m_anchoComentario = Ancho(QStringView(Respuesta(Texto(f, TComentario))));
        }
        Proponer(6, m_anchoComentario, fila);
    }
    void Proponer(int c, int estimado, quint32 fila)
    {
        auto& v = m_candidatos[c];
        const auto mayor = [](const Candidato& a, const Candidato& b) { return a.first > b.first; };
        if (v.size() < kCandidatos) {
            v.emplace_back(estimado, fila);
            std::push_heap(v.begin(), v.end(), mayor);
        } else if (estimado > v.front().first) {
            std::pop_heap(v.begin(), v.end(), mayor);
            v.back() = {estimado, fila};
            std::push_heap(v.begin(), v.end(), mayor);
        }
    }
    int Ancho(char16_t c)
    {
        if (c < 256) {
            int& a = m_latin[c];
            if (a < 0) a = m_fm->horizontalAdvance(QChar(c));
            return a;
        }
        auto a = m_otros.constFind(c);
        if (a == m_otros.constEnd()) a = m_otros.insert(c, m_fm->horizontalAdvance(QChar(c)));
        return *a;
    }
    int Ancho(QStringView t)
    {
        int suma = 0;
        for (QChar c : t) suma += Ancho(c.unicode());
        return suma;
    }
    int Ancho(const char16_t* p, size_t n) { return Ancho(QStringView(p, qsizetype(n))); }
    // UTF-8: ASCII by the table, anything else decoded first.
    int Ancho(const char* p, size_t n)
    {
        int suma = 0;
        for (size_t i = 0; i < n; ++i) {
            const auto b = static_cast<unsigned char>(p[i]);
            if (b < 0x80) {
                suma += Ancho(char16_t(b));
            } else if (b >= 0xC2 && b <= 0xDF && i + 1 < n) {
                suma += Ancho(char16_t(((b & 0x1F) << 6) | (static_cast<unsigned char>(p[++i]) & 0x3F)));
            } else {
                return Ancho(QStringView(QString::fromUtf8(p, qsizetype(n))));
            }
        }
        return suma;
    }
    template <class T>
    int Cifras(T n)
    {
        int suma = n < 0 ? Ancho(u'-') : 0;
        for (qint64 m = n < 0 ? -qint64(n) : qint64(n);; m /= 10) {
            suma += Ancho(char16_t(u'0' + m % 10));
            if (m < 10) break;
        }
        return suma;
    }

    const char* Inicio(const Fila& f, int t) const
    {
        size_t desde = f.inicio;
        for (int i = 0; i < t; ++i) desde += f.largo[i];
        return m_bytes.data() + desde;
    }
    QString Texto(const Fila& f, int t) const
    {
        const char* p = Inicio(f, t);
        return f.utf16 ? QString::fromUtf16(reinterpret_cast<const char16_t*>(p), f.largo[t] / 2)
                       : QString::fromUtf8(p, f.largo[t]);
    }
    static QString Respuesta(const QString& c)
    {
        // Two leading digits are a number at once; anything else asks the program's rule.
        const bool codigo = c.size() >= 2 && c[0].isDigit() && c[1].isDigit() && c[0].unicode() < 128 &&
                            c[1].unicode() < 128;
        return codigo || Vb::IsNumeric(c.left(2)) ? c.mid(2) : c;
    }
    QString Texto(quint32 fila, int c) const
    {
        const Fila& f = m_filas[fila];
        const auto dos = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
        const qint64 fecha = f.clave / 10000, hora = f.clave % 10000;
        switch (c) {
        case 0: return QString::number(f.error);
        case 1: {
            const QString codigo = Texto(f, TOperacion);
            auto n = m_textosNombre.constFind(codigo);
            if (n == m_textosNombre.constEnd()) n = m_textosNombre.insert(codigo, frmInicio::NombreOperacion(codigo));
            return *n;
        }
        case 2:
            return dos(fecha % 100) + QLatin1Char('/') + dos(fecha / 100 % 100) + QLatin1Char('/') +
                   QString::number(fecha / 10000).rightJustified(4, QLatin1Char('0')) + QLatin1Char(' ') +
                   dos(hora / 100) + QLatin1Char(':') + dos(hora % 100);
        case 3: return Texto(f, TObraSocial);
        case 4: return QString::number(f.ticket);
        case 5: return Texto(f, TTarjeta);
        case 6: return Respuesta(Texto(f, TComentario));
        default:
            return QString::number(fecha).rightJustified(8, QLatin1Char('0')) + QLatin1Char(' ') + dos(hora / 100) +
                   QLatin1Char(':') + dos(hora % 100);
        }
    }

    QList<QIcon> m_iconos;
    std::vector<Fila> m_filas;
    std::vector<char> m_bytes;
    std::vector<quint32> m_orden;
    const QFontMetrics* m_fm = nullptr;
    std::array<int, 256> m_latin{};
    QHash<char16_t, int> m_otros;
    std::unordered_map<std::string, int> m_nombres; // an operation code's bytes, its name's width
    mutable QHash<QString, QString> m_textosNombre;
    std::array<std::vector<Candidato>, 7> m_candidatos;
    std::string m_comentarioPrevio, m_codigoPrevio;
    int m_anchoComentario = 0, m_anchoNombre = 0;
};

// The first difference between the program's list and the floor's (empty when none): the rows,
// the text of every shown cell and its image, in order, and each shown column's width. Rows of
// equal date and time are compared as a group: the engine may hand them over in either order.
inline QString Diferencia(const QTreeView& programa, const QTreeView& suelo)
{
    const QAbstractItemModel& a = *programa.model();
    const QAbstractItemModel& b = *suelo.model();
    if (a.rowCount() != b.rowCount())
        return QStringLiteral("rows: %1 against %2").arg(a.rowCount()).arg(b.rowCount());
    for (int c = 0; c < 7; ++c)
        if (programa.columnWidth(c) != suelo.columnWidth(c))
            return QStringLiteral("width of column %1: %2 against %3").arg(c).arg(programa.columnWidth(c)).arg(
                suelo.columnWidth(c));
    const auto fila = [](const QAbstractItemModel& m, int r) {
        QStringList celdas;
        for (int c = 0; c < 8; ++c) celdas << m.index(r, c).data().toString();
        celdas << QString::number(qvariant_cast<QIcon>(m.index(r, 0).data(Qt::DecorationRole)).cacheKey());
        return celdas;
    };
    QStringList grupoA, grupoB;
    for (int r = 0; r <= a.rowCount(); ++r) {
        const QStringList x = r < a.rowCount() ? fila(a, r) : QStringList();
        const QStringList y = r < b.rowCount() ? fila(b, r) : QStringList();
        if (r == a.rowCount() || (!grupoA.isEmpty() && x.value(7) != grupoA.last().section(QChar(0x1F), 7, 7))) {
            QStringList pa = grupoA, pb = grupoB;
            pa.sort();
            pb.sort();
            if (pa != pb) return QStringLiteral("rows %1 before %2 differ: %3 against %4")
                                 .arg(grupoA.size()).arg(r).arg(pa.join(u'\n'), pb.join(u'\n'));
            grupoA.clear();
            grupoB.clear();
        }
        if (r == a.rowCount()) break;
        grupoA << x.join(QChar(0x1F));
        grupoB << y.join(QChar(0x1F));
    }
    return QString();
}

}
