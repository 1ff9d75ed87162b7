#include "support/InsertarPorLotes.h"

#include "platform/Database.h"

#include <QStringList>

void InsertarPorLotes(Database& db, const QString& cabecera, int columnas, int filas,
                      const std::function<QVariantList(int)>& fila)
{
    const int porSentencia = 900 / columnas;
    QString marcas = QStringLiteral("(?");
    for (int c = 1; c < columnas; ++c) marcas += QStringLiteral(",?");
    marcas += QLatin1Char(')');
    for (int inicio = 0; inicio < filas; inicio += porSentencia) {
        const int n = qMin(porSentencia, filas - inicio);
        QStringList grupos;
        QVariantList valores;
        for (int i = 0; i < n; ++i) {
            grupos << marcas;
            valores += fila(inicio + i);
        }
        db.Execute(cabecera + grupos.join(QLatin1Char(',')), valores);
    }
}
