#include "engine/modRegistros.h"

#include "engine/CarpetaTerminal.h"
#include "platform/Vb.h"
#include "platform/VbError.h"


namespace modRegistros {

bool ErrorEnCabecera(const QString& codigo)
{
    for (QChar c : codigo)
        if (c != QLatin1Char('0') && c != QLatin1Char(' ')) return true;
    return false;
}

bool ItemSeLista(const QString&) { return true; }

bool ErrorEnRespuestaUnica(const QString& codigo)
{
    QString digitos = codigo;
    digitos.remove(QLatin1Char(' '));
    if (digitos.isEmpty()) return false;
    return !Vb::IsNumeric(digitos) || Vb::Val(digitos) != 0;
}

bool ErrorParaAprobacion(const QString& codigo)
{
    const QString c = Vb::Trim(codigo);
    if (c.isEmpty()) return false;
    if (!Vb::IsNumeric(c)) return true;
    const double v = Vb::Val(c);
    return v != 0 && v != 99;
}

qint16 AbrirSubida(TablaArchivos& tabla, const QString& carpetaTerminal, const QString& nombre,
                   const QString& clase)
{
    const CarpetaTerminal terminal(carpetaTerminal);
    if (!terminal.LeerSubida(nombre)) terminal.GrabarArchivo(nombre, QByteArray(), clase);
    qint16 numero = 1;
    while (tabla.count(numero)) ++numero;
    tabla[numero] = {carpetaTerminal, nombre};
    return numero;
}

bool CerrarSubida(TablaArchivos& tabla, qint16 archivo)
{
    tabla.erase(archivo);
    return true;
}

bool EscribirYCerrar(TablaArchivos& tabla, qint16 archivo, qint32 posicion, int largo, const QByteArray& bytes,
                     const QString& clase)
{
    const auto it = tabla.find(archivo);
    if (it == tabla.end()) throw VbError(52, clase, QStringLiteral("Nombre o número de archivo incorrecto"));
    const auto [carpeta, nombre] = it->second;
    tabla.erase(it);
    CarpetaTerminal(carpeta).GrabarRegistro(nombre, posicion, largo, bytes, clase);
    return true;
}

namespace {
// Only blanks and line ends: what a client may leave after the last record.
bool SoloRelleno(const QString& s)
{
    for (QChar c : s)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\r') && c != QLatin1Char('\n') && c != QChar(0)) return false;
    return true;
}
}

ListaErrores LeerItems(const QString& carpetaTerminal, const CamposItem& campos, const QString& origen,
                       QString* ultimoCodigo)
{
    ListaErrores resultado;
    const std::optional<QStringList> registros =
        CarpetaTerminal(carpetaTerminal).LeerRegistros(campos.archivo, campos.largo, origen);
    if (!registros) return resultado;
    const int finComentario = campos.posComentario + 40 - 1;
    for (const QString& leido : *registros) {
        if (leido.size() < finComentario && SoloRelleno(leido)) break;
        const QString registro = leido.leftJustified(campos.largo, QLatin1Char(' '));
        clsItemError item;
        item.Tipo = 1;
        item.Clave = campos.clave;
        item.Error = Vb::Mid(registro, campos.posCodigo, 4);
        if (!ItemSeLista(item.Error)) continue;
        if (leido.size() < finComentario) {
            // A record cut short is not dropped: the list shows that this answer is incomplete.
            item.Comentario = QStringLiteral("Respuesta incompleta en %1").arg(campos.archivo);
            resultado.append(item);
            break;
        }
        item.Comentario = Vb::Mid(registro, campos.posComentario, 40);
        resultado.append(item);
        if (ultimoCodigo) *ultimoCodigo = item.Error;
    }
    return resultado;
}

clsItemError ErrorRespuesta(const QString& carpetaTerminal, const QString& nombre, int largo, int posCodigo,
                            int posComentario, const QString& origen)
{
    clsItemError resultado;
    const std::optional<QStringList> registros = CarpetaTerminal(carpetaTerminal).LeerRegistros(nombre, largo, origen);
    if (!registros || registros->isEmpty() || registros->first().size() < posComentario + 40 - 1) return resultado;
    const QString registro = registros->first();
    const QString codigo = Vb::Mid(registro, posCodigo, 4);
    if (ErrorEnRespuestaUnica(codigo)) {
        resultado.Tipo = 1;
        resultado.Error = codigo;
        resultado.Comentario = Vb::Mid(registro, posComentario, 40);
    }
    return resultado;
}

}
