#pragma once
#include <QSize>
#include <QString>
#include <optional>

// The main window's layout rules, in twips.
namespace GeometriaPrincipal {

constexpr int kAltoMinimo = 6800;
constexpr int kAnchoMinimo = 9000;
constexpr int kAltoArranque = 11340;
// Working windows stand right of the side bar: the transaction list is placed at left 1365.
constexpr int kColumnaBarraLateral = 1365;

enum class Ajuste { Ninguno, Alto, Ancho };
// A main window below its smallest height grows to it first, then one below its smallest width.
Ajuste AjusteMinimo(int alto, int ancho);

struct FormularioTrabajo {
    QString nombre;
    QSize tamano; // width, height
};
// The working window of the operation and its outer size; none for operation 0 and for codes
// without a working window of their own.
std::optional<FormularioTrabajo> TamanoTrabajo(qint16 operacion, int alto, int ancho, int altoStatus,
                                               int anchoObrasSociales, int anchoBarra);

}
