#include "entry/VendraComboCardApi.h"

#include "platform/Codec1252.h"
#include "platform/TransporteHid.h"
#include "platform/VbError.h"

namespace VendraComboCardApi {

bool LectorEncontrado = false;
qintptr HandleLector = 0;

namespace {

const QByteArray kIniciarLectura("A0\0\0", 4);
const QByteArray kFinalizarLectura("D\0\0\0", 4);
constexpr quint8 kLargoBloque = 8;
constexpr int kBloques = kLargoMemoria / kLargoBloque;

void soltarLector()
{
    if (HandleLector != 0) Hid::transporte().cerrar(HandleLector);
    HandleLector = 0;
    LectorEncontrado = false;
}

EstadoLector buscar()
{
    soltarLector();
    TransporteHid& t = Hid::transporte();
    bool listado = false;
    for (const DispositivoHid& d : t.listar()) {
        if (d.vendedor != kVendedorLector || d.producto != kProductoLector) continue;
        listado = true;
        if (const qintptr h = t.abrir(d.ruta)) {
            HandleLector = h;
            LectorEncontrado = true;
            return EstadoLector::Correcto;
        }
    }
    return listado ? EstadoLector::NoAbierto : EstadoLector::SinLector;
}

}

bool BuscarLectorTarjeta() { return buscar() == EstadoLector::Correcto; }

EstadoLector EnviarComandoLector(const QByteArray& comando, QByteArray& respuesta)
{
    if (!LectorEncontrado) {
        const EstadoLector e = buscar();
        if (e != EstadoLector::Correcto) return e;
    }
    TransporteHid& t = Hid::transporte();
    QByteArray informe(kLargoInforme, '\0');
    for (int i = 0; i < 4 && i < comando.size(); ++i) informe[1 + i] = comando.at(i);
    QByteArray recibido(kLargoInforme, '\0');
    // An unplugged or failing reader is let go, so that the next command looks for it again.
    if (t.enviarInforme(HandleLector, informe) < kLargoInforme
        || t.recibirInforme(HandleLector, recibido) < kLargoInforme) {
        soltarLector();
        return EstadoLector::FalloIntercambio;
    }
    if (respuesta.size() < kLargoInforme) respuesta.resize(kLargoInforme);
    respuesta.replace(0, kLargoInforme, recibido);
    return EstadoLector::Correcto;
}

EstadoLector LeerBloqueTarjeta(quint8 largo, QByteArray& respuesta)
{
    return EnviarComandoLector(QByteArray(1, 'B') + QByteArray(1, static_cast<char>(largo)) + QByteArray(2, '\0'),
                               respuesta);
}

EstadoLector FinalizarLecturaTarjeta()
{
    QByteArray respuesta(kLargoInforme, '\0');
    return EnviarComandoLector(kFinalizarLectura, respuesta);
}

EstadoLector LeerMemoriaTarjeta(QByteArray& memoria)
{
    QByteArray respuesta(kLargoInforme, '\0');
    EstadoLector e = EnviarComandoLector(kIniciarLectura, respuesta);
    if (e != EstadoLector::Correcto) return e;
    QByteArray imagen(kLargoMemoria, '\0');
    for (int bloque = 0; bloque < kBloques; ++bloque) {
        QByteArray r(kLargoInforme, '\0');
        e = LeerBloqueTarjeta(kLargoBloque, r);
        if (e != EstadoLector::Correcto) return e;
        imagen.replace(bloque * kLargoBloque, kLargoBloque, r.mid(1, kLargoBloque));
    }
    e = FinalizarLecturaTarjeta();
    if (e != EstadoLector::Correcto) return e;
    if (memoria.size() < kLargoMemoria) memoria.resize(kLargoMemoria);
    memoria.replace(0, kLargoMemoria, imagen);
    return EstadoLector::Correcto;
}

EstadoLector LeerTextoTarjeta(qint16 desde, qint16 hasta, QString& texto)
{
    if (desde < 0 || desde > kLargoMemoria || hasta < 0 || hasta > kLargoMemoria)
        throw VbError(9, QStringLiteral("VendraComboCardApi"), QStringLiteral("El subíndice está fuera del intervalo"));
    QByteArray memoria(kLargoMemoria + 1, '\0');
    const EstadoLector e = LeerMemoriaTarjeta(memoria);
    if (e != EstadoLector::Correcto) return e;
    if (desde <= hasta) texto += Codec1252::decode(memoria.mid(desde, hasta - desde + 1));
    return EstadoLector::Correcto;
}

EstadoLector LeerHistoriaClinicaTarjeta(QString& texto)
{
    return LeerTextoTarjeta(kDesdeHistoria, kHastaHistoria, texto);
}

}
