#pragma once
#include <QString>
#include <memory>

class clsObraSocial;

// The prescription window's variables; they outlive its window.
class EstadoVademecum {
public:
    // Member card number handed over by the operation menu; the form copies it when it loads.
    QString TarjetaAfiliado;
    // CUIT of the provider chosen on the form, as the provider record holds it.
    QString sCuitPrestador;
    // The insurer of the exchange under way, found again for each query and each send.
    std::shared_ptr<clsObraSocial> ObraSocialActual;

    // The program's one prescription window's state.
    static EstadoVademecum& Instancia()
    {
        static EstadoVademecum estado;
        return estado;
    }
};
