#pragma once
#include <QString>
#include <optional>

// The entry window's field rules without a widget, shared by its handlers and its send.
namespace ReglasEmuladorPOS {

// The longest text the card box takes from the clipboard: a longer one is a copied card
// track, which is never pasted.
constexpr int kLargoPegadoTarjeta = 18;
bool PegableEnTarjeta(const QString& portapapeles);

// A security code as sent: three characters, zeros added on the left or the first cut off;
// none for an empty code.
std::optional<QString> CodigoSeguridad(const QString& codigo);

// The date of practice: a real date written dd/mm/yyyy (the send cuts it by position).
bool FechaPracticaValida(const QString& texto);

// The authorisation number: digits only (an empty one passes).
bool AutorizacionValida(const QString& texto);

// The reference of a rescue: at least two digits ("5" gives "05"); any other text unchanged.
QString ReferenciaRescate(const QString& texto);

// The key filters of the form, in the order of their rules: the key (KeyAscii) is cleared when
// refused. `operacion` decides the reference's filter.
enum class Campo { CSC, Autorizacion, Referencia, Otro };
bool FiltrarTecla(Campo campo, qint16 operacion, int& keyAscii);

}
