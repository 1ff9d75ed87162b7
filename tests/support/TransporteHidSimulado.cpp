#include "support/TransporteHidSimulado.h"

TransporteHidSimulado::Dispositivo TransporteHidSimulado::Lector(const QByteArray& tarjeta, const QByteArray& ruta)
{
    Dispositivo d;
    d.vendedor = 0x04D8;
    d.producto = 0x0055;
    d.ruta = ruta;
    d.tarjeta = tarjeta;
    return d;
}

void TransporteHidSimulado::fallarEn(int despues, Fallo fallo)
{
    m_falloEn = enviados.size() + despues;
    m_fallo = fallo;
}

QList<DispositivoHid> TransporteHidSimulado::listar()
{
    QList<DispositivoHid> lista;
    for (const Dispositivo& d : std::as_const(dispositivos))
        if (d.conectado) lista.append({d.vendedor, d.producto, d.ruta});
    return lista;
}

qintptr TransporteHidSimulado::abrir(const QByteArray& ruta)
{
    abiertos.append(ruta);
    for (int i = 0; i < dispositivos.size(); ++i) {
        if (dispositivos[i].ruta != ruta || !dispositivos[i].conectado || !dispositivos[i].abrible) continue;
        m_handles.insert(m_siguiente, i);
        return m_siguiente++;
    }
    return 0;
}

TransporteHidSimulado::Dispositivo* TransporteHidSimulado::dispositivo(qintptr handle)
{
    const int i = m_handles.value(handle, -1);
    return i >= 0 && dispositivos[i].conectado ? &dispositivos[i] : nullptr;
}

int TransporteHidSimulado::enviarInforme(qintptr handle, const QByteArray& informe)
{
    const bool falla = enviados.size() == m_falloEn;
    enviados.append(informe);
    Dispositivo* d = dispositivo(handle);
    m_fallarRecepcion = falla && m_fallo == Fallo::Recepcion;
    m_respuestaCorta = falla && m_fallo == Fallo::RespuestaCorta;
    if (falla && m_fallo == Fallo::Desconexion && d) d->conectado = false;
    if (!d || (falla && (m_fallo == Fallo::Envio || m_fallo == Fallo::Desconexion))) return -1;

    // The reply echoes the command, so a reply that should be thrown away is not all zeros.
    m_respuesta = informe.leftJustified(9, '\0', true);
    if (informe.size() >= 3 && informe[1] == 'A') m_puntero = 0;
    if (informe.size() >= 3 && informe[1] == 'B') {
        const int largo = qMin(8, static_cast<int>(static_cast<unsigned char>(informe[2])));
        m_respuesta.fill('\0');
        m_respuesta.replace(1, largo, d->tarjeta.mid(m_puntero, largo).leftJustified(largo, '\0'));
        m_puntero += largo;
    }
    return informe.size();
}

int TransporteHidSimulado::recibirInforme(qintptr handle, QByteArray& informe)
{
    if (!dispositivo(handle) || m_fallarRecepcion) return -1;
    const int n = qMin(informe.size(), m_respuestaCorta ? 8 : 9);
    informe.replace(0, n, m_respuesta.left(n));
    return n;
}

void TransporteHidSimulado::cerrar(qintptr handle)
{
    if (m_handles.remove(handle)) ++cerrados;
}
