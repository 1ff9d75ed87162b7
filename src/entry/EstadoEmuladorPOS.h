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
    // What the service-line dialog lets the user type for the current operation, as the entry
    // window's layout sets it: the service code, the service and tariff types, the tooth or
    // sector, the tooth faces.
    bool HabilitarCodigoPrestacion = false;
    bool HabilitarTipoArancel = false;
    bool HabilitarPiezaDental = false;
    bool HabilitarCaraDental = false;

    // The program's one entry window's state.
    static EstadoEmuladorPOS& Instancia()
    {
        static EstadoEmuladorPOS estado;
        return estado;
    }
};
