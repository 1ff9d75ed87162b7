#include "reports/frmTransacciones.h"

#include "platform/Twips.h"
#include "reports/modReporte.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
constexpr int kMargenTw = 150;
constexpr int kArribaTw = 100;
constexpr int kAnchoBotonTw = 1200;
constexpr int kAltoBotonTw = 375;
}

QRect frmTransacciones::GeometriaTexto(int anchoTw, int altoTw)
{
    return QRect(kMargenTw, kArribaTw, qMax(0, anchoTw - 300), qMax(0, altoTw - 1000));
}

QRect frmTransacciones::GeometriaCerrar(int anchoTw, int altoTw)
{
    return QRect(anchoTw - kAnchoBotonTw - 100, altoTw - 400 - kAltoBotonTw, kAnchoBotonTw, kAltoBotonTw);
}

frmTransacciones::frmTransacciones(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTransacciones"));
    setWindowTitle(QStringLiteral("Informe de Transacciones Pendientes"));
    txtReporte = new QPlainTextEdit(this);
    txtReporte->setObjectName(QStringLiteral("txtReporte"));
    txtReporte->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtReporte->setFont(modReporte::FuenteReporte(QStringLiteral("Courier New")));
    cmdCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));
    connect(cmdCerrar, &QPushButton::clicked, this, &frmTransacciones::cmdCerrar_Click);
    resize(Twips::APixeles(13500), Twips::APixeles(8000));
}

void frmTransacciones::cmdCerrar_Click() { accept(); }

void frmTransacciones::Form_Resize()
{
    const int ancho = width() * Twips::kPorPixel;
    const int alto = height() * Twips::kPorPixel;
    txtReporte->setGeometry(Twips::APixeles(GeometriaTexto(ancho, alto)));
    cmdCerrar->setGeometry(Twips::APixeles(GeometriaCerrar(ancho, alto)));
}

void frmTransacciones::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}
