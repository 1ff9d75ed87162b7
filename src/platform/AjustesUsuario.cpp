#include "platform/AjustesUsuario.h"

#include "platform/ArchivosPropios.h"
#include "platform/Paths.h"

#include <QSettings>

namespace AjustesUsuario {

namespace {
QString archivo(const QString& aplicacion)
{
    return Paths::Join(Paths::ConfigDir(), aplicacion + QStringLiteral(".ini"));
}

// The settings keep the user's working folders: private from the first write. QSettings
// replaces the file keeping the mode of the one it finds, so that one is made first.
QString archivoParaEscribir(const QString& aplicacion)
{
    const QString ruta = archivo(aplicacion);
    ArchivosPropios::CrearCarpeta(Paths::ConfigDir());
    ArchivosPropios::CrearArchivo(ruta);
    return ruta;
}
}

QString Leer(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& predeterminado)
{
    QSettings s(archivo(aplicacion), QSettings::IniFormat);
    return s.value(seccion + QLatin1Char('/') + clave, predeterminado).toString();
}

void Guardar(const QString& aplicacion, const QString& seccion, const QString& clave, const QString& valor)
{
    QSettings s(archivoParaEscribir(aplicacion), QSettings::IniFormat);
    s.setValue(seccion + QLatin1Char('/') + clave, valor);
    s.sync();
}

void GuardarLista(const QString& aplicacion, const QString& seccion, const QStringList& valores)
{
    QSettings s(archivoParaEscribir(aplicacion), QSettings::IniFormat);
    s.remove(seccion);
    for (int i = 0; i < valores.size(); ++i) s.setValue(seccion + QLatin1Char('/') + QString::number(i + 1), valores.at(i));
    s.sync();
}

}
