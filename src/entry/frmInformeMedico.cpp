#include "entry/frmInformeMedico.h"

#include "engine/General.h"
#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "platform/ReglasEntrada.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}

frmInformeMedico::frmInformeMedico(const QString& prestador, const QString& tarjeta, QLineEdit* txtProtocolo,
                                   QWidget* parent)
    : QDialog(parent), m_prestador(prestador), m_tarjeta(tarjeta), m_protocolo(txtProtocolo)
{
    setObjectName(QStringLiteral("frmInformeMedico"));
    setWindowTitle(QStringLiteral("Informe Médico"));
    txtInforme = new QPlainTextEdit(this);
    txtInforme->setObjectName(QStringLiteral("txtInforme"));
    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setAutoDefault(false);
    cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setAutoDefault(false);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(txtInforme, 1);
    capa->addLayout(botones);
    resize(640, 480);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmInformeMedico::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmInformeMedico::cmdCancelar_Click);
    ReglasEntrada::PrepararVentana(this);
}

QString frmInformeMedico::FechaLarga(const QDate& fecha)
{
    return QLocale(QLocale::Spanish, QLocale::Argentina).toString(fecha, QStringLiteral("dddd, d 'de' MMMM 'de' yyyy"));
}

QString frmInformeMedico::Encabezado(const QDate& fecha, const QString& prestador, const QString& tarjeta)
{
    return QStringLiteral("Mendoza, ") + FechaLarga(fecha) + kCrLf + kCrLf + kCrLf + QStringLiteral("Dr: ") + prestador +
           kCrLf + kCrLf + QStringLiteral("Credencial Afliado: ") + tarjeta + kCrLf;
}

QString frmInformeMedico::NombrePropuesto(const QString& prestador, const QDate& fecha)
{
    QString nombre = QStringLiteral("InformeMedico ") + prestador + QLatin1Char(' ') +
                     fecha.toString(QStringLiteral("ddMMyyyy"));
    for (QChar& c : nombre)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0)) c = QLatin1Char('-');
    return nombre;
}

QByteArray frmInformeMedico::ContenidoArchivo(const QString& texto)
{
    return Codec1252::encode(Codec1252::toRepresentable(Lineas::Separar(texto).join(kCrLf) + kCrLf));
}

QString frmInformeMedico::Texto() const { return Lineas::Separar(txtInforme->toPlainText()).join(kCrLf); }

void frmInformeMedico::Cargar(QString& sTexto, DialogProvider* dialogo)
{
    m_texto = &sTexto;
    m_dialogo = dialogo;
    if (sTexto.isEmpty()) sTexto = Encabezado(Platform::Now().date(), m_prestador, m_tarjeta);
    txtInforme->setPlainText(sTexto);
    Dialogs::ExecModal(this);
}

void frmInformeMedico::cmdAceptar_Click()
{
    try {
        if (m_texto) *m_texto = Vb::Trim(Texto());
        DialogProvider& dialogo = m_dialogo ? *m_dialogo : Dialogs::provider();
        const QString propuesto =
            Paths::Join(General::DirectorioTrabajo, NombrePropuesto(m_prestador, Platform::Now().date()));
        const QString ruta = dialogo.saveFileNameWith(QStringLiteral("Confirme el nombre del archivo de texto a guardar"),
                                                      propuesto, QStringLiteral("Archivos de texto Txt (*.txt)"),
                                                      OpcionesGuardar{QStringLiteral("txt"), false});
        if (ruta.isEmpty()) return;
        // The proposed name repeats for a second report of the day for the same provider.
        if (QFileInfo::exists(ruta) &&
            Dialogs::MsgBox(QStringLiteral("El archivo %1 ya existe. ¿Desea reemplazarlo?").arg(ruta),
                            Vbc::vbYesNo | Vbc::vbQuestion | Vbc::vbDefaultButton2, Dialogs::kAppTitle) != Vbc::vbYes)
            return;
        QString error;
        if (!EscrituraSegura::EscribirArchivo(ruta, ContenidoArchivo(txtInforme->toPlainText()), &error,
                                              false, EscrituraSegura::Modo::Propio)) {
            Dialogs::MsgBox(QStringLiteral("No se pudo guardar el informe en \"%1\": %2").arg(ruta, error),
                            Vbc::vbCritical, Dialogs::kAppTitle);
            return;
        }
        if (m_protocolo) m_protocolo->setText(ruta);
        accept();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmInformeMedico::cmdCancelar_Click()
{
    if (m_texto) m_texto->clear();
    reject();
}
