#pragma once
#include <QList>
#include <QString>
#include <utility>

class ManejadorOperaciones;

// The side bar's rules: which operation each button starts, which buttons the terminal's
// operation list shows, and how the visible buttons and their frames stack, in twips.
namespace BarraOperaciones {

// The six frames from top to bottom; the first five hold a button array, the last the single
// prescription button.
enum Grupo { Verificar, Informar, Internacion, Odontologia, Cierre, Medicamento };
constexpr int kGrupos = 6;

struct Boton {
    Grupo grupo;
    int indice;
    const char* titulo;
    const char* codigo; // operation code of the terminal's operation list
    void (ManejadorOperaciones::*manejador)();
    int alto; // design height
};
// Every button, array by array and by index.
const QList<Boton>& Botones();
// The button of an array element; nullptr for an index the bar does not have.
const Boton* BuscarBoton(Grupo grupo, int indice);
// The buttons that serve only on-line insurers.
QList<std::pair<Grupo, int>> BotonesSoloEnLinea();

// The visibility of Botones() after the operation list (code, in-use flag), in its order: each
// code, compared exactly, shows its buttons when the flag is 1 and hides them otherwise; codes
// not listed leave their buttons as `visibles` has them.
QList<bool> Visibilidad(const QList<std::pair<QString, qint16>>& operaciones, QList<bool> visibles);

// A control's place as the layout reads and writes it.
struct Control {
    bool visible = true;
    int top = 0;
    int alto = 0;
};
// Stacks the visible buttons from 250 twips below their frame's top, without gaps; hidden
// buttons keep their place. Returns 250 plus the visible heights, 0 when none is visible.
int ApilarBotones(QList<Control>& botones);

struct Disposicion {
    QList<QList<Control>> botones; // the five arrays, Verificar to Cierre
    Control medicamento;           // the single button: its own place is never changed
    QList<Control> marcos;         // the six frames
    int alto = 0;                  // the side bar's own height
};
// Lays out the buttons, the frames and the side bar's height. An empty frame gets height 0
// and keeps its visibility; "Verificar" keeps its top.
void Reordenar(Disposicion& d);

}
