#include "updater/TiraCeldas.h"

#include <QPainter>
#include <QtMath>

TiraCeldas::TiraCeldas(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("pcLive")); }

void TiraCeldas::setCeldas(int filas, int columnas)
{
    m_Filas = qMax(1, filas);
    m_Columnas = qMax(1, columnas);
}

int TiraCeldas::Siguiente(int indice, int filas, int columnas)
{
    const int siguiente = indice + 1;
    return siguiente > filas * columnas - 1 ? 0 : siguiente;
}

QPixmap TiraCeldas::Celda(int indice, int lado) const
{
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    const int n = Cantidad();
    const double radio = lado * 0.36;
    const double punto = qMax(2.0, lado * 0.09);
    for (int i = 0; i < n; ++i) {
        // Brightest at the current cell, fading behind it.
        const int atras = (indice - i + n) % n;
        const int alfa = qMax(50, 255 - atras * (205 / qMax(1, n - 1)));
        g.setBrush(QColor(22, 92, 170, alfa));
        const double a = 2 * M_PI * i / n - M_PI / 2;
        g.drawEllipse(QPointF(lado / 2.0 + radio * qCos(a), lado / 2.0 + radio * qSin(a)), punto, punto);
    }
    return p;
}
