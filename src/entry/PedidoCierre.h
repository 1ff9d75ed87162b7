#pragma once
#include <QDate>
#include <QString>
#include <memory>
#include <optional>

class clsConfig;
class clsObraSocial;

// The rules of the batch-close window, free of widgets: the period it proposes, the dates and
// close number it accepts and how they travel in the close request, the account code and the
// insurer of the request.
namespace PedidoCierre {

// Today less one calendar month, and today, as "DD/MM/YYYY".
struct Periodo {
    QString desde;
    QString hasta;
};
Periodo PeriodoPropuesto(const QDate& hoy);

// A blank field, or a real date written DD/MM/YYYY: the request cuts the text by position, so
// no other layout can travel.
bool FechaAceptable(const QString& texto);
// The date as the request carries it, yyyymmdd; "" for a blank field. Only for acceptable texts.
QString FechaDelPedido(const QString& texto);

// The close number sent: always 0 for a batch close (21), 0 for a blank box or "0"; none when
// the trimmed text is not all digits or does not fit the request's nine-digit field.
std::optional<qint32> NumeroCierre(qint16 operacion, const QString& texto);
// The request type of the engine for the window's operation: 9 queries a close, 10 closes.
inline qint32 TipoPedido(qint16 operacion) { return operacion == 21 ? 10 : 9; }

// The account code of the control record: the chosen provider's, else the one chosen for the
// terminal, else none at all; nothing (no value) when the client knows several codes and none
// was chosen.
std::optional<QString> Licencia(const QString& delPrestador, const QString& seleccionada, int cantidadLicencias);

// The insurer chosen in the main window's list: the configuration's DefaultOS by name and
// DefaultActividad by its numeric value; null when there is none or the activity is no number.
std::shared_ptr<clsObraSocial> ObraSocial(const clsConfig& cfg);

}
