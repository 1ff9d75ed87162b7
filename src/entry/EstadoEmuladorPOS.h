#pragma once
#include <QString>

// The entry window's variables. They outlive its window: closing the window keeps them, so
// the insurer list and the operation menus set them whether it is open or not, and a form
// loaded again for the next transaction finds them.
class EstadoEmuladorPOS {
public:
    // The chosen provider.
    QString Nombre;
    double Cuit = 0;
    qint16 RequierePrescripcion = 0;
    // The service-line dialog offers the dental piece and face fields.
    bool DatosDentales = false;
    // Type code of the provider last chosen on the form (1 dental, 2 one service line and no
    // prescriber or effector); 0 before any choice.
    qint16 TipoPrestador = 0;
    // -1 when the provider needs the prescriber's registration, else 0.
    qint16 RequiereMatPrescriptor = 0;
    // The effector chosen in its list.
    QString strEfector;
    double dECuit = 0;
    QString strTipoMatricula;
    qint32 lMatricula = 0;
    // Name of the insurer selected in the insurer list.
    QString NombreObraSocial;
    // The last medical report written in the editor.
    QString sTextoInformeMedico;

    // The file to attach (full path and title), set only by the attach button.
    QString ArchivoAdjunto;
    QString NombreArchivoAdjunto;
    // A new provider-transaction number is drawn at the next send; else NumeroReferencia is kept.
    bool GenerarReferencia = false;
    QString NumeroReferencia;

    // The program's one entry window's state.
    static EstadoEmuladorPOS& Instancia()
    {
        static EstadoEmuladorPOS estado;
        return estado;
    }
};
