#pragma once
#include <QString>

// The entry window's public variables. They outlive its window: closing the window keeps them,
// so the insurer list and the operation menus set them whether it is open or not.
class EstadoEmuladorPOS {
public:
    // Name of the insurer selected in the insurer list.
    QString NombreObraSocial;
    // The service-line dialog offers the dental piece and face fields.
    bool DatosDentales = false;
    // Type code of the provider last chosen on the form (1 dental); 0 before any choice.
    qint16 TipoPrestador = 0;

    // The program's one entry window's state.
    static EstadoEmuladorPOS& Instancia()
    {
        static EstadoEmuladorPOS estado;
        return estado;
    }
};
