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
#include <QTreeView>
#include <algorithm>
#include <array>
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
        const QFontMetrics fm(vista.font());
        for (int c = 0; c < 7; ++c) {
            QHash<QString, int> medidas;
            int ancho = fm.horizontalAdvance(QString(frmInicio::AnchosEnBlancos()[c], QLatin1Char(' ')));
            for (const Fila& f : m_filas) {
                const QString t = Texto(f, c);
                auto m = medidas.constFind(t);
                if (m == medidas.constEnd()) m = medidas.insert(t, fm.horizontalAdvance(t) + 12);
                ancho = std::max(ancho, *m);
            }
            vista.setColumnWidth(c, ancho);
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
