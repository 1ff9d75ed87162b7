#include "txlog/FilasTransacciones.h"

#include "platform/ValoresBD.h"
#include "txlog/clsTransacciones.h"

#include <algorithm>
#include <cstring>

namespace {

// ASCII, or two-byte UTF-8 characters (U+0080 to U+07FF) well formed: such bytes compare as
// the texts they make.
bool Simple(std::string_view b)
{
    for (size_t i = 0; i < b.size(); ++i) {
        const auto c = static_cast<unsigned char>(b[i]);
        if (c < 0x80) continue;
        if (c < 0xC2 || c > 0xDF || i + 1 >= b.size() || (static_cast<unsigned char>(b[i + 1]) & 0xC0) != 0x80)
            return false;
        ++i;
    }
    return true;
}

}

quint32 FilasTransacciones::Numero(int campo, std::string_view valor)
{
    Diccionario& d = m_diccionarios[campo];
    if (d.hayUltimo && d.ultimo == valor) return d.numeroUltimo;
    // FNV-1a: the values are short.
    quint64 clave = 14695981039346656037ULL;
    for (const char c : valor) clave = (clave ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    if (d.ranuras.size() < 2 * (d.bytes.size() + 1)) {
        // Grown to four times the values, each put again where its hash points.
        size_t tamano = 16;
        while (tamano < 4 * (d.bytes.size() + 1)) tamano *= 2;
        std::vector<quint32> ranuras(tamano, 0);
        for (quint32 n = 0; n < d.claves.size(); ++n) {
            size_t i = d.claves[n] & (ranuras.size() - 1);
            while (ranuras[i]) i = (i + 1) & (ranuras.size() - 1);
            ranuras[i] = n + 1;
        }
        d.ranuras.swap(ranuras);
    }
    size_t i = clave & (d.ranuras.size() - 1);
    for (; d.ranuras[i]; i = (i + 1) & (d.ranuras.size() - 1)) {
        const quint32 n = d.ranuras[i] - 1;
        if (d.claves[n] == clave && d.bytes[n] == valor) {
            d.ultimo = d.bytes[n];
            d.numeroUltimo = n;
            d.hayUltimo = true;
            return n;
        }
    }
    const quint32 n = quint32(d.bytes.size());
    d.bytes.emplace_back(valor);
    d.claves.push_back(clave);
    d.ranuras[i] = n + 1;
    const std::string& guardado = d.bytes.back();
    m_valores[campo].push_back(
        {guardado.empty() ? QString() : ValoresBD::DeUtf8(guardado.data(), qsizetype(guardado.size()))});
    d.ultimo = guardado;
    d.numeroUltimo = n;
    d.hayUltimo = true;
    return n;
}

void FilasTransacciones::Agregar(qint64 ticket, qint16 error, const std::string_view (&repetidos)[Repetidos],
                                 std::string_view tarjeta)
{
    Fila f;
    f.ticket = ticket;
    f.error = error;
    for (int c = 0; c < Repetidos; ++c) f.valor[c] = Numero(c, repetidos[c]);
    // A card longer than a block gets one of its own. A full block takes no more, not even an
    // empty card: its offset would be the block's size, past the bits an offset has.
    if (tarjeta.size() > m_libres || m_libres == 0) {
        const size_t tamano = std::max(kBytesPorBloque, tarjeta.size());
        m_tarjetas.push_back(std::make_unique<char[]>(tamano));
        m_libres = tamano;
    }
    const size_t usados = tarjeta.size() > kBytesPorBloque ? 0 : kBytesPorBloque - m_libres;
    f.tarjeta = quint32((m_tarjetas.size() - 1) << kBitsPosicion | usados);
    f.largoTarjeta = quint32(tarjeta.size());
    if (!tarjeta.empty()) std::memcpy(m_tarjetas.back().get() + usados, tarjeta.data(), tarjeta.size());
    m_libres = tarjeta.size() > kBytesPorBloque ? 0 : m_libres - tarjeta.size();
    m_tarjetasSimples = m_tarjetasSimples && Simple(tarjeta);
    if (size_t(m_cantidad) % kFilasPorBloque == 0) m_filas.push_back(std::make_unique<Fila[]>(kFilasPorBloque));
    m_filas.back()[size_t(m_cantidad) % kFilasPorBloque] = f;
    ++m_cantidad;
}

void FilasTransacciones::Agregar(const clsTransacciones& t)
{
    QByteArray textos[Repetidos] = {t.Operacion.toUtf8(),  t.Fecha.toUtf8(),     t.Hora.toUtf8(),
                                    t.ObraSocial.toUtf8(), t.Comentario.toUtf8(), t.Prestador.toUtf8(),
                                    t.CodigoEmpresa.toUtf8()};
    std::string_view vistas[Repetidos];
    for (int c = 0; c < Repetidos; ++c) vistas[c] = std::string_view(textos[c].constData(), size_t(textos[c].size()));
    const QByteArray tarjeta = t.Tarjeta.toUtf8();
    Agregar(t.Ticket, t.Error, vistas, std::string_view(tarjeta.constData(), size_t(tarjeta.size())));
}

void FilasTransacciones::Vaciar()
{
    std::vector<std::unique_ptr<Fila[]>>().swap(m_filas);
    m_cantidad = 0;
    std::vector<std::unique_ptr<char[]>>().swap(m_tarjetas);
    m_libres = 0;
    for (auto& v : m_valores) std::vector<Entrada>().swap(v);
    for (auto& d : m_diccionarios) d = Diccionario();
    m_tarjetasSimples = true;
}

std::shared_ptr<clsTransacciones> FilasTransacciones::Transaccion(int fila) const
{
    if (fila < 0 || fila >= m_cantidad) return nullptr;
    const Fila& f = (*this)[fila];
    auto t = std::make_shared<clsTransacciones>();
    t->Ticket = f.ticket;
    t->Error = f.error;
    const std::string_view tarjeta = Tarjeta(fila);
    t->Tarjeta = tarjeta.empty() ? QString() : ValoresBD::DeUtf8(tarjeta.data(), qsizetype(tarjeta.size()));
    t->Operacion = Valor(fila, Operacion);
    t->Fecha = Valor(fila, Fecha);
    t->Hora = Valor(fila, Hora);
    t->ObraSocial = Valor(fila, ObraSocial);
    t->Comentario = Valor(fila, Comentario);
    t->Prestador = Valor(fila, Prestador);
    t->CodigoEmpresa = Valor(fila, CodigoEmpresa);
    return t;
}
