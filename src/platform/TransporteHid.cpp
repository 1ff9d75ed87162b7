#include "platform/TransporteHid.h"

#include <QHash>

#include <hidapi.h>

namespace {

class TransporteHidapi : public TransporteHid {
public:
    ~TransporteHidapi() override
    {
        for (hid_device* d : std::as_const(m_abiertos)) hid_close(d);
        if (m_iniciado) hid_exit();
    }

    QList<DispositivoHid> listar() override
    {
        QList<DispositivoHid> lista;
        if (!iniciar()) return lista;
        hid_device_info* todos = hid_enumerate(0, 0);
        for (const hid_device_info* d = todos; d; d = d->next)
            lista.append({d->vendor_id, d->product_id, QByteArray(d->path ? d->path : "")});
        hid_free_enumeration(todos);
        return lista;
    }

    qintptr abrir(const QByteArray& ruta) override
    {
        if (!iniciar() || ruta.isEmpty()) return 0;
        hid_device* d = hid_open_path(ruta.constData());
        if (!d) return 0;
        const qintptr h = m_siguiente++;
        m_abiertos.insert(h, d);
        return h;
    }

    int enviarInforme(qintptr handle, const QByteArray& informe) override
    {
        hid_device* d = m_abiertos.value(handle);
        if (!d || informe.isEmpty()) return -1;
        return hid_send_feature_report(d, reinterpret_cast<const unsigned char*>(informe.constData()),
                                       static_cast<size_t>(informe.size()));
    }

    int recibirInforme(qintptr handle, QByteArray& informe) override
    {
        hid_device* d = m_abiertos.value(handle);
        if (!d || informe.isEmpty()) return -1;
        return hid_get_feature_report(d, reinterpret_cast<unsigned char*>(informe.data()),
                                      static_cast<size_t>(informe.size()));
    }

    void cerrar(qintptr handle) override
    {
        if (hid_device* d = m_abiertos.take(handle)) hid_close(d);
    }

private:
    bool iniciar()
    {
        if (!m_iniciado) m_iniciado = hid_init() == 0;
        return m_iniciado;
    }

    bool m_iniciado = false;
    QHash<qintptr, hid_device*> m_abiertos;
    qintptr m_siguiente = 1;
};

TransporteHid* g_instalado = nullptr;

}

namespace Hid {

TransporteHid& transporte()
{
    static TransporteHidapi hidapi;
    return g_instalado ? *g_instalado : hidapi;
}

void install(TransporteHid* t) { g_instalado = t; }

}
