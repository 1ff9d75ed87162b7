#include "engine/clsVademecum.h"

#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kClase = QStringLiteral("clsVademecum");
const QString kArchivo = QStringLiteral("_svl.7");
// Answer fields: error code at 273, comment at 277.
constexpr int kPosCodigo = 273;
constexpr int kPosComentario = 277;
constexpr int kFinComentario = 316;

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

// An answer code that is blank or reads as zero means no error. Any other code is an error,
// a code that is not a number ("E001") included: it must not pass as an approved answer.
bool esCodigoError(const QString& codigo)
{
    QString digitos = codigo;
    digitos.remove(QLatin1Char(' '));
    if (digitos.isEmpty()) return false;
    return !Vb::IsNumeric(digitos) || Vb::Val(digitos) != 0;
}

}

void clsVademecum::setTarjeta(const QString& value) { m_tarjeta = Vb::Trim(value); }
void clsVademecum::setOperacion(const QString& value) { m_operacion = General::FormatearTexto(value, 2); }
void clsVademecum::setNombreMedicamento(const QString& value) { m_nombreMedicamento = General::FormatearTexto(value, 30); }
void clsVademecum::setAccion(const QString& value) { m_accion = General::FormatearTexto(value, 35); }
void clsVademecum::setMonodroga(const QString& value) { m_monodroga = General::FormatearTexto(value, 40); }

qint16 clsVademecum::AbrirArchivo(const QString& carpetaTerminal)
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

bool clsVademecum::CerrarArchivo(qint16 archivo)
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
        throw VbError(e.number, QStringLiteral("clsVademecum.CerrarArchivo"), e.description);
    }
}

QString clsVademecum::RegistroSVL7() const
{
    QString r;
    r += m_operacion;
    r += General::FormatearTexto(m_tarjeta, 100);
    r += m_nombreMedicamento + QString(30, QLatin1Char(' '));
    r += QString(7 + 13, QLatin1Char(' '));
    r += m_accion;
    r += m_monodroga;
    r += QString(9 + 5 + 1, QLatin1Char(' '));
    r += QStringLiteral("0000");
    r += QString(40, QLatin1Char(' '));
    r += QStringLiteral("\r\n");
    return r;
}

bool clsVademecum::GrabarSVL7(const QString& carpetaTerminal)
{
    bool resultado = false;
    try {
        const QByteArray bytes = Codec1252::encode(RegistroSVL7());
        const qint16 archivo = AbrirArchivo(carpetaTerminal);
        if (archivo) {
            QFile& file = *m_archivos[archivo];
            if (!file.seek(0) || file.write(bytes) != bytes.size()) {
                const QString ruta = file.fileName();
                CerrarArchivo(archivo);
                throw VbError(57, kClase, QStringLiteral("Error de E/S en el dispositivo: ") + ruta);
            }
            resultado = true;
            CerrarArchivo(archivo);
        }
    } catch (const VbError& e) {
        m_archivos.clear();
        throw VbError(e.number, QStringLiteral("clsVademecum.GrabarSVL7"), e.description);
    }
    return resultado;
}

clsItemError clsVademecum::LeerSVL7(const QString& carpetaTerminal)
{
    clsItemError resultado;
    try {
        const QStringList registros = registrosRespuesta(carpetaTerminal, kArchivo, LargoSVL7, kFinComentario, kClase);
        if (!registros.isEmpty()) {
            const QString codigo = Vb::Mid(registros.first(), kPosCodigo, 4);
            if (esCodigoError(codigo)) {
                resultado.Tipo = 1;
                resultado.Error = codigo;
                resultado.Comentario = Vb::Mid(registros.first(), kPosComentario, 40);
            }
        }
    } catch (const VbError& e) {
        throw VbError(e.number, kClase, e.description);
    }
    return resultado;
}
