#pragma once
// The start list's floor: the rows of the program's list statement (one text per row, its
// fields split at 0x1F) kept as the fields the list shows, sorted by date and time, in a
// minimal model whose cells are made when asked for, and the columns fitted to every row's
// text as the program fits them.
#include "Suelo.h"
#include "txlog/frmInicio.h"

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QHash>
#include <QHeaderView>
#include <QSet>
#include <QTreeView>
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace Suelo {

class ModeloLista : public QAbstractTableModel {
public:
    struct Fila {
        QString operacion, fecha, hora, obraSocial, tarjeta, comentario;
        qint64 ticket = 0;
        int error = 0;
    };

    // Positions of the shown fields in the program's row text.
    enum { Ticket = 0, Comentario = 2, Error = 3, Fecha = 4, Hora = 6, Operacion = 12, Tarjeta = 16, ObraSocial = 21 };

    void Empezar() { m_nuevas.clear(); }
    // One row of the statement (its only column, UTF-8).
    void Agregar(const Celda& c)
    {
        std::array<std::pair<const char*, qsizetype>, 23> campos{};
        const char* p = c.datos;
        const char* fin = c.datos + c.bytes;
        for (int i = 0; i < 23; ++i) {
            const char* s = std::find(p, fin, '\x1f');
            campos[i] = {p, s - p};
            p = s < fin ? s + 1 : fin;
        }
        const auto texto = [&](int i) { return QString::fromUtf8(campos[i].first, campos[i].second).trimmed(); };
        Fila f;
        f.operacion = texto(Operacion);
        f.fecha = texto(Fecha);
        f.hora = texto(Hora);
        f.obraSocial = texto(ObraSocial);
        f.tarjeta = texto(Tarjeta);
        f.comentario = texto(Comentario);
        f.ticket = QByteArray(campos[Ticket].first, campos[Ticket].second).toLongLong();
        f.error = QByteArray(campos[Error].first, campos[Error].second).toInt();
        m_nuevas.push_back(std::move(f));
    }
    // Sorted by the hidden key, stable, and shown; the columns fitted.
    void Terminar(QTreeView& vista)
    {
        std::vector<QString> claves(m_nuevas.size());
        std::vector<int> orden(m_nuevas.size());
        for (size_t i = 0; i < m_nuevas.size(); ++i) {
            claves[i] = Texto(m_nuevas[i], 7);
            orden[i] = int(i);
        }
        std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) { return claves[a] < claves[b]; });
        beginResetModel();
        m_filas.clear();
        m_filas.reserve(m_nuevas.size());
        for (int i : orden) m_filas.push_back(std::move(m_nuevas[i]));
        m_nuevas.clear();
        endResetModel();
        // Fitted to every row: each text's width added up from its characters' and only the
        // texts near the widest measured whole.
        const QFontMetrics fm(vista.font());
        std::array<int, 256> latin;
        latin.fill(-1);
        QHash<char16_t, int> otros;
        const auto ancho = [&](QStringView t) {
            int suma = 0;
            for (const QChar c : t) {
                if (c.unicode() < 256) {
                    int& a = latin[c.unicode()];
                    if (a < 0) a = fm.horizontalAdvance(c);
                    suma += a;
                } else {
                    auto a = otros.constFind(c.unicode());
                    if (a == otros.constEnd()) a = otros.insert(c.unicode(), fm.horizontalAdvance(c));
                    suma += *a;
                }
            }
            return suma;
        };
        std::vector<int> estimado(m_filas.size());
        for (int c = 0; c < 7; ++c) {
            int mayor = 0;
            for (size_t r = 0; r < m_filas.size(); ++r) {
                const Fila& f = m_filas[r];
                int e = 0;
                switch (c) {
                case 2: e = ancho(f.fecha) + ancho(QStringView(f.hora).left(4)) + ancho(u"// :"); break;
                case 3: e = ancho(f.obraSocial); break;
                case 5: e = ancho(f.tarjeta); break;
                case 6: e = ancho(Texto(f, 6)); break;
                case 0: case 4: {
                    char digitos[24];
                    const int n = std::snprintf(digitos, sizeof digitos, "%lld", c == 0 ? qint64(f.error) : f.ticket);
                    e = ancho(QString::fromLatin1(digitos, n));
                    break;
                }
                default: e = ancho(Texto(f, c));
                }
                estimado[r] = e;
                mayor = std::max(mayor, e);
            }
            int medida = fm.horizontalAdvance(QString(frmInicio::AnchosEnBlancos()[c], QLatin1Char(' ')));
            QSet<QString> medidos;
            for (size_t r = 0; r < m_filas.size() && medidos.size() < 64; ++r) {
                if (estimado[r] < mayor - std::max(8, mayor / 16)) continue;
                const QString t = Texto(m_filas[r], c);
                if (!medidos.contains(t)) {
                    medidos.insert(t);
                    medida = std::max(medida, fm.horizontalAdvance(t) + 12);
                }
            }
            vista.setColumnWidth(c, medida);
        }
        vista.setColumnHidden(7, true);
    }

    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : int(m_filas.size()); }
    int columnCount(const QModelIndex& = {}) const override { return 8; }
    QVariant data(const QModelIndex& i, int rol) const override
    {
        if (rol != Qt::DisplayRole) return {};
        return Texto(m_filas[size_t(i.row())], i.column());
    }

private:
    QString Texto(const Fila& f, int c) const
    {
        switch (c) {
        case 0: return QString::number(f.error);
        case 1: {
            auto n = m_operaciones.constFind(f.operacion);
            if (n == m_operaciones.constEnd())
                n = m_operaciones.insert(f.operacion, frmInicio::NombreOperacion(f.operacion));
            return *n;
        }
        case 2:
            return f.fecha.mid(6, 2) + QLatin1Char('/') + f.fecha.mid(4, 2) + QLatin1Char('/') + f.fecha.left(4) +
                   QLatin1Char(' ') + f.hora.left(2) + QLatin1Char(':') + f.hora.mid(2, 2);
        case 3: return f.obraSocial;
        case 4: return QString::number(f.ticket);
        case 5: return f.tarjeta;
        case 6:
            return f.comentario.size() >= 2 && f.comentario[0].isDigit() && f.comentario[1].isDigit()
                       ? f.comentario.mid(2)
                       : f.comentario;
        default:
            return f.fecha + QLatin1Char(' ') + f.hora.left(2) + QLatin1Char(':') + f.hora.mid(2, 2);
        }
    }
    std::vector<Fila> m_filas, m_nuevas;
    mutable QHash<QString, QString> m_operaciones;
};

}
