#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// The main window's layout of its children (MDIForm_Resize), in twips, as a pure function of
// the window's state; the main window applies the result on its resize event and whenever a
// working window asks for it.
namespace DisposicionPrincipal {

constexpr int kAltoMinimo = 6800;
constexpr int kAnchoMinimo = 9000;
constexpr int kAltoArranque = 11340;    // set by start-up
constexpr int kMargenObraSocial = 185;  // between the insurer list and the main window's right edge
constexpr int kAltoObraSocial = 7200;   // also the export, batch-close and prescription windows
constexpr int kAltoEntrada = 9800;
constexpr int kMargenInicio = 1000;     // the transaction list stops this much above the status bar
constexpr int kMargenTrabajo = 200;
// The smallest main window the user can make: the insurer list shows at least five lines beside
// the side bar and a working window is still usable (800 x 560 pixels).
constexpr int kAnchoVentanaMinimo = 12000;
constexpr int kAltoVentanaMinimo = 8400;
// The working windows stand this far from the left, beside the side bar.
constexpr int kIzquierdaTrabajo = 1365;
// The side bar's scroll bar: with it the bar still ends where the working windows begin, its
// buttons whole (their right edges stand at 1200), only the frames' right edges hidden.
constexpr int kAnchoDesplazamiento = 150;

struct Estado {
    bool minimizada = false;
    int alto = 0;
    int ancho = 0;
    int altoStatusBar = 0;
    int anchoBarra = 0;       // the side bar frmToolList
    int anchoObraSocial = 0;  // the insurer list frmObraSocial
    qint16 operacion = 0;     // OperacionActual
    QStringList abiertos;     // names of the open working windows
};

struct Trabajo {
    QString nombre;
    int alto = 0;
    int ancho = 0;
    bool operator==(const Trabajo& o) const { return nombre == o.nombre && alto == o.alto && ancho == o.ancho; }
};

struct Acciones {
    enum class Paso {
        Ninguno,   // minimised: every child stays where it is
        Alto,      // grow the main window to `medida` high and stop; the change lays out again
        Ancho,     // grow it to `medida` wide and stop
        Colocar,   // place the children below
    };
    Paso paso = Paso::Ninguno;
    int medida = 0;
    // The side bar at the top left, shown, then its Habilitar_Operaciones.
    QPoint barra;
    // The insurer list (left, top, width, height), shown.
    QRect obraSocial;
    // The open working window of the operation and its new size; its position stays.
    std::optional<Trabajo> trabajo;
};

// The working window an operation shows and its height; none for operation 0 and codes without one.
std::optional<Trabajo> TrabajoDeOperacion(qint16 operacion, int alto, int altoStatusBar);

// The part of the side bar in view: all of it where it fits in `altoDisponible`; otherwise that
// height, with its scroll bar, up to the working windows.
QSize MarcoBarraLateral(const QSize& barra, int altoDisponible);

// The main window's height at start-up: kAltoArranque, or less where the screen's available
// height, less the window's frame, is lower.
int AltoArranque(int altoDisponible, int altoMarco);

// Sizes only a working window that is open, never creates one: the off-line capture, open for
// an operation below 20, keeps its own size.
Acciones MDIForm_Resize(const Estado& e);

}
