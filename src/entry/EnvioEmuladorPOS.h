#pragma once
#include <QString>
#include <optional>

// What the entry window's send decides without a widget: the operation's request codes and
// the texts the request header carries.
namespace EnvioEmuladorPOS {

// The request of one operation: the message's class number and letter, and the operation code
// of the request header.
struct Operacion {
    quint8 clase = 0;
    QString letra;
    qint16 codigo = 0;
};

// The request of an entry-window operation; none for a code the window does not send.
std::optional<Operacion> DeOperacion(qint16 operacionActual);

// "dd/mm/yyyy" as the header carries a date: yyyymmdd cut from the text by position.
QString FechaMensaje(const QString& texto);

// The card as it is sent: trimmed; a card track of more than 25 characters that begins "123"
// loses those three.
QString TarjetaEnvio(const QString& texto);

// The header's ticket reference: the reference and the authorisation number, which an insurer
// whose name holds "OSDE" takes as its last six typed digits, zero-padded.
QString TicketReferencia(const QString& nombreObraSocial, const QString& referencia, qint32 autorizacion,
                         const QString& autorizacionTecleada);

// The extra documentation letter: "C" or "I" (surgical protocol or medical report) for 13 and
// 19, "D" for 97, else none.
QString DocumentacionExtra(qint16 operacionActual, bool informeMedico);

// The code at the end of a padded list entry (text, 100 blanks, code); "" for a blank entry.
QString CodigoFinal(const QString& item);

// The speciality an effector is stored with after a send, read from the speciality list's entry
// (the number in its last five characters); none for a blank entry or the first entry, "00",
// which means no choice and never replaces the speciality stored.
std::optional<qint16> EspecialidadElegida(const QString& item);

// A fresh provider-transaction number: a whole number from 0 to 1001 drawn from `azar` in [0, 1).
QString NumeroReferencia(double azar);

}
