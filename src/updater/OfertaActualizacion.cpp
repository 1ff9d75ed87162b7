#include "updater/OfertaActualizacion.h"

bool OfertaActualizacion::NombreValido(const QString& nombre)
{
    return !nombre.isEmpty() && nombre != QLatin1String(".") && nombre != QLatin1String("..") &&
           !nombre.contains(QLatin1Char('/')) && !nombre.contains(QLatin1Char('\\'));
}

OfertaActualizacion OfertaActualizacion::Leer(const QList<RegistroActualizacion>& registros)
{
    OfertaActualizacion o;
    for (const RegistroActualizacion& r : registros) {
        if (r.CodigoResultado == 0 && r.TipoRegistro == RegistroActualizacion::kTipoAsistente &&
            NombreValido(r.NombreArchivo)) {
            o.Encontrado = true;
            o.Archivo = r.NombreArchivo;
        }
        // Joined, not formatted: a name or a description may hold "%1".
        o.Lista += r.NombreArchivo + QLatin1Char('(') + QString::number(r.Major) + QLatin1Char('.') +
                   QString::number(r.Minor) + QLatin1Char('.') + QString::number(r.Revision) +
                   QStringLiteral(") : ") + r.Descripcion + QLatin1Char('\n');
    }
    return o;
}
