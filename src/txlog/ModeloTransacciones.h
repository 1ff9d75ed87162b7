#pragma once
#include "config/Coleccion.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class QFontMetrics;
class clsTransacciones;

// The rows of the start screen's list over the logged transactions as the configuration loaded
// them. A cell's text is made when the view asks for it, so a long history costs its reading
// and little more; the texts a sort compares are made once per column and load.
class ModeloTransacciones : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columnas = 8;

    // `iconos`: answer code 0, any other code.
    explicit ModeloTransacciones(QList<QIcon> iconos, QObject* parent = nullptr);
    ~ModeloTransacciones() override;

    // The rows of `filas`, in their order, then sorted by `columna` (from 0).
    void Cargar(std::shared_ptr<Coleccion<clsTransacciones>> filas, int columna, bool descendente);
    // Sorts by the texts of a column, keeping the order of rows whose texts are equal.
    void Ordenar(int columna, bool descendente);
    std::shared_ptr<clsTransacciones> Transaccion(int fila) const;
    QString Texto(int fila, int columna) const;
    // The row whose text in `columna` is the widest in that font (-1 without rows), found without
    // making every cell's text: widths are added up per character and only the texts near the
    // widest are measured whole.
    int FilaMasAncha(int columna, const QFontMetrics& fm) const;

    // A column's text for a transaction.
    static QString TextoDe(const clsTransacciones& t, int columna);

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol = Qt::DisplayRole) const override;

private:
    struct Fila {
        const clsTransacciones* t;
        int posicion; // in the collection, from 1
    };
    QString Celda(const clsTransacciones& t, int columna) const;
    const std::vector<QString>& Claves(int columna);

    QList<QIcon> m_iconos;
    std::shared_ptr<Coleccion<clsTransacciones>> m_coleccion;
    std::vector<Fila> m_filas;
    // A column's texts by the row's position in the collection, made on its first sort.
    std::array<std::vector<QString>, Columnas> m_claves;
    mutable QHash<QString, QString> m_operaciones;
};
