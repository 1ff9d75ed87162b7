#pragma once
#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

// The entry window's layout as pure functions in twips: where each control is created, and
// what each operation enables, shows, relabels and moves (ConfigurarPantalla), so the window
// only applies it and the send and the line dialog can read the same rules.
namespace PantallaEmuladorPOS {

// Creation geometry of every placed control, in twips; controls inside the three frames are
// relative to their frame. Control arrays are named with their index ("cmdBuscarDiag0").
const QHash<QString, QRect>& Geometria();
// The window's own size at creation, in twips.
constexpr int kAncho = 10400;
constexpr int kAlto = 9800;

// What the layout reads.
struct Entradas {
    qint16 operacion = 0;            // OperacionActual
    qint16 subModo = 0;              // SubModoOperacion
    bool utilizaCSC = false;         // ObraSocialUtilizaCSC
    QString nombreObraSocial;        // NombreObraSocial
    qint16 requierePrescripcion = 0; // non-zero: the provider needs a prescriber
    qint16 tipoPrestador = 0;
    bool datosDentales = false;
};

// What the layout sets on one control; an empty field is left as it is.
struct Control {
    std::optional<bool> habilitado;
    std::optional<bool> visible;
    std::optional<QString> titulo;    // caption of a label, frame or button
    std::optional<bool> derecha;      // a label right-aligned (else left)
    std::optional<QString> texto;     // text of a text box
    std::optional<int> largoMaximo;   // maximum length of a text box
    std::optional<QRect> geometria;   // twips, in its frame
    std::optional<bool> marcado;      // an option button chosen
    bool operator==(const Control& o) const;
};

struct Pantalla {
    QHash<QString, Control> controles;
    // The line-entry flags of the service-line dialog.
    bool codigoPrestacion = true;
    bool tipoArancel = true;
    bool piezaDental = false;
    bool caraDental = false;
    // Operation 19: fill the institution types when the list is empty.
    bool cargarTipoInstitucion = false;
    // Operation 12: a discharge reason beyond the first becomes the second.
    bool egresoAlSegundo = false;
    // The referral: txtFilial takes the provider's branch from txtFilialPrestador.
    bool filialDelPrestador = false;
};

Pantalla ConfigurarPantalla(const Entradas& e);

// Where the focus goes after the layout: txtTarjeta when a provider is shown, else the
// provider-code box; none when the card box is hidden or disabled.
QString Foco(bool tarjetaVisibleYHabilitada, bool hayPrestador);

// The reference box's maximum length: 6 for an insurer whose name holds "OSDE", else 10.
int LargoAutorizacion(const QString& nombreObraSocial);

}
