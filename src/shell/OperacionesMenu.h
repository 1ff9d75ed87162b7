#pragma once
#include <QList>
#include <QtGlobal>

class frmMain;

// The menu operation code table: the one place where an operation code is tied to its menu
// entry and to what the entry's handler does. The operation entries of the menu bar are made
// from it, in its order.
namespace OperacionesMenu {

enum class Clase {
    Transaccion,    // entry form on-line, off-line capture otherwise
    Cierre,         // batch-close form
    Medicamento,    // prescription form
    Exportacion,    // export form
    Inicio,         // transaction list
    HistoriaClinica // clinical-history window
};
// What `DatosDentales` becomes on the on-line branch.
enum class Dental {
    NoCambia,
    Falso,
    Verdadero,
    TipoAntes,   // the last chosen provider is dental, read before the entry form opens
    TipoDespues, // the same, read once the form has applied the provider again
};
// Whether the handler loads the entry form before touching it.
enum class Carga { Ninguna, A, B };

struct Operacion {
    const char* nombre;  // the menu entry
    const char* menu;    // the menu that holds it; nullptr for the menu bar
    const char* caption; // with its access key
    qint16 codigo;       // OperacionActual
    void (frmMain::*manejador)();
    const char* titulo;  // placed in the main window's caption; nullptr for none
    Clase clase;
    qint16 modo;         // SubModoOperacion on the on-line branch
    Dental dental;
    Carga carga;
    qint16 formato;      // the export's format
    bool soloEnLinea;    // the entry serves only on-line insurers
};

// The 28 entries in the order of the menu bar.
const QList<Operacion>& Tabla();
// The entry of a handler; nullptr for one that is not in the table.
const Operacion* DeManejador(void (frmMain::*manejador)());

}
