#pragma once
#include <QString>

// The prescription window's public variables; they outlive its window.
class EstadoVademecum {
public:
    // Member card number handed over by the operation menu; the form copies it when it loads.
    QString TarjetaAfiliado;

    // The program's one prescription window's state.
    static EstadoVademecum& Instancia()
    {
        static EstadoVademecum estado;
        return estado;
    }
};
