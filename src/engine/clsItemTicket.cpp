#include "engine/clsItemTicket.h"

#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kClase = QStringLiteral("clsItemTicket");
const QString kArchivo = QStringLiteral("_svl.2");
// Answer fields: error code at 87, comment at 91; a record cut short still holds an answer
// when it reaches the end of the comment.
constexpr int kPosCodigo = 87;
constexpr int kPosComentario = 91;
constexpr int kFinComentario = 130;

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

qint16 clsItemTicket::AbrirArchivo(const QString& carpetaTerminal)
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

bool clsItemTicket::CerrarArchivo(qint16 archivo)
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
        throw VbError(e.number, QStringLiteral("clsItemTicket.CerrarArchivo"), e.description);
    }
}

QString clsItemTicket::RegistroSVL2() const
{
    const QString origen = QStringLiteral("clsItemTicket.GrabarRegistroSVL2");
    const QString tipo = Vb::Trim(m_tipoPrestacion).isEmpty() ? QStringLiteral("01") : m_tipoPrestacion;
    QString r;
    r += QStringLiteral("FF000");
    r += General::FormatearTexto(tipo, 2);
    r += General::FormatearTexto(m_codigoPrestacion, 10);
    // A quantity or fee type cut to its width would ask for another service: refuse it.
    r += General::FormatearNumeroCampo(m_cantidad, 2, QStringLiteral("Cantidad"), origen);
    r += General::FormatearTexto(m_piezaDental, 2);
    r += General::FormatearTexto(m_caraDental, 5);
    r += General::FormatearNumeroCampo(m_tipoArancel, 1, QStringLiteral("TipoArancel"), origen);
    r += QStringLiteral("00000000000");
    r += QString(10 + 12 + 5 + 11 + 10, QLatin1Char(' '));
    r += QStringLiteral("0000");
    r += QString(40 + 30, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsItemTicket::GrabarRegistroSVL2(qint16 posicion, const QString& carpetaTerminal)
{
    bool resultado = false;
    try {
        if (posicion < 1) throw VbError(63, kClase, QStringLiteral("Número de registro incorrecto"));
        // The record is built before the file is touched, so a refused field writes nothing.
        const QByteArray bytes = Codec1252::encode(RegistroSVL2());
        const qint16 archivo = AbrirArchivo(carpetaTerminal);
        if (archivo) {
            QFile& file = *m_archivos[archivo];
            const bool escrito = file.seek(qint64(posicion - 1) * LargoSVL2) && file.write(bytes) == bytes.size();
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
        throw VbError(e.number, QStringLiteral("clsItemTicket.GrabarRegistroSVL2"), e.description);
    }
    return resultado;
}

ListaErrores clsItemTicket::LeerSVL2(const QString& carpetaTerminal)
{
    ListaErrores resultado;
    try {
        const QStringList registros = registrosRespuesta(carpetaTerminal, kArchivo, LargoSVL2, kFinComentario, kClase);
        for (const QString& registro : registros) {
            clsItemError item;
            item.Tipo = 1;
            item.Clave = QStringLiteral("SVL2");
            item.Error = Vb::Mid(registro, kPosCodigo, 4);
            item.Comentario = Vb::Mid(registro, kPosComentario, 40);
            resultado.append(item);
            m_codigoErrorPrestacion = Vb::Right(QStringLiteral("00") + Vb::Trim(item.Error), 2);
        }
    } catch (const VbError& e) {
        throw VbError(e.number, kClase, e.description);
    }
    return resultado;
}
