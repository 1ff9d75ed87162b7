#pragma once
#include <QString>
#include <QtGlobal>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class clsTransacciones;

// The logged transactions the start list shows, kept small: a history of hundreds of thousands
// of rows is read every time the list opens, and one object of 23 texts per row cost about a
// kilobyte. A row keeps only what the list shows and sorts and what its void is sent with (the
// ticket window reads nothing else): its ticket number and answer code as numbers, its card
// number as UTF-8 bytes in one shared buffer, and the texts that repeat from row to row
// (operation, insurer, answer, date, time, provider, company code) as numbers of entries of a
// dictionary per field.
class FilasTransacciones {
public:
    // Fields kept once per distinct value.
    enum Repetido { Operacion, Fecha, Hora, ObraSocial, Comentario, Prestador, CodigoEmpresa, Repetidos };

    struct Fila {
        qint64 ticket = 0;
        quint32 tarjeta = 0; // where the card's bytes are: block << kBitsPosicion | offset in the block
        quint32 largoTarjeta = 0;
        quint32 valor[Repetidos] = {};
        qint16 error = 0;
    };

    // One row; every text in UTF-8, blanks already removed where the log removes them.
    void Agregar(qint64 ticket, qint16 error, const std::string_view (&repetidos)[Repetidos],
                 std::string_view tarjeta);
    // A row read the long way.
    void Agregar(const clsTransacciones& t);
    // Forgets every row and gives their memory back.
    void Vaciar();

    int Cantidad() const { return m_cantidad; }
    const Fila& operator[](int i) const { return m_filas[size_t(i) / kFilasPorBloque][size_t(i) % kFilasPorBloque]; }
    // The number of distinct values of a field, and one as text.
    int Valores(Repetido campo) const { return int(m_valores[campo].size()); }
    const QString& Valor(Repetido campo, quint32 numero) const { return m_valores[campo][numero].texto; }
    const QString& Valor(int fila, Repetido campo) const { return Valor(campo, (*this)[fila].valor[campo]); }
    std::string_view Tarjeta(int fila) const
    {
        const Fila& f = (*this)[fila];
        return std::string_view(m_tarjetas[f.tarjeta >> kBitsPosicion].get() + (f.tarjeta & (kBytesPorBloque - 1)),
                                f.largoTarjeta);
    }
    // Whether every card number is ASCII or Latin text of two-byte characters: their bytes
    // then order as their texts do.
    bool TarjetasSimples() const { return m_tarjetasSimples; }
    // The fields the row keeps, as the log's own object.
    std::shared_ptr<clsTransacciones> Transaccion(int fila) const;

private:
    struct Entrada {
        QString texto;
    };
    // Open addressing over a power-of-two table, kept at most half full: a history's provider,
    // date, time, insurer and company change from row to row, and a hundred thousand rows look
    // them up several hundred thousand times.
    struct Diccionario {
        std::vector<quint32> ranuras;  // a value's number + 1 per slot, 0 for an empty one
        std::vector<quint64> claves;   // each value's hash, by its number
        std::deque<std::string> bytes; // each value's bytes, by its number; a deque never moves them
        std::string_view ultimo;       // the value of the previous row, tried first
        quint32 numeroUltimo = 0;
        bool hayUltimo = false;
    };
    quint32 Numero(int campo, std::string_view valor);

    // Rows and card bytes in blocks of a fixed size: a growing array would hold its old and new
    // copies at once, up to three times the rows, just when the history is largest.
    static constexpr size_t kFilasPorBloque = 4096;
    // A card's offset takes the low bits of its place, so the blocks are a power of two in size
    // and every offset is below it (a card longer than a block gets one of its own, at 0).
    static constexpr int kBitsPosicion = 16;
    static constexpr size_t kBytesPorBloque = size_t(1) << kBitsPosicion;
    std::vector<std::unique_ptr<Fila[]>> m_filas;
    int m_cantidad = 0;
    std::vector<std::unique_ptr<char[]>> m_tarjetas;
    size_t m_libres = 0; // bytes left in the last block of cards
    std::vector<Entrada> m_valores[Repetidos];
    Diccionario m_diccionarios[Repetidos];
    bool m_tarjetasSimples = true;
};
