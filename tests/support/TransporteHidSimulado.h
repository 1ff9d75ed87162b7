#pragma once
#include "platform/TransporteHid.h"

#include <QHash>
#include <QList>

// HID devices of a test: the card reader answers start read, read block and end read from its
// card image; a fault can be put on any later exchange. Records what was opened, sent and
// closed. Installs itself for its life.
class TransporteHidSimulado : public TransporteHid {
public:
    enum class Fallo { Envio, Recepcion, RespuestaCorta, Desconexion };

    struct Dispositivo {
        quint16 vendedor = 0;
        quint16 producto = 0;
        QByteArray ruta;
        QByteArray tarjeta = QByteArray(256, '\0');
        bool abrible = true;
        bool conectado = true;
    };

    TransporteHidSimulado() { Hid::install(this); }
    ~TransporteHidSimulado() override { Hid::install(nullptr); }

    // The reader 04D8:0055 holding `tarjeta`.
    static Dispositivo Lector(const QByteArray& tarjeta, const QByteArray& ruta = "/dev/hidraw1");

    QList<Dispositivo> dispositivos;
    QList<QByteArray> abiertos;  // paths, in the order opened
    QList<QByteArray> enviados;  // every report sent, failed ones included
    int cerrados = 0;

    // The exchange `despues` sends from now (0: the next one) fails this way, once. A
    // disconnection also takes the device off the list until it is connected again.
    void fallarEn(int despues, Fallo fallo);
    int abiertosAhora() const { return m_handles.size(); }

    QList<DispositivoHid> listar() override;
    qintptr abrir(const QByteArray& ruta) override;
    int enviarInforme(qintptr handle, const QByteArray& informe) override;
    int recibirInforme(qintptr handle, QByteArray& informe) override;
    void cerrar(qintptr handle) override;

private:
    Dispositivo* dispositivo(qintptr handle);

    QHash<qintptr, int> m_handles;
    qintptr m_siguiente = 100;
    int m_falloEn = -1;
    Fallo m_fallo = Fallo::Envio;
    bool m_fallarRecepcion = false;
    bool m_respuestaCorta = false;
    QByteArray m_respuesta;
    int m_puntero = 0;
};
