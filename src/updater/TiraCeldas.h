#pragma once
#include <QObject>
#include <QPixmap>

// The picture strip of the wizard's animation: cells in rows and columns, drawn in code (a
// ring of dots whose bright dot turns one place per cell).
class TiraCeldas : public QObject {
    Q_OBJECT
public:
    explicit TiraCeldas(QObject* parent = nullptr);

    int Filas() const { return m_Filas; }
    int Columnas() const { return m_Columnas; }
    void setCeldas(int filas, int columnas);
    int Cantidad() const { return m_Filas * m_Columnas; }

    // The cell at `indice` (0 to Cantidad() - 1), `lado` pixels square.
    QPixmap Celda(int indice, int lado = 32) const;
    // The cell after `indice`, back to 0 past the last.
    static int Siguiente(int indice, int filas, int columnas);

private:
    int m_Filas = 2;
    int m_Columnas = 4;
};
