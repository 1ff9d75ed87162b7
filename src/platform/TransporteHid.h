#pragma once
#include <QByteArray>
#include <QList>
#include <QtGlobal>

// One HID device as the system lists it; listing never opens a device.
struct DispositivoHid {
    quint16 vendedor = 0;
    quint16 producto = 0;
    QByteArray ruta;
};

// The HID calls the member-card reader needs. The program goes through hidapi's hidraw back
// end; tests install a device of their own. A handle is a number, 0 for none, and a handle the
// transport does not know is refused, never dereferenced. Calls come from the UI thread, one
// exchange at a time.
class TransporteHid {
public:
    virtual ~TransporteHid() = default;
    virtual QList<DispositivoHid> listar() = 0;
    // The open device, 0 when it cannot be opened.
    virtual qintptr abrir(const QByteArray& ruta) = 0;
    // Sends a feature report whose byte 0 is the report ID; the bytes sent, -1 on failure.
    virtual int enviarInforme(qintptr handle, const QByteArray& informe) = 0;
    // Reads the feature report whose ID is informe[0] into informe, at most its size; the
    // bytes read (report ID included), -1 on failure.
    virtual int recibirInforme(qintptr handle, QByteArray& informe) = 0;
    virtual void cerrar(qintptr handle) = 0;
};

namespace Hid {
// The transport in use; tests install their own (not owned); nullptr restores hidapi.
TransporteHid& transporte();
void install(TransporteHid* transporte);
}
