#pragma once
#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The USB member-card reader: reads the 256-byte memory of the member's chip card through HID
// feature reports of 9 bytes (report ID 0, four command bytes, four zeros). It only reads; the
// reader offers no write command. Runs on the UI thread and keeps the reader open while it
// answers.
namespace VendraComboCardApi {

// What a read came to. The module shows nothing; the caller tells the user.
enum class EstadoLector {
    Correcto,         // the exchange or the read was done
    SinLector,        // no reader is listed
    NoAbierto,        // the reader is listed but could not be opened (most often: no permission)
    FalloIntercambio, // a send or a get failed or the reply was shorter than 9 bytes
};

constexpr quint16 kVendedorLector = 0x04D8;
constexpr quint16 kProductoLector = 0x0055;
constexpr int kLargoInforme = 9;
constexpr int kLargoMemoria = 256;
// The clinical-history text: card bytes 132 to 231.
constexpr qint16 kDesdeHistoria = 132;
constexpr qint16 kHastaHistoria = 231;

// True while the reader is open and answering. A failed exchange closes it and sets this
// False, so a reader plugged in again is found on the next command.
extern bool LectorEncontrado;
// The reader's open handle of the HID transport, 0 when none.
extern qintptr HandleLector;

// Looks for the reader (vendor 0x04D8, product 0x0055) among the listed devices and opens only
// it. A handle held from before is closed first.
bool BuscarLectorTarjeta();
// Sends comando's bytes 0-3 and reads the 9-byte reply into respuesta (grown to 9 bytes when
// shorter). The reader is looked for first when it is not open. On failure respuesta keeps what
// it held.
EstadoLector EnviarComandoLector(const QByteArray& comando, QByteArray& respuesta);
EstadoLector LeerBloqueTarjeta(quint8 largo, QByteArray& respuesta);
EstadoLector FinalizarLecturaTarjeta();
// Reads the whole card into memoria's bytes 0-255 (grown to 256 when shorter): start read,
// 32 blocks of 8 in order, end read. Any failure stops at once and leaves memoria untouched.
EstadoLector LeerMemoriaTarjeta(QByteArray& memoria);
// Reads the whole card and appends to texto the characters of bytes desde to hasta (Windows-1252,
// a 0 byte gives a NUL character); texto is not cleared. A position outside 0 to 256 raises
// error 9 before anything is read; byte 256 is always 0. On failure nothing is appended.
EstadoLector LeerTextoTarjeta(qint16 desde, qint16 hasta, QString& texto);
// The 100 characters of the clinical history.
EstadoLector LeerHistoriaClinicaTarjeta(QString& texto);

}
