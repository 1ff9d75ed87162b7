#include "updater/PasosAsistente.h"

namespace PasosAsistente {

QString TextoPagina(int paso)
{
    switch (paso) {
    case 0:
        return QStringLiteral("Bienvenido al Ayudante de Actualización del Quorvan, la forma más fácil de actualizar su "
                              "versión del Quorvan.\n\nDespués de que complete la actualización, Usted podrá disfrutar "
                              "de una nueva y mejorada versión de su Quorvan.");
    case 1:
        return QStringLiteral("El Ayudante de Actualización, realizará la transacción para recibir los archivos "
                              "necesarios para la actualización. \n\nEsta operación puede demorar varios minutos "
                              "dependiendo del tipo y calidad de la conexión que utilice.\n\nPresione Siguiente.");
    case 2:
        return QStringLiteral("Enviando Transacción...\n\nEspere por favor...");
    case 3:
        return QStringLiteral("Actualizando, espere por favor...");
    default:
        return QString();
    }
}

Botones BotonesDePaso(int paso)
{
    switch (paso) {
    case 0: return {false, true, true};
    case 1: return {true, true, true};
    default: return {false, false, true};
    }
}

QRect Geometria(Control control)
{
    switch (control) {
    case Control::Ventana: return {0, 0, 7200, 4980};
    case Control::Imagen: return {0, 0, 2430, 4140};
    case Control::Descripcion: return {2640, 240, 4350, 3120};
    case Control::Animacion: return {2640, 3420, 480, 480};
    case Control::Linea: return {0, 4170, 7200, 30};
    case Control::Atras: return {2700, 4395, 1260, 375};
    case Control::Siguiente: return {4005, 4395, 1260, 375};
    case Control::Cancelar: return {5730, 4395, 1260, 375};
    }
    return {};
}

}
