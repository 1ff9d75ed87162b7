#include "engine/modRegistros.h"

#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>

namespace modRegistros {

QStringList RegistrosRespuesta(const QString& carpetaTerminal, const QString& nombre, int largo, int minimo,
                               const QString& origen)
{
    QStringList registros;
    const QString bajada = Paths::FindCaseInsensitive(carpetaTerminal, QStringLiteral("download"));
    if (bajada.isEmpty()) return registros;
    const QString ruta = Paths::FindCaseInsensitive(bajada, nombre);
    if (ruta.isEmpty() || !QFileInfo(ruta).isFile()) return registros;
    QFile file(ruta);
    if (!file.open(QIODevice::ReadOnly))
        throw VbError(75, origen, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta);
    const QByteArray datos = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VbError(57, origen, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
    for (qsizetype i = 0; i < datos.size(); i += largo) {
        const QString registro = Codec1252::decode(datos.mid(i, largo));
        if (registro.size() < minimo) break;
        registros.append(registro.leftJustified(largo, QLatin1Char(' ')));
    }
    return registros;
}

qint16 AbrirSubida(TablaArchivos& tabla, const QString& carpetaTerminal, const QString& nombre,
                   const QString& clase)
{
    const QString carpeta = Paths::Join(carpetaTerminal, QStringLiteral("upload"));
    if (!QFileInfo(carpeta).isDir())
        throw VbError(VbError::PathNotFound, clase, QStringLiteral("No se encontró la ruta de acceso: ") + carpeta);
    auto file = std::make_shared<QFile>(Paths::Join(carpeta, nombre));
    if (!file->open(QIODevice::ReadWrite))
        throw VbError(75, clase, QStringLiteral("Error de acceso a la ruta o el archivo: ") + file->fileName());
    qint16 numero = 1;
    while (tabla.count(numero)) ++numero;
    tabla[numero] = file;
    return numero;
}

bool CerrarSubida(TablaArchivos& tabla, qint16 archivo, const QString& clase)
{
    const auto it = tabla.find(archivo);
    if (it == tabla.end()) return true;
    const std::shared_ptr<QFile> file = it->second;
    tabla.erase(it);
    const bool escrito = file->flush();
    file->close();
    if (!escrito)
        throw VbError(57, clase + QStringLiteral(".CerrarArchivo"),
                      QStringLiteral("Error de E/S en el dispositivo: ") + file->fileName());
    return true;
}

clsItemError ErrorRespuesta(const QString& carpetaTerminal, const QString& nombre, int largo, int minimo,
                            int posCodigo, int posComentario, const QString& origen)
{
    clsItemError resultado;
    const QStringList registros = RegistrosRespuesta(carpetaTerminal, nombre, largo, minimo, origen);
    if (!registros.isEmpty()) {
        const QString codigo = Vb::Mid(registros.first(), posCodigo, 4);
        if (EsCodigoError(codigo)) {
            resultado.Tipo = 1;
            resultado.Error = codigo;
            resultado.Comentario = Vb::Mid(registros.first(), posComentario, 40);
        }
    }
    return resultado;
}

bool EscribirYCerrar(TablaArchivos& tabla, qint16 archivo, qint64 desplazamiento, const QByteArray& bytes,
                     const QString& clase)
{
    QFile& file = *tabla[archivo];
    const bool escrito = file.seek(desplazamiento) && file.write(bytes) == bytes.size();
    if (!escrito) {
        const QString ruta = file.fileName();
        CerrarSubida(tabla, archivo, clase);
        throw VbError(57, clase, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
    }
    return CerrarSubida(tabla, archivo, clase);
}

bool EsCodigoError(const QString& codigo)
{
    QString digitos = codigo;
    digitos.remove(QLatin1Char(' '));
    if (digitos.isEmpty()) return false;
    return !Vb::IsNumeric(digitos) || Vb::Val(digitos) != 0;
}

}
