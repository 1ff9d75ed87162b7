#pragma once
#include "txlog/FilasTransacciones.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

class QFontMetrics;
class clsTransacciones;

// The rows of the start screen's list over the logged transactions, kept compact
// (FilasTransacciones). A cell's text is made when the view asks for it; a sort orders the rows
// by numbers that order as the column's texts do, made from the kept values without a text
// per row.
class ModeloTransacciones : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columnas = 8;

    // `iconos`: answer code 0, any other code.
    explicit ModeloTransacciones(QList<QIcon> iconos, QObject* parent = nullptr);
    ~ModeloTransacciones() override;

    // Empties the list and gives its rows' memory back; then Filas() takes the new rows.
    void Vaciar();
    FilasTransacciones& Filas() { return m_datos; }
    // Shows the rows Filas() holds, in their order, sorted by `columna` (from 0).
    void Mostrar(int columna, bool descendente);
    // Sorts by the texts of a column, keeping the order of rows whose texts are equal.
    void Ordenar(int columna, bool descendente);
    // The fields a row keeps (null for no row).
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
    QString Celda(quint32 fila, int columna) const;
    const QString& Nombre(quint32 operacion) const;
    const QString& Respuesta(quint32 comentario) const;
    // Each row's rank in a column (equal texts, equal rank); false where the rows must be
    // compared by their texts.
    bool Rangos(int columna, std::vector<quint32>& rango, quint32& rangos) const;

    QList<QIcon> m_iconos;
    FilasTransacciones m_datos;
    std::vector<quint32> m_orden; // the rows' positions in m_datos, in the list's order
    // Operation names and answers as shown, by the number of their stored value.
    mutable std::vector<QString> m_nombres, m_respuestas;
};
