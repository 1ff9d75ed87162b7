#include "engine/clsDiagnostico.h"

#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kClase = QStringLiteral("clsDiagnostico");
const QString kArchivo = QStringLiteral("_svl.4");
// Answer fields: error code at 11, comment at 15; a record cut short still holds an answer
// when it reaches the end of the comment.
constexpr int kPosCodigo = 11;
constexpr int kPosComentario = 15;
constexpr int kFinComentario = 54;

// The records of a file the client left in "download"; none when the file is not there
// (looking never creates it).
QStringList registrosRespuesta(const QString& carpetaTerminal, const QString& nombre, int largo, int minimo,
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

}

qint16 clsDiagnostico::AbrirArchivo(const QString& carpetaTerminal)
{
    const QString carpeta = Paths::Join(carpetaTerminal, QStringLiteral("upload"));
    if (!QFileInfo(carpeta).isDir())
        throw VbError(VbError::PathNotFound, kClase, QStringLiteral("No se encontró la ruta de acceso: ") + carpeta);
    auto file = std::make_shared<QFile>(Paths::Join(carpeta, kArchivo));
    if (!file->open(QIODevice::ReadWrite))
        throw VbError(75, kClase, QStringLiteral("Error de acceso a la ruta o el archivo: ") + file->fileName());
    qint16 numero = 1;
    while (m_archivos.count(numero)) ++numero;
    m_archivos[numero] = file;
    return numero;
}

bool clsDiagnostico::CerrarArchivo(qint16 archivo)
{
    try {
        const auto it = m_archivos.find(archivo);
        if (it == m_archivos.end()) return true;
        const std::shared_ptr<QFile> file = it->second;
        m_archivos.erase(it);
        const bool escrito = file->flush();
        file->close();
        if (!escrito)
            throw VbError(57, kClase, QStringLiteral("Error de E/S en el dispositivo: ") + file->fileName());
        return true;
    } catch (const VbError& e) {
        throw VbError(e.number, QStringLiteral("clsDiagnostico.CerrarArchivo"), e.description);
    }
}

QString clsDiagnostico::RegistroSVL4() const
{
    QString r;
    r += General::FormatearTexto(m_diagnostico, 10);
    r += QStringLiteral("0000");
    r += QString(40, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsDiagnostico::GrabarRegistroSVL4(qint16 posicion, const QString& carpetaTerminal)
{
    bool resultado = false;
    try {
        if (posicion < 1) throw VbError(63, kClase, QStringLiteral("Número de registro incorrecto"));
        // The record is built before the file is touched, so a refused field writes nothing.
        const QByteArray bytes = Codec1252::encode(RegistroSVL4());
        const qint16 archivo = AbrirArchivo(carpetaTerminal);
        if (archivo) {
            QFile& file = *m_archivos[archivo];
            const bool escrito = file.seek(qint64(posicion - 1) * LargoSVL4) && file.write(bytes) == bytes.size();
            if (!escrito) {
                const QString ruta = file.fileName();
                CerrarArchivo(archivo);
                throw VbError(57, kClase, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
            }
            resultado = true;
            CerrarArchivo(archivo);
        }
    } catch (const VbError& e) {
        m_archivos.clear();
        throw VbError(e.number, QStringLiteral("clsDiagnostico.GrabarRegistroSVL4"), e.description);
    }
    return resultado;
}

ListaErrores clsDiagnostico::LeerSVL4(const QString& carpetaTerminal)
{
    ListaErrores resultado;
    try {
        const QStringList registros = registrosRespuesta(carpetaTerminal, kArchivo, LargoSVL4, kFinComentario, kClase);
        for (const QString& registro : registros) {
            clsItemError item;
            item.Tipo = 1;
            item.Clave = QStringLiteral("Svl4");
            item.Error = Vb::Mid(registro, kPosCodigo, 4);
            item.Comentario = Vb::Mid(registro, kPosComentario, 40);
            resultado.append(item);
        }
    } catch (const VbError& e) {
        throw VbError(e.number, QStringLiteral("clsDiagnostico.LeerSVL4"), e.description);
    }
    return resultado;
}
