#pragma once
#include <QRect>
#include <QString>

// The wizard's pages without a widget: the text of each page, the buttons of each step, the
// messages and the layout in twips.
namespace PasosAsistente {

inline const QString kTitulo = QStringLiteral("Ayudante para Actualización");
inline const QString kCaption = QStringLiteral("Ayudante de Actualización");

constexpr int kPasos = 4;
// The text of page `paso` (0 to 3); empty outside.
QString TextoPagina(int paso);

struct Botones {
    bool Atras = false;
    bool Siguiente = false;
    bool Cancelar = false;
};
// The buttons as a step shows them. Cancel stays available on every step, the waits of steps
// 2 and 3 included, so an unanswered request or a Quorvan that never closes can be left.
Botones BotonesDePaso(int paso);

// Texts added to page 2 by the answer.
inline const QString kCierreQuorvan = QStringLiteral("Por Favor cierre el Quorvan y presione Siguiente.");
inline const QString kRepetir = QStringLiteral(
    "Debe repetir la operación.\n\nPresione Atrás para comenzar el proceso o Cancelar para salir del Ayudante.");

// Layout, in twips.
enum class Control { Ventana, Imagen, Descripcion, Animacion, Linea, Atras, Siguiente, Cancelar };
QRect Geometria(Control control);

}
